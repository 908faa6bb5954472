// What a blank check concludes from the ID and configuration words a chip reads: the rules alone,
// without the board, so that the generic steps, the device modules and the tests of the device
// file judge with the same code.
#pragma once

#include "core/session.h"

#include <QString>

#include <array>
#include <cstdint>
#include <vector>

namespace tavrin {

struct ConfigAreaCommand;

// 12-bit: the configuration word reads 0x0FFF. The PIC16C54..57 keep bits 1:0 (the oscillator
// the factory set) out of the erased state: their word is compared with 0x0FFC without them.
bool configWord12Erased(const QString& deviceName, std::int32_t word);

// The words of a 14-bit configuration-area read that a blank check judges: the ID words
// 0x2000-0x2003 and configuration words 1 and 2 (0x2004-0x2006 hold the device ID).
struct IdConfigWords14 {
    std::array<std::int32_t, 4> id{};
    std::int32_t config1 = 0;
    std::int32_t config2 = 0; // read only on parts with two configuration words
};

// The words of a 14-bit area reply (16 bytes, or 32 with the second configuration word), each
// high byte first.
IdConfigWords14 idConfigWords14Of(const std::vector<std::uint8_t>& reply);

// Which of them a 14-bit check counts, and how.
struct IdConfigRule14 {
    // The band-gap calibration bits (13:12 of word 1) are the factory's, never a sign of
    // programming: they count as 1.
    bool bandgapFromFactory = false;
    bool secondConfigWord = false;
};

// The rule of the generic check for the programming type's area command: the band-gap bits on
// "12F6", the second word with the two-word layout.
IdConfigRule14 idConfigRule14Of(const ConfigAreaCommand& command);

// The AND of the counted words, within 0x3FFF.
std::int32_t idConfigAnd14(const IdConfigWords14& words, IdConfigRule14 rule);

// The AND says erased: every bit 1, or exactly the implemented bits of configuration word 1 on
// parts whose unimplemented bits read 0.
bool idConfigAnd14Erased(std::int32_t andWord, std::int32_t configMask1);

// PIC18 configuration words 1..7 as a chip reads them (CONFIGkL + 256 x CONFIGkH).
using Pic18ConfigWords = std::array<std::int32_t, limits::ConfigWords + 1>;

// The generic PIC18 check: every word the part defines has all the bits of its mask set; the
// others do not matter.
bool pic18GenericConfigErased(const DeviceRecord& device, const Pic18ConfigWords& words);

} // namespace tavrin
