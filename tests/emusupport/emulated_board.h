// A board on the bench, in process: the emulated board with a part in its socket, the virtual
// clock it runs on, and the serial port that reaches it. Give `port` and `clock` to the code
// under test; look at `board.chip()` for what ended up in the chip.
#pragma once

#include "core/clock.h"
#include "emulator/board.h"
#include "emulator/part_catalogue.h"
#include "emusupport/emulated_port.h"

#include <stdexcept>
#include <string>
#include <string_view>

namespace tavrin::test {

inline const emu::PartFacts* partOrThrow(std::string_view name) {
    if (name == "none") return nullptr;
    const auto* p = emu::findPart(name);
    if (!p) throw std::invalid_argument("no such part in the emulator: " + std::string(name));
    return p;
}

struct EmulatedBoard {
    explicit EmulatedBoard(std::string_view part, emu::BoardOptions options = {})
        : board(partOrThrow(part), std::move(options)), port(clock, board) {
        port.setPortName(QStringLiteral("emulated"));
    }
    tavrin::VirtualClock clock;
    emu::Board board;
    EmulatedPort port;
};

} // namespace tavrin::test
