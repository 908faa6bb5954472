// What a saved HEX file must be, record by record, written from the file layout of each family
// and shared with nothing in the program: the fuzz target checks every file the program saves
// against it, so a wrong checksum, a misshapen record or a record with the wrong data is seen
// even when the program would read its own file back without complaint.
#pragma once

#include "hex_reference.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace hexref {

struct SavedPart {
    Core core = Core::Bit14;
    int words = 0;           // program words
    int eepromLocations = 0; // data EEPROM locations
};

// The memories the file is saved from, in the program's layout (see Images).
struct SavedFrom {
    const std::uint8_t* program;
    const std::uint8_t* eeprom;
    const std::uint8_t* configId;
    const std::uint8_t* id18;
    const std::int32_t* configValue; // PIC18: words 1..7 are saved
};

// Empty when text is exactly the file the part's memories make: one record a line, each line
// ":" and upper-case digits ending in CR LF, a byte count that matches, a checksum that brings
// the record's sum to zero; the records in the family's order with the memories' data.
// Otherwise what is wrong, first.
std::string savedFileFault(std::string_view text, const SavedPart& part, const SavedFrom& from);

} // namespace hexref
