// The board's answer to "?": 16 characters of identification (board name, blanks, "V" and the
// firmware version in the last four characters) and CR LF, 18 characters in all.
#pragma once

#include "emulator/faults.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace emu {

inline constexpr std::string_view kDefaultIdentification = "QZ-WRT400  V6.50";
inline constexpr std::string_view kDefaultVersion = "6.50";

// A board name of up to 11 characters ("QZ-WRT400A") becomes name, blanks, "V6.50"; a longer
// text is the identification itself, padded with blanks to 16 characters (longer texts stay as
// they are, to show a board that answers too much).
std::string normalizeIdentification(std::string_view text);

// The bytes the board sends for "?", after the identification faults.
std::vector<std::uint8_t> identificationReply(std::string_view identification,
                                              const FaultSet& faults);

} // namespace emu
