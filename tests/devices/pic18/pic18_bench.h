// The PIC18 modules on the operations bench: a random chip image written as an Intel HEX file, and
// comparisons of the emulated chip with it.
#pragma once

#include "operation_bench.h"

#include <QString>

#include <array>
#include <cstdint>
#include <vector>

namespace tavrin::test {

// What a PIC18 HEX file holds, in device address order.
struct Pic18Image {
    std::vector<std::uint8_t> program; // 2W bytes
    std::vector<std::uint8_t> eeprom;
    std::array<std::uint8_t, 8> id{};
    std::array<std::uint8_t, 14> config{};
};

// Random program, EEPROM and ID bytes (fixed seed); configuration words that a chip of this
// part holds as written (implemented bits from the emulator's catalogue, protection off).
Pic18Image randomPic18Image(const std::string& part, std::uint32_t seed);

// Writes the image as Intel HEX: program bytes, ID at 0x200000, configuration at 0x300000,
// EEPROM at 0xF00000.
void writePic18Hex(const Pic18Image& image, const QString& path);

// The emulated chip's memories as an image.
Pic18Image chipImage(const emu::Chip& chip);

// A bench with a PIC18 part chosen and in the socket.
struct Pic18Bench : OperationBench {
    explicit Pic18Bench(const QString& device, const std::string& socketPart = {},
                        emu::BoardOptions options = {});
    // Writes the image into a HEX file of the bench's folder and opens it.
    void openImage(const Pic18Image& image);
    // Puts the image into the chip as a programmer would have left it.
    void loadChip(const Pic18Image& image);
    QString hexPath;
};

} // namespace tavrin::test
