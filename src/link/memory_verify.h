// Reading program memory and data EEPROM back and comparing them with the PC buffer, for every
// part without a device module of its own. Each differing location is listed in its memory view.
#pragma once

#include <QString>

namespace tavrin {

class BoardChannel;
struct ReadCommands;

// "OK"/"NG", "ER" when the read-back failed (short, late or without its end code: nothing is
// compared); a type it does not serve gets the power letter only and keeps the caller's result.
// ReceiveBuffer keeps the read-back and LastVerifyIndex the position of the last word compared.
void VerifyProgramMemory(BoardChannel& channel, QString& result);
// "OK"/"NG"/"ER", "--" for a part without EEPROM, "" for a type whose EEPROM it does not read.
void VerifyEepromMemory(BoardChannel& channel, QString& result);

// The same verifies with the caller's row (read_commands.h).
void VerifyProgramMemoryWith(BoardChannel& channel, const ReadCommands& row, QString& result);
void VerifyEepromMemoryWith(BoardChannel& channel, const ReadCommands& row, QString& result);

} // namespace tavrin
