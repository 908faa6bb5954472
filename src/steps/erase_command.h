// The bulk-erase command as the three erase procedures send it: the erase code chosen by the
// part's exact name, and the wait for the board's "@". A device module sends its own letters and
// codes with sendEraseCode.
#pragma once

#include <QString>

#include <cstdint>

namespace tavrin {

class BoardChannel;

enum class EraseArea { Chip, Program, Eeprom };

// False when the part has no erase of that area at all: nothing is to be sent or shown.
bool eraseApplies(const QString& deviceName, EraseArea area);

// Sends the selected part's erase command for the area (the power letter alone when the part
// has no code for it) and waits up to 3 s for "@". result: "OK" or "ER", with the matching
// status text.
void sendErase(BoardChannel& channel, EraseArea area, const QString& doneText,
               const QString& failedText, QString& result);

// One erase command of the caller's: letters after the power letter ("bd", "bD", "Xbd") and the
// code byte.
struct EraseCode {
    const char* letters;
    std::uint8_t code;
};

// The PIC18 erase codes after "Xbd": the whole chip (code protection released, the data EEPROM
// with it), the data EEPROM alone, and one block of program memory: block 0 is the boot block,
// blocks 1 to 8 follow it. Any other block number has no code (0).
constexpr std::uint8_t Pic18ChipEraseCode = 0x80;
constexpr std::uint8_t Pic18EepromEraseCode = 0x81;
constexpr int Pic18MaxBlock = 8;
std::uint8_t pic18BlockEraseCode(int block);

// Clears the input, sends the power letter, the letters and the code, and waits up to limitMs
// for "@". result: "OK" or "ER", with the matching status text.
void sendEraseCode(BoardChannel& channel, const EraseCode& erase, const QString& doneText,
                   const QString& failedText, QString& result, int limitMs = 3000);

} // namespace tavrin
