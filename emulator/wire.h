// The serial line between host and board: 8N1 at the given baud rate in both directions (or
// unpaced), with the bytes in flight and the counts each way.
#pragma once

#include "emulator/sim_time.h"

#include <cstdint>
#include <deque>
#include <optional>
#include <span>
#include <vector>

namespace emu {

struct WireStats {
    std::uint64_t bytesToBoard = 0;
    std::uint64_t bytesToHost = 0;
    std::uint64_t hostWrites = 0;  // write calls of the host
    std::uint64_t boardWrites = 0; // writes of the board (a reply, a request, a report)
    // Time the bytes occupy the line at `baud` (8N1), whether or not the line is paced.
    Nanos wireTime(int baud) const { return Nanos(bytesToBoard + bytesToHost) * byteTime(baud); }
};

struct TimedByte {
    Nanos at;
    std::uint8_t byte;
};

// How the board's writes reach the host: whole, or cut into pieces with a gap between them.
struct Split {
    std::size_t pieceBytes = 0; // 0: not split
    Nanos gap = 0;
};

class Wire {
  public:
    explicit Wire(int baud = 57600) : byteTime_(emu::byteTime(baud)), baud_(baud) {}

    int baud() const { return baud_; }

    // The host wrote these bytes at `at`; each reaches the board one byte time after the
    // previous one has left.
    void hostWrites(std::span<const std::uint8_t> bytes, Nanos at);
    std::optional<Nanos> nextToBoard() const;
    std::optional<TimedByte> popToBoard(Nanos upTo);
    void dropToBoard() { toBoard_.clear(); }

    // The board wrote these bytes at `at`.
    void boardWrites(std::span<const std::uint8_t> bytes, Nanos at, Split split = {});
    std::optional<Nanos> nextToHost() const;
    // When the last byte the board has written will have left its end of the line.
    Nanos boardLineFree() const { return boardLineFree_; }
    std::vector<std::uint8_t> takeToHost(Nanos upTo);

    const WireStats& stats() const { return stats_; }

  private:
    Nanos byteTime_;
    int baud_;
    Nanos hostLineFree_ = 0;
    Nanos boardLineFree_ = 0;
    std::deque<TimedByte> toBoard_;
    std::deque<TimedByte> toHost_;
    WireStats stats_;
};

} // namespace emu
