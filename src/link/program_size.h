// The program memory size as the write and verify commands send it.
#pragma once

namespace tavrin {

struct Session;

// WriteWordCount = ProgramWordCount, and its high and low byte in WriteWordCountHi/Lo.
void SplitProgramSize(Session& session);

} // namespace tavrin
