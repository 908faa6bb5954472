#include "program_type.h"

#include <QLatin1StringView>

#include <algorithm>
#include <array>

namespace tavrin {

namespace {
template <std::size_t N>
bool oneOf(const QString& t, const std::array<QLatin1StringView, N>& list) {
    return std::any_of(list.begin(), list.end(), [&](QLatin1StringView k) { return t == k; });
}

constexpr std::array<QLatin1StringView, 3> kBit12{
    QLatin1StringView("5X28"), QLatin1StringView("5X18"), QLatin1StringView("12C5")};
constexpr std::array<QLatin1StringView, 12> kBit14{
    QLatin1StringView("12F6"),   QLatin1StringView("12C6"),   QLatin1StringView("EPROM"),
    QLatin1StringView("EPROM2"), QLatin1StringView("FLASH0"), QLatin1StringView("FLASH1"),
    QLatin1StringView("FLASH2"), QLatin1StringView("FLASH4"), QLatin1StringView("FLASH4.9"),
    QLatin1StringView("FLASH8"), QLatin1StringView("WRT400"), QLatin1StringView("WRT400A")};
constexpr std::array<QLatin1StringView, 2> kPic18Known{QLatin1StringView("18F_00"),
                                                       QLatin1StringView("18F_01")};
constexpr std::array<QLatin1StringView, 9> kEepromFill{
    QLatin1StringView("12F6"),   QLatin1StringView("12C6"),   QLatin1StringView("FLASH0"),
    QLatin1StringView("FLASH1"), QLatin1StringView("FLASH4"), QLatin1StringView("FLASH4.9"),
    QLatin1StringView("FLASH8"), QLatin1StringView("WRT400"), QLatin1StringView("WRT400A")};
constexpr std::array<QLatin1StringView, 6> kOtp{
    QLatin1StringView("5X28"), QLatin1StringView("5X18"),  QLatin1StringView("12C5"),
    QLatin1StringView("12C6"), QLatin1StringView("EPROM"), QLatin1StringView("EPROM2")};
} // namespace

CoreGroup coreGroupOf(const QString& t) {
    if (oneOf(t, kBit12)) return CoreGroup::Bit12;
    if (oneOf(t, kBit14)) return CoreGroup::Bit14;
    if (isPic18Type(t)) return CoreGroup::Pic18;
    return CoreGroup::None;
}

bool isKnownProgramType(const QString& t) {
    return oneOf(t, kBit12) || oneOf(t, kBit14) || oneOf(t, kPic18Known);
}

bool hasEepromFill(const QString& t) {
    return oneOf(t, kEepromFill);
}

bool isOtpOrEpromType(const QString& t) {
    return oneOf(t, kOtp);
}

} // namespace tavrin
