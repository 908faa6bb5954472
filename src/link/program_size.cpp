#include "program_size.h"

#include "board_channel.h"
#include "core/session.h"
#include "core/utilities.h"

namespace tavrin {

void SplitProgramSize(Session& session) {
    auto& d = session.device;
    d.WriteWordCountHi = 0;
    d.WriteWordCountLo = 0;
    d.WriteWordCount = d.ProgramWordCount;
    std::uint8_t hi = 0, lo = 0;
    SplitWordBytes(d.WriteWordCount, hi, lo);
    d.WriteWordCountHi = hi;
    d.WriteWordCountLo = lo;
}

std::int32_t sendProgramSize(BoardChannel& channel) {
    Session& s = channel.session();
    SplitProgramSize(s);
    channel.sendByte(std::uint8_t(s.device.WriteWordCountHi));
    channel.sendByte(std::uint8_t(s.device.WriteWordCountLo));
    return s.device.WriteWordCount;
}

std::int32_t sendStreamSize(BoardChannel& channel) {
    DeviceRecord& d = channel.session().device;
    const std::int32_t words = d.ProgramWordCount + 5;
    d.StreamWordCount = words;
    d.StreamWordCountHi = std::int16_t(words / 256);
    d.StreamWordCountLo = std::int16_t(words % 256);
    channel.sendByte(std::uint8_t(d.StreamWordCountHi));
    channel.sendByte(std::uint8_t(d.StreamWordCountLo));
    return words;
}

} // namespace tavrin
