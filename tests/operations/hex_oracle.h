// Intel HEX files as an independent tool reads them (srec_cat), and the test data folder. Test
// files are written by support/intel_hex.h.
#pragma once

#include <QString>

#include <cstdint>
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

QString testDataPath(const QString& name);

} // namespace tavrin::test
