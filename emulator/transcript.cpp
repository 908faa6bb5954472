#include "emulator/transcript.h"

#include <cstdio>

namespace emu {

void Transcript::bytes(Nanos at, Direction d, std::span<const std::uint8_t> b) {
    if (!active() || b.empty()) return;
    add({at, d, std::vector<std::uint8_t>(b.begin(), b.end()), {}});
}

void Transcript::note(Nanos at, std::string text) {
    if (!active()) return;
    add({at, Direction::Note, {}, std::move(text)});
}

void Transcript::add(TranscriptEntry e) {
    if (sink_) sink_(format(e));
    if (keep_) entries_.push_back(std::move(e));
}

std::vector<std::uint8_t> Transcript::all(Direction d) const {
    std::vector<std::uint8_t> out;
    for (const auto& e : entries_)
        if (e.direction == d) out.insert(out.end(), e.bytes.begin(), e.bytes.end());
    return out;
}

std::vector<std::string> Transcript::notes() const {
    std::vector<std::string> out;
    for (const auto& e : entries_)
        if (e.direction == Direction::Note) out.push_back(e.note);
    return out;
}

std::string Transcript::format(const TranscriptEntry& e) {
    char head[48];
    std::snprintf(head, sizeof head, "%12.6f ", double(e.at) / double(kSecond));
    std::string line = head;
    if (e.direction == Direction::Note) return line + "--  " + e.note;
    line += e.direction == Direction::ToBoard ? "H>B " : "B>H ";
    std::string text;
    char hex[4];
    for (auto b : e.bytes) {
        std::snprintf(hex, sizeof hex, " %02X", b);
        line += hex;
        text += (b >= 0x20 && b < 0x7F) ? char(b) : '.';
    }
    return line + "  |" + text + "|";
}

} // namespace emu
