#include "blank_rules.h"

#include <QStringList>

namespace tavrin::test {

BlankVerdict blankCheck12Bit(const DeviceRecord& d, std::int32_t word) {
    static const QStringList oscillatorFromFactory = {
        QStringLiteral("PIC16C54"), QStringLiteral("PIC16C55"), QStringLiteral("PIC16C56"),
        QStringLiteral("PIC16C57")};
    BlankVerdict v;
    v.codeProtected = (word & d.CodeProtectMask) != d.CodeProtectMask;
    std::int32_t erased = 0x0FFF;
    std::int32_t compared = word;
    if (oscillatorFromFactory.contains(d.SelectedDevice)) {
        erased = 0x0FFC;
        compared &= ~3;
    }
    v.blank = compared == erased;
    return v;
}

BlankVerdict blankCheck14Bit(const DeviceRecord& d, const ChipConfig& words) {
    BlankVerdict v;
    v.codeProtected = (words[1] & d.CodeProtectMask) != d.CodeProtectMask;
    std::int32_t config1 = words[1];
    if (d.ProgramType == QLatin1String("12F6")) config1 |= 0x3000;
    std::int32_t andHigh = 0x3F, andLow = 0xFF;
    auto take = [&](std::int32_t w) {
        andHigh &= (w >> 8) & 0xFF;
        andLow &= w & 0xFF;
    };
    for (int id = 0; id < 4; ++id)
        take(0x3FFF); // erased ID words
    take(config1);
    if (d.ProgramType == QLatin1String("FLASH4.9")) take(words[2]);
    const std::int32_t all = andHigh * 256 + andLow;
    v.blank = all == 0x3FFF || all == d.ConfigMask[1];
    return v;
}

bool blankCheckPic18Generic(const DeviceRecord& d, const ChipConfig& words) {
    for (int k = 1; k <= 7; ++k)
        if (words[std::size_t(k)] != (d.ConfigMask[std::size_t(k)] & 0xFFFF) ||
            d.ConfigFixed[std::size_t(k)] != 0)
            return false;
    return true;
}

bool blankCheckPic18Module(const DeviceRecord& d, const ChipConfig& words, bool covering) {
    for (int k = 1; k <= 7; ++k) {
        const auto i = std::size_t(k);
        const std::int32_t s = (d.ConfigMask[i] & 0xFFFF) | d.ConfigFixed[i];
        if (covering ? (words[i] & s) != s : words[i] != s) return false;
    }
    return true;
}

QString pic18Protection(const DeviceRecord& d, std::int32_t config5) {
    const std::int32_t program = d.CpMaskCf5 & 0x7FFF;
    const std::int32_t data = d.CpMaskCf5 & 0x8000;
    QString flags;
    flags += (config5 & program) != program ? QLatin1Char('P') : QLatin1Char('-');
    flags += (config5 & data) != data ? QLatin1Char('D') : QLatin1Char('-');
    return flags;
}

} // namespace tavrin::test
