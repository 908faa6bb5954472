#include "device_file_text.h"

#include "utilities.h"

#include <QStringDecoder>

namespace tavrin {

QString decodeDeviceFileText(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError()) return text;
    // Files written by the older tools are in the Windows Japanese code page.
    QStringDecoder cp932("Shift_JIS", QStringDecoder::Flag::Stateless);
    if (cp932.isValid()) return cp932.decode(bytes);
    return QString::fromUtf8(bytes);
}

QStringList splitDeviceFileLines(const QString& text) {
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('\n') && c != QLatin1Char('\r')) continue;
        lines << text.mid(start, i - start);
        if (c == QLatin1Char('\r') && i + 1 < n && text.at(i + 1) == QLatin1Char('\n')) ++i;
        start = i + 1;
    }
    if (start < n) lines << text.mid(start);
    return lines;
}

QStringList prepareLine(const QString& line) {
    return SplitTokens(ExpandTabs(line));
}

} // namespace tavrin
