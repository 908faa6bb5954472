#include "update_records.h"

#include <cmath>

namespace tavrin {

namespace {
bool sendable(std::uint32_t address) {
    return address < bootloader::ReservedFirst ||
           (address > bootloader::ReservedLast && address < bootloader::LastWord);
}
} // namespace

std::vector<UpdateStep> updateSteps(const FirmwareWords& words) {
    std::vector<UpdateStep> steps;
    std::uint32_t next = 0; // the next word the board has not been sent
    for (const auto& [address, value] : words) {
        // A word further up (even a configuration word) fills the gap below the boot loader, so
        // no stale word of the old firmware remains between the new firmware's words.
        for (; next < address && next < bootloader::ReservedFirst; ++next)
            steps.push_back({next, bootloader::ErasedWord, true});
        const bool send = sendable(address);
        steps.push_back({address, value, send});
        if (send) next = address + 1;
    }
    return steps;
}

QByteArray wordRecord(std::uint32_t address, std::uint16_t value) {
    QByteArray r(4, '\0');
    r[0] = char((address >> 8) & 0xFF);
    r[1] = char(address & 0xFF);
    r[2] = char(value >> 8);
    r[3] = char(value & 0xFF);
    return r;
}

std::uint8_t recordSum(const QByteArray& record) {
    std::uint8_t sum = 0;
    for (char c : record)
        sum = std::uint8_t(sum + std::uint8_t(c));
    return sum;
}

QByteArray endRecord() {
    return QByteArray(4, char(0xFF));
}

std::optional<ProgressBarState> progressBarFor(const QString& mode, int minimum, int maximum,
                                               int position) {
    const QString m = mode.toUpper();
    if (m == QLatin1String("OFF") || position >= maximum)
        return ProgressBarState{minimum, maximum, minimum, false};
    const int step = int(std::lround(maximum / 100.0));
    if (m == QLatin1String("ON") && maximum / 100.0 >= 1 && step > 0 && position % step == 0)
        return ProgressBarState{minimum, maximum, position, true};
    return std::nullopt;
}

} // namespace tavrin
