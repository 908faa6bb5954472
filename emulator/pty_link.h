// The board on a pseudo-terminal, in real time. The emulator keeps the slave side open itself, in
// raw mode, so the master never sees a hang-up while the host closes and reopens the port after
// every operation.
#pragma once

#include "emulator/board.h"

#include <csignal>
#include <functional>
#include <optional>
#include <string>

namespace emu {

class PtyLink {
  public:
    static std::optional<PtyLink> open(std::string* error);
    PtyLink(PtyLink&& other) noexcept;
    PtyLink& operator=(PtyLink&&) = delete;
    ~PtyLink();

    const std::string& slavePath() const { return slavePath_; }

    // Runs the board until *stop becomes non-zero. Whenever *report is non-zero, it is cleared
    // and onReport runs between two turns of the loop. Signals that may set either must be
    // blocked by the caller; SIGTERM, SIGINT and SIGUSR1 are let through only while the loop
    // waits.
    void run(Board& board, const volatile std::sig_atomic_t& stop,
             volatile std::sig_atomic_t* report = nullptr,
             const std::function<void()>& onReport = {});

    // How long after the line model had something due (a byte arriving, a timer, a reply
    // leaving) the loop acted on it: the scheduler's and the machine's share, not the board's.
    struct Lateness {
        Nanos total = 0;         // the time the board was behind its model, overlaps counted once
        Nanos worst = 0;         // the latest one event came
        std::uint64_t count = 0; // events that came late
        // Of that, what held the host up: how late the bytes the host answered came to it.
        Nanos hostHeldUp = 0;
    };
    const Lateness& lateness() const { return lateness_; }

  private:
    PtyLink(int master, int slave, std::string path)
        : master_(master), slave_(slave), slavePath_(std::move(path)) {}
    int master_ = -1;
    int slave_ = -1;
    std::string slavePath_;
    Lateness lateness_;
};

} // namespace emu
