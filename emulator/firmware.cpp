#include "emulator/firmware.h"

#include "emulator/board.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <utility>

namespace emu {

namespace {
constexpr std::uint8_t kEndCode = '@';
constexpr std::uint8_t kAck = '@';
constexpr std::uint8_t kAbortTag = 'A';
constexpr std::uint8_t kReportTag = '*';
constexpr std::uint8_t kReidentify = '*'; // the host's "***" before every operation
constexpr std::uint8_t kDefaultRequest = 'R';
// After a failure report or an abort the host may still send the rest of its data; the board lets
// it pass unread until the host has been quiet this long, so data never runs as commands.
constexpr Nanos kQuietAfterFailure = 100 * kMillisecond;

std::string hexByte(std::uint8_t b) {
    char s[8];
    std::snprintf(s, sizeof s, "0x%02X", b);
    return s;
}

std::string hexWord(std::uint16_t w) {
    char s[8];
    std::snprintf(s, sizeof s, "0x%04X", w);
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

// --- Strict mode -------------------------------------------------------------------------------

void Firmware::violation(ViolationKind kind, std::string what) {
    if (!options().strict) return;
    note("strict: " + std::string(violationName(kind)) + ": " + what);
    board_.violations().record(kind, now(), std::move(what));
}

void Firmware::checkRange(std::string_view memory, std::uint64_t end, std::uint64_t size,
                          Core family) {
    const Chip& c = chip();
    const bool sameFamily = family == Core::Pic18 ? c.is(Core::Pic18) : !c.is(Core::Pic18);
    if (!c.present() || !sameFamily || end <= size) return;
    violation(ViolationKind::PastMemory,
              "'" + letters_ + "' reaches item " + std::to_string(end - 1) + " of " +
                  std::string(memory) + ", which holds " + std::to_string(size));
}

void Firmware::checkWord(std::uint16_t word, std::uint16_t allowed, std::string_view what) {
    if ((word & ~allowed) == 0) return;
    violation(ViolationKind::ReservedBits, "'" + letters_ + "' " + std::string(what) + ": " +
                                               hexWord(word) + " has bits outside " +
                                               hexWord(allowed));
}

// Whether the host saw everything the board meant to send: a fault that cuts the output leaves
// the host nothing to acknowledge.
bool Firmware::outputWhole() const {
    return !stallNoted_ && !options().faults.has(FaultKind::Silent);
}

// A PIC18 procedure sends its power letter once: a command that continues the one before starts
// with "X" alone, unless its rules let the procedure send the letter again there, and every other
// command with the power letter. A procedure that sends the letter again does so before each
// later command: one that goes on with "X" alone after such a repeat sends its letter once, so
// the repeat was out of place.
void Firmware::checkProcedure() {
    if (current_.letters.empty() || current_.letters == "?") return;
    const CommandRecord* before = previous();
    const bool continues =
        rules_ && rules_->continues && before && rules_->continues(*before, current_);
    current_.powerLetterAgain = continues && current_.afterPowerLetter &&
                                rules_->mayRepeatPowerLetter &&
                                rules_->mayRepeatPowerLetter(*before, current_);
    if (continues && current_.afterPowerLetter && !current_.powerLetterAgain)
        violation(ViolationKind::PowerLetterContinue, "power letter before '" + current_.letters +
                                                          "', which continues '" + before->letters +
                                                          "': \"X\" alone belongs there");
    else if (continues && !current_.afterPowerLetter && before->powerLetterAgain)
        violation(ViolationKind::PowerLetterContinue,
                  "power letter again before '" + before->letters + "', though '" +
                      current_.letters +
                      "' goes on with \"X\" alone: this procedure sends its power letter once");
    else if (!continues && !current_.afterPowerLetter)
        violation(ViolationKind::MissingPowerLetter,
                  "'" + current_.letters + "' starts a procedure with \"X\" alone");
}

bool Firmware::acksBeforeDataAllowed() const {
    return rules_ && rules_->mayAckBeforeData && rules_->mayAckBeforeData(history_, current_);
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
    // Silence counts from when the board's own output has left: while a delayed or split reply
    // is still on its way, the host has had nothing to answer yet.
    return std::max(now(), board_.outputDrainedAt()) + options().idleReset;
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
        if (wait_.kind == WaitKind::Ack && outputWhole())
            violation(ViolationKind::MissingAck, "'" + letters_ + "': " + hexByte(byte) +
                                                     " came where the board waited for \"@\"");
        abandon("host sent " + hexByte(byte) + " during the reply");
    }
    inbox_.push_back(byte);
    if (wait_.kind == WaitKind::Byte) resumeWaiter();
}

void Firmware::fireTimer() {
    if (!wait_.deadline || *wait_.deadline > now()) return;
    if (wait_.abandonAtDeadline && wait_.kind == WaitKind::Ack && outputWhole())
        violation(ViolationKind::MissingAck, "'" + letters_ + "': no \"@\" for a block");
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

void Firmware::beginCommand(std::string letters, const CommandRules* rules, bool afterPowerLetter) {
    letters_ = std::move(letters);
    rules_ = rules;
    current_ = {letters_, afterPowerLetter, {}, chip().part(), false};
    fullBlockSent_ = false;
    sentInCommand_ = 0;
    delayApplied_ = false;
    stallNoted_ = false;
}

void Firmware::endCommand() {
    checkProcedure();
    // The host's leftover "@" answer a full block it was still polling at, or, where the
    // procedure acknowledges a count of 0 too, the reply that was on its way.
    toleratingAcks_ =
        rules_ && rules_->acks == AckRule::Repeated && (fullBlockSent_ || acksBeforeDataAllowed());
    constexpr std::size_t kHistory = 4; // as far back as a rule looks
    if (current_.letters == "?") {
        history_.clear(); // a new operation: no procedure goes on across an identification
    } else if (!current_.letters.empty()) {
        if (history_.size() == kHistory) history_.erase(history_.begin());
        history_.push_back(std::move(current_));
    }
    current_ = {};
    rules_ = nullptr;
    letters_.clear();
    replyMode_ = false;
    credits_ = 0;
}

Task<> Firmware::run() {
    for (;;) {
        const auto b = co_await ByteAwaiter{*this, false, std::nullopt};
        if (!b) continue;
        if (*b != 'N' && *b != 'n') loneLetterBefore_ = 0;
        if (const auto* handler = board_.commands().idle(*b)) {
            toleratingAcks_ = false;
            co_await (*handler)(*this, *b);
            endCommand();
        } else {
            idleByte(*b);
        }
    }
}

// Anything else between commands is ignored: "*" (the host's re-identification), stray
// acknowledgements, noise. Only "*" and the leftover "@" of a reply that allows them are right.
void Firmware::idleByte(std::uint8_t byte) {
    if (byte == kAck) {
        if (!toleratingAcks_)
            violation(ViolationKind::UnaskedAck,
                      "\"@\" while idle, after '" + (previous() ? previous()->letters : "") + "'");
        return;
    }
    toleratingAcks_ = false;
    if (byte != kReidentify) violation(ViolationKind::StrayByte, hexByte(byte) + " while idle");
}

Task<> Firmware::powerCommand(std::uint8_t powerLetter, bool afterPowerLetter) {
    const std::uint8_t followsLoneLetter = std::exchange(loneLetterBefore_, 0);
    power_ = powerLetter;
    std::string letters;
    for (;;) {
        const auto b = co_await byte();
        if (!b) co_return;
        std::string next = letters + char(*b);
        if (!board_.commands().isPrefix(next)) {
            // A power letter straight after this one: this one stays alone (a step the host
            // does not serve), unless the next one's command shows it was meant for that.
            loneLetterBefore_ = letters.empty() && (*b == 'N' || *b == 'n') ? powerLetter : 0;
            note("'" + std::string(1, char(powerLetter)) + letters + "' not a command; " +
                 hexByte(*b) + " read again");
            inbox_.push_front(*b);
            co_return;
        }
        letters = std::move(next);
        if (const auto* command = board_.commands().find(letters)) {
            if (followsLoneLetter && afterPowerLetter)
                violation(ViolationKind::RepeatedPowerLetter,
                          "'" + std::string(1, char(followsLoneLetter)) + "' alone, then '" +
                              std::string(1, char(powerLetter)) + " " + letters +
                              "': one power letter begins a command");
            beginCommand(letters, &command->rules, afterPowerLetter);
            note("command " + std::string(1, char(powerLetter)) + " " + letters);
            co_await command->handler(*this);
            co_return;
        }
    }
}

Task<> Firmware::continueInPowerMode(std::uint8_t firstLetter) {
    if (!power_) {
        note("'" + std::string(1, char(firstLetter)) + "' before any power letter ignored");
        violation(ViolationKind::MissingPowerLetter,
                  "'" + std::string(1, char(firstLetter)) + "' before any power letter");
        co_return;
    }
    inbox_.push_front(firstLetter);
    co_await powerCommand(power_, false);
}

Task<std::uint32_t> Firmware::argument(int bytes) {
    std::uint32_t value = 0;
    for (int i = 0; i < bytes; ++i)
        value = (value << 8) | (co_await byte()).value_or(0);
    current_.arguments.push_back(value);
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
    const bool onePerBlock = !rules_ || rules_->acks == AckRule::OnePerBlock;
    std::size_t sent = 0;
    // A final partial block leaves with the end code; after a full block the board waits.
    while (block && data.size() - sent >= block) {
        send(std::span(data).subspan(sent, block));
        sent += block;
        // The board reaches its flow-control point when its UART has sent the block; the
        // acknowledgements that came in meanwhile count as one.
        co_await delay(board_.outputDrainedAt() - now());
        // An "@" here, before the first block has even left, cannot answer it (a OnePerBlock
        // host's early "@" counts for its block instead).
        if (!onePerBlock && !fullBlockSent_ && credits_ > 0 && !acksBeforeDataAllowed())
            violation(ViolationKind::UnaskedAck,
                      "'" + letters_ + "': " + std::to_string(credits_) +
                          " \"@\" before the first block had left: only a blank check "
                          "acknowledges a count of 0");
        fullBlockSent_ = true;
        const int acks = co_await ack();
        if (onePerBlock && acks > 1)
            violation(ViolationKind::UnaskedAck, "'" + letters_ + "': " + std::to_string(acks) +
                                                     " \"@\" for the block ending at byte " +
                                                     std::to_string(sent));
    }
    if (onePerBlock && credits_ > 0)
        violation(ViolationKind::UnaskedAck, "'" + letters_ + "': " + std::to_string(credits_) +
                                                 " \"@\" with no block left to acknowledge");
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
        const bool faultAbort = abortAt && std::uint32_t(abortAt->number) == item;
        if (!faultAbort && item >= write.capacity)
            violation(ViolationKind::PastMemory,
                      "'" + letters_ + "' of " + std::to_string(write.items) +
                          " items: the part holds " + std::to_string(write.capacity));
        if (faultAbort || item >= write.capacity) {
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
        if (write.wordBits && bytes.size() == 2)
            checkWord(std::uint16_t((bytes[0] << 8) | bytes[1]), write.wordBits(item),
                      "item " + std::to_string(item));
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
