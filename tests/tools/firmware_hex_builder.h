// Firmware files for the update tests: Intel HEX text of 14-bit words (low byte first at twice
// the word address), 16 bytes a record, with an extended linear address record first as gpasm
// writes it, and a way to spoil one line.
#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <map>

namespace tavrin::test {

inline QByteArray hexRecord(std::uint32_t address, int type, const QByteArray& data) {
    QByteArray bytes;
    bytes.append(char(data.size()));
    bytes.append(char((address >> 8) & 0xFF));
    bytes.append(char(address & 0xFF));
    bytes.append(char(type));
    bytes.append(data);
    std::uint8_t sum = 0;
    for (char c : bytes)
        sum = std::uint8_t(sum + std::uint8_t(c));
    bytes.append(char(std::uint8_t(-sum)));
    return ':' + bytes.toHex().toUpper() + "\r\n";
}

// Consecutive words go into records of up to 8 words.
inline QByteArray firmwareHex(const std::map<std::uint32_t, std::uint16_t>& words) {
    QByteArray out = hexRecord(0, 4, QByteArray(2, '\0'));
    auto it = words.begin();
    while (it != words.end()) {
        const std::uint32_t first = it->first;
        QByteArray data;
        std::uint32_t next = first;
        while (it != words.end() && it->first == next && data.size() < 16) {
            data.append(char(it->second & 0xFF));
            data.append(char(it->second >> 8));
            ++next;
            ++it;
        }
        out += hexRecord(first * 2, 0, data);
    }
    return out + ":00000001FF\r\n";
}

} // namespace tavrin::test
