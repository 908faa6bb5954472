#include "blank_judgement.h"

#include "config_area_read.h"

#include <QStringList>

namespace tavrin {

namespace {
constexpr std::int32_t Erased12 = 0x0FFF;
constexpr std::int32_t Erased14 = 0x3FFF;
// The 16C5x keep bits 1:0 of their configuration word out of the erased state.
constexpr std::int32_t Erased16C5x = 0x0FFC;
constexpr std::int32_t OscillatorBits16C5x = 0x3;
constexpr std::int32_t BandgapBits = 0x3000;
} // namespace

bool configWord12Erased(const QString& deviceName, std::int32_t word) {
    static const QStringList noLowBits{"PIC16C54", "PIC16C55", "PIC16C56", "PIC16C57"};
    if (noLowBits.contains(deviceName, Qt::CaseSensitive))
        return (word & ~OscillatorBits16C5x) == Erased16C5x;
    return word == Erased12;
}

IdConfigWords14 idConfigWords14Of(const std::vector<std::uint8_t>& reply) {
    auto word = [&reply](std::size_t at) {
        return at + 1 < reply.size() ? reply[at] * 256 + reply[at + 1] : 0;
    };
    IdConfigWords14 words;
    for (std::size_t i = 0; i < words.id.size(); ++i)
        words.id[i] = word(2 * i);
    words.config1 = word(14);
    words.config2 = word(16);
    return words;
}

IdConfigRule14 idConfigRule14Of(const ConfigAreaCommand& command) {
    return {QLatin1String(command.programType) == QLatin1String("12F6"),
            command.layout == ConfigAreaLayout::Words16};
}

std::int32_t idConfigAnd14(const IdConfigWords14& words, IdConfigRule14 rule) {
    std::int32_t all = Erased14;
    for (std::int32_t id : words.id)
        all &= id;
    all &= rule.bandgapFromFactory ? words.config1 | BandgapBits : words.config1;
    if (rule.secondConfigWord) all &= words.config2;
    return all;
}

bool idConfigAnd14Erased(std::int32_t andWord, std::int32_t configMask1) {
    return andWord == Erased14 || andWord == configMask1;
}

bool pic18GenericConfigErased(const DeviceRecord& device, const Pic18ConfigWords& words) {
    for (int k = 1; k <= limits::ConfigWords; ++k) {
        const auto i = std::size_t(k);
        if (!device.ConfigWordDefined[i]) continue;
        const std::int32_t mask = device.ConfigMask[i] & 0xFFFF;
        if ((words[i] & mask) != mask) return false;
    }
    return true;
}

} // namespace tavrin
