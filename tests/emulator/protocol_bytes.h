// Building the exact byte sequences of the host's commands.
#pragma once

#include <cstdint>
#include <QByteArray>

namespace tavrin::test {

inline QByteArray c16(std::uint32_t v) {
    QByteArray b;
    b.append(char((v >> 8) & 0xFF));
    b.append(char(v & 0xFF));
    return b;
}

inline QByteArray c24(std::uint32_t v) {
    QByteArray b;
    b.append(char((v >> 16) & 0xFF));
    b.append(char((v >> 8) & 0xFF));
    b.append(char(v & 0xFF));
    return b;
}

inline QByteArray word(std::uint16_t w) {
    return c16(w);
}

inline std::uint16_t wordAt(const QByteArray& b, int i) {
    return std::uint16_t((std::uint8_t(b[i]) << 8) | std::uint8_t(b[i + 1]));
}

inline QByteArray hex(const char* text) {
    return QByteArray::fromHex(text);
}

} // namespace tavrin::test
