#include "emulator/chip.h"

#include <algorithm>

namespace emu {

namespace {
constexpr std::uint32_t kReservedFirst = 4; // 0x2004, 0x2005: reserved, read as erased cells
constexpr std::uint32_t kDeviceIdIndex = 6; // 0x2006
constexpr std::uint32_t kConfig1Index = 7;  // 0x2007
constexpr std::uint32_t kConfig2Index = 8;  // 0x2008
constexpr std::uint32_t kAreaWords = 16;    // 0x2000..0x200F
constexpr std::uint32_t kBootBlockBytes = 0x200;
constexpr std::uint32_t kPanelBytes = 8192;
} // namespace

Chip::Chip(const PartFacts* part) : part_(part) {
    if (!part_) return;
    const auto erased = erasedCell(*part_);
    if (part_->core == Core::Pic18) {
        program18.assign(std::size_t(part_->programWords) * 2, 0xFF);
        id18.fill(0xFF);
        for (std::size_t i = 0; i < config18.size(); ++i)
            config18[i] = part_->config18Bits[i];
        eeprom.assign(part_->eepromBytes, 0xFF);
        return;
    }
    program.assign(part_->programWords, erased);
    ids.fill(erased);
    config = {0xFFFF, 0xFFFF};
    eeprom.assign(part_->eepromBytes, 0xFF);
    if (part_->calibration == Calibration::LastWordMovlw ||
        part_->calibration == Calibration::LastWordRetlw)
        program.back() = part_->factoryCalibration;
    if (part_->calibration == Calibration::Word2008) config[1] = part_->factoryCalibration;
    if (part_->factoryBandgap >= 0)
        config[0] = std::uint16_t((config[0] & ~0x3000) | (part_->factoryBandgap << 12));
}

std::uint16_t Chip::readConfig(int k) const {
    if (!part_ || part_->core == Core::Pic18) return 0;
    return std::uint16_t((config[k] & part_->configBits[k]) | part_->configReadsOne[k]);
}

bool Chip::programProtected() const {
    if (!part_) return false;
    if (part_->core == Core::Pic18) return false; // per block, see block18Protected
    const auto p = part_->protectBits;
    return (readConfig(0) & p) != p;
}

bool Chip::dataProtected() const {
    if (!part_) return false;
    if (part_->core == Core::Pic18) return !(readByte18(0x300009) & 0x80);
    const auto p = part_->dataProtectBits;
    return p && (readConfig(0) & p) != p;
}

CellWrite Chip::programCell(std::uint16_t& cell, std::uint16_t value, bool hidden) {
    const std::uint16_t wanted = value & part_->cellMask;
    if (part_->cells == Cells::Otp) {
        // An erased word asks nothing of an OTP cell: the board leaves it alone (this is how blank
        // space and an intact calibration word pass when a chip is programmed a second time).
        if (wanted == part_->cellMask) return {true, hidden ? std::uint16_t(0) : cell};
        cell &= wanted;
    } else {
        cell = wanted;
    }
    const std::uint16_t read = hidden ? 0 : cell;
    return {read == wanted, read};
}

// --- 12-bit and 14-bit ----------------------------------------------------------------------

std::uint32_t Chip::sequenceLength() const {
    if (!part_ || part_->core == Core::Pic18) return 0;
    return part_->core == Core::Bit12 ? part_->programWords + 5 : part_->programWords;
}

std::uint16_t Chip::readSequence(std::uint32_t index) const {
    if (!part_ || part_->core == Core::Pic18) return 0;
    const std::uint32_t words = part_->programWords;
    if (part_->core == Core::Bit14) return index < words ? readProgramWord(index) : 0;
    if (index == 0) return readConfig(0);
    if (index <= words) return readProgramWord(index - 1);
    if (index <= words + 4) return ids[index - words - 1];
    return 0;
}

CellWrite Chip::writeSequence(std::uint32_t index, std::uint16_t value) {
    if (!part_ || part_->core == Core::Pic18) return {};
    const std::uint32_t words = part_->programWords;
    if (part_->core == Core::Bit14) return writeProgramWord(index, value);
    if (index == 0) return writeConfigWord(0, value);
    if (index <= words) return writeProgramWord(index - 1, value);
    if (index <= words + 4) return programCell(ids[index - words - 1], value, false);
    return {};
}

std::uint32_t Chip::areaLength() const {
    if (!part_ || part_->core == Core::Pic18) return 0;
    return part_->core == Core::Bit12 ? sequenceLength() : kAreaWords;
}

std::uint16_t Chip::readArea(std::uint32_t index) const {
    if (!part_ || part_->core == Core::Pic18) return 0;
    if (part_->core == Core::Bit12) return readSequence(index);
    const auto erased = erasedCellValue();
    if (index < kReservedFirst) return ids[index];
    if (index == kDeviceIdIndex) return part_->deviceId < 0 ? erased : deviceIdWord();
    if (index == kConfig1Index) return readConfig(0);
    if (index == kConfig2Index) {
        if (part_->configBits[1]) return readConfig(1);
        if (part_->calibration == Calibration::Word2008) return config[1] & part_->cellMask;
        return erased;
    }
    return index < kAreaWords ? erased : 0;
}

CellWrite Chip::writeConfigWord(int k, std::uint16_t value) {
    const std::uint16_t bits = part_->configBits[k];
    std::uint16_t& cell = config[k];
    if (part_->cells == Cells::Otp || part_->core == Core::Bit12) {
        cell &= value;
    } else {
        // Protection bits can be set by a write but only a chip erase releases them.
        const std::uint16_t sticky = k == 0 ? part_->protectBits | part_->dataProtectBits : 0;
        cell = std::uint16_t((value & ~sticky) | (cell & value & sticky));
    }
    const std::uint16_t read = readConfig(k);
    // A 12-bit board compares the whole word it reads back (unimplemented bits included).
    const bool ok = part_->core == Core::Bit12 ? read == (value & part_->cellMask)
                                               : ((read ^ value) & bits) == 0;
    return {ok, read};
}

CellWrite Chip::writeArea(std::uint32_t index, std::uint16_t value) {
    if (!part_ || part_->core == Core::Pic18) return {};
    if (part_->core == Core::Bit12) return writeSequence(index, value);
    if (index < kReservedFirst) return programCell(ids[index], value, false);
    if (index == kConfig1Index) return writeConfigWord(0, value);
    if (index == kConfig2Index && part_->configBits[1]) return writeConfigWord(1, value);
    if (index == kConfig2Index && part_->calibration == Calibration::Word2008)
        return programCell(config[1], value, false);
    // Reserved words and the device ID cannot be programmed; the chip ignores them.
    if (index < kAreaWords) return {true, readArea(index)};
    return {};
}

std::uint16_t Chip::readProgramWord(std::uint32_t address) const {
    if (!part_ || part_->core == Core::Pic18 || address >= program.size()) return 0;
    return programProtected() ? 0 : program[address];
}

CellWrite Chip::writeProgramWord(std::uint32_t address, std::uint16_t value) {
    if (!part_ || part_->core == Core::Pic18 || address >= program.size()) return {};
    return programCell(program[address], value, programProtected());
}

std::uint8_t Chip::readEeprom(std::uint32_t index) const {
    if (!part_ || part_->core == Core::Pic18 || index >= eeprom.size()) return 0;
    return dataProtected() ? 0 : eeprom[index];
}

CellWrite Chip::writeEeprom(std::uint32_t index, std::uint8_t value) {
    if (!part_ || index >= eeprom.size()) return {};
    eeprom[index] = value;
    const std::uint8_t read =
        part_->core == Core::Pic18 ? readByte18(0xF00000 + index) : readEeprom(index);
    return {read == value, read};
}

bool Chip::erase(char letter, int code) {
    if (!part_) return true; // the board cannot tell that nothing answers
    if (part_->core != Core::Bit14 || letter != part_->eraseLetter) return false;
    const auto entry = std::find_if(part_->eraseCodes.begin(), part_->eraseCodes.end(),
                                    [code](const EraseCode& e) { return e.code == code; });
    if (entry == part_->eraseCodes.end() || code < 0) return false;
    const auto erased = erasedCellValue();
    unsigned areas = entry->areas;
    // Data protection is never released with the protected data still in the chip: an erase
    // that clears the configuration word of a data-protected chip clears its EEPROM too.
    if ((areas & ErasesConfig) && dataProtected()) areas |= ErasesEeprom;
    // Nor code protection: releasing it alone clears the program memory it hid.
    if ((areas & ReleasesProtection) && programProtected()) areas |= ErasesProgram;
    if (areas & ErasesProgram) std::fill(program.begin(), program.end(), erased);
    if (areas & ErasesConfig) {
        ids.fill(erased);
        config[0] = 0xFFFF;
        if (part_->calibration != Calibration::Word2008) config[1] = 0xFFFF;
    }
    if (areas & ErasesEeprom) std::fill(eeprom.begin(), eeprom.end(), 0xFF);
    return true;
}

std::uint16_t Chip::deviceIdWord() const {
    if (!part_ || part_->deviceId < 0) return 0;
    return std::uint16_t(part_->deviceId | part_->revision);
}

// --- PIC18 -------------------------------------------------------------------------------------

std::uint32_t Chip::panels18() const {
    if (!is(Core::Pic18)) return 0;
    return std::uint32_t((program18.size() + kPanelBytes - 1) / kPanelBytes);
}

std::uint32_t Chip::regionEnd18(std::uint32_t address) const {
    if (!is(Core::Pic18)) return 0;
    const auto eepromEnd = 0xF00000 + std::uint32_t(eeprom.size());
    if (address < program18.size()) return std::uint32_t(program18.size());
    if (address >= 0x200000 && address < 0x200000 + id18.size()) return 0x200000 + id18.size();
    if (address >= 0x300000 && address < 0x400000) return 0x400000;
    if (address >= 0xF00000 && address < eepromEnd) return eepromEnd;
    return 0;
}

bool Chip::block18Protected(std::uint32_t address) const {
    const std::uint8_t cp5l = readByte18(0x300008);
    const std::uint8_t cp5h = readByte18(0x300009);
    if (address < kBootBlockBytes) return !(cp5h & 0x40);
    const std::uint32_t blockBytes = std::uint32_t(program18.size()) / part_->protectBlocks;
    const std::uint32_t block = address / blockBytes;
    return !(cp5l & (1u << block));
}

std::uint8_t Chip::readByte18(std::uint32_t address) const {
    if (!is(Core::Pic18)) return 0;
    if (address < program18.size()) return block18Protected(address) ? 0 : program18[address];
    if (address >= 0x200000 && address < 0x200008) return id18[address - 0x200000];
    if (address >= 0x300000 && address < 0x300000 + config18.size())
        return (config18[address - 0x300000] & part_->config18Bits[address - 0x300000]) |
               part_->config18ReadsOne[address - 0x300000];
    if (address == 0x3FFFFE) return std::uint8_t(deviceIdWord() & 0xFF);
    if (address == 0x3FFFFF) return std::uint8_t(deviceIdWord() >> 8);
    if (address >= 0xF00000 && address < 0xF00000 + eeprom.size())
        return dataProtected() ? 0 : eeprom[address - 0xF00000];
    return 0;
}

CellWrite Chip::writeProgram18(std::uint32_t address, std::uint8_t value) {
    if (!is(Core::Pic18) || address >= program18.size()) return {};
    // Flash cells: a write only clears bits (erase sets them), and an erased byte asks nothing.
    if (value == 0xFF) return {true, readByte18(address)};
    program18[address] &= value;
    const std::uint8_t read = readByte18(address);
    return {read == value, read};
}

CellWrite Chip::writeId18(std::uint32_t index, std::uint8_t value) {
    if (!is(Core::Pic18) || index >= id18.size()) return {};
    if (value == 0xFF) return {true, id18[index]};
    id18[index] &= value;
    return {id18[index] == value, id18[index]};
}

CellWrite Chip::writeConfig18(std::uint32_t index, std::uint8_t value) {
    if (!is(Core::Pic18)) return {};
    if (index >= config18.size()) return {true, 0}; // nothing there to program
    // CONFIG5L/H hold only protection bits: a write can set protection, the chip erase releases it.
    const bool sticky = index == 8 || index == 9;
    config18[index] = sticky ? config18[index] & value : value;
    const std::uint8_t bits = part_->config18Bits[index];
    const std::uint8_t read = (config18[index] & bits) | part_->config18ReadsOne[index];
    return {((read ^ value) & bits) == 0, read};
}

bool Chip::erase18(int code) {
    if (!part_) return true;
    if (part_->core != Core::Pic18) return false;
    const std::uint32_t blockBytes = std::uint32_t(program18.size()) / part_->protectBlocks;
    auto clear = [this](std::uint32_t from, std::uint32_t to) {
        std::fill(program18.begin() + from, program18.begin() + to, 0xFF);
    };
    if (code == 0x80) {
        std::fill(program18.begin(), program18.end(), 0xFF);
        id18.fill(0xFF);
        config18 = part_->config18Bits;
        std::fill(eeprom.begin(), eeprom.end(), 0xFF);
        return true;
    }
    if (code == 0x81) {
        // Like a protected block, protected data is released only by the chip erase.
        if (dataProtected()) return false;
        std::fill(eeprom.begin(), eeprom.end(), 0xFF);
        return true;
    }
    if (code == 0x83) {
        if (block18Protected(0)) return false;
        clear(0, kBootBlockBytes);
        return true;
    }
    const int block = code - 0x88; // block 1 = code 0x88
    if (block >= 0 && block < part_->protectBlocks) {
        const std::uint32_t from = std::max(kBootBlockBytes, std::uint32_t(block) * blockBytes);
        const std::uint32_t to = std::uint32_t(block + 1) * blockBytes;
        if (block18Protected(from)) return false;
        clear(from, to);
        return true;
    }
    return false;
}

} // namespace emu
