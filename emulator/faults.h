// Fault injection: misbehaviours of the board, chosen by name, so that every failure path of the
// host can be driven. A fault may be limited to one command by its letters after the power
// letter ("rsc", "Xrsp", "bd", ...; "?" for the identification): NAME[=ARG][@LETTERS].
#pragma once

#include "emulator/sim_time.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace emu {

enum class FaultKind {
    Silent,     // the board answers nothing at all
    ShortId,    // =N: only the first N characters of the identification (default 17)
    WrongId,    // =TEXT: this identification instead (default "QZ-WRX400  V6.50")
    OldVersion, // =V.VV: the identification ends in this version (default "6.00")
    FailAt,     // =K: failure report after item K of a board-paced write
    AbortAt,    // =K: abort where the request for item K is expected
    EndCode,    // =BYTE: this byte instead of every end code "@" (default 0x21)
    Stall,      // =N: the reply stops after N bytes (the command never finishes)
    Split,      // =N[:MS]: replies leave in pieces of N bytes, MS apart (default 1:5)
    Extra,      // =N: N extra bytes after every end code and after the identification (default 2)
    Delay,      // =MS: each reply starts MS later
    Request,    // =BYTE: the request byte of board-paced writes (default 0x52 "R")
    // The boot loader of the firmware update; K counts the word records from 0 after "U".
    BootNoEntry,   // "U" is not answered and the board stays in its firmware
    BootEntryByte, // =BYTE: "U" is answered with BYTE (default 0x00); the loader starts anyway
    BootBadAck,    // =K: record K is refused with a wrong sum and not written
    BootSilentAt,  // =K: record K is not answered and not written
};

struct Fault {
    FaultKind kind = FaultKind::Silent;
    long number = 0;     // K, N, MS or BYTE
    long gapMs = 0;      // Split
    std::string text;    // WrongId, OldVersion
    std::string letters; // empty: every command
    bool appliesTo(std::string_view commandLetters) const {
        return letters.empty() || letters == commandLetters;
    }
};

// Parses NAME[=ARG][@LETTERS]; on failure returns nullopt and says why in *error.
std::optional<Fault> parseFault(std::string_view spec, std::string* error = nullptr);

// Names and arguments, for --help and the README.
std::string_view faultHelp();

class FaultSet {
  public:
    void add(Fault f) { faults_.push_back(std::move(f)); }
    bool empty() const { return faults_.empty(); }
    const std::vector<Fault>& all() const { return faults_; }

    // The first fault of that kind that applies to the command, if any.
    const Fault* find(FaultKind kind, std::string_view commandLetters) const;
    bool has(FaultKind kind) const;

  private:
    std::vector<Fault> faults_;
};

} // namespace emu
