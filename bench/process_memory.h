// The benchmarks' reading of this process's memory (Linux /proc).
#pragma once

#include <fstream>
#include <string>

namespace tavrin::bench {

// The peak resident size so far in MB (VmHWM); 0 where the system does not report it.
inline double peakResidentMb() {
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmHWM:") {
            double kb = 0;
            status >> kb;
            return kb / 1024.0;
        }
        status.ignore(1 << 12, '\n');
    }
    return 0;
}

// Starts the peak resident size again from the present size ("5" to clear_refs).
inline void resetPeakResident() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

} // namespace tavrin::bench
