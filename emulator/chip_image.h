// The chip's memories as a byte image in the usual PIC HEX layout: 12/14-bit words at twice their
// word address, low byte first (IDs at 0x2000.., configuration at 0x2007.., data EEPROM at
// 0x2100.. one byte per word; 12-bit: IDs after program memory, configuration at 0xFFF); PIC18
// bytes at their own addresses (IDs 0x200000, configuration 0x300000, device ID 0x3FFFFE,
// data EEPROM 0xF00000).
#pragma once

#include "emulator/chip.h"
#include "emulator/intel_hex.h"

#include <string>

namespace emu {

// Everything the chip holds, as the chip reads it without code protection (a dump looks inside).
ByteImage chipImage(const Chip& chip);

// Puts an image into the cells directly (as if the chip had been programmed elsewhere). The
// device ID and reserved words cannot be set. Fails on an address the chip does not have.
bool loadChipImage(Chip& chip, const ByteImage& image, std::string* error = nullptr);

} // namespace emu
