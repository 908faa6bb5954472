// What crossed the wire and what the board made of it, with times: kept in memory for tests and
// written as text lines for people (--log).
#pragma once

#include "emulator/sim_time.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace emu {

enum class Direction { ToBoard, ToHost, Note };

struct TranscriptEntry {
    Nanos at;
    Direction direction;
    std::vector<std::uint8_t> bytes; // one write of the host (ToBoard) or of the board (ToHost)
    std::string note;                // Note: what the board did
};

class Transcript {
  public:
    // Keep entries in memory (tests); off by default so that long runs do not grow.
    void keep(bool on) { keep_ = on; }
    // Receives each entry as one text line without line end (--log).
    void setSink(std::function<void(std::string_view)> sink) { sink_ = std::move(sink); }
    bool active() const { return keep_ || sink_; }

    void bytes(Nanos at, Direction d, std::span<const std::uint8_t> b);
    void note(Nanos at, std::string text);

    const std::vector<TranscriptEntry>& entries() const { return entries_; }
    void clear() { entries_.clear(); }
    // Everything the host sent (or the board sent), concatenated.
    std::vector<std::uint8_t> all(Direction d) const;
    // Notes only, in order.
    std::vector<std::string> notes() const;

    static std::string format(const TranscriptEntry& e);

  private:
    void add(TranscriptEntry e);
    bool keep_ = false;
    std::function<void(std::string_view)> sink_;
    std::vector<TranscriptEntry> entries_;
};

} // namespace emu
