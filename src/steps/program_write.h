// Writing ProgramImage into the part for every part without a device module of its own: the
// 12-bit stream (configuration word, program, ID words), the 14-bit word stream, or the PIC18
// block transfer, each paced by the board.
#pragma once

#include <QString>

namespace tavrin {

class BoardChannel;

enum class WriteStream {
    Bit12, // configuration word, program words, four ID words; 16-bit count of the stream
    Bit14, // program words; 16-bit count
    Pic18, // 8-byte blocks panel by panel; 24-bit start and panel count
};

// The write command of one programming type (or of a device module).
struct ProgramWriteRow {
    const char* type;
    const char* letters; // after the power letter: "we8", "wGe", "w84", "w7e", "Xwep", ...
    WriteStream stream;
};

// "OK"/"NG"; a type it does not serve gets the power letter only and keeps the caller's result.
void WriteProgramMemory(BoardChannel& channel, QString& result);

// The write with the caller's row.
void WriteProgramMemoryWith(BoardChannel& channel, const ProgramWriteRow& row, QString& result);

} // namespace tavrin
