#include "pty_board.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

namespace tavrin::test {

PtyBoard::PtyBoard(QByteArray identification) : identification_(std::move(identification)) {
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) return;
    path_ = QString::fromLocal8Bit(ptsname(master_));
    // Held open so the master sees no hang-up while the host closes and reopens.
    slave_ = ::open(ptsname(master_), O_RDWR | O_NOCTTY);
    termios tio{};
    tcgetattr(slave_, &tio);
    cfmakeraw(&tio);
    tcsetattr(slave_, TCSANOW, &tio);
    thread_ = std::thread([this] { run(); });
}

PtyBoard::~PtyBoard() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    if (slave_ >= 0) ::close(slave_);
    if (master_ >= 0) ::close(master_);
}

void PtyBoard::unplug() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    // Without the master the slave side reports an I/O error on every read, like a pulled
    // adapter.
    ::close(master_);
    master_ = -1;
}

void PtyBoard::run() {
    while (!stop_) {
        pollfd p{master_, POLLIN, 0};
        if (poll(&p, 1, 20) <= 0) continue;
        char buf[256];
        const ssize_t n = ::read(master_, buf, sizeof buf);
        if (n <= 0) continue;
        for (ssize_t i = 0; i < n; ++i)
            if (buf[i] == '?')
                (void)!::write(master_, identification_.constData(), identification_.size());
    }
}

} // namespace tavrin::test
