// The memory each core family can address, as the sizes of a device block must respect it. A
// block whose PGM or EEPROM row lies beyond its family's address space would make every
// operation on the part send more words than the chip holds (and run into the ID and
// configuration words, or time out against a board that stops answering); it is refused when
// the part is selected, like a block that lacks a key.
#pragma once

#include "program_type.h"
#include "session.h"

#include <QString>

#include <optional>

namespace tavrin {

struct FamilyLimits {
    std::int32_t programWords;    // program memory, in words
    std::int32_t eepromLocations; // data EEPROM, in locations
};

// The limits of a core group (CoreGroup::None has none to give: its parts are refused first).
FamilyLimits familyLimitsOf(CoreGroup group);

// A size row beyond its family: the key, the value the row gave and the largest value the key
// may take, both as the file writes them (the last address).
struct SizeBeyondFamily {
    QString key;
    std::int32_t value;
    std::int32_t largest;
};

// The first of PGM, EEPROM that the record's family cannot hold; nothing when both fit.
std::optional<SizeBeyondFamily> sizeBeyondFamily(const DeviceRecord& record);

} // namespace tavrin
