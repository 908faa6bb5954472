// The board's boot loader: what replaces the board's own firmware. "U" in firmware mode answers
// "U" and hands the board to the boot loader, which takes 4-byte word records (address high, low,
// data high, low), writes each into the firmware image and acknowledges it with the sum of its
// four bytes; the end record 0xFF 0xFF 0xFF 0xFF starts the new firmware. An update that stops
// half way leaves the board in the boot loader, as the real board is left, until a power cycle.
#pragma once

#include "emulator/intel_hex.h"
#include "emulator/task.h"

#include <array>
#include <bitset>
#include <cstdint>
#include <string>

namespace emu {

class Board;
class CommandTable;
class Firmware;

// The board's own program memory: 8192 14-bit words, the boot loader's range among them.
class FirmwareImage {
  public:
    static constexpr std::uint32_t kWords = 0x2000;
    static constexpr std::uint16_t kErased = 0x3FFF;

    // The boot loader protects itself: 0x1F00-0x1FDF and the last word.
    static bool isBootLoaderWord(std::uint32_t address) {
        return (address >= 0x1F00 && address <= 0x1FDF) || address == 0x1FFF;
    }

    std::uint16_t word(std::uint32_t address) const { return words_.at(address); }
    bool written(std::uint32_t address) const { return written_.test(address); }
    void write(std::uint32_t address, std::uint16_t value);
    std::size_t writtenCount() const { return written_.count(); }

    // The words written by updates, 14-bit layout: word w at bytes 2w (low) and 2w+1 (high).
    ByteImage writtenImage() const;

  private:
    std::array<std::uint16_t, kWords> words_ = filled();
    std::bitset<kWords> written_;
    static std::array<std::uint16_t, kWords> filled() {
        std::array<std::uint16_t, kWords> a{};
        a.fill(kErased);
        return a;
    }
};

class BootLoader {
  public:
    explicit BootLoader(Board& board) : board_(board) {}
    BootLoader(const BootLoader&) = delete;
    BootLoader& operator=(const BootLoader&) = delete;

    // Adds the "U" entry to the board's command table.
    void install(CommandTable& table);

    bool active() const { return active_; }
    const FirmwareImage& image() const { return image_; }
    // Records received since the last entry (the count fault positions refer to).
    std::uint32_t recordsReceived() const { return records_; }
    std::uint32_t updatesCompleted() const { return completed_; }

  private:
    Task<> enter(Firmware& fw);
    Task<> run(Firmware& fw);
    void acceptRecord(Firmware& fw, const std::array<std::uint8_t, 4>& record);
    void restartFirmware(Firmware& fw);

    Board& board_;
    FirmwareImage image_;
    bool active_ = false;
    std::uint32_t records_ = 0;
    std::uint32_t completed_ = 0;
};

} // namespace emu
