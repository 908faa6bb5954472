#include "firmware_file.h"

#include <QFile>
#include <QList>

#include <optional>
#include <utility>
#include <vector>

namespace tavrin {

namespace {

// Word addresses a firmware file of the board's controller may hold: program memory, the
// configuration area (IDs, configuration word) and the data EEPROM. Only program words are sent.
constexpr std::uint32_t kEndOfEeprom = 0x2200;

enum RecordType : int { Data = 0, End = 1, Segment = 2, Linear = 4 };

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// The record's bytes after the colon (count, address, type, data, checksum), or nothing when
// the line is not a whole record.
std::optional<std::vector<std::uint8_t>> recordBytes(const QByteArray& line) {
    if (line.size() < 11 || line[0] != ':' || (line.size() - 1) % 2 != 0) return std::nullopt;
    std::vector<std::uint8_t> bytes;
    for (qsizetype i = 1; i < line.size(); i += 2) {
        const int hi = hexDigit(line[i]), lo = hexDigit(line[i + 1]);
        if (hi < 0 || lo < 0) return std::nullopt;
        bytes.push_back(std::uint8_t(hi * 16 + lo));
    }
    if (bytes.size() != std::size_t(bytes[0]) + 5) return std::nullopt;
    return bytes;
}

FirmwareFileError refuse(FirmwareFileError::Kind kind, int line) {
    return {kind, line};
}

} // namespace

FirmwareFileResult parseFirmwareHex(const QByteArray& text) {
    using Kind = FirmwareFileError::Kind;
    FirmwareWords words;
    std::uint32_t base = 0;     // from the extended address records
    std::uint32_t nextWord = 0; // the first word no record has given yet
    bool ended = false;
    const QList<QByteArray> lines = text.split('\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const int lineNo = int(i) + 1;
        const QByteArray line = lines[i].trimmed();
        if (line.isEmpty()) continue;
        if (ended) return refuse(Kind::AfterEnd, lineNo);
        const auto bytes = recordBytes(line);
        if (!bytes) return refuse(Kind::NotARecord, lineNo);
        std::uint8_t sum = 0;
        for (std::uint8_t b : *bytes)
            sum = std::uint8_t(sum + b);
        if (sum != 0) return refuse(Kind::Checksum, lineNo);

        const std::size_t count = (*bytes)[0];
        const std::uint32_t address = (std::uint32_t((*bytes)[1]) << 8) | (*bytes)[2];
        const auto data = bytes->begin() + 4;
        switch ((*bytes)[3]) {
        case End:
            ended = true;
            continue;
        case Segment:
        case Linear:
            if (count != 2) return refuse(Kind::NotARecord, lineNo);
            base = (std::uint32_t(data[0]) << 8 | data[1]) << ((*bytes)[3] == Linear ? 16 : 4);
            continue;
        case Data:
            break;
        default:
            return refuse(Kind::RecordType, lineNo);
        }
        const std::uint32_t byteAddress = base + address;
        if (count % 2 != 0 || byteAddress % 2 != 0) return refuse(Kind::OddData, lineNo);
        const std::uint32_t first = byteAddress / 2;
        const std::uint32_t end = first + std::uint32_t(count / 2);
        if (end > kEndOfEeprom) return refuse(Kind::OutsideMemory, lineNo);
        if (count == 0) continue;
        if (first < nextWord) return refuse(Kind::OutOfOrder, lineNo);
        for (std::size_t k = 0; k < count / 2; ++k)
            words[first + std::uint32_t(k)] =
                std::uint16_t(data[2 * k] | (std::uint16_t(data[2 * k + 1]) << 8));
        nextWord = end;
    }
    if (!ended) return refuse(Kind::NoEndRecord, 0);
    if (words.empty() || words.begin()->first >= 0x2000) return refuse(Kind::NoProgramWords, 0);
    return words;
}

FirmwareFileResult readFirmwareFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return FirmwareFileError{};
    const QByteArray text = file.readAll();
    if (file.error() != QFileDevice::NoError) return FirmwareFileError{};
    return parseFirmwareHex(text);
}

QString firmwareFileErrorText(const FirmwareFileError& error) {
    using Kind = FirmwareFileError::Kind;
    static const std::pair<Kind, const char*> kReasons[] = {
        {Kind::Unreadable, "ファイルを読み込めませんでした。"},
        {Kind::NotARecord, "Intel HEX のレコードではありません。"},
        {Kind::Checksum, "チェックサムが一致しません。"},
        {Kind::RecordType, "使用できないレコードタイプです。"},
        {Kind::OddData, "データがワード単位になっていません（奇数のバイト数またはアドレス）。"},
        {Kind::OutOfOrder, "アドレスが昇順になっていません。"},
        {Kind::OutsideMemory, "ライターのプログラムメモリの範囲外のアドレスです。"},
        {Kind::AfterEnd, "エンドレコードの後にレコードがあります。"},
        {Kind::NoEndRecord, "エンドレコードがありません（ファイルが途中で切れています）。"},
        {Kind::NoProgramWords, "プログラムデータがありません。"},
    };
    QString why;
    for (const auto& [kind, text] : kReasons)
        if (kind == error.kind) why = QString::fromUtf8(text);
    const QString where = error.line > 0 ? QStringLiteral("%1行目：").arg(error.line) : QString();
    return QStringLiteral("アップデートファイルが正しくありません。") + where + why +
           QStringLiteral("アップデートは行いませんでした。");
}

} // namespace tavrin
