#include "clock.h"

#include <chrono>
#include <thread>

#ifdef __linux__
#include <sys/prctl.h>
#endif

namespace tavrin {

std::int64_t SteadyClock::nowUs() const {
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

void SteadyClock::sleepMs(int ms) {
    if (ms <= 0) return;
#ifdef __linux__
    // The board's pauses are a millisecond each, a thousand or more in one long read-back: the
    // system's default 50 us timer slack would make each of them that much longer. Each thread
    // that sleeps here asks for tight timers once.
    static thread_local const bool tightTimers =
        ::prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL) == 0;
    (void)tightTimers;
#endif
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

} // namespace tavrin
