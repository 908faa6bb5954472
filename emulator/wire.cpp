#include "emulator/wire.h"

#include <algorithm>

namespace emu {

void Wire::hostWrites(std::span<const std::uint8_t> bytes, Nanos at) {
    if (bytes.empty()) return;
    ++stats_.hostWrites;
    for (auto b : bytes) {
        hostLineFree_ = std::max(hostLineFree_, at) + byteTime_;
        toBoard_.push_back({hostLineFree_, b});
        ++stats_.bytesToBoard;
    }
}

std::optional<Nanos> Wire::nextToBoard() const {
    if (toBoard_.empty()) return std::nullopt;
    return toBoard_.front().at;
}

std::optional<TimedByte> Wire::popToBoard(Nanos upTo) {
    if (toBoard_.empty() || toBoard_.front().at > upTo) return std::nullopt;
    auto b = toBoard_.front();
    toBoard_.pop_front();
    return b;
}

void Wire::boardWrites(std::span<const std::uint8_t> bytes, Nanos at, Split split) {
    if (bytes.empty()) return;
    ++stats_.boardWrites;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        Nanos ready = at;
        if (split.pieceBytes) ready += Nanos(i / split.pieceBytes) * split.gap;
        boardLineFree_ = std::max(boardLineFree_, ready) + byteTime_;
        toHost_.push_back({boardLineFree_, bytes[i]});
        ++stats_.bytesToHost;
    }
}

std::optional<Nanos> Wire::nextToHost() const {
    if (toHost_.empty()) return std::nullopt;
    return toHost_.front().at;
}

std::vector<std::uint8_t> Wire::takeToHost(Nanos upTo) {
    std::vector<std::uint8_t> out;
    while (!toHost_.empty() && toHost_.front().at <= upTo) {
        out.push_back(toHost_.front().byte);
        toHost_.pop_front();
    }
    return out;
}

} // namespace emu
