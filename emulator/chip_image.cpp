#include "emulator/chip_image.h"

#include <cstdio>

namespace emu {

namespace {

void putWord(ByteImage& image, std::uint32_t wordAddress, std::uint16_t value) {
    image[2 * wordAddress] = std::uint8_t(value & 0xFF);
    image[2 * wordAddress + 1] = std::uint8_t(value >> 8);
}

std::string hexAddress(std::uint32_t a) {
    char s[16];
    std::snprintf(s, sizeof s, "0x%06X", a);
    return s;
}

constexpr std::uint32_t kBaselineConfig = 0xFFF;
constexpr std::uint32_t kArea = 0x2000;
constexpr std::uint32_t kEeprom14 = 0x2100;
constexpr std::uint32_t kId18 = 0x200000;
constexpr std::uint32_t kConfig18 = 0x300000;
constexpr std::uint32_t kDeviceId18 = 0x3FFFFE;
constexpr std::uint32_t kEeprom18 = 0xF00000;

} // namespace

ByteImage chipImage(const Chip& chip) {
    ByteImage image;
    const PartFacts* p = chip.part();
    if (!p) return image;
    if (p->core == Core::Pic18) {
        for (std::uint32_t a = 0; a < chip.program18.size(); ++a)
            image[a] = chip.program18[a];
        for (std::uint32_t i = 0; i < chip.id18.size(); ++i)
            image[kId18 + i] = chip.id18[i];
        for (std::uint32_t i = 0; i < chip.config18.size(); ++i)
            image[kConfig18 + i] = (chip.config18[i] & p->config18Bits[i]) | p->config18ReadsOne[i];
        image[kDeviceId18] = std::uint8_t(chip.deviceIdWord() & 0xFF);
        image[kDeviceId18 + 1] = std::uint8_t(chip.deviceIdWord() >> 8);
        for (std::uint32_t i = 0; i < chip.eeprom.size(); ++i)
            image[kEeprom18 + i] = chip.eeprom[i];
        return image;
    }
    for (std::uint32_t a = 0; a < chip.program.size(); ++a)
        putWord(image, a, chip.program[a]);
    if (p->core == Core::Bit12) {
        for (std::uint32_t i = 0; i < 4; ++i)
            putWord(image, p->programWords + i, chip.ids[i]);
        putWord(image, kBaselineConfig, chip.readConfig(0));
        return image;
    }
    for (std::uint32_t i = 0; i < 4; ++i)
        putWord(image, kArea + i, chip.ids[i]);
    if (p->deviceId >= 0) putWord(image, kArea + 6, chip.deviceIdWord());
    putWord(image, kArea + 7, chip.readConfig(0));
    if (p->configBits[1])
        putWord(image, kArea + 8, chip.readConfig(1));
    else if (p->calibration == Calibration::Word2008)
        putWord(image, kArea + 8, chip.config[1] & p->cellMask);
    for (std::uint32_t i = 0; i < chip.eeprom.size(); ++i)
        putWord(image, kEeprom14 + i, chip.eeprom[i]);
    return image;
}

bool loadChipImage(Chip& chip, const ByteImage& image, std::string* error) {
    const PartFacts* p = chip.part();
    auto fail = [error](std::string why) {
        if (error) *error = std::move(why);
        return false;
    };
    if (!p) return image.empty() || fail("the socket is empty");
    if (p->core == Core::Pic18) {
        for (const auto& [a, b] : image) {
            if (a < chip.program18.size())
                chip.program18[a] = b;
            else if (a >= kId18 && a < kId18 + 8)
                chip.id18[a - kId18] = b;
            else if (a >= kConfig18 && a < kConfig18 + chip.config18.size())
                chip.config18[a - kConfig18] = b;
            else if (a >= kEeprom18 && a < kEeprom18 + chip.eeprom.size())
                chip.eeprom[a - kEeprom18] = b;
            else if (a != kDeviceId18 && a != kDeviceId18 + 1)
                return fail(std::string(p->name) + " has nothing at " + hexAddress(a));
        }
        return true;
    }
    // 12/14-bit: whole words; a word given by one byte keeps the other byte of the erased cell.
    ByteImage::const_iterator it = image.begin();
    while (it != image.end()) {
        const std::uint32_t word = it->first / 2;
        std::uint16_t value = erasedCell(*p);
        while (it != image.end() && it->first / 2 == word) {
            if (it->first % 2)
                value = std::uint16_t((value & 0x00FF) | (it->second << 8));
            else
                value = std::uint16_t((value & 0xFF00) | it->second);
            ++it;
        }
        const std::uint16_t cell = value & p->cellMask;
        if (word < p->programWords)
            chip.program[word] = cell;
        else if (p->core == Core::Bit12 && word >= p->programWords && word < p->programWords + 4)
            chip.ids[word - p->programWords] = cell;
        else if (p->core == Core::Bit12 && word == kBaselineConfig)
            chip.config[0] = value;
        else if (p->core == Core::Bit14 && word >= kArea && word < kArea + 4)
            chip.ids[word - kArea] = cell;
        else if (p->core == Core::Bit14 && word == kArea + 7)
            chip.config[0] = value;
        else if (p->core == Core::Bit14 && word == kArea + 8 &&
                 (p->configBits[1] || p->calibration == Calibration::Word2008))
            chip.config[1] = value;
        else if (p->core == Core::Bit14 && word >= kEeprom14 &&
                 word < kEeprom14 + chip.eeprom.size())
            chip.eeprom[word - kEeprom14] = std::uint8_t(value & 0xFF);
        else if (!(p->core == Core::Bit14 && word >= kArea + 4 && word <= kArea + 6))
            return fail(std::string(p->name) + " has nothing at word " + hexAddress(word));
    }
    return true;
}

} // namespace emu
