// Changes to one chip's facts and state that a person or a test asks for (--set KEY=VALUE):
//   revision=N        revision bits of the device ID
//   device-id=N       the device ID word without revision (-1: none)
//   config-zeros      unimplemented configuration bits read as 0 instead of 1
//   calibration=N     the calibration word as the chip holds it now (0x3FFF/0x0FFF: lost)
//   bandgap=N         band-gap bits 13:12 of the configuration word (0..3)
#pragma once

#include "emulator/chip.h"
#include "emulator/part_catalogue.h"

#include <string>
#include <string_view>

namespace emu {

struct PartSetting {
    std::string key;
    std::string value;
};

// Settings that change the part's facts, applied before the chip is made; others are ignored.
bool applyFactSetting(PartFacts& part, const PartSetting& s, std::string* error);
// Settings that change the chip's state, applied after; others are ignored.
bool applyChipSetting(Chip& chip, const PartSetting& s, std::string* error);
bool isKnownSetting(std::string_view key);

} // namespace emu
