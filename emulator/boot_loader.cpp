#include "emulator/boot_loader.h"

#include "emulator/board.h"
#include "emulator/command_table.h"
#include "emulator/firmware.h"

#include <cstdio>

namespace emu {

namespace {
constexpr std::uint8_t kEntry = 'U';
constexpr std::uint8_t kQuery = '?';
constexpr std::uint8_t kEndByte = 0xFF;
// The loader's own answer to "?": 16 characters and CR, one byte short of the firmware's, so
// the application's board detection does not mistake it for a working board.
constexpr std::string_view kLoaderIdentification = "QZ-WRT BOOT V1.0\r";
// A record whose bytes stop coming is dropped after this much silence.
constexpr Nanos kRecordGap = 500 * kMillisecond;

std::string hex(unsigned v, int digits) {
    char s[12];
    std::snprintf(s, sizeof s, "0x%0*X", digits, v);
    return s;
}

std::uint8_t sumOf(const std::array<std::uint8_t, 4>& r) {
    return std::uint8_t(r[0] + r[1] + r[2] + r[3]);
}
} // namespace

void FirmwareImage::write(std::uint32_t address, std::uint16_t value) {
    words_.at(address) = std::uint16_t(value & kErased);
    written_.set(address);
}

ByteImage FirmwareImage::writtenImage() const {
    ByteImage out;
    for (std::uint32_t a = 0; a < kWords; ++a) {
        if (!written_.test(a)) continue;
        out[2 * a] = std::uint8_t(words_[a] & 0xFF);
        out[2 * a + 1] = std::uint8_t(words_[a] >> 8);
    }
    return out;
}

void BootLoader::install(CommandTable& table) {
    table.addIdle(kEntry, [this](Firmware& fw, std::uint8_t) { return enter(fw); });
}

Task<> BootLoader::enter(Firmware& fw) {
    const auto& faults = fw.options().faults;
    if (faults.find(FaultKind::BootNoEntry, "U")) {
        fw.note("boot loader entry unanswered (fault)");
        co_return;
    }
    const auto* wrong = faults.find(FaultKind::BootEntryByte, "U");
    fw.send({wrong ? std::uint8_t(wrong->number) : kEntry});
    co_await run(fw);
}

Task<> BootLoader::run(Firmware& fw) {
    active_ = true;
    records_ = 0;
    fw.note("boot loader");
    for (;;) {
        // The loader knows no idle reset: it waits for its next record for as long as it takes.
        const auto first = co_await Firmware::ByteAwaiter{fw, false, std::nullopt};
        if (!first) continue;
        // No word address begins with "?" or "U"; every other byte starts a record, so a host
        // that sends what the loader cannot hold gets a wrong sum back.
        if (*first == kQuery) {
            fw.send(std::span(reinterpret_cast<const std::uint8_t*>(kLoaderIdentification.data()),
                              kLoaderIdentification.size()));
            continue;
        }
        if (*first == kEntry) {
            fw.send({kEntry});
            records_ = 0;
            continue;
        }
        std::array<std::uint8_t, 4> record{*first};
        bool whole = true;
        for (std::size_t i = 1; i < record.size() && whole; ++i) {
            const auto b = co_await fw.byteWithin(kRecordGap);
            if (b)
                record[i] = *b;
            else
                whole = false;
        }
        if (!whole) {
            fw.note("boot loader: partial record dropped");
            continue;
        }
        if (record == std::array<std::uint8_t, 4>{kEndByte, kEndByte, kEndByte, kEndByte}) {
            restartFirmware(fw);
            co_return;
        }
        co_await fw.delay(fw.options().itemWriteTime);
        acceptRecord(fw, record);
    }
}

void BootLoader::acceptRecord(Firmware& fw, const std::array<std::uint8_t, 4>& record) {
    const std::uint32_t index = records_++;
    const std::uint32_t address = (std::uint32_t(record[0]) << 8) | record[1];
    const auto value = std::uint16_t((record[2] << 8) | record[3]);
    const auto& faults = fw.options().faults;
    const auto* silent = faults.find(FaultKind::BootSilentAt, "U");
    if (silent && std::uint32_t(silent->number) == index) {
        fw.note("boot loader: record " + std::to_string(index) + " unanswered (fault)");
        return;
    }
    const auto* badAck = faults.find(FaultKind::BootBadAck, "U");
    const bool refused = address >= FirmwareImage::kWords ||
                         FirmwareImage::isBootLoaderWord(address) ||
                         (badAck && std::uint32_t(badAck->number) == index);
    if (refused) {
        fw.note("boot loader: record " + std::to_string(index) + " at " + hex(address, 4) +
                " refused");
        fw.send({std::uint8_t(~sumOf(record))});
        return;
    }
    image_.write(address, value);
    fw.send({sumOf(record)});
}

void BootLoader::restartFirmware(Firmware& fw) {
    active_ = false;
    ++completed_;
    auto& options = board_.options();
    if (!options.updatedIdentification.empty())
        options.identification = options.updatedIdentification;
    fw.note("boot loader: end record after " + std::to_string(records_) + " records; firmware '" +
            options.identification + "' starts");
}

} // namespace emu
