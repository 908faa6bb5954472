#include "pic18_bench.h"

#include "devices/pic18/pic18_module.h"

#include "core/session.h"
#include "support/intel_hex.h"

#include <QDir>

#include <gtest/gtest.h>

#include <map>
#include <random>

namespace tavrin::test {

Pic18Image randomPic18Image(const std::string& part, std::uint32_t seed) {
    const emu::PartFacts* facts = emu::findPart(part);
    Pic18Image image;
    std::mt19937 rng(seed);
    auto byte = [&] { return std::uint8_t(rng() & 0xFF); };
    image.program.resize(std::size_t(facts->programWords) * 2);
    for (auto& b : image.program)
        b = byte();
    image.eeprom.resize(facts->eepromBytes);
    for (auto& b : image.eeprom)
        b = byte();
    for (auto& b : image.id)
        b = byte();
    for (std::size_t i = 0; i < image.config.size(); ++i)
        image.config[i] =
            std::uint8_t((byte() & facts->config18Bits[i]) | facts->config18ReadsOne[i]);
    // No protection: CONFIG5L/H all set.
    image.config[8] = facts->config18Bits[8] | facts->config18ReadsOne[8];
    image.config[9] = facts->config18Bits[9];
    // Watchdog, oscillator and the like are free; the background debugger bit must stay off
    // only on a real chip, which this is not.
    return image;
}

namespace {
void addArea(std::map<std::uint32_t, std::uint8_t>& bytes, std::uint32_t base,
             const std::uint8_t* data, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i)
        bytes[base + std::uint32_t(i)] = data[i];
}
} // namespace

void writePic18Hex(const Pic18Image& image, const QString& path) {
    std::map<std::uint32_t, std::uint8_t> bytes;
    addArea(bytes, 0, image.program.data(), image.program.size());
    addArea(bytes, 0x200000, image.id.data(), image.id.size());
    addArea(bytes, 0x300000, image.config.data(), image.config.size());
    addArea(bytes, 0xF00000, image.eeprom.data(), image.eeprom.size());
    ASSERT_TRUE(writeIntelHex(path, bytes)) << path.toStdString();
}

Pic18Image chipImage(const emu::Chip& chip) {
    Pic18Image image;
    image.program = chip.program18;
    image.eeprom = chip.eeprom;
    image.id = chip.id18;
    for (std::size_t i = 0; i < image.config.size(); ++i)
        image.config[i] = chip.readByte18(0x300000 + std::uint32_t(i));
    return image;
}

Pic18Bench::Pic18Bench(const QString& device, const std::string& socketPart,
                       emu::BoardOptions options)
    : OperationBench(device, socketPart, std::move(options)) {
    hexPath = QDir(dataDir.path()).filePath(QStringLiteral("image.hex"));
}

void Pic18Bench::openImage(const Pic18Image& image) {
    writePic18Hex(image, hexPath);
    openHex(hexPath);
}

void Pic18Bench::loadChip(const Pic18Image& image) {
    auto& c = chip();
    c.program18 = image.program;
    c.eeprom = image.eeprom;
    c.id18 = image.id;
    c.config18 = image.config;
}

} // namespace tavrin::test
