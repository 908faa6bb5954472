// Time as the engine sees it: a monotonic clock and a sleep. The real clock is the steady
// clock; tests use a virtual clock that advances on sleep, so 3 s or 10 s time-outs run at once.
#pragma once

#include <cstdint>

namespace tavrin {

class Clock {
  public:
    virtual ~Clock() = default;
    // Microseconds on a monotonic scale; only differences mean anything.
    virtual std::int64_t nowUs() const = 0;
    virtual void sleepMs(int ms) = 0;
};

class SteadyClock final : public Clock {
  public:
    std::int64_t nowUs() const override;
    void sleepMs(int ms) override;
};

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
