// A minimal host for driving the emulated board with exact byte sequences: one write per call,
// replies collected with the host's acknowledgement rule, board-paced writes answered item by
// item. All waits are bounded and run on the virtual clock.
#pragma once

#include "emusupport/emulated_board.h"

#include <initializer_list>
#include <QByteArray>
#include <string>
#include <string_view>
#include <vector>

namespace tavrin::test {

// The kinds of the violations a strict board recorded, in order ("unasked-ack", ...).
inline std::vector<std::string> kindsOf(const std::vector<emu::Violation>& found) {
    std::vector<std::string> out;
    for (const auto& v : found)
        out.emplace_back(emu::violationName(v.kind));
    return out;
}

inline QByteArray bytes(std::initializer_list<int> b) {
    QByteArray out;
    for (int x : b)
        out.append(char(x));
    return out;
}

struct PacedOutcome {
    int itemsSent = 0;    // items the host sent before the board stopped asking
    QByteArray lastReply; // what the board sent last (the end code, a report, an abort)
    bool timedOut = false;
};

class HostScript {
  public:
    explicit HostScript(EmulatedBoard& bench) : bench_(bench) {
        if (!bench_.port.isOpen()) bench_.port.open();
    }

    // Letters and bytes as one write (letters as ASCII), then the host's 1 ms pause.
    void send(const QByteArray& b) {
        bench_.port.write(b);
        bench_.clock.sleepMs(1);
    }
    void send(const char* letters) { send(QByteArray(letters)); }

    // A command as the host sends it: each letter and each argument byte by itself, 1 ms apart.
    void command(const char* letters, const QByteArray& arguments = {}) {
        for (const char* c = letters; *c; ++c)
            send(QByteArray(1, *c));
        for (char b : arguments)
            send(QByteArray(1, b));
    }

    // Waits until `n` bytes have arrived (or timeoutMs passed), acknowledging every new multiple of
    // `ackEvery` waiting bytes below n with "@" after 1 ms, and takes everything waiting.
    QByteArray collect(int n, int ackEvery = 0, int timeoutMs = 10000) {
        const auto deadline = bench_.clock.nowUs() + std::int64_t(timeoutMs) * 1000;
        qint64 acked = 0;
        for (;;) {
            const auto waiting = bench_.port.bytesWaiting();
            if (waiting >= n) break;
            if (ackEvery && waiting > 0 && waiting % ackEvery == 0 && waiting != acked) {
                bench_.clock.sleepMs(1);
                bench_.port.write("@");
                acked = waiting;
                ++acks;
                continue;
            }
            const auto left = (deadline - bench_.clock.nowUs()) / 1000;
            if (left <= 0) break;
            bench_.port.waitForData(int(left));
        }
        return bench_.port.readAll();
    }

    // Whatever arrives within ms of virtual time.
    QByteArray idle(int ms) {
        bench_.clock.sleepMs(ms);
        return bench_.port.readAll();
    }

    // Answers each request of a board-paced write with the next item; stops at a reply of more
    // than one byte or after the last item's reply.
    PacedOutcome pacedWrite(const std::vector<QByteArray>& items, int timeoutMs = 10000) {
        PacedOutcome out;
        for (const auto& item : items) {
            auto reply = waitSome(timeoutMs);
            if (reply.isEmpty()) {
                out.timedOut = true;
                return out;
            }
            if (reply.size() > 1) {
                out.lastReply = reply;
                return out;
            }
            bench_.port.write(item);
            ++out.itemsSent;
        }
        out.lastReply = waitSome(timeoutMs);
        out.timedOut = out.lastReply.isEmpty();
        return out;
    }

    // Waits for at least one byte, then a little longer so a burst is taken whole.
    QByteArray waitSome(int timeoutMs = 10000) {
        const auto deadline = bench_.clock.nowUs() + std::int64_t(timeoutMs) * 1000;
        while (bench_.port.bytesWaiting() == 0) {
            const auto left = (deadline - bench_.clock.nowUs()) / 1000;
            if (left <= 0) return {};
            bench_.port.waitForData(int(left));
        }
        bench_.clock.sleepMs(2);
        return bench_.port.readAll();
    }

    EmulatedPort& port() { return bench_.port; }

    int acks = 0;

  private:
    EmulatedBoard& bench_;
};

} // namespace tavrin::test
