// The line a verify lists for each location whose content differs from the PC buffer. The generic
// verify and the verify steps of the device modules build it from the same pieces, so that every
// report in the memory views reads alike.
#pragma once

#include <QString>

#include <cstdint>

namespace tavrin {

// "Error　 アドレス:0xAAAA , 正:0xEEEE , 誤:0xRRRR" + CR LF; the address shows its low 16 bits.
QString programMismatchLine(std::int64_t address, std::int32_t expected, std::int32_t read);
// The same with two-digit values.
QString eepromMismatchLine(std::int64_t address, std::int32_t expected, std::int32_t read);

} // namespace tavrin
