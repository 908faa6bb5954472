// The ID and configuration words at the end of the generic program sequence: the chip's own
// words 0x2004-0x2006 merged into the copy that is written, and the board-paced write of the
// configuration word (12-bit), the configuration area (14-bit) or the ID and configuration
// bytes (PIC18).
#pragma once

#include <QString>

namespace tavrin {

class BoardChannel;

// How the configuration is written.
enum class ConfigWriteLayout {
    Word12, // the configuration word alone
    Area14, // words from 0x2000 out of MergedConfigIdImage, 0x2004-0x2006 marked
    Pic18,  // the ID bytes and the configuration values as one packet
};

// The configuration write of one programming type (or of a device module).
struct ConfigWriteRow {
    const char* type;    // "EPROM2" sends its reserved words unmarked
    const char* letters; // after the power letter: "wec", "wFc", "w8c", "w6c", "Xwec", ...
    ConfigWriteLayout layout;
    int words; // the count sent: configuration words of the area (PIC18: items of the packet)
};

// Builds MergedConfigIdImage from ConfigIdImage and the chip's words 0x2004-0x2006; "OK"/"NG".
void ReadConfigForMerge(BoardChannel& channel, QString& result);

// "OK"/"NG"; a type it does not serve gets the power letter only and keeps the caller's result.
void WriteConfigWords(BoardChannel& channel, QString& result);

// The write with the caller's row.
void WriteConfigWordsWith(BoardChannel& channel, const ConfigWriteRow& row, QString& result);

} // namespace tavrin
