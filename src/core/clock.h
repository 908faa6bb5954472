// Time as the engine sees it: a monotonic clock and a sleep. The real clock is the steady
// clock; tests use a virtual clock that advances on sleep, so 3 s or 10 s time-outs run at once.
#pragma once

#include <atomic>
#include <cstdint>

namespace tavrin {

class Clock {
  public:
    virtual ~Clock() = default;
    // Microseconds on a monotonic scale; only differences mean anything.
    virtual std::int64_t nowUs() const = 0;
    virtual void sleepMs(int ms) = 0;
};

// Sleeps end when asked, not when the scheduler next gets round to it: a sleeping thread wakes
// some tens of microseconds late on a busy or virtual machine, which over a thousand 1 ms pauses
// in one read-back is a tenth of the time. So a sleep asks to be woken early by about the usual
// lateness (learnt from the sleeps so far) and waits out the rest awake.
class SteadyClock final : public Clock {
  public:
    std::int64_t nowUs() const override;
    void sleepMs(int ms) override;

    // How early a sleep currently asks to be woken, in microseconds.
    int wakeMarginUs() const { return wakeMarginUs_.load(std::memory_order_relaxed); }

  private:
    std::atomic<int> wakeMarginUs_{50};
};

// A plain sleep of about `us` microseconds, with the calling thread's timers made tight: it may
// end a little late, never early. For waits that only need to let time pass, not end exactly.
void sleepForUs(std::int64_t us);

// Virtual time: starts at zero, moves only when someone sleeps or advances it.
class VirtualClock final : public Clock {
  public:
    std::int64_t nowUs() const override { return now_; }
    void sleepMs(int ms) override { now_ += std::int64_t(ms) * 1000; }
    void advanceUs(std::int64_t us) { now_ += us; }
    void advanceTo(std::int64_t us) {
        if (us > now_) now_ = us;
    }

  private:
    std::int64_t now_ = 0;
};

} // namespace tavrin
