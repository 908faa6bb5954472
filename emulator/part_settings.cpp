#include "emulator/part_settings.h"

#include <charconv>

namespace emu {

namespace {

bool number(const PartSetting& s, long& out, std::string* error) {
    std::string_view v = s.value;
    int base = 10;
    bool negative = false;
    if (!v.empty() && v[0] == '-') {
        negative = true;
        v.remove_prefix(1);
    }
    if (v.size() > 2 && v[0] == '0' && (v[1] == 'x' || v[1] == 'X')) {
        v.remove_prefix(2);
        base = 16;
    }
    auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), out, base);
    if (v.empty() || ec != std::errc() || end != v.data() + v.size()) {
        if (error) *error = "--set " + s.key + ": '" + s.value + "' is not a number";
        return false;
    }
    if (negative) out = -out;
    return true;
}

} // namespace

bool isKnownSetting(std::string_view key) {
    return key == "revision" || key == "device-id" || key == "config-zeros" ||
           key == "calibration" || key == "bandgap";
}

bool applyFactSetting(PartFacts& part, const PartSetting& s, std::string* error) {
    long v = 0;
    if (s.key == "revision") {
        if (!number(s, v, error)) return false;
        part.revision = std::uint8_t(v & 0x1F);
    } else if (s.key == "device-id") {
        if (!number(s, v, error)) return false;
        part.deviceId = std::int32_t(v);
    } else if (s.key == "config-zeros") {
        part.configReadsOne = {0, 0};
    }
    return true;
}

bool applyChipSetting(Chip& chip, const PartSetting& s, std::string* error) {
    const PartFacts* p = chip.part();
    long v = 0;
    if (s.key == "calibration") {
        if (!number(s, v, error)) return false;
        if (!p || p->calibration == Calibration::None) {
            if (error) *error = "--set calibration: this part has no calibration word";
            return false;
        }
        if (p->calibration == Calibration::Word2008)
            chip.config[1] = std::uint16_t(v);
        else
            chip.program.back() = std::uint16_t(v) & p->cellMask;
    } else if (s.key == "bandgap") {
        if (!number(s, v, error)) return false;
        if (!p || p->factoryBandgap < 0 || v < 0 || v > 3) {
            if (error) *error = "--set bandgap: 0..3, on a part with band-gap bits";
            return false;
        }
        chip.config[0] = std::uint16_t((chip.config[0] & ~0x3000) | (v << 12));
    }
    return true;
}

} // namespace emu
