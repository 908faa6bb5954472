// Intel HEX files written for tests: the one writer every test folder takes its HEX text from.
// Records are upper case, CR LF ended, as the assemblers the program reads after write them.
#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <map>

namespace tavrin::test {

// One record's line, ":LLAAAATT<data>CC\r\n", with its checksum; tests spoil it to make bad files.
QByteArray intelHexRecord(std::uint16_t address, std::uint8_t type, const QByteArray& data);

// Bytes (byte address -> byte) as Intel HEX text: data records of up to 16 consecutive bytes, an
// extended linear address record before the first one and wherever the upper 16 address bits
// change, and the end record.
QByteArray intelHexText(const std::map<std::uint32_t, std::uint8_t>& bytes);

// Words (word address -> word), each low byte first at byte address 2 x word.
QByteArray intelHexWordsText(const std::map<std::uint32_t, std::uint16_t>& words);

// The same texts written to a file; false when the file could not be written.
bool writeIntelHex(const QString& path, const std::map<std::uint32_t, std::uint8_t>& bytes);
bool writeIntelHexWords(const QString& path, const std::map<std::uint32_t, std::uint16_t>& words);

} // namespace tavrin::test
