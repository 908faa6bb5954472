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

// Counts every byte that crosses the port in either direction, discarded input included.
class CountingPort final : public SerialPort {
  public:
    explicit CountingPort(SerialPort& port) : port_(port) {}
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
            ++turns;
            if (bytes.size() > 1) {
                reactionUs += nowUs() - dataAt_;
                ++reactions;
            }
        }
        dataAt_ = 0;
        return ok;
    }
    // Time from the moment a wait saw data to the end of the host's next write: the host's own
    // share of each round trip.
    std::int64_t reactionUs = 0, reactions = 0;
    // Writes that answered data the host had waited for: each is a turn of the line, one trip
    // over the pty and back.
    std::int64_t turns = 0;
    void discardInput() override {
        received += port_.bytesWaiting();
        port_.discardInput();
    }
    void discardOutput() override { port_.discardOutput(); }
    void setRequestToSend(bool on) override { port_.setRequestToSend(on); }
    bool waitForData(int timeoutMs) override {
        if (observe) observe();
        const bool got = port_.waitForData(timeoutMs);
        if (got) dataAt_ = nowUs();
        return got;
    }
    bool waitForTotal(qint64 total, int timeoutMs) override {
        if (observe) observe();
        const bool got = port_.waitForTotal(total, timeoutMs);
        if (got) dataAt_ = nowUs();
        return got;
    }
    PortStatus status() const override { return port_.status(); }

  private:
    static std::int64_t nowUs() {
        return std::chrono::duration_cast<std::chrono::microseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }
    SerialPort& port_;
    std::int64_t dataAt_ = 0;
};

// The steady clock, adding up the pauses and sleeps the host makes, and how much longer than
// asked they lasted.
class CountingClock final : public Clock {
  public:
    std::int64_t sleptMs = 0;
    std::int64_t oversleptUs = 0;
    std::int64_t nowUs() const override { return clock_.nowUs(); }
    void sleepMs(int ms) override {
        sleptMs += ms;
        const std::int64_t start = clock_.nowUs();
        clock_.sleepMs(ms);
        oversleptUs += std::max<std::int64_t>(0, clock_.nowUs() - start - 1000 * std::int64_t(ms));
    }

  private:
    SteadyClock clock_;
};

} // namespace tavrin::bench
