// The serial port and the clock of the benchmarks, counting what crosses the wire and how long
// the host pauses.
#pragma once

#include "core/clock.h"
#include "core/serial_port.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <functional>

namespace tavrin::bench {

// The steady clock, adding up the pauses and sleeps the host makes, and how much longer than
// asked they lasted.
class CountingClock final : public Clock {
  public:
    std::int64_t sleptMs = 0;
    std::int64_t oversleptUs = 0;
    std::int64_t pausedUs = 0; // how long the pauses lasted in all
    std::int64_t nowUs() const override { return clock_.nowUs(); }
    void sleepMs(int ms) override {
        sleptMs += ms;
        const std::int64_t start = clock_.nowUs();
        clock_.sleepMs(ms);
        const std::int64_t lasted = clock_.nowUs() - start;
        pausedUs += lasted;
        oversleptUs += std::max<std::int64_t>(0, lasted - 1000 * std::int64_t(ms));
    }

  private:
    SteadyClock clock_;
};

// Counts every byte that crosses the port in either direction, discarded input included.
class CountingPort final : public SerialPort {
  public:
    // With the clock the host pauses on, a pause between the data and the answer (one the
    // protocol asks for) is not counted as the host's reaction.
    explicit CountingPort(SerialPort& port, const CountingClock* clock = nullptr)
        : port_(port), clock_(clock) {}
    std::int64_t sent = 0, received = 0;

    void setPortName(const QString& name) override { port_.setPortName(name); }
    void setBaudRate(qint32 baud) override { port_.setBaudRate(baud); }
    QString portName() const override { return port_.portName(); }
    PortStatus open() override { return port_.open(); }
    void close() override { port_.close(); }
    bool isOpen() const override { return port_.isOpen(); }
    qint64 bytesWaiting() override { return port_.bytesWaiting(); }
    QByteArray readAll() override {
        QByteArray bytes = port_.readAll();
        received += bytes.size();
        return bytes;
    }
    // Runs at every write and wait (a benchmark looks at what the window shows then).
    std::function<void()> observe;

    bool write(const QByteArray& bytes) override {
        if (observe) observe();
        sent += bytes.size();
        const bool ok = port_.write(bytes);
        if (dataAt_) {
            const std::int64_t reaction = nowUs() - dataAt_ - (pausedUs() - pausedAtData_);
            reactionUs += reaction;
            longestReactionUs = std::max(longestReactionUs, reaction);
            ++reactions;
        }
        dataAt_ = 0;
        return ok;
    }
    // Writes that answered data the host had waited for (a word the board asked for, an
    // acknowledgement, the next command), each a turn of the line: a trip over the pty and back;
    // and the time from the moment the wait saw the data to the end of that write, the host's own
    // share of the turn.
    std::int64_t reactionUs = 0, reactions = 0, longestReactionUs = 0;
    void discardInput() override {
        received += port_.bytesWaiting();
        port_.discardInput();
    }
    void discardOutput() override { port_.discardOutput(); }
    void setRequestToSend(bool on) override { port_.setRequestToSend(on); }
    bool waitForData(int timeoutMs) override {
        if (observe) observe();
        const bool got = port_.waitForData(timeoutMs);
        if (got) seeData();
        return got;
    }
    bool waitForTotal(qint64 total, int timeoutMs) override {
        if (observe) observe();
        const bool got = port_.waitForTotal(total, timeoutMs);
        if (got) seeData();
        return got;
    }
    PortStatus status() const override { return port_.status(); }

  private:
    static std::int64_t nowUs() {
        return std::chrono::duration_cast<std::chrono::microseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }
    std::int64_t pausedUs() const { return clock_ ? clock_->pausedUs : 0; }
    void seeData() {
        dataAt_ = nowUs();
        pausedAtData_ = pausedUs();
    }
    SerialPort& port_;
    const CountingClock* clock_;
    std::int64_t dataAt_ = 0;
    std::int64_t pausedAtData_ = 0;
};

} // namespace tavrin::bench
