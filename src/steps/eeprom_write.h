// Writing EepromImage into the part's data EEPROM for every part without a device module of its
// own: two bytes per location for 14-bit parts, one for PIC18, each asked for by the board.
#pragma once

#include <QString>

namespace tavrin {

class BoardChannel;

// The EEPROM write of one programming type (or of a device module).
struct EepromWriteRow {
    const char* type;
    const char* letters; // after the power letter: "wed", "wId", "w8d", "Xwed", ...
    bool pic18;          // one byte per location, 24-bit start and count
};

// "OK"/"NG", "--" for a part without EEPROM; a type it does not serve gets the power letter only
// and keeps the caller's result.
void WriteEepromMemory(BoardChannel& channel, QString& result);

// The write with the caller's row.
void WriteEepromMemoryWith(BoardChannel& channel, const EepromWriteRow& row, QString& result);

} // namespace tavrin
