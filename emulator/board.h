// The programmer board as a whole: firmware, the chip in its socket and the serial line, run in
// simulated time. A transport feeds it the host's bytes with their times, lets time pass, and
// collects the bytes that reach the host.
#pragma once

#include "emulator/boot_loader.h"
#include "emulator/chip.h"
#include "emulator/command_table.h"
#include "emulator/faults.h"
#include "emulator/firmware.h"
#include "emulator/identification.h"
#include "emulator/sim_time.h"
#include "emulator/transcript.h"
#include "emulator/violations.h"
#include "emulator/wire.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace emu {

struct BoardOptions {
    std::string identification = std::string(kDefaultIdentification); // 16 characters
    int baud = 57600;                          // line pacing both ways; 0 = unpaced
    Nanos idleReset = 2 * kSecond;             // silence inside a command → idle; 0 = never
    Nanos eraseTime = 10 * kMillisecond;       // bulk erase
    Nanos itemWriteTime = 0;                   // each item of a board-paced write
    Nanos eraseCodeWindow = 50 * kMillisecond; // "X b d" waits this long for an erase code
    FaultSet faults;
    // Record the host's protocol violations (violations()) instead of only tolerating them.
    bool strict = false;
    // The identification after a completed firmware update (16 characters); empty: unchanged.
    std::string updatedIdentification;
};

class Board {
  public:
    // part nullptr: an empty socket.
    explicit Board(const PartFacts* part, BoardOptions options = {});
    Board(const Board&) = delete;
    Board& operator=(const Board&) = delete;

    // --- Transport side; times on the board's scale -------------------------------------------
    // The host wrote these bytes at `at` (not earlier than anything before).
    void hostWrite(std::span<const std::uint8_t> bytes, Nanos at);
    // Lets the board run until `t`: bytes reach it, its timers fire.
    void runUntil(Nanos t);
    // The earliest moment something happens: a byte reaches the board or the host, or a timer.
    std::optional<Nanos> nextEvent() const;
    std::optional<Nanos> nextForHost() const { return wire_.nextToHost(); }
    // The bytes that have reached the host by `upTo`.
    std::vector<std::uint8_t> takeForHost(Nanos upTo) { return wire_.takeToHost(upTo); }
    // The host discarded its unsent output: bytes still on their way to the board are lost.
    void dropBytesFromHost() { wire_.dropToBoard(); }

    // --- The board itself ---------------------------------------------------------------------
    // Two places hold a chip: the socket, and the slot of the board's own plug-in module (the
    // board's module parts, reached by the module family's commands). chip() is the one the
    // board was set up with: the module slot for a module part, else the socket.
    Chip& chip() { return primaryIsModule_ ? module_ : socket_; }
    const Chip& chip() const { return primaryIsModule_ ? module_ : socket_; }
    Chip& socket() { return socket_; }
    Chip& module() { return module_; }
    const Chip& module() const { return module_; }
    // The chip a command with these letters (after the power letter) reaches.
    Chip& chipFor(std::string_view letters) {
        return commands_.addressesModule(letters) ? module_ : socket_;
    }
    // Puts a chip into the place its kind goes to, which becomes chip() (nullptr: empties the
    // socket).
    void insert(const PartFacts* part);
    const BoardOptions& options() const { return options_; }
    BoardOptions& options() { return options_; }
    const WireStats& stats() const { return wire_.stats(); }
    Transcript& transcript() { return transcript_; }
    ViolationLog& violations() { return violations_; }
    const ViolationLog& violations() const { return violations_; }
    CommandTable& commands() { return commands_; }
    Nanos now() const { return now_; }
    BootLoader& bootLoader() { return bootLoader_; }
    const BootLoader& bootLoader() const { return bootLoader_; }

    // When everything the board has written will have left its UART.
    Nanos outputDrainedAt() const { return wire_.boardLineFree(); }
    // The firmware's one output path.
    void transmit(std::span<const std::uint8_t> bytes, Nanos at, Split split);

  private:
    BoardOptions options_;
    Wire wire_;
    Chip socket_;
    Chip module_;
    bool primaryIsModule_ = false;
    Transcript transcript_;
    ViolationLog violations_;
    CommandTable commands_;
    Nanos now_ = 0;
    BootLoader bootLoader_{*this};
    Firmware firmware_; // last: it starts running in the constructor
};

} // namespace emu
