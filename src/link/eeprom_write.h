// Writing EepromImage into the part's data EEPROM for every part without a device module of its
// own: two bytes per location for 14-bit parts, one for PIC18, each asked for by the board.
#pragma once

#include <QString>

namespace tavrin {

class BoardChannel;

// "OK"/"NG", "--" for a part without EEPROM; a type it does not serve gets the power letter only
// and keeps the caller's result.
void WriteEepromMemory(BoardChannel& channel, QString& result);

} // namespace tavrin
