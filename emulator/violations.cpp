#include "emulator/violations.h"

#include <cstdio>

namespace emu {

std::string_view violationName(ViolationKind kind) {
    switch (kind) {
    case ViolationKind::UnaskedAck:
        return "unasked-ack";
    case ViolationKind::MissingAck:
        return "missing-ack";
    case ViolationKind::PowerLetterContinue:
        return "power-letter-inside-procedure";
    case ViolationKind::MissingPowerLetter:
        return "missing-power-letter";
    case ViolationKind::RepeatedPowerLetter:
        return "repeated-power-letter";
    case ViolationKind::StrayByte:
        return "stray-byte";
    case ViolationKind::ReservedBits:
        return "reserved-bits";
    case ViolationKind::PastMemory:
        return "past-memory";
    }
    return "?";
}

std::string ViolationLog::text() const {
    std::string out;
    for (const auto& v : entries_) {
        char time[32];
        std::snprintf(time, sizeof time, "%12.6f ", double(v.at) / double(kSecond));
        out += time;
        out += violationName(v.kind);
        out += ": " + v.what + "\n";
    }
    return out;
}

} // namespace emu
