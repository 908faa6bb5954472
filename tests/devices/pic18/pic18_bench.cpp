#include "pic18_bench.h"

#include "devices/pic18/pic18_module.h"

#include "core/session.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

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
void record(QByteArray& out, std::uint8_t type, std::uint16_t address,
            const std::vector<std::uint8_t>& data) {
    std::uint8_t sum =
        std::uint8_t(data.size()) + std::uint8_t(address >> 8) + std::uint8_t(address) + type;
    QByteArray line =
        QByteArray(":") + QByteArray::number(qulonglong(data.size()), 16).rightJustified(2, '0');
    line += QByteArray::number(address, 16).rightJustified(4, '0');
    line += QByteArray::number(type, 16).rightJustified(2, '0');
    for (std::uint8_t b : data) {
        line += QByteArray::number(b, 16).rightJustified(2, '0');
        sum += b;
    }
    line += QByteArray::number(std::uint8_t(-sum), 16).rightJustified(2, '0');
    out += line.toUpper() + "\r\n";
}

void area(QByteArray& out, std::uint32_t base, const std::uint8_t* data, std::size_t size) {
    std::uint32_t page = ~0u;
    for (std::size_t i = 0; i < size; i += 16) {
        const std::uint32_t a = base + std::uint32_t(i);
        if ((a >> 16) != page) {
            page = a >> 16;
            record(out, 4, 0, {std::uint8_t(page >> 8), std::uint8_t(page)});
        }
        const std::size_t n = std::min<std::size_t>(16, size - i);
        record(out, 0, std::uint16_t(a), std::vector<std::uint8_t>(data + i, data + i + n));
    }
}
} // namespace

void writePic18Hex(const Pic18Image& image, const QString& path) {
    QByteArray out;
    area(out, 0, image.program.data(), image.program.size());
    area(out, 0x200000, image.id.data(), image.id.size());
    area(out, 0x300000, image.config.data(), image.config.size());
    area(out, 0xF00000, image.eeprom.data(), image.eeprom.size());
    record(out, 1, 0, {});
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(out);
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
