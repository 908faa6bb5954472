#include "emulator/pty_link.h"

#include "emulator/wake_margin.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>
#include <vector>

namespace emu {

std::optional<PtyLink> PtyLink::open(std::string* error) {
    auto fail = [error](const char* what) -> std::optional<PtyLink> {
        if (error) *error = std::string(what) + ": " + std::strerror(errno);
        return std::nullopt;
    };
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0) return fail("posix_openpt");
    if (::grantpt(master) != 0 || ::unlockpt(master) != 0) {
        ::close(master);
        return fail("grantpt/unlockpt");
    }
    const char* name = ::ptsname(master);
    if (!name) {
        ::close(master);
        return fail("ptsname");
    }
    std::string path = name;
    const int slave = ::open(path.c_str(), O_RDWR | O_NOCTTY);
    if (slave < 0) {
        ::close(master);
        return fail("open slave");
    }
    termios tio{};
    ::tcgetattr(slave, &tio);
    ::cfmakeraw(&tio);
    ::cfsetspeed(&tio, B57600);
    ::tcsetattr(slave, TCSANOW, &tio);
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
    return PtyLink(master, slave, std::move(path));
}

PtyLink::PtyLink(PtyLink&& other) noexcept
    : master_(std::exchange(other.master_, -1)), slave_(std::exchange(other.slave_, -1)),
      slavePath_(std::move(other.slavePath_)), lateness_(other.lateness_) {}

PtyLink::~PtyLink() {
    if (slave_ >= 0) ::close(slave_);
    if (master_ >= 0) ::close(master_);
}

void PtyLink::run(Board& board, const volatile std::sig_atomic_t& stop,
                  volatile std::sig_atomic_t* report, const std::function<void()>& onReport) {
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    const Nanos offset = board.now();
    auto elapsed = [&] {
        return offset +
               std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now() - start).count();
    };
    sigset_t waitMask;
    ::sigprocmask(SIG_SETMASK, nullptr, &waitMask);
    ::sigdelset(&waitMask, SIGTERM);
    ::sigdelset(&waitMask, SIGINT);
    ::sigdelset(&waitMask, SIGUSR1);

    std::vector<std::uint8_t> pending; // due for the host, not yet taken by the pty
    Nanos behindUntil = 0;             // the end of the lateness counted last
    // How late the last bytes reached the host: the host, waiting for them, was held up by that
    // much when it writes next.
    Nanos handedLate = 0;
    std::uint8_t buffer[4096];
    WakeMargin wakeMargin;
    while (!stop) {
        if (report && *report) {
            *report = 0;
            if (onReport) onReport();
        }
        Nanos now = elapsed();
        if (const auto due = board.nextEvent(); due && *due < now) {
            const Nanos late = now - *due;
            // The total is the time the board was behind its line model: what was already
            // counted as behind (an earlier turn that came late made this event late too) is
            // not counted again.
            lateness_.total += now - std::max(*due, behindUntil);
            behindUntil = now;
            lateness_.worst = std::max(lateness_.worst, late);
            ++lateness_.count;
        }
        board.runUntil(now);
        // Byte by byte time, so that the hand-over knows when its last byte was due.
        while (const auto at = board.nextForHost()) {
            if (*at > now) break;
            const auto due = board.takeForHost(*at);
            pending.insert(pending.end(), due.begin(), due.end());
            handedLate = now - *at;
        }
        if (!pending.empty()) {
            const ssize_t n = ::write(master_, pending.data(), pending.size());
            if (n > 0) pending.erase(pending.begin(), pending.begin() + n);
        }

        timespec timeout{};
        timespec* waitFor = nullptr;
        // Asked to wake this early, the loop is on time for the next event about half the time
        // and then looks again at once until it is due (with input taken as it comes).
        Nanos wakeAt = -1;
        if (const auto next = board.nextEvent()) {
            const Nanos left = std::max<Nanos>(0, *next - wakeMargin.ns() - elapsed());
            timeout.tv_sec = left / kSecond;
            timeout.tv_nsec = left % kSecond;
            waitFor = &timeout;
            if (left > 0) wakeAt = elapsed() + left;
        }
        pollfd p{master_, short(POLLIN | (pending.empty() ? 0 : POLLOUT)), 0};
        if (!pending.empty() && !waitFor) {
            timeout = {0, 10 * 1000 * 1000};
            waitFor = &timeout;
        }
        const int r = ::ppoll(&p, 1, waitFor, &waitMask);
        if (r < 0) continue; // EINTR: look at `stop`
        if (r == 0 && wakeAt >= 0) wakeMargin.learn(elapsed() - wakeAt);
        if (p.revents & POLLIN) {
            const ssize_t n = ::read(master_, buffer, sizeof buffer);
            if (n > 0) {
                board.hostWrite(std::span(buffer, std::size_t(n)), elapsed());
                lateness_.hostHeldUp += handedLate;
                handedLate = 0;
            }
        } else if (p.revents & (POLLHUP | POLLERR)) {
            // Nobody at the other end for a moment; do not spin.
            timespec pause{0, 10 * 1000 * 1000};
            ::nanosleep(&pause, nullptr);
        }
    }
}

} // namespace emu
