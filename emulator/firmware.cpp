#include "emulator/firmware.h"

#include "emulator/board.h"

#include <algorithm>
#include <cstdio>
#include <exception>

namespace emu {

namespace {
constexpr std::uint8_t kEndCode = '@';
constexpr std::uint8_t kAck = '@';
constexpr std::uint8_t kAbortTag = 'A';
constexpr std::uint8_t kReportTag = '*';
constexpr std::uint8_t kDefaultRequest = 'R';
// After a failure report or an abort the host may still send the rest of its data; the board lets
// it pass unread until the host has been quiet this long, so data never runs as commands.
constexpr Nanos kQuietAfterFailure = 100 * kMillisecond;

std::string hexByte(std::uint8_t b) {
    char s[8];
    std::snprintf(s, sizeof s, "0x%02X", b);
    return s;
}
} // namespace

Firmware::Firmware(Board& board) : board_(board) {}

Firmware::~Firmware() {
    root_.reset();
}

Chip& Firmware::chip() {
    return board_.chipFor(letters_);
}
const BoardOptions& Firmware::options() const {
    return board_.options();
}
Nanos Firmware::now() const {
    return board_.now();
}
void Firmware::note(std::string text) {
    board_.transcript().note(now(), std::move(text));
}
const Fault* Firmware::fault(FaultKind kind) const {
    return options().faults.find(kind, letters_);
}

// --- Scheduling ----------------------------------------------------------------------------------

void Firmware::start() {
    startRoot();
}

void Firmware::startRoot() {
    root_ = run();
    root_.resume();
}

std::optional<Nanos> Firmware::timer() const {
    return wait_.deadline;
}

std::optional<Nanos> Firmware::watchdogDeadline() const {
    if (options().idleReset <= 0) return std::nullopt;
    return now() + options().idleReset;
}

void Firmware::resumeWaiter() {
    auto h = wait_.handle;
    wait_ = {};
    h.resume();
    if (root_.done()) {
        // The firmware loop never ends by itself: an escaped exception is a bug of the emulator.
        std::string what = "firmware stopped";
        try {
            if (auto e = root_.error()) std::rethrow_exception(e);
        } catch (const std::exception& e) {
            what += std::string(": ") + e.what();
        } catch (...) {
        }
        note(what + "; restarting");
        inbox_.clear();
        startRoot();
    }
}

void Firmware::abandon(const std::string& why) {
    note("back to idle: " + why);
    root_.reset();
    wait_ = {};
    inbox_.clear();
    endCommand();
    startRoot();
}

void Firmware::receive(std::uint8_t byte) {
    if (replyMode_) {
        if (byte == kAck) {
            ++credits_;
            if (wait_.kind == WaitKind::Ack) resumeWaiter();
            return;
        }
        abandon("host sent " + hexByte(byte) + " during the reply");
    }
    inbox_.push_back(byte);
    if (wait_.kind == WaitKind::Byte) resumeWaiter();
}

void Firmware::fireTimer() {
    if (!wait_.deadline || *wait_.deadline > now()) return;
    if (wait_.abandonAtDeadline)
        abandon("no byte from the host for " + std::to_string(options().idleReset / kMillisecond) +
                " ms inside '" + letters_ + "'");
    else
        resumeWaiter();
}

void Firmware::ByteAwaiter::await_suspend(std::coroutine_handle<> h) {
    fw.wait_ = {WaitKind::Byte, h, std::nullopt, false};
    if (window)
        fw.wait_.deadline = fw.now() + *window;
    else if (guarded) {
        fw.wait_.deadline = fw.watchdogDeadline();
        fw.wait_.abandonAtDeadline = true;
    }
}

std::optional<std::uint8_t> Firmware::ByteAwaiter::await_resume() {
    if (fw.inbox_.empty()) return std::nullopt;
    const auto b = fw.inbox_.front();
    fw.inbox_.pop_front();
    return b;
}

void Firmware::AckAwaiter::await_suspend(std::coroutine_handle<> h) {
    fw.wait_ = {WaitKind::Ack, h, fw.watchdogDeadline(), true};
}

void Firmware::DelayAwaiter::await_suspend(std::coroutine_handle<> h) {
    fw.wait_ = {WaitKind::Delay, h, fw.now() + duration, false};
}

// --- Command loop ----------------------------------------------------------------------------

void Firmware::beginCommand(std::string letters) {
    letters_ = std::move(letters);
    sentInCommand_ = 0;
    delayApplied_ = false;
    stallNoted_ = false;
}

void Firmware::endCommand() {
    letters_.clear();
    replyMode_ = false;
    credits_ = 0;
}

Task<> Firmware::run() {
    for (;;) {
        const auto b = co_await ByteAwaiter{*this, false, std::nullopt};
        if (!b) continue;
        if (const auto* handler = board_.commands().idle(*b)) {
            co_await (*handler)(*this, *b);
            endCommand();
        }
        // Anything else between commands ("*", stray acknowledgements) is ignored.
    }
}

Task<> Firmware::powerCommand(std::uint8_t powerLetter) {
    power_ = powerLetter;
    std::string letters;
    for (;;) {
        const auto b = co_await byte();
        if (!b) co_return;
        std::string next = letters + char(*b);
        if (!board_.commands().isPrefix(next)) {
            note("'" + std::string(1, char(powerLetter)) + letters + "' not a command; " +
                 hexByte(*b) + " read again");
            inbox_.push_front(*b);
            co_return;
        }
        letters = std::move(next);
        if (const auto* handler = board_.commands().find(letters)) {
            beginCommand(letters);
            note("command " + std::string(1, char(powerLetter)) + " " + letters);
            co_await (*handler)(*this);
            co_return;
        }
    }
}

Task<> Firmware::continueInPowerMode(std::uint8_t firstLetter) {
    if (!power_) {
        note("'" + std::string(1, char(firstLetter)) + "' before any power letter ignored");
        co_return;
    }
    inbox_.push_front(firstLetter);
    co_await powerCommand(power_);
}

Task<std::uint32_t> Firmware::argument(int bytes) {
    std::uint32_t value = 0;
    for (int i = 0; i < bytes; ++i)
        value = (value << 8) | (co_await byte()).value_or(0);
    co_return value;
}

Task<std::vector<std::uint8_t>> Firmware::payload(std::size_t bytes) {
    std::vector<std::uint8_t> out;
    out.reserve(bytes);
    while (out.size() < bytes)
        out.push_back((co_await byte()).value_or(0));
    co_return out;
}

// --- Output ------------------------------------------------------------------------------------

void Firmware::send(std::span<const std::uint8_t> bytes) {
    if (bytes.empty() || options().faults.has(FaultKind::Silent)) return;
    if (const auto* stall = fault(FaultKind::Stall)) {
        const auto room = std::size_t(stall->number) > sentInCommand_
                              ? std::size_t(stall->number) - sentInCommand_
                              : 0;
        if (room < bytes.size()) {
            if (!stallNoted_) note("stalled after " + std::to_string(stall->number) + " bytes");
            stallNoted_ = true;
            bytes = bytes.first(room);
            if (bytes.empty()) return;
        }
    }
    sentInCommand_ += bytes.size();
    Nanos at = now();
    if (!delayApplied_) {
        delayApplied_ = true;
        if (const auto* d = fault(FaultKind::Delay)) at += d->number * kMillisecond;
    }
    Split split;
    if (const auto* s = fault(FaultKind::Split))
        split = {std::size_t(s->number), s->gapMs * kMillisecond};
    board_.transmit(bytes, at, split);
}

void Firmware::sendEnd(std::span<const std::uint8_t> data) {
    std::vector<std::uint8_t> out(data.begin(), data.end());
    const auto* endFault = fault(FaultKind::EndCode);
    out.push_back(endFault ? std::uint8_t(endFault->number) : kEndCode);
    if (const auto* f = fault(FaultKind::Extra)) out.resize(out.size() + std::size_t(f->number), 0);
    send(out);
}

void Firmware::sendIdentification() {
    beginCommand("?");
    auto reply = identificationReply(options().identification, options().faults);
    if (const auto* f = fault(FaultKind::Extra))
        reply.resize(reply.size() + std::size_t(f->number), 0);
    send(reply);
}

Task<> Firmware::sendBlocks(std::vector<std::uint8_t> data, std::size_t block) {
    replyMode_ = true;
    std::size_t sent = 0;
    // A final partial block leaves with the end code; after a full block the board waits.
    while (block && data.size() - sent >= block) {
        send(std::span(data).subspan(sent, block));
        sent += block;
        // The board reaches its flow-control point when its UART has sent the block; the
        // acknowledgements that came in meanwhile count as one.
        co_await delay(board_.outputDrainedAt() - now());
        co_await ack();
    }
    sendEnd(std::span(data).subspan(sent));
}

Task<> Firmware::ignoreUntilQuiet() {
    int ignored = 0;
    while (co_await byteWithin(kQuietAfterFailure))
        ++ignored;
    if (ignored) note(std::to_string(ignored) + " bytes after the failure ignored");
}

Task<> Firmware::pacedWrite(PacedWrite write) {
    const auto* failAt = fault(FaultKind::FailAt);
    const auto* abortAt = fault(FaultKind::AbortAt);
    const auto* request = fault(FaultKind::Request);
    const std::uint8_t requestByte = request ? std::uint8_t(request->number) : kDefaultRequest;
    for (std::uint32_t item = 0; item < write.items; ++item) {
        if ((abortAt && std::uint32_t(abortAt->number) == item) || item >= write.capacity) {
            note("abort at item " + std::to_string(item));
            if (write.twelveBit)
                send({0x00, 0x00, kEndCode});
            else
                send({kEndCode, kAbortTag});
            co_await ignoreUntilQuiet();
            co_return;
        }
        send({requestByte});
        const auto bytes = co_await payload(write.itemBytes);
        auto result = write.write(item, bytes);
        co_await delay(options().itemWriteTime);
        if (failAt && std::uint32_t(failAt->number) == item) result = {false, 0};
        if (!result.ok) {
            note("item " + std::to_string(item) + " did not program (read back " +
                 std::to_string(result.readBack) + ")");
            const auto hi = std::uint8_t(result.readBack >> 8);
            const auto lo = std::uint8_t(result.readBack & 0xFF);
            if (write.twelveBit)
                send({hi, lo, kEndCode});
            else
                send({kReportTag, lo, hi, std::uint8_t(item & 0xFF)});
            co_await ignoreUntilQuiet();
            co_return;
        }
    }
    sendEnd();
}

} // namespace emu
