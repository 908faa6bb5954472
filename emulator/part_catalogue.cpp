#include "emulator/part_catalogue.h"

#include <algorithm>
#include <cctype>

namespace emu {

namespace {

constexpr std::array<EraseCode, 3> kNoErase{};

// The usual flash profile: chip erase (everything, protection released), program memory erase
// and data EEPROM erase.
constexpr std::array<EraseCode, 3> flashCodes(int chip, int program, int eeprom) {
    return {{{chip, ErasesProgram | ErasesConfig | ErasesEeprom},
             {program, ErasesProgram},
             {eeprom, ErasesEeprom}}};
}

// 12-bit OTP parts (16C5x, 12C5xx). CP is bit 3 on all of them.
constexpr PartFacts baseline(std::string_view name, std::string_view type, std::uint32_t words,
                             std::uint16_t configBits, Calibration cal) {
    return {.name = name,
            .programType = type,
            .core = Core::Bit12,
            .cells = Cells::Otp,
            .programWords = words,
            .eepromBytes = 0,
            .cellMask = 0x0FFF,
            .configBits = {configBits, 0},
            .configReadsOne = {std::uint16_t(0x0FFF & ~configBits), 0},
            .protectBits = 0x0008,
            .dataProtectBits = 0,
            .deviceId = -1,
            .revision = 0,
            .calibration = cal,
            .factoryCalibration = 0x0C5A,
            .factoryBandgap = -1,
            .eraseLetter = 0,
            .eraseCodes = kNoErase,
            .config18Bits = {},
            .config18ReadsOne = {},
            .protectBlocks = 0};
}

struct Mid {
    std::string_view name;
    std::string_view type;
    Cells cells;
    std::uint32_t words;
    std::uint32_t eeprom;
    std::uint16_t config;
    std::uint16_t readsOne;
    std::uint16_t protect;
    std::uint16_t dataProtect;
    std::int32_t deviceId;
    char eraseLetter = 0;
    std::array<EraseCode, 3> erase = kNoErase;
    Calibration cal = Calibration::None;
    std::uint16_t cellMask = 0x3FFF;
    std::uint16_t config2 = 0;
    std::uint16_t config2ReadsOne = 0;
    std::int8_t bandgap = -1;
};

// 14-bit parts.
constexpr PartFacts midrange(const Mid& m) {
    return {.name = m.name,
            .programType = m.type,
            .core = Core::Bit14,
            .cells = m.cells,
            .programWords = m.words,
            .eepromBytes = m.eeprom,
            .cellMask = m.cellMask,
            .configBits = {m.config, m.config2},
            .configReadsOne = {m.readsOne, m.config2ReadsOne},
            .protectBits = m.protect,
            .dataProtectBits = m.dataProtect,
            .deviceId = m.deviceId,
            .revision = 3,
            .calibration = m.cal,
            .factoryCalibration = std::uint16_t(m.cal == Calibration::Word2008 ? 0x1A2B : 0x3480),
            .factoryBandgap = m.bandgap,
            .eraseLetter = m.eraseLetter,
            .eraseCodes = m.erase,
            .config18Bits = {},
            .config18ReadsOne = {},
            .protectBlocks = 0};
}

constexpr std::array<std::uint8_t, 14> kConfig18xx2 = {0x00, 0x27, 0x0F, 0x0F, 0x00, 0x01, 0x85,
                                                       0x00, 0x0F, 0xC0, 0x0F, 0xE0, 0x0F, 0x40};
constexpr std::array<std::uint8_t, 14> kConfig18x42 = {0x00, 0x27, 0x0F, 0x0F, 0x00, 0x01, 0x85,
                                                       0x00, 0x03, 0xC0, 0x03, 0xE0, 0x03, 0x40};
// CONFIG5L/6L/7L bits 3:2 of the 16K-byte parts are not implemented but read 1 ("maintain this
// bit set"), as the larger parts' erased protection bits do.
constexpr std::array<std::uint8_t, 14> kReadsOne18x42 = {0, 0,    0, 0,    0, 0,    0,
                                                         0, 0x0C, 0, 0x0C, 0, 0x0C, 0};
constexpr std::array<std::uint8_t, 14> kReadsOneNone = {};
// The CAN parts (18Fxx8) have no CCP2 multiplexer bit in CONFIG3H.
constexpr std::array<std::uint8_t, 14> kConfig18xx8 = {0x00, 0x27, 0x0F, 0x0F, 0x00, 0x00, 0x85,
                                                       0x00, 0x0F, 0xC0, 0x0F, 0xE0, 0x0F, 0x40};
constexpr std::array<std::uint8_t, 14> kConfig18x48 = {0x00, 0x27, 0x0F, 0x0F, 0x00, 0x00, 0x85,
                                                       0x00, 0x03, 0xC0, 0x03, 0xE0, 0x03, 0x40};
constexpr std::array<std::uint8_t, 14> kConfig18F8720 = {0x00, 0x27, 0x0F, 0x0F, 0x83, 0x01, 0x85,
                                                         0x00, 0xFF, 0xC0, 0xFF, 0xE0, 0xFF, 0x40};
// CONFIG3H bit 1 of the PIC18F8720 is not implemented but reads 1 on an erased part.
constexpr std::array<std::uint8_t, 14> kReadsOne18F8720 = {0, 0, 0, 0, 0, 0x02, 0,
                                                           0, 0, 0, 0, 0, 0,    0};

constexpr PartFacts pic18(std::string_view name, std::string_view type, std::uint32_t words,
                          std::uint32_t eeprom, std::int32_t deviceId,
                          const std::array<std::uint8_t, 14>& config, int blocks,
                          const std::array<std::uint8_t, 14>& readsOne = kReadsOneNone,
                          Pic18Procedures procedures = Pic18Procedures::Generic) {
    return {.name = name,
            .programType = type,
            .core = Core::Pic18,
            .cells = Cells::Flash,
            .programWords = words,
            .eepromBytes = eeprom,
            .cellMask = 0xFFFF,
            .configBits = {},
            .configReadsOne = {},
            .protectBits = 0,
            .dataProtectBits = 0,
            .deviceId = deviceId,
            .revision = 3,
            .calibration = Calibration::None,
            .factoryCalibration = 0,
            .factoryBandgap = -1,
            .eraseLetter = 'd',
            .eraseCodes = kNoErase,
            .config18Bits = config,
            .config18ReadsOne = readsOne,
            .protectBlocks = blocks,
            .pic18Procedures = procedures};
}

constexpr auto kFlash = Cells::Flash;
constexpr auto kOtp = Cells::Otp;
constexpr auto kRetlw = Calibration::LastWordRetlw;
constexpr auto kMovlw = Calibration::LastWordMovlw;

// Configuration word layouts shared by families (implemented bits, unimplemented bits read as 1,
// CP bits, CPD bits).
constexpr Mid f87x(std::string_view n, std::uint32_t w, std::uint32_t e, std::int32_t id) {
    return {n,      "FLASH0", kFlash, w,  e,   0x3BFF,
            0x0400, 0x3030,   0x0100, id, 'd', flashCodes(1, 2, 3)};
}
constexpr Mid f87xa(std::string_view n, std::uint32_t w, std::uint32_t e, std::int32_t id) {
    return {n,      "FLASH8", kFlash, w,  e,   0x2FCF,
            0x1030, 0x2000,   0x0100, id, 'd', flashCodes(10, 11, 12)};
}
constexpr Mid f62x(std::string_view n, std::uint32_t w, std::int32_t id) {
    return {n,      "FLASH0", kFlash, w,  128, 0x3DFF,
            0x0200, 0x3C00,   0x0100, id, 'd', flashCodes(4, 5, 6)};
}
constexpr Mid f62xa(std::string_view n, std::uint32_t w, std::uint32_t e, std::int32_t id) {
    return {n,      "FLASH1", kFlash, w,  e,   0x21FF,
            0x1E00, 0x2000,   0x0100, id, 'd', flashCodes(7, 8, 9)};
}
constexpr Mid f629(std::string_view n, std::int32_t id) {
    return {.name = n,
            .type = "12F6",
            .cells = kFlash,
            .words = 1024,
            .eeprom = 128,
            .config = 0x31FF,
            .readsOne = 0x0000,
            .protect = 0x0080,
            .dataProtect = 0x0100,
            .deviceId = id,
            .eraseLetter = 'd',
            .erase = flashCodes(7, 8, 9),
            .cal = kRetlw,
            .bandgap = 2};
}
constexpr Mid f7x(std::string_view n, std::uint32_t w, std::int32_t id) {
    return {n,      "FLASH2", kFlash, w,  0,   0x005F,
            0x3FA0, 0x0010,   0x0000, id, 'd', {{{8, ErasesProgram | ErasesConfig}, {}, {}}}};
}
constexpr Mid f81x(std::string_view n, std::uint32_t w, std::uint32_t e, std::int32_t id) {
    return {n,      "FLASH4", kFlash, w,  e,   0x3FFF,
            0x0000, 0x2000,   0x0100, id, 'd', flashCodes(10, 11, 12)};
}
constexpr Mid f8x(std::string_view n, std::int32_t id) {
    return {.name = n,
            .type = "FLASH4.9",
            .cells = kFlash,
            .words = 4096,
            .eeprom = 256,
            .config = 0x3FFF,
            .readsOne = 0x0000,
            .protect = 0x2000,
            .dataProtect = 0x0100,
            .deviceId = id,
            .eraseLetter = 'd',
            .erase = flashCodes(10, 11, 12),
            .config2 = 0x0003,
            .config2ReadsOne = 0x3FFC};
}
// 16C6x/7x and 16C62xA EPROM parts: CP1:CP0 repeated in 13:12, 11:10, 9:8, 5:4; bit 7 unused.
constexpr Mid c6x(std::string_view n, std::uint32_t w, std::int32_t id) {
    return {n, "EPROM", kOtp, w, 0, 0x3F7F, 0x0080, 0x3F30, 0x0000, id};
}
constexpr Mid c55x(std::string_view n, std::uint32_t w) {
    return {n, "EPROM", kOtp, w, 0, 0x3F3F, 0x00C0, 0x3F30, 0x0000, -1};
}
constexpr Mid c67x(std::string_view n, std::uint32_t w, std::int32_t id) {
    return {.name = n,
            .type = "12C6",
            .cells = kOtp,
            .words = w,
            .eeprom = 0,
            .config = 0x3FFF,
            .readsOne = 0x0000,
            .protect = 0x3F60,
            .dataProtect = 0x0000,
            .deviceId = id,
            .cal = kRetlw};
}

constexpr PartFacts withType(PartFacts p, std::string_view name, std::string_view type,
                             char eraseLetter, std::array<EraseCode, 3> codes) {
    p.name = name;
    p.programType = type;
    p.eraseLetter = eraseLetter;
    p.eraseCodes = codes;
    return p;
}

const PartFacts kParts[] = {
    // 12-bit, 18-pin and 28-pin 16C5x (types 5X18, 5X28)
    baseline("PIC16C54", "5X18", 512, 0x000F, Calibration::None),
    baseline("PIC16C56", "5X18", 1024, 0x000F, Calibration::None),
    baseline("PIC16C55", "5X28", 512, 0x000F, Calibration::None),
    baseline("PIC16C57", "5X28", 2048, 0x000F, Calibration::None),
    // 12-bit 12C5xx with the MOVLW calibration word (type 12C5)
    baseline("PIC12C508", "12C5", 512, 0x001F, kMovlw),
    baseline("PIC12C508A", "12C5", 512, 0x001F, kMovlw),
    baseline("PIC12C509", "12C5", 1024, 0x001F, kMovlw),
    baseline("PIC12C509A", "12C5", 1024, 0x001F, kMovlw),
    baseline("PIC12CE518", "12C5", 512, 0x001F, kMovlw),
    baseline("PIC12CE519", "12C5", 1024, 0x001F, kMovlw),
    // 14-bit OTP with the RETLW calibration word (type 12C6)
    midrange(c67x("PIC12C672", 2048, 41 << 5)),
    midrange(c67x("PIC12CE674", 2048, 47 << 5)),
    // 14-bit flash with RETLW calibration and band-gap bits (type 12F6)
    midrange(f629("PIC12F629", 124 << 5)),
    midrange(f629("PIC12F675", 126 << 5)),
    midrange(f629("PIC16F630", 134 << 5)),
    midrange(f629("PIC16F676", 135 << 5)),
    // 14-bit EPROM (type EPROM)
    midrange(c6x("PIC16C620A", 512, 36 << 5)),
    midrange(c6x("PIC16C621A", 1024, 37 << 5)),
    midrange(c6x("PIC16C622A", 2048, 39 << 5)),
    midrange(c6x("PIC16C63A", 4096, 12 << 5)),
    midrange(c6x("PIC16C65B", 4096, 14 << 5)),
    midrange(c6x("PIC16C73B", 4096, 13 << 5)),
    midrange(c6x("PIC16C76", 8192, 29 << 5)),
    midrange(c6x("PIC16C77", 8192, 31 << 5)),
    midrange(c6x("PIC16C67", 8192, 30 << 5)),
    midrange(c55x("PIC16C554", 512)),
    midrange(c55x("PIC16C558", 2048)),
    // 14-bit EPROM whose cells carry two parity bits (type EPROM2)
    midrange({.name = "PIC16C715",
              .type = "EPROM2",
              .cells = kOtp,
              .words = 2048,
              .eeprom = 0,
              .config = 0xFFFF,
              .readsOne = 0x0000,
              .protect = 0x3F30,
              .dataProtect = 0,
              .deviceId = -1,
              .cellMask = 0xFFFF}),
    // 14-bit flash, first generation (type FLASH0)
    midrange({"PIC16C84", "FLASH0", kFlash, 1024, 64, 0x001F, 0x3FE0, 0x0010, 0, -1, 'd',
              flashCodes(1, 2, 3)}),
    midrange({"PIC16F83", "FLASH0", kFlash, 512, 64, 0x3FFF, 0, 0x3FF0, 0, -1, 'd',
              flashCodes(1, 2, 3)}),
    midrange({"PIC16F84", "FLASH0", kFlash, 1024, 64, 0x3FFF, 0, 0x3FF0, 0, -1, 'd',
              flashCodes(1, 2, 3)}),
    midrange({"PIC16F84A", "FLASH0", kFlash, 1024, 64, 0x3FFF, 0, 0x3FF0, 0, 43 << 5, 'd',
              flashCodes(4, 5, 6)}),
    midrange(f62x("PIC16F627", 1024, 61 << 5)),
    midrange(f62x("PIC16F628", 2048, 62 << 5)),
    midrange(f87x("PIC16F870", 2048, 64, 104 << 5)),
    midrange(f87x("PIC16F871", 2048, 64, 105 << 5)),
    midrange(f87x("PIC16F872", 2048, 64, 71 << 5)),
    midrange(f87x("PIC16F873", 4096, 128, 75 << 5)),
    midrange(f87x("PIC16F874", 4096, 128, 73 << 5)),
    midrange(f87x("PIC16F876", 8192, 256, 79 << 5)),
    midrange(f87x("PIC16F877", 8192, 256, 77 << 5)),
    // 14-bit flash (type FLASH1)
    midrange(f62xa("PIC16F627A", 1024, 128, 130 << 5)),
    midrange(f62xa("PIC16F628A", 2048, 128, 131 << 5)),
    midrange(f62xa("PIC16F648A", 4096, 256, 136 << 5)),
    // 14-bit flash without data EEPROM (type FLASH2)
    midrange(f7x("PIC16F73", 4096, 0x0600)),
    midrange(f7x("PIC16F74", 4096, 0x0620)),
    midrange(f7x("PIC16F76", 8192, 0x0640)),
    midrange(f7x("PIC16F77", 8192, 0x0660)),
    // 14-bit flash (type FLASH4) and with a second configuration word (type FLASH4.9)
    midrange(f81x("PIC16F818", 1024, 128, 38 << 5)),
    midrange(f81x("PIC16F819", 2048, 256, 39 << 5)),
    midrange(f8x("PIC16F87", 57 << 5)),
    midrange(f8x("PIC16F88", 59 << 5)),
    // 14-bit flash (type FLASH8)
    midrange(f87xa("PIC16F873A", 4096, 128, 114 << 5)),
    midrange(f87xa("PIC16F874A", 4096, 128, 115 << 5)),
    midrange(f87xa("PIC16F876A", 8192, 256, 112 << 5)),
    midrange(f87xa("PIC16F877A", 8192, 256, 113 << 5)),
    // The board's own module parts: a PIC16F877 (type WRT400) and a PIC16F877A (WRT400A), erased
    // with "D" instead of "d", one area per code: the protection release of the PIC16F877 module
    // clears program memory with the configuration, that of the PIC16F877A module only the
    // configuration and IDs (its program memory has a code of its own).
    withType(midrange(f87x("", 8192, 256, 77 << 5)), "QZ-WRT400", "WRT400", 'D',
             {{{1, ErasesProgram | ErasesConfig | ReleasesProtection},
               {2, ErasesProgram},
               {3, ErasesEeprom}}}),
    withType(midrange(f87xa("", 8192, 256, 113 << 5)), "QZ-WRT400A", "WRT400A", 'D',
             {{{10, ErasesConfig | ReleasesProtection}, {11, ErasesProgram}, {12, ErasesEeprom}}}),
    // PIC12F683: calibration word at 0x2008, program and configuration erased together.
    midrange({.name = "PIC12F683",
              .type = "",
              .cells = kFlash,
              .words = 2048,
              .eeprom = 256,
              .config = 0x0FFF,
              .readsOne = 0x3000,
              .protect = 0x0040,
              .dataProtect = 0x0080,
              .deviceId = 35 << 5,
              .eraseLetter = 'd',
              .erase = {{{0x0E, ErasesProgram | ErasesConfig}, {0x0F, ErasesEeprom}, {}}},
              .cal = Calibration::Word2008}),
    // PIC18 (type 18F_00, and the module-only 18F_01); the PIC18F252, PIC18F452 and PIC18F8720
    // have device modules of their own
    pic18("PIC18F242", "18F_00", 8192, 256, 0x0480, kConfig18x42, 2, kReadsOne18x42),
    pic18("PIC18F252", "18F_00", 16384, 256, 0x0400, kConfig18xx2, 4, kReadsOneNone,
          Pic18Procedures::ModulePanels),
    pic18("PIC18F442", "18F_00", 8192, 256, 0x04A0, kConfig18x42, 2, kReadsOne18x42),
    pic18("PIC18F452", "18F_00", 16384, 256, 0x0420, kConfig18xx2, 4, kReadsOneNone,
          Pic18Procedures::ModulePanels),
    pic18("PIC18F248", "18F_00", 8192, 256, 0x0800, kConfig18x48, 2, kReadsOne18x42),
    pic18("PIC18F258", "18F_00", 16384, 256, 0x0840, kConfig18xx8, 4),
    pic18("PIC18F448", "18F_00", 8192, 256, 0x0820, kConfig18x48, 2, kReadsOne18x42),
    pic18("PIC18F458", "18F_00", 16384, 256, 0x0860, kConfig18xx8, 4),
    pic18("PIC18F8720", "18F_01", 65536, 1024, 0x0600, kConfig18F8720, 8, kReadsOne18F8720,
          Pic18Procedures::ModuleWholeMemory),
};

bool sameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) ==
                      std::toupper(static_cast<unsigned char>(y));
           });
}

} // namespace

std::span<const PartFacts> partCatalogue() {
    return kParts;
}

const PartFacts* findPart(std::string_view name) {
    for (const auto& p : kParts)
        if (sameName(p.name, name)) return &p;
    return nullptr;
}

} // namespace emu
