// Bulk erase of the chip, of its program memory or of its data EEPROM. The board runs the erase;
// the host only picks the erase code, which depends on the part's name, not on its programming
// type. None of the three closes the port.
#pragma once

#include <QString>

namespace tavrin {

class BoardChannel;
class BoardLink;

// Chip erase with code-protect release. Checks the device choice and the board first.
// result: "OK", "ER" (no "@"), or "NG" from the two checks.
void EraseChip(BoardLink& link, QString& result);

// Program memory only, the data EEPROM kept: by the part's program-memory erase code, or on the
// PIC18 parts block by block. The caller has checked the device choice and the board.
// result: "OK" or "ER".
void EraseProgramMemory(BoardChannel& channel, QString& result);

// Whether EraseProgramMemory has a way to erase this part's program memory alone; without one
// only the chip erase (which takes the data EEPROM with it) reaches the program memory.
bool erasesProgramAlone(const QString& deviceName);

// Data EEPROM only. Parts without an EEPROM erase of their own are left alone: nothing is sent
// and result keeps what the caller passed. result: "OK" or "ER".
void EraseEepromMemory(BoardChannel& channel, QString& result);

} // namespace tavrin
