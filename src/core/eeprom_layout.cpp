#include "eeprom_layout.h"

#include "program_type.h"
#include "session.h"

#include <algorithm>

namespace tavrin {

EepromLayout eepromLayoutOf(const Session& s) {
    EepromLayout layout;
    layout.bytesPerLocation = isPic18Type(s.device.ProgramType) ? 1 : 2;
    const std::int64_t fits = std::int64_t(s.buffer.EepromImage.size()) / layout.bytesPerLocation;
    layout.locations = int(std::clamp<std::int64_t>(s.device.EepromByteCount, 0, fits));
    return layout;
}

bool hasEditableEeprom(const Session& s) {
    return eepromLayoutOf(s).locations > 0;
}

} // namespace tavrin
