#include "clock.h"

#include <algorithm>
#include <chrono>
#include <thread>

#ifdef __linux__
#include <sys/prctl.h>
#endif

namespace tavrin {

namespace {
using std::chrono::steady_clock;

// The margin follows the wake-ups' lateness, settling where three in four sleeps wake in time
// (a sleep in time lowers it a step, a late one raises it three): those wait out a little awake,
// the rest come that much less late than they would. It never takes more than a quarter of a
// sleep, so a machine that wakes its threads very late does not turn pauses into busy loops.
constexpr int kMarginStepUs = 1;
constexpr int kMaxMarginUs = 250;

void makeTimersTight() {
#ifdef __linux__
    // The board's pauses are a millisecond each, a thousand or more in one long read-back: the
    // system's default 50 us timer slack would make each of them that much longer. Each thread
    // that sleeps here asks for tight timers once.
    static thread_local const bool tightTimers =
        ::prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL) == 0;
    (void)tightTimers;
#endif
}

void waitAwakeUntil(steady_clock::time_point deadline) {
    while (steady_clock::now() < deadline) {
#if defined(__x86_64__) || defined(__i386__)
        __builtin_ia32_pause();
#endif
    }
}
} // namespace

std::int64_t SteadyClock::nowUs() const {
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

void SteadyClock::sleepMs(int ms) {
    if (ms <= 0) return;
    makeTimersTight();
    using std::chrono::microseconds;
    const auto deadline = steady_clock::now() + std::chrono::milliseconds(ms);
    const int margin = std::min(wakeMarginUs(), ms * 1000 / 4);
    const auto wakeAt = deadline - microseconds(margin);
    std::this_thread::sleep_until(wakeAt);
    const auto late = steady_clock::now() - wakeAt;
    const int next = late < microseconds(wakeMarginUs()) ? wakeMarginUs() - kMarginStepUs
                                                         : wakeMarginUs() + 3 * kMarginStepUs;
    wakeMarginUs_.store(std::clamp(next, 0, kMaxMarginUs), std::memory_order_relaxed);
    waitAwakeUntil(deadline);
}

void sleepForUs(std::int64_t us) {
    if (us <= 0) return;
    makeTimersTight();
    std::this_thread::sleep_for(std::chrono::microseconds(us));
}

} // namespace tavrin
