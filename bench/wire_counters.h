// What a benchmark over the real serial path counts: the bytes that cross the port both ways,
// the host's reaction per round trip, and the pauses the host makes through the Clock seam. The
// wire time of a run is what an ideal host would need at the line's rate.
#pragma once

#include "core/clock.h"
#include "core/serial_port.h"

#include <sys/resource.h>

#include <chrono>
#include <cstdint>

namespace tavrin::bench {

constexpr double Baud = 57600;
constexpr double BitsPerByte = 10; // 8N1

// Counts every byte that crosses the port in either direction, discarded input included.
class CountingPort final : public SerialPort {
  public:
    explicit CountingPort(SerialPort& port) : port_(port) {}
    std::int64_t sent = 0, received = 0;

    void setPortName(const QString& name) override { port_.setPortName(name); }
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
    bool write(const QByteArray& bytes) override {
        sent += bytes.size();
        const bool ok = port_.write(bytes);
        if (dataAt_ && bytes.size() == 2) {
            reactionUs += nowUs() - dataAt_;
            ++reactions;
        }
        dataAt_ = 0;
        return ok;
    }
    // Time from the moment a wait saw data to the end of the host's next write: the host's own
    // share of each round trip.
    std::int64_t reactionUs = 0, reactions = 0;
    void discardInput() override {
        received += port_.bytesWaiting();
        port_.discardInput();
    }
    void discardOutput() override { port_.discardOutput(); }
    void setRequestToSend(bool on) override { port_.setRequestToSend(on); }
    bool waitForData(int timeoutMs) override {
        const bool got = port_.waitForData(timeoutMs);
        if (got) dataAt_ = nowUs();
        return got;
    }
    bool waitForTotal(qint64 total, int timeoutMs) override {
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

// The steady clock, adding up the pauses and sleeps the host makes.
class CountingClock final : public Clock {
  public:
    std::int64_t sleptMs = 0;
    std::int64_t nowUs() const override { return clock_.nowUs(); }
    void sleepMs(int ms) override {
        sleptMs += ms;
        clock_.sleepMs(ms);
    }

  private:
    SteadyClock clock_;
};

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
