// The memory-usage picture of a 14-bit program image: one strip per 2048-word page, the part's
// memory painted in the "used" colour, a line for every erased word. Computed here; the window
// only paints it.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace tavrin {

struct PageStrip {
    // How much of the strip, from its left edge, shows the used colour: 0, 1/4.05, 1/2.05 or 1.
    double usedFraction = 0;
    // Word offsets within the page (0-2047) of the erased words (0x3FFF), each drawn as a line
    // at offset × (width − 75) / 2048.
    std::vector<int> erasedOffsets;
};

using MemoryPicture = std::array<PageStrip, 4>;

MemoryPicture memoryUsagePicture(const std::vector<std::uint8_t>& image, int wordCount);

// Where a word offset's line goes on a strip of this width (in the strip's own units).
double erasedLineX(int offset, double stripWidth);

} // namespace tavrin
