#include "buffer_fills.h"

#include "program_type.h"
#include "session.h"
#include "utilities.h"

#include <algorithm>

namespace tavrin {

namespace {

// Word count clamped to the image, so a wrong size can never write past it.
std::size_t programBytes(const Session& s) {
    const auto words =
        std::clamp<std::int64_t>(s.device.ProgramWordCount, 0, limits::MaxProgramWords);
    return std::size_t(words) * 2;
}

void fillProgram(Session& s, bool erased) {
    const QString& type = s.device.ProgramType;
    std::uint8_t hi, lo;
    switch (coreGroupOf(type)) {
    case CoreGroup::Bit12:
        hi = erased ? 0x0F : 0x00, lo = erased ? 0xFF : 0x00;
        break;
    case CoreGroup::Bit14:
        hi = erased ? 0x3F : 0x00, lo = erased ? 0xFF : 0x00;
        break;
    case CoreGroup::Pic18:
        hi = lo = erased ? 0xFF : 0x00;
        break;
    default:
        return;
    }
    if (type == QLatin1String("EPROM2")) SetWordParityBits(hi, lo);
    auto& image = s.buffer.ProgramImage;
    const std::size_t n = programBytes(s);
    for (std::size_t i = 0; i + 1 < n; i += 2) {
        image[i] = hi;
        image[i + 1] = lo;
    }
}

void fillEeprom(Session& s, bool erased) {
    const QString& type = s.device.ProgramType;
    std::uint8_t hi, lo;
    if (hasEepromFill(type)) {
        hi = erased ? 0x3F : 0x00;
        lo = erased ? 0xFF : 0x00;
    } else if (isPic18Type(type)) {
        hi = lo = erased ? 0xFF : 0x00;
    } else {
        return;
    }
    // Two bytes per location; for PIC18 that covers twice its size, as the image has always had.
    auto& image = s.buffer.EepromImage;
    const auto count =
        std::clamp<std::int64_t>(s.device.EepromByteCount, 0, limits::MaxEepromLocations);
    const std::size_t n = std::min<std::size_t>(std::size_t(count) * 2, image.size());
    for (std::size_t i = 0; i + 1 < n; i += 2) {
        image[i] = hi;
        image[i + 1] = lo;
    }
}

// The configuration words the part defines keep only what the part can hold: a bit it does not
// implement reads 0 or 1 on the chip, whatever the fill wrote, and the words are written and
// verified as the buffer holds them.
void limitConfigWordsToPart(Session& s) {
    auto& image = s.buffer.ConfigIdImage;
    for (int k = 1; k <= limits::ConfigWords; ++k) {
        if (s.device.ConfigWordDefined[k] == 0) continue;
        const std::size_t at = std::size_t(2 * k + 12);
        SplitWordBytes(partConfigWord(s.device, k, image[at] * 256 + image[at + 1]), image[at],
                       image[at + 1]);
    }
}

// The same for the PIC18 words, which the buffer keeps as ConfigValue.
void limitPic18ConfigWordsToPart(Session& s) {
    DeviceRecord& d = s.device;
    for (int k = 1; k <= limits::ConfigWords; ++k)
        if (d.ConfigWordDefined[std::size_t(k)] != 0)
            d.ConfigValue[k] = pic18PartConfigWord(d, k, d.ConfigValue[k]);
}

void fillIdConfig(Session& s, bool erased) {
    const QString& type = s.device.ProgramType;
    auto& image = s.buffer.ConfigIdImage;
    auto fillWords = [&](std::size_t bytes, std::uint8_t hi, std::uint8_t lo) {
        for (std::size_t i = 0; i < bytes; i += 2) {
            image[i] = hi;
            image[i + 1] = lo;
        }
    };
    switch (coreGroupOf(type)) {
    case CoreGroup::Bit12:
        fillWords(16, erased ? 0x0F : 0x00, erased ? 0xFF : 0x00);
        limitConfigWordsToPart(s);
        break;
    case CoreGroup::Bit14:
        fillWords(32, erased ? 0x3F : 0x00, erased ? 0xFF : 0x00);
        limitConfigWordsToPart(s);
        if (type == QLatin1String("EPROM2")) {
            for (std::size_t i = 0; i < 8; i += 2)
                SetWordParityBits(image[i], image[i + 1]);
            image[14] |= 0xC0;
        }
        break;
    case CoreGroup::Pic18:
        for (int k = 1; k <= 127; ++k)
            s.device.ConfigValue[k] = erased ? 0xFFFF : 0;
        limitPic18ConfigWordsToPart(s);
        break;
    case CoreGroup::None:
        break;
    }
}

} // namespace

void FillProgramErased(Session& s) {
    fillProgram(s, true);
}
void FillProgramZero(Session& s) {
    fillProgram(s, false);
}
void FillEepromErased(Session& s) {
    fillEeprom(s, true);
}
void FillEepromZero(Session& s) {
    fillEeprom(s, false);
}
void FillIdConfigErased(Session& s) {
    fillIdConfig(s, true);
}
void FillIdConfigZero(Session& s) {
    fillIdConfig(s, false);
}

} // namespace tavrin
