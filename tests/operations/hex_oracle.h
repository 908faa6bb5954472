// Intel HEX files as an independent tool reads them (srec_cat), and the test data folder.
#pragma once

#include <QString>

#include <cstdint>
#include <vector>

namespace tavrin::test {

// The words of an Intel HEX file as srec_cat reads it (bytes little endian, two a word, gaps
// filled with 0xFF), words [first, first + count).
std::vector<std::uint16_t> hexWordsBySrecCat(const QString& hexPath, std::uint32_t first,
                                             std::uint32_t count);

QString testDataPath(const QString& name);

} // namespace tavrin::test
