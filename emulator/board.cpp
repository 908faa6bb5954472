#include "emulator/board.h"

#include <algorithm>

namespace emu {

Board::Board(const PartFacts* part, BoardOptions options)
    : options_(std::move(options)), wire_(options_.baud), firmware_(*this) {
    addGenericCommands(commands_);
    addModuleCommands(commands_);
    bootLoader_.install(commands_);
    insert(part);
    firmware_.start();
}

void Board::insert(const PartFacts* part) {
    primaryIsModule_ = part && isBoardModule(*part);
    (primaryIsModule_ ? module_ : socket_) = Chip(part);
}

void Board::hostWrite(std::span<const std::uint8_t> bytes, Nanos at) {
    runUntil(at);
    transcript_.bytes(std::max(at, now_), Direction::ToBoard, bytes);
    wire_.hostWrites(bytes, std::max(at, now_));
}

void Board::transmit(std::span<const std::uint8_t> bytes, Nanos at, Split split) {
    transcript_.bytes(at, Direction::ToHost, bytes);
    wire_.boardWrites(bytes, at, split);
}

void Board::runUntil(Nanos t) {
    for (;;) {
        const auto byteAt = wire_.nextToBoard();
        const auto timerAt = firmware_.timer();
        // A byte that arrives exactly at a deadline still counts: a deadline is "more than".
        if (byteAt && *byteAt <= t && (!timerAt || *byteAt <= *timerAt)) {
            now_ = std::max(now_, *byteAt);
            firmware_.receive(wire_.popToBoard(*byteAt)->byte);
        } else if (timerAt && *timerAt <= t) {
            now_ = std::max(now_, *timerAt);
            firmware_.fireTimer();
        } else {
            break;
        }
    }
    now_ = std::max(now_, t);
}

std::optional<Nanos> Board::nextEvent() const {
    std::optional<Nanos> next;
    for (auto t : {wire_.nextToBoard(), firmware_.timer(), wire_.nextToHost()})
        if (t && (!next || *t < *next)) next = t;
    return next;
}

} // namespace emu
