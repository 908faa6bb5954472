// What the boot loader is sent for a firmware file: one 4-byte word record per program word,
// ascending, every missing word below the boot loader filled with the erased value, the boot
// loader's own words and everything from 0x2000 up (configuration, IDs, EEPROM) left out; and
// the rule by which the window's progress bar follows the transfer.
#pragma once

#include "firmware_file.h"

#include <QByteArray>

#include <cstdint>
#include <optional>
#include <vector>

namespace tavrin {

namespace bootloader {
constexpr std::uint32_t ReservedFirst = 0x1F00; // the boot loader: 0x1F00-0x1FDF
constexpr std::uint32_t ReservedLast = 0x1FDF;
constexpr std::uint32_t LastWord = 0x1FFF; // never sent either
constexpr std::uint16_t ErasedWord = 0x3FFF;
constexpr std::uint8_t Entry = 'U';
constexpr std::uint8_t Query = '?';
constexpr int VersionReplyBytes = 17;
constexpr int IdentificationChars = 16;
constexpr int ProgressMax = 7936;
} // namespace bootloader

// One step of the transfer: a record to send (its word address and value), or a file word that
// is not sent and only moves the progress bar.
struct UpdateStep {
    std::uint32_t address = 0;
    std::uint16_t value = 0;
    bool send = true;
};

std::vector<UpdateStep> updateSteps(const FirmwareWords& words);

// The 4 bytes of a word record: address high, low, data high, low.
QByteArray wordRecord(std::uint32_t address, std::uint16_t value);
// The acknowledgement the board owes a record: the sum of its bytes modulo 256.
std::uint8_t recordSum(const QByteArray& record);
QByteArray endRecord();

// The progress bar after a word at ppos: nullopt when it is not touched.
struct ProgressBarState {
    int minimum = 0;
    int maximum = 0;
    int value = 0;
    bool setRange = false; // false: only the value drops to the minimum
};
std::optional<ProgressBarState> progressBarFor(const QString& mode, int minimum, int maximum,
                                               int position);

} // namespace tavrin
