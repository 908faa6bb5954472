#include "device_file_text.h"

#include <QStringDecoder>

namespace tavrin {

namespace {
const QByteArrayView kByteOrderMark("\xEF\xBB\xBF");

// A TAB stands for blanks, so both end a token.
bool isBlank(char c) {
    return c == ' ' || c == '\t';
}
} // namespace

QString decodeDeviceFileText(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError()) return text;
    // Files written by the older tools are in the Windows Japanese code page.
    QStringDecoder cp932("Shift_JIS", QStringDecoder::Flag::Stateless);
    if (cp932.isValid()) return cp932.decode(bytes);
    return QString::fromUtf8(bytes);
}

QByteArray deviceFileUtf8(const QByteArray& bytes) {
    if (QByteArrayView(bytes).isValidUtf8()) return bytes;
    return decodeDeviceFileText(bytes).toUtf8();
}

QString tokenText(QByteArrayView utf8) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless |
                                                     QStringDecoder::Flag::ConvertInitialBom);
    return decoder.decode(utf8);
}

QStringList prepareLine(QByteArrayView utf8Line) {
    QStringList tokens;
    const qsizetype n = utf8Line.size();
    for (qsizetype i = 0; i < n;) {
        while (i < n && isBlank(utf8Line[i]))
            ++i;
        const qsizetype start = i;
        while (i < n && !isBlank(utf8Line[i]))
            ++i;
        if (i > start) tokens << tokenText(utf8Line.sliced(start, i - start));
    }
    return tokens;
}

QByteArrayView firstToken(QByteArrayView utf8Line) {
    const qsizetype n = utf8Line.size();
    qsizetype start = 0;
    while (start < n && isBlank(utf8Line[start]))
        ++start;
    qsizetype end = start;
    while (end < n && !isBlank(utf8Line[end]))
        ++end;
    return utf8Line.sliced(start, end - start);
}

DeviceFileReader::DeviceFileReader(QByteArray utf8) : text_(std::move(utf8)) {
    if (QByteArrayView(text_).startsWith(kByteOrderMark)) next_ = kByteOrderMark.size();
}

QByteArrayView DeviceFileReader::nextLine() {
    const char* data = text_.constData();
    const qsizetype n = text_.size();
    const qsizetype start = next_;
    qsizetype end = start;
    while (end < n && data[end] != '\n' && data[end] != '\r')
        ++end;
    next_ = end + 1;
    if (end + 1 < n && data[end] == '\r' && data[end + 1] == '\n') ++next_;
    ++lineNumber_;
    return QByteArrayView(data + start, end - start);
}

QStringList splitDeviceFileLines(const QByteArray& utf8) {
    QStringList lines;
    DeviceFileReader file(utf8);
    while (!file.atEnd())
        lines << tokenText(file.nextLine());
    return lines;
}

} // namespace tavrin
