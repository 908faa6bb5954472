// The read-back commands of the generic steps, one row per programming type: the letters that
// follow the power letter for program memory, data EEPROM and the configuration area. The read
// and the verify of program memory and EEPROM send the same commands.
#pragma once

#include "core/program_type.h"

#include <QString>

namespace tavrin {

struct ReadCommands {
    const char* type;
    CoreGroup group;
    const char* program; // never null for a listed type
    const char* eeprom;  // null: the type has no EEPROM read
    const char* config;
};

// The row of the type, or null for a type the generic reads do not serve.
const ReadCommands* readCommandsFor(const QString& programType);

} // namespace tavrin
