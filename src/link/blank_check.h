// Whether the part in the socket is erased, one area at a time. Program memory is judged by the
// board's summary of the scanned words (a few bytes on the link); the EEPROM and the ID and
// configuration words are read whole and judged here.
//
// Each result: "OK" erased, "NG" not erased, "ER" the board's reply was missing or incomplete.
// A programming type the check does not serve gets the status text and the power letter only,
// and the result keeps what the caller passed ("--").
#pragma once

#include <QString>

namespace tavrin {

class BoardChannel;

// Leaves the summary in ProgramAndHigh/Low (12-bit types), the 16C5x configuration word in
// ConfigAndLow/High, and the 12C5 calibration word in CalibWordHigh/Low (marked read).
void BlankCheckProgramMemory(BoardChannel& channel, QString& result);

// Parts without EEPROM give "--" at once, silently. Leaves EepromAndHigh/Low.
void BlankCheckEepromMemory(BoardChannel& channel, QString& result);

// ID and configuration words. cpFlag: "CP" when the configuration word shows code protection,
// "--" when not (set once the reply is complete; never by the PIC18 path). Leaves
// ConfigAndHigh/Low.
void BlankCheckConfigWords(BoardChannel& channel, QString& cpFlag, QString& result);

} // namespace tavrin
