// The board's program. One coroutine reads the host's bytes and runs commands; a command
// suspends where the real firmware would wait (next argument byte, the host's "@"
// acknowledgement, the next word of a board-paced write, the chip's programming time) and the
// board resumes it when that byte arrives or that time has come. Everything runs on the board's
// simulated clock, so the same firmware serves the in-process transport (virtual time) and the
// pty (real time).
//
// Recovery: a byte that is not a valid next letter ends the command and is read again as a new
// one (so "*", "?" and a power letter always get through); a byte other than "@" while the board
// sends a flow-controlled reply ends that reply the same way; and silence of `idleReset` inside
// a command (arguments, payload, acknowledgement) returns the board to idle.
#pragma once

#include "emulator/chip.h"
#include "emulator/command_table.h"
#include "emulator/faults.h"
#include "emulator/sim_time.h"
#include "emulator/task.h"
#include "emulator/violations.h"
#include "emulator/wire.h"

#include <coroutine>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace emu {

class Board;
struct BoardOptions;

// A board-paced write: the board asks for each item with one request byte and programs it;
// after the last one it sends "@". A failed item is reported instead of the next request, and
// the board goes idle.
struct PacedWrite {
    std::uint32_t items = 0;
    std::size_t itemBytes = 2;
    std::uint32_t capacity = 0; // items the chip can take; the write is aborted there
    // 12-bit parts answer a failed word with the word read back and "@" (readHi, readLo, "@");
    // the others with a failure report "*", read-back low, high, item index.
    bool twelveBit = false;
    // Two-byte items that are words of the chip: the bits item k may carry (the part's cell width,
    // plus any mark the protocol defines). Empty: the items are not checked.
    std::function<std::uint16_t(std::uint32_t item)> wordBits;
    std::function<CellWrite(std::uint32_t item, std::span<const std::uint8_t> bytes)> write;
};

class Firmware {
  public:
    explicit Firmware(Board& board);
    ~Firmware();
    Firmware(const Firmware&) = delete;
    Firmware& operator=(const Firmware&) = delete;

    // Driven by the board, at the board's current time.
    void start();
    void receive(std::uint8_t byte);
    std::optional<Nanos> timer() const;
    void fireTimer();

    // --- For command handlers ------------------------------------------------------------------
    struct ByteAwaiter {
        Firmware& fw;
        bool guarded;                // silence inside a command returns the board to idle
        std::optional<Nanos> window; // resume empty-handed when nothing came within it
        bool await_ready() const { return !fw.inbox_.empty(); }
        void await_suspend(std::coroutine_handle<> h);
        std::optional<std::uint8_t> await_resume();
    };
    struct AckAwaiter {
        Firmware& fw;
        bool await_ready() const { return fw.credits_ > 0; }
        void await_suspend(std::coroutine_handle<> h);
        // The acknowledgements this point consumed.
        int await_resume() { return std::exchange(fw.credits_, 0); }
    };
    struct DelayAwaiter {
        Firmware& fw;
        Nanos duration;
        bool await_ready() const { return duration <= 0; }
        void await_suspend(std::coroutine_handle<> h);
        void await_resume() {}
    };

    ByteAwaiter byte() { return {*this, true, std::nullopt}; }
    ByteAwaiter byteWithin(Nanos window) { return {*this, true, window}; }
    AckAwaiter ack() { return {*this}; }
    DelayAwaiter delay(Nanos d) { return {*this, d}; }
    // A big-endian number of `bytes` argument bytes.
    Task<std::uint32_t> argument(int bytes);
    Task<std::vector<std::uint8_t>> payload(std::size_t bytes);

    // One write of the board (a reply, a request, a report).
    void send(std::span<const std::uint8_t> bytes);
    void send(std::initializer_list<std::uint8_t> bytes) {
        send(std::span(bytes.begin(), bytes.size()));
    }
    // `data`, then the end code "@" (or what a fault puts there) and any extra bytes, as one write.
    void sendEnd(std::span<const std::uint8_t> data = {});
    void sendEnd(std::initializer_list<std::uint8_t> data) {
        sendEnd(std::span(data.begin(), data.size()));
    }
    // A reply with flow control: `block` bytes, then wait for the host's "@", ..., after every
    // full block (the last one included), then the end code. block 0: no flow control.
    Task<> sendBlocks(std::vector<std::uint8_t> data, std::size_t block);
    Task<> pacedWrite(PacedWrite write);
    // Lets what the host still sends pass unread until it has been quiet for a while.
    Task<> ignoreUntilQuiet();
    void sendIdentification();
    // Reads the letters after a power letter (or after "X" alone, in the mode of the last power
    // letter) and runs the command they name.
    Task<> powerCommand(std::uint8_t powerLetter, bool afterPowerLetter = true);
    // A PIC18 procedure sends its power letter once and starts each later command with "X": the
    // board stays in the mode of the last power letter. Before any power letter "X" is ignored.
    Task<> continueInPowerMode(std::uint8_t firstLetter);

    // The chip the running command addresses: the socket's, or the board's own module.
    Chip& chip();
    const BoardOptions& options() const;
    Nanos now() const;
    void note(std::string text);
    // The letters of the command being executed ("rsc", "Xrsp"; "?" for the identification).
    const std::string& letters() const { return letters_; }
    std::uint8_t powerLetter() const { return power_; }
    const Fault* fault(FaultKind kind) const;

    // --- Strict mode: what the host got wrong, recorded (the board goes on as it would) -------
    void violation(ViolationKind kind, std::string what);
    // A read or write up to `end` (exclusive) of a memory of `size` items of the chip in the
    // socket; a chip of the other family, or none, cannot tell.
    void checkRange(std::string_view memory, std::uint64_t end, std::uint64_t size, Core family);
    // A word the host sent, against the bits it may carry.
    void checkWord(std::uint16_t word, std::uint16_t allowed, std::string_view what);

  private:
    enum class WaitKind { None, Byte, Ack, Delay };
    struct Wait {
        WaitKind kind = WaitKind::None;
        std::coroutine_handle<> handle;
        std::optional<Nanos> deadline;
        bool abandonAtDeadline = false;
    };

    Task<> run();
    void idleByte(std::uint8_t byte);
    void checkProcedure();
    bool acksBeforeDataAllowed() const;
    const CommandRecord* previous() const { return history_.empty() ? nullptr : &history_.back(); }
    bool outputWhole() const;
    void resumeWaiter();
    void abandon(const std::string& why);
    void startRoot();
    void beginCommand(std::string letters, const CommandRules* rules = nullptr,
                      bool afterPowerLetter = false);
    void endCommand();
    std::optional<Nanos> watchdogDeadline() const;

    Board& board_;
    Task<> root_;
    Wait wait_;
    std::deque<std::uint8_t> inbox_;
    int credits_ = 0;
    bool replyMode_ = false;
    std::string letters_;
    std::uint8_t power_ = 0;
    const CommandRules* rules_ = nullptr;
    CommandRecord current_;
    // The last commands within this identification, oldest first.
    std::vector<CommandRecord> history_;
    bool toleratingAcks_ = false; // leftover "@" of a Repeated reply may still come
    bool fullBlockSent_ = false;  // the running command's reply had a flow-control point
    std::size_t sentInCommand_ = 0;
    bool delayApplied_ = false;
    bool stallNoted_ = false;
    // The power letter that was left alone by the power letter straight after it (0: none).
    std::uint8_t loneLetterBefore_ = 0;
};

} // namespace emu
