#include "hex_record.h"

#include <algorithm>
#include <cstring>

namespace tavrin::hex {

namespace {

constexpr std::array<std::int8_t, 256> makeDigitTable() {
    std::array<std::int8_t, 256> table{};
    for (auto& v : table)
        v = -1;
    for (int c = '0'; c <= '9'; ++c)
        table[c] = std::int8_t(c - '0');
    for (int c = 'A'; c <= 'F'; ++c)
        table[c] = std::int8_t(c - 'A' + 10);
    for (int c = 'a'; c <= 'f'; ++c)
        table[c] = std::int8_t(c - 'a' + 10);
    return table;
}
constexpr auto kDigit = makeDigitTable();

int digitOf(char c) {
    return kDigit[static_cast<unsigned char>(c)];
}

// Byte of the two digits at p; -1 when either is not a hexadecimal digit.
int byteAt(const char* p) {
    const int hi = digitOf(p[0]);
    const int lo = digitOf(p[1]);
    return (hi | lo) < 0 ? -1 : hi << 4 | lo;
}

constexpr char kUpperDigits[] = "0123456789ABCDEF";

} // namespace

bool parseRecordLine(std::string_view line, Record& record) {
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t'))
        line.remove_suffix(1);
    // ":" + count 2 + address 4 + type 2 + checksum 2 is the shortest record.
    if (line.size() < 11 || line[0] != ':') return false;
    for (std::size_t i = 1; i < line.size(); ++i)
        if (digitOf(line[i]) < 0) return false;
    const char* p = line.data() + 1;
    record.count = std::uint8_t(byteAt(p));
    record.address = std::uint16_t(byteAt(p + 2) << 8 | byteAt(p + 4));
    record.type = std::uint8_t(byteAt(p + 6));
    if (line.size() < 11 + 2 * std::size_t(record.count)) return false;
    const char* d = p + 8;
    for (int i = 0; i < record.count; ++i, d += 2)
        record.data[std::size_t(i)] = std::uint8_t(byteAt(d));
    return true;
}

std::size_t LineReader::nextOf(char c, std::size_t& found) const {
    if (found == std::string_view::npos || found < pos_) {
        const void* at = std::memchr(text_.data() + pos_, c, text_.size() - pos_);
        found = at ? std::size_t(static_cast<const char*>(at) - text_.data()) : text_.size();
    }
    return found;
}

bool LineReader::next(std::string_view& line) {
    const std::size_t size = text_.size();
    if (pos_ >= size) return false;
    // A record line is short and is quicker found byte by byte than by a call; a longer line
    // goes to memchr.
    const std::size_t quickEnd = std::min(size, pos_ + 64);
    std::size_t end = pos_;
    while (end < quickEnd && text_[end] != '\n' && text_[end] != '\r')
        ++end;
    if (end == quickEnd && end < size)
        end = std::min(nextOf('\n', nextLineFeed_), nextOf('\r', nextCarriageReturn_));
    line = text_.substr(pos_, end - pos_);
    pos_ = end;
    if (pos_ < size) pos_ += text_[end] == '\r' && end + 1 < size && text_[end + 1] == '\n' ? 2 : 1;
    return true;
}

namespace {

// Digit values for the checksum: only "0"-"9" and "A"-"F" are digits, anything else counts 0.
constexpr std::array<std::uint8_t, 256> makeStrictDigitTable() {
    std::array<std::uint8_t, 256> table{};
    for (int c = '0'; c <= '9'; ++c)
        table[c] = std::uint8_t(c - '0');
    for (int c = 'A'; c <= 'F'; ++c)
        table[c] = std::uint8_t(c - 'A' + 10);
    return table;
}
constexpr auto kStrictDigit = makeStrictDigitTable();

// The checksum of the record text that starts at lineStart and runs to the end of text.
void appendChecksumOfLine(QByteArray& text, qsizetype lineStart) {
    const auto* p = reinterpret_cast<const unsigned char*>(text.constData());
    unsigned sum = 0;
    for (qsizetype i = lineStart + 1; i + 1 < text.size(); i += 2)
        sum += unsigned(kStrictDigit[p[i]] * 16 + kStrictDigit[p[i + 1]]);
    appendHexByte(text, std::uint8_t(0x100 - (sum & 0xFF)));
}

char* putHexByte(char* p, std::uint8_t byte) {
    p[0] = kUpperDigits[byte >> 4];
    p[1] = kUpperDigits[byte & 0x0F];
    return p + 2;
}

} // namespace

void AppendHexChecksum(QByteArray& line) {
    appendChecksumOfLine(line, 0);
}

void appendHexByte(QByteArray& line, std::uint8_t byte) {
    char digits[2];
    putHexByte(digits, byte);
    line.append(digits, 2);
}

void appendRecord(QByteArray& out, std::uint8_t type, std::uint16_t address,
                  const std::uint8_t* data, std::size_t count) {
    const qsizetype start = out.size();
    out.resize(start + 9 + 2 * qsizetype(count));
    char* p = out.data() + start;
    *p++ = ':';
    p = putHexByte(p, std::uint8_t(count));
    p = putHexByte(p, std::uint8_t(address >> 8));
    p = putHexByte(p, std::uint8_t(address));
    p = putHexByte(p, type);
    for (std::size_t i = 0; i < count; ++i)
        p = putHexByte(p, data[i]);
    appendChecksumOfLine(out, start);
    out.append("\r\n", 2);
}

} // namespace tavrin::hex
