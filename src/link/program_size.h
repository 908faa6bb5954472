// The program memory size as the write and verify commands send it.
#pragma once

#include <cstdint>

namespace tavrin {

class BoardChannel;
struct Session;

// WriteWordCount = ProgramWordCount, and its high and low byte in WriteWordCountHi/Lo.
void SplitProgramSize(Session& session);

// SplitProgramSize, then the two bytes sent high first. Returns WriteWordCount.
std::int32_t sendProgramSize(BoardChannel& channel);

// The 12-bit stream's length in StreamWordCount (the configuration word, the program words and
// the four ID words) with its high and low byte in StreamWordCountHi/Lo, sent high first.
// Returns StreamWordCount.
std::int32_t sendStreamSize(BoardChannel& channel);

} // namespace tavrin
