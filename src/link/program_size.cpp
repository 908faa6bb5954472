#include "program_size.h"

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

} // namespace tavrin
