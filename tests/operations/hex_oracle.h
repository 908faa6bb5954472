// Intel HEX files as an independent tool reads them (srec_cat), test files written, and the test
// data folder.
#pragma once

#include <QString>

#include <cstdint>
#include <map>
#include <utility>
#include <vector>

namespace tavrin::test {

// The words of an Intel HEX file as srec_cat reads it (bytes little endian, two a word, gaps
// filled with 0xFF), words [first, first + count).
std::vector<std::uint16_t> hexWordsBySrecCat(const QString& hexPath, std::uint32_t first,
                                             std::uint32_t count);

// "" when every byte the expected file holds is the same in the actual file (srec_cmp over the
// expected file's addresses, less the byte ranges [from, to) given); otherwise what srec_cmp said.
QString
srecCompareWithin(const QString& expectedHex, const QString& actualHex,
                  const std::vector<std::pair<std::uint32_t, std::uint32_t>>& leaveOut = {});

// Writes bytes (byte address -> byte) as an Intel HEX file: data records of up to 16 consecutive
// bytes, an extended linear address record wherever the upper 16 address bits change.
bool writeIntelHex(const QString& path, const std::map<std::uint32_t, std::uint8_t>& bytes);

// Writes words (word address -> word), each low byte first at byte address 2 x word.
bool writeIntelHexWords(const QString& path, const std::map<std::uint32_t, std::uint16_t>& words);

QString testDataPath(const QString& name);

} // namespace tavrin::test
