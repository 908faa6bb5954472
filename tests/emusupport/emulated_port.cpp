#include "emusupport/emulated_port.h"

namespace tavrin::test {

EmulatedPort::EmulatedPort(tavrin::VirtualClock& clock, emu::Board& board)
    : clock_(clock), board_(board) {}

PortStatus EmulatedPort::open() {
    if (!refuse_.ok()) {
        status_ = refuse_;
        return status_;
    }
    pump(); // whatever arrived while closed is gone
    input_.clear();
    seen_ = 0;
    open_ = true;
    ++opens_;
    status_ = {};
    return status_;
}

void EmulatedPort::close() {
    pump();
    open_ = false;
    input_.clear();
    seen_ = 0;
}

void EmulatedPort::pump() {
    const auto now = boardNow();
    board_.runUntil(now);
    const auto arrived = board_.takeForHost(now);
    if (open_)
        input_.append(reinterpret_cast<const char*>(arrived.data()), qsizetype(arrived.size()));
}

qint64 EmulatedPort::bytesWaiting() {
    pump();
    seen_ = input_.size();
    return seen_;
}

QByteArray EmulatedPort::readAll() {
    pump();
    QByteArray out;
    out.swap(input_);
    seen_ = 0;
    return out;
}

bool EmulatedPort::write(const QByteArray& bytes) {
    if (!open_) return false;
    pump();
    board_.hostWrite(std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                               std::size_t(bytes.size())),
                     boardNow());
    return true;
}

void EmulatedPort::discardInput() {
    pump();
    input_.clear();
    seen_ = 0;
}

void EmulatedPort::discardOutput() {
    pump();
    board_.dropBytesFromHost();
}

bool EmulatedPort::waitForData(int timeoutMs) {
    if (!open_) return false;
    // Bytes that came in since the host last looked count as new, as with a real port whose
    // driver already holds them.
    const auto before = seen_;
    pump();
    const std::int64_t deadlineUs = clock_.nowUs() + std::max(timeoutMs, 0) * std::int64_t(1000);
    while (input_.size() <= before) {
        const auto next = board_.nextEvent();
        if (!next || *next > deadlineUs * emu::kMicrosecond) {
            clock_.advanceTo(deadlineUs);
            pump();
            break;
        }
        clock_.advanceTo((*next + emu::kMicrosecond - 1) / emu::kMicrosecond);
        pump();
    }
    seen_ = input_.size();
    return seen_ > before;
}

} // namespace tavrin::test
