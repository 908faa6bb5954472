// The end of a read that got every area, as both modules of this folder tell it.
#pragma once

#include <cstdint>
#include <functional>

namespace tavrin {
struct ModuleContext;
}

namespace tavrin::pic12 {

// The configuration values taken from the words read, the grids and views redrawn, the summary
// on the status line (the AND of everything read against the erased word; a protected chip said
// in red), the checksum and the log's end line. protectedChip is asked after the grids have taken
// the words read.
void finishRead(ModuleContext& ctx, std::int32_t summary, std::int32_t erased,
                const std::function<bool()>& protectedChip);

} // namespace tavrin::pic12
