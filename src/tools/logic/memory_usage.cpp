#include "memory_usage.h"

#include <algorithm>

namespace tavrin {

MemoryPicture memoryUsagePicture(const std::vector<std::uint8_t>& image, int wordCount) {
    MemoryPicture picture;
    // The first page is painted short of its quarter or half for the smaller parts.
    if (wordCount >= 512) picture[0].usedFraction = 1 / 4.05;
    if (wordCount >= 1024) picture[0].usedFraction = 1 / 2.05;
    if (wordCount >= 2048) picture[0].usedFraction = 1;
    if (wordCount >= 4096) picture[1].usedFraction = 1;
    if (wordCount >= 8192) picture[2].usedFraction = picture[3].usedFraction = 1;

    const int drawn = std::min(wordCount, 4 * 2048);
    for (int k = 0; k < drawn; ++k) {
        const std::size_t i = static_cast<std::size_t>(k) * 2;
        if (i + 1 >= image.size()) break;
        if (image[i] == 0x3F && image[i + 1] == 0xFF)
            picture[static_cast<std::size_t>(k / 2048)].erasedOffsets.push_back(k % 2048);
    }
    return picture;
}

double erasedLineX(int offset, double stripWidth) {
    return offset * (stripWidth - 75) / 2048;
}

} // namespace tavrin
