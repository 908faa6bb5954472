// What this machine costs any program, measured beside the benchmark's own figures: a thread
// that sleeps a millisecond at a time (the board's pauses) still wakes late and is charged CPU for
// every wake-up, and a byte sent over a pseudo-terminal and echoed back takes time however fast
// both ends react. On a virtual machine both can be several times what they are on bare metal;
// an operation's wire_ratio and cpu_share cannot go below what its pauses and round trips cost
// here.
#pragma once

#include "wire_counters.h"

#include <fcntl.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

namespace tavrin::bench {

struct MachineFloor {
    double sleepLateUs = 0;   // how much longer than asked a plain 1 ms sleep lasts, on average
    double sleepCpuUs = 0;    // CPU charged per such sleep
    double sleepCpuShare = 0; // the CPU share of doing nothing but those sleeps
    double sleepLongestLateMs = 0; // the latest any of them woke: the machine's own stalls
    double ptyEchoUs = -1;         // median round trip of one byte echoed over a pty (-1: no pty)
};

inline MachineFloor measureMachineFloor(int sleeps = 1000, int echoes = 1000) {
    using Steady = std::chrono::steady_clock;
    MachineFloor floor;
    const auto start = Steady::now();
    const double cpuStart = cpuSeconds();
    const timespec oneMs{0, 1000 * 1000};
    for (int k = 0; k < sleeps; ++k) {
        const auto asleep = Steady::now();
        ::nanosleep(&oneMs, nullptr);
        const double lateMs =
            std::chrono::duration<double, std::milli>(Steady::now() - asleep).count() - 1.0;
        floor.sleepLongestLateMs = std::max(floor.sleepLongestLateMs, lateMs);
    }
    const double wall = std::chrono::duration<double>(Steady::now() - start).count();
    const double cpu = cpuSeconds() - cpuStart;
    floor.sleepLateUs = (wall / sleeps - 0.001) * 1e6;
    floor.sleepCpuUs = cpu / sleeps * 1e6;
    floor.sleepCpuShare = cpu / wall;

    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) {
        if (master >= 0) ::close(master);
        return floor;
    }
    const int slave = ::open(::ptsname(master), O_RDWR | O_NOCTTY);
    if (slave < 0) {
        ::close(master);
        return floor;
    }
    termios tio{};
    ::tcgetattr(slave, &tio);
    ::cfmakeraw(&tio);
    ::tcsetattr(slave, TCSANOW, &tio);
    std::thread echo([master, echoes] {
        char byte = 0;
        for (int k = 0; k < echoes; ++k)
            if (::read(master, &byte, 1) != 1 || ::write(master, &byte, 1) != 1) return;
    });
    std::vector<double> trips;
    trips.reserve(std::size_t(echoes));
    char byte = 'U';
    for (int k = 0; k < echoes; ++k) {
        const auto sent = Steady::now();
        if (::write(slave, &byte, 1) != 1 || ::read(slave, &byte, 1) != 1) break;
        trips.push_back(std::chrono::duration<double, std::micro>(Steady::now() - sent).count());
    }
    ::close(slave); // an echo thread still reading ends on the hang-up
    echo.join();
    ::close(master);
    if (!trips.empty()) {
        std::nth_element(trips.begin(), trips.begin() + std::ptrdiff_t(trips.size() / 2),
                         trips.end());
        floor.ptyEchoUs = trips[trips.size() / 2];
    }
    return floor;
}

inline void printMachineFloor(std::FILE* out, const MachineFloor& f) {
    std::fprintf(out,
                 "machine sleep_1ms_late_us=%.1f sleep_1ms_latest_ms=%.1f sleep_cpu_us=%.1f "
                 "sleep_cpu_share=%.4f pty_echo_us=%.1f\n",
                 f.sleepLateUs, f.sleepLongestLateMs, f.sleepCpuUs, f.sleepCpuShare, f.ptyEchoUs);
    std::fflush(out);
}

} // namespace tavrin::bench
