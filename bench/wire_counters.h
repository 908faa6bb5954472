// The wire time of a benchmark run (what an ideal host would need at the line's rate for the
// bytes and pauses counted) and the process's CPU time.
#pragma once

#include "counting_port.h"

#include <sys/resource.h>

#include <chrono>
#include <cstdint>

namespace tavrin::bench {

constexpr double Baud = 57600;
constexpr double BitsPerByte = 10; // 8N1

inline double cpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

inline double wireSeconds(std::int64_t bytes, std::int64_t sleptMs) {
    return double(bytes) * BitsPerByte / Baud + double(sleptMs) / 1000.0;
}

} // namespace tavrin::bench
