// A board on the bench, in process: the emulated board with a part in its socket, the virtual
// clock it runs on, and the serial port that reaches it. Give `port` and `clock` to the code
// under test; look at `board.chip()` for what ended up in the chip.
//
// The board is strict: it records every protocol violation of the host, and the test fails at
// the end unless it took them (takeViolations, to check them) or chose to tolerate them (a test
// of how the board copes with a host that gets things wrong).
#pragma once

#include "core/clock.h"
#include "emulator/board.h"
#include "emulator/part_catalogue.h"
#include "emusupport/emulated_port.h"
#include "emusupport/strict_failure.h"

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tavrin::test {

inline const emu::PartFacts* partOrThrow(std::string_view name) {
    if (name == "none") return nullptr;
    const auto* p = emu::findPart(name);
    if (!p) throw std::invalid_argument("no such part in the emulator: " + std::string(name));
    return p;
}

inline emu::BoardOptions strictOptions(emu::BoardOptions options) {
    options.strict = true;
    return options;
}

struct EmulatedBoard {
    explicit EmulatedBoard(std::string_view part, emu::BoardOptions options = {})
        : board(partOrThrow(part), strictOptions(std::move(options))), port(clock, board) {
        port.setPortName(QStringLiteral("emulated"));
    }
    ~EmulatedBoard() {
        if (!tolerating_ && !board.violations().empty())
            failRunningTest("the board recorded protocol violations:\n" +
                            board.violations().text());
    }
    EmulatedBoard(const EmulatedBoard&) = delete;
    EmulatedBoard& operator=(const EmulatedBoard&) = delete;

    // The violations so far, which the test then answers for.
    std::vector<emu::Violation> takeViolations() {
        auto taken = board.violations().entries();
        board.violations().clear();
        return taken;
    }
    void tolerateViolations() { tolerating_ = true; }

    tavrin::VirtualClock clock;
    emu::Board board;
    EmulatedPort port;

  private:
    bool tolerating_ = false;
};

} // namespace tavrin::test
