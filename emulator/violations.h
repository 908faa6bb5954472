// What a strict board records instead of tolerating: the host's slips against the protocol. The
// board goes on exactly as it would without strict mode (so the host meets the same replies); the
// record is for tests, which fail on any entry.
#pragma once

#include "emulator/sim_time.h"

#include <string>
#include <string_view>
#include <vector>

namespace emu {

enum class ViolationKind {
    UnaskedAck,          // an "@" the board did not ask for
    MissingAck,          // a flow-controlled block went out whole and no "@" came for it
    PowerLetterContinue, // a power letter where the procedure goes on with "X" alone
    MissingPowerLetter,  // "X" alone where a procedure starts (or before any power letter)
    RepeatedPowerLetter, // a power letter straight after another one: one command, one letter
    StrayByte,           // a byte while idle that is neither "*" nor the start of a command
    ReservedBits,        // a word with bits the part's cells do not have
    PastMemory,          // a read or write beyond the part's memory
};

std::string_view violationName(ViolationKind kind);

struct Violation {
    ViolationKind kind;
    Nanos at;
    std::string what;
};

class ViolationLog {
  public:
    void record(ViolationKind kind, Nanos at, std::string what) {
        entries_.push_back({kind, at, std::move(what)});
    }
    const std::vector<Violation>& entries() const { return entries_; }
    bool empty() const { return entries_.empty(); }
    void clear() { entries_.clear(); }
    // One line per entry: seconds, kind, what.
    std::string text() const;

  private:
    std::vector<Violation> entries_;
};

} // namespace emu
