// The read-back commands, one row per programming type: the letters that follow the power letter
// for program memory, data EEPROM and the configuration area. The read and the verify of program
// memory and EEPROM send the same commands. The generic steps pick the row of the part's
// programming type; a device module hands the steps a row of its own (read.h, memory_verify.h),
// for example with its family letter in place of "s".
#pragma once

#include "core/program_type.h"

#include <QString>

namespace tavrin {

struct ReadCommands {
    // The programming type whose reply layout the row reads: "12F6" carries the calibration word
    // last and the band-gap bits, "EPROM2" parity bits; the rest lay out alike per group.
    const char* type;
    CoreGroup group;     // None: only the power letter goes out
    const char* program; // never null for a listed type
    const char* eeprom;  // null: the type has no EEPROM read
    const char* config;
    int configWords = 8; // 14-bit configuration read: 8 words (0x2000-7) or 16 (to 0x200F)
};

// The row of the type, or null for a type the generic reads do not serve.
const ReadCommands* readCommandsFor(const QString& programType);

// The row of a type no read serves: the power letter alone.
inline constexpr ReadCommands kUnservedReads{"", CoreGroup::None, "", nullptr, ""};

// The type's row, or kUnservedReads.
const ReadCommands& readCommandsOrUnserved(const QString& programType);

} // namespace tavrin
