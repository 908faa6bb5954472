// Reading program memory and data EEPROM back and comparing them with the PC buffer, for every
// part without a device module of its own. Each differing location is listed in its memory view.
#pragma once

#include <QString>

#include <cstdint>
#include <optional>

namespace tavrin {

class BoardChannel;
struct ReadCommands;

// What the program verify expects at the calibration address, the last program word of a part
// that keeps its oscillator calibration there ("12C5", "12C6"; "12F6" never compares it). Within
// a program run the image holds the word the run has just written. A verify of its own has the
// PC buffer as the file left it, whose word there no program run writes: it expects the word a
// program run would write, or nothing at all when the chip keeps its own.
struct ExpectedCalibration {
    bool fromImage = true;
    std::optional<std::uint16_t> word; // without fromImage: the word expected; none: not compared
};

// "OK"/"NG", "ER" when the read-back failed (short, late or without its end code: nothing is
// compared); a type it does not serve gets the power letter only and keeps the caller's result.
// ReceiveBuffer keeps the read-back and LastVerifyIndex the position of the last word compared.
void VerifyProgramMemory(BoardChannel& channel, QString& result);
// The same verify with the caller's expectation at the calibration address.
void VerifyProgramMemoryExpecting(BoardChannel& channel, const ExpectedCalibration& calibration,
                                  QString& result);
// "OK"/"NG"/"ER", "--" for a part without EEPROM, "" for a type whose EEPROM it does not read.
void VerifyEepromMemory(BoardChannel& channel, QString& result);

// The same verifies with the caller's row (read_commands.h).
void VerifyProgramMemoryWith(BoardChannel& channel, const ReadCommands& row, QString& result);
void VerifyEepromMemoryWith(BoardChannel& channel, const ReadCommands& row, QString& result);

} // namespace tavrin
