// The emulator's own catalogue of part facts: what the chip in the socket is. Sizes and
// configuration masks follow the public datasheets (gputils' `gpasm -s -p<part>` agrees on sizes
// and option masks); device IDs follow the parts' programming datasheets. The host reads its part
// knowledge from its device file; this table is independent of it on purpose, so that a
// disagreement shows up as a failing operation instead of being copied into both ends.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace emu {

enum class Core { Bit12, Bit14, Pic18 };

// OTP and UV-EPROM cells only clear bits and no board command erases them; flash erases to ones.
enum class Cells { Otp, Flash };

enum class Calibration {
    None,
    LastWordMovlw, // 12-bit parts: MOVLW k (0x0Ckk) in the last program word, factory programmed
    LastWordRetlw, // 14-bit parts: RETLW k (0x34kk) in the last program word, factory programmed
    Word2008,      // a calibration word at 0x2008 that survives the chip erase
};

// Areas an erase code clears.
// ReleasesProtection: also clears what protection hides, so that releasing it gives nothing away:
// program memory while it is code protected, data EEPROM while it is data protected.
enum EraseArea : unsigned {
    ErasesProgram = 1,
    ErasesConfig = 2,
    ErasesEeprom = 4,
    ReleasesProtection = 8,
};

// PIC18: the host's procedures for the part. The generic ones read IDs, configuration and device
// ID with "X r s p"; a part with a device module of its own has them read with "X r s c", and its
// program memory panel by panel or, on the largest part, the whole memory in one request.
enum class Pic18Procedures { Generic, ModulePanels, ModuleWholeMemory };

struct EraseCode {
    int code = -1; // -1: no such entry
    unsigned areas = 0;
};

struct PartFacts {
    std::string_view name;
    // The programming-type keyword this part belongs to in the host's device file ("" for parts
    // served only by a device module of their own).
    std::string_view programType;
    Core core;
    Cells cells;
    std::uint32_t programWords;
    std::uint32_t eepromBytes;
    // Width of a program, ID and configuration cell (0x0FFF, 0x3FFF; 0xFFFF for the parts whose
    // words carry two parity bits).
    std::uint16_t cellMask;

    // 12/14-bit configuration: implemented bits of word 1 (0x2007, or the 12-bit configuration
    // word) and of word 2 (0x2008; 0 = the part has none), and the unimplemented bits that read
    // as 1 (the others read as 0).
    std::array<std::uint16_t, 2> configBits;
    std::array<std::uint16_t, 2> configReadsOne;
    std::uint16_t protectBits;     // code protection of program memory: active when any bit is 0
    std::uint16_t dataProtectBits; // code protection of data EEPROM

    // 14-bit: the DEVICE ID word at 0x2006 without its revision bits (-1: the part has none and
    // the word reads as an erased cell). PIC18: the 16-bit device ID without revision.
    std::int32_t deviceId;
    std::uint8_t revision;

    Calibration calibration;
    std::uint16_t factoryCalibration;
    std::int8_t factoryBandgap; // bits 13:12 of the configuration word; -1: none

    // Bulk erase: the letter after "b" and the codes this part's profile knows.
    char eraseLetter;
    std::array<EraseCode, 3> eraseCodes;

    // PIC18: implemented bits of the configuration bytes 0x300000..0x30000D (unimplemented bits
    // and bytes read 0) and the number of code-protect blocks after the boot block.
    std::array<std::uint8_t, 14> config18Bits;
    // PIC18: unimplemented bits that read 1 all the same (the smaller parts' spare protection
    // bits).
    std::array<std::uint8_t, 14> config18ReadsOne;
    int protectBlocks;
    Pic18Procedures pic18Procedures = Pic18Procedures::Generic;
};

// Every part of the catalogue, in table order.
std::span<const PartFacts> partCatalogue();

// The part of that name (case-insensitive), or nullptr.
const PartFacts* findPart(std::string_view name);

// The board's own plug-in module parts sit in a slot of their own, not in the socket.
inline bool isBoardModule(const PartFacts& p) {
    return p.programType.substr(0, 6) == "WRT400";
}

// Erased value of a cell: 0x0FFF, 0x3FFF or 0xFFFF (PIC18: 0xFF per byte).
inline std::uint16_t erasedCell(const PartFacts& p) {
    return p.core == Core::Pic18 ? 0xFF : p.cellMask;
}

} // namespace emu
