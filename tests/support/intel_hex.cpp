#include "intel_hex.h"

#include <QFile>

#include <optional>

namespace tavrin::test {

QByteArray intelHexRecord(std::uint16_t address, std::uint8_t type, const QByteArray& data) {
    QByteArray bytes;
    bytes.append(char(data.size()));
    bytes.append(char(address >> 8));
    bytes.append(char(address & 0xFF));
    bytes.append(char(type));
    bytes.append(data);
    std::uint8_t sum = 0;
    for (char c : bytes)
        sum = std::uint8_t(sum + std::uint8_t(c));
    bytes.append(char(std::uint8_t(-sum)));
    return ':' + bytes.toHex().toUpper() + "\r\n";
}

QByteArray intelHexText(const std::map<std::uint32_t, std::uint8_t>& bytes) {
    QByteArray out;
    std::optional<std::uint32_t> upper;
    for (auto it = bytes.begin(); it != bytes.end();) {
        const std::uint32_t start = it->first;
        if (upper != start >> 16) {
            upper = start >> 16;
            QByteArray page;
            page.append(char(*upper >> 8));
            page.append(char(*upper & 0xFF));
            out += intelHexRecord(0, 4, page);
        }
        QByteArray data;
        while (it != bytes.end() && it->first == start + std::uint32_t(data.size()) &&
               data.size() < 16 && (it->first >> 16) == *upper) {
            data.append(char(it->second));
            ++it;
        }
        out += intelHexRecord(std::uint16_t(start), 0, data);
    }
    return out + intelHexRecord(0, 1, {});
}

QByteArray intelHexWordsText(const std::map<std::uint32_t, std::uint16_t>& words) {
    std::map<std::uint32_t, std::uint8_t> bytes;
    for (const auto& [word, value] : words) {
        bytes[2 * word] = std::uint8_t(value);
        bytes[2 * word + 1] = std::uint8_t(value >> 8);
    }
    return intelHexText(bytes);
}

namespace {
bool writeText(const QString& path, const QByteArray& text) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(text) == text.size() &&
           f.flush();
}
} // namespace

bool writeIntelHex(const QString& path, const std::map<std::uint32_t, std::uint8_t>& bytes) {
    return writeText(path, intelHexText(bytes));
}

bool writeIntelHexWords(const QString& path, const std::map<std::uint32_t, std::uint16_t>& words) {
    return writeText(path, intelHexWordsText(words));
}

} // namespace tavrin::test
