// Whether the part in the socket is erased, one area at a time. Program memory is judged by the
// board's summary of the scanned words (a few bytes on the link); the EEPROM and the ID and
// configuration words are read whole and judged here.
//
// Each result: "OK" erased, "NG" not erased, "ER" the board's reply was missing or incomplete.
// A programming type the check does not serve gets the status text and the power letter only,
// and the result keeps what the caller passed ("--").
#pragma once

#include <QString>

#include <cstdint>

namespace tavrin {

class BoardChannel;
struct ConfigAreaCommand;
struct ReadCommands;

// How many words the board scans for the program-memory summary, counted from the part's
// program memory size W.
enum class ScanCount {
    StreamWords,  // W + 5: configuration word, program memory, four ID words (16C5x)
    LeaveLastOut, // W - 1: the last word holds the calibration instruction
    AllWords,     // W
    Pic18Words,   // W, from byte address 0, both as three bytes
};

// The program-memory scan of one programming type (or of a device module).
struct ProgramBlankRow {
    const char* programType;
    const char* letters; // after the power letter: "bs", "b8", "Xbs", ...
    ScanCount count;
    bool configFirst; // the reply starts with the configuration word (low byte first)
    std::int32_t erased;
};

// Leaves the summary in ProgramAndHigh/Low (12-bit types), the 16C5x configuration word in
// ConfigAndLow/High, and the 12C5 calibration word in CalibWordHigh/Low (marked read).
void BlankCheckProgramMemory(BoardChannel& channel, QString& result);

// Parts without EEPROM give "--" at once, silently. Leaves EepromAndHigh/Low.
void BlankCheckEepromMemory(BoardChannel& channel, QString& result);

// ID and configuration words. cpFlag: "CP" when the configuration word shows code protection,
// "--" when not (set once the reply is complete; never by the PIC18 path). Leaves
// ConfigAndHigh/Low.
void BlankCheckConfigWords(BoardChannel& channel, QString& cpFlag, QString& result);

// The same checks with the caller's row. The EEPROM check reads with row.eeprom (nothing but the
// power letter when it is null); the configuration check reads the area the command names.
void BlankCheckProgramMemoryWith(BoardChannel& channel, const ProgramBlankRow& row,
                                 QString& result);
void BlankCheckEepromMemoryWith(BoardChannel& channel, const ReadCommands& row, QString& result);
void BlankCheckConfigWordsWith(BoardChannel& channel, const ConfigAreaCommand& command,
                               QString& cpFlag, QString& result);

} // namespace tavrin
