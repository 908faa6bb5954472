// Writing ProgramImage into the part for every part without a device module of its own: the
// 12-bit stream (configuration word, program, ID words), the 14-bit word stream, or the PIC18
// block transfer, each paced by the board.
#pragma once

#include <QString>

namespace tavrin {

class BoardChannel;

// "OK"/"NG"; a type it does not serve gets the power letter only and keeps the caller's result.
void WriteProgramMemory(BoardChannel& channel, QString& result);

} // namespace tavrin
