// The ID and configuration words at the end of the generic program sequence: the chip's own
// words 0x2004-0x2006 merged into the copy that is written, and the board-paced write of the
// configuration word (12-bit), the configuration area (14-bit) or the ID and configuration
// bytes (PIC18).
#pragma once

#include <QString>

namespace tavrin {

class BoardChannel;

// Builds MergedConfigIdImage from ConfigIdImage and the chip's words 0x2004-0x2006; "OK"/"NG".
void ReadConfigForMerge(BoardChannel& channel, QString& result);

// "OK"/"NG"; a type it does not serve gets the power letter only and keeps the caller's result.
void WriteConfigWords(BoardChannel& channel, QString& result);

} // namespace tavrin
