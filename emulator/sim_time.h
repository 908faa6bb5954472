// Simulated time of the board: nanoseconds on one monotonic scale. The in-process transport maps
// its virtual clock onto it; the pty transport maps the steady clock onto it.
#pragma once

#include <cstdint>

namespace emu {

using Nanos = std::int64_t;

constexpr Nanos kMicrosecond = 1000;
constexpr Nanos kMillisecond = 1000 * kMicrosecond;
constexpr Nanos kSecond = 1000 * kMillisecond;

// Time one byte takes on an 8N1 line (start bit, 8 data bits, stop bit); 0 when not paced.
constexpr Nanos byteTime(int baud) {
    return baud > 0 ? (10 * kSecond + baud / 2) / baud : 0;
}

} // namespace emu
