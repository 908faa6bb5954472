// What the blank checks accept as an erased ID and configuration area, written out from their
// rules so that the device file can be held against them: the generic checks per programming
// type, the 12-bit and 14-bit module checks, and the PIC18 module checks with their exact and
// covering variants.
#pragma once

#include "core/session.h"

#include <array>
#include <cstdint>

namespace tavrin::test {

// Configuration words as a chip reads them, index 1..7 (12/14-bit use 1, FLASH4.9 also 2).
using ChipConfig = std::array<std::int32_t, 8>;

struct BlankVerdict {
    bool blank = false;
    bool codeProtected = false;
};

// 12-bit generic check and the PIC12C5xx module: the word as read, compared with 0x0FFF (the
// PIC16C54..57 names clear the two oscillator bits and compare with 0x0FFC).
BlankVerdict blankCheck12Bit(const DeviceRecord& d, std::int32_t word);

// 14-bit generic check and the PIC12F683/PIC16F87x modules: the AND of the erased ID words and
// the configuration word(s) is 0x3FFF or the implemented bits of word 1. "12F6" reads its
// band-gap bits as 1; "FLASH4.9" adds word 2.
BlankVerdict blankCheck14Bit(const DeviceRecord& d, const ChipConfig& words);

// PIC18 generic "18F_00" check: every word equals the low 16 bits of its mask, and no word has
// fixed bits.
bool blankCheckPic18Generic(const DeviceRecord& d, const ChipConfig& words);

// PIC18 module checks: exact (PIC18F452/252) or covering (PIC18F8720) against mask OR fixed.
bool blankCheckPic18Module(const DeviceRecord& d, const ChipConfig& words, bool covering);

// The PIC18 protection letters from CONFIG5 and CP_MASK_CF5: "--", "P-", "-D" or "PD".
QString pic18Protection(const DeviceRecord& d, std::int32_t config5);

} // namespace tavrin::test
