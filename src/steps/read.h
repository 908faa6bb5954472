// Reading the part in the socket into the PC buffer, for every part without a device module of
// its own: program memory (with the ID and configuration words that share the 12-bit stream),
// data EEPROM, and the configuration area with the device ID. Each sets the caller's result
// string ("OK", "NG", "--"), or leaves it for a type it does not serve.
#pragma once

#include <QString>

namespace tavrin {

class BoardChannel;
struct ReadCommands;

// With the row of the part's programming type.
void ReadProgramMemory(BoardChannel& channel, QString& result);
void ReadEepromMemory(BoardChannel& channel, QString& result);
void ReadConfigWords(BoardChannel& channel, QString& result);

// The same reads with the caller's row (read_commands.h): its letters, core group and layout.
void ReadProgramMemoryWith(BoardChannel& channel, const ReadCommands& row, QString& result);
void ReadEepromMemoryWith(BoardChannel& channel, const ReadCommands& row, QString& result);
void ReadConfigWordsWith(BoardChannel& channel, const ReadCommands& row, QString& result);

} // namespace tavrin
