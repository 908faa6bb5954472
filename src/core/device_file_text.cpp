#include "device_file_text.h"

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

QStringView DeviceFileReader::nextLine() {
    const QChar* data = text_.constData();
    const qsizetype n = text_.size();
    const qsizetype start = next_;
    qsizetype end = start;
    while (end < n && data[end] != QLatin1Char('\n') && data[end] != QLatin1Char('\r'))
        ++end;
    next_ = end + 1;
    if (end + 1 < n && data[end] == QLatin1Char('\r') && data[end + 1] == QLatin1Char('\n'))
        ++next_;
    ++lineNumber_;
    return QStringView(data + start, end - start);
}

QStringList splitDeviceFileLines(const QString& text) {
    QStringList lines;
    DeviceFileReader file(text);
    while (!file.atEnd())
        lines << file.nextLine().toString();
    return lines;
}

namespace {
// A TAB stands for blanks, so both end a token.
bool isBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}
} // namespace

QStringList prepareLine(QStringView line) {
    QStringList tokens;
    const qsizetype n = line.size();
    for (qsizetype i = 0; i < n;) {
        while (i < n && isBlank(line[i]))
            ++i;
        const qsizetype start = i;
        while (i < n && !isBlank(line[i]))
            ++i;
        if (i > start) tokens << line.sliced(start, i - start).toString();
    }
    return tokens;
}

QStringView firstToken(QStringView line) {
    const qsizetype n = line.size();
    qsizetype start = 0;
    while (start < n && isBlank(line[start]))
        ++start;
    qsizetype end = start;
    while (end < n && !isBlank(line[end]))
        ++end;
    return line.sliced(start, end - start);
}

} // namespace tavrin
