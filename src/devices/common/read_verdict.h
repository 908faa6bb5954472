// The end of a Read, as every read tells it: what the chip was found to hold on the status line,
// the checksum of the buffer and the log's end line. A read that stopped at a failing area leaves
// its end line all the same, as a blank check that failed does: the log shows every read that
// went to the chip.
#pragma once

namespace tavrin {

struct ModuleContext;

enum class ReadFinding {
    Erased,    // every word read erased
    Written,   // code, readable
    Protected, // code protection set (or bits that read as if it were)
};

// Erased wins over protection: a blank chip has nothing to protect.
inline ReadFinding readFinding(bool erased, bool protectedChip) {
    if (erased) return ReadFinding::Erased;
    return protectedChip ? ReadFinding::Protected : ReadFinding::Written;
}

// A read that got every area: the finding on the status line, then finishCompleteRead.
void tellReadVerdict(ModuleContext& ctx, ReadFinding finding);

// The checksum and the end line, for a read that tells its finding in words of its own.
void finishCompleteRead(ModuleContext& ctx);

// A read that stopped at a failing area (the area has told why): the end line.
void finishFailedRead(ModuleContext& ctx);

} // namespace tavrin
