// Chip images as Intel HEX: gpasm-made fixtures go into the chip and come out of --dump the same,
// with srec_cmp as the judge.
#include "emulator/chip_image.h"
#include "emusupport/emulator_process.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

using tavrin::test::EmulatorProcess;

namespace {

std::string fixture(const char* name) {
    return std::string(TAVRIN_SOURCE_DIR) + "/tests/emulator/data/" + name;
}

emu::ByteImage readHex(const std::string& path) {
    const auto text = EmulatorProcess::readFile(path);
    EXPECT_TRUE(text) << path;
    std::string error;
    auto image = emu::parseIntelHex(text.value_or(""), &error);
    EXPECT_TRUE(image) << error;
    return image.value_or(emu::ByteImage{});
}

bool haveTool(const char* tool) {
    return std::system((std::string("command -v ") + tool + " >/dev/null 2>&1").c_str()) == 0;
}

} // namespace

TEST(ChipImage, GpasmFixtureLandsInTheRightCells) {
    emu::Chip chip(emu::findPart("PIC16F877A"));
    std::string error;
    ASSERT_TRUE(emu::loadChipImage(chip, readHex(fixture("p16f877a_sample.hex")), &error)) << error;
    EXPECT_EQ(chip.program[0], 0x2805);      // goto start
    EXPECT_EQ(chip.program[4], 0x0009);      // retfie
    EXPECT_EQ(chip.program[0x1FFF], 0x3442); // retlw 0x42
    EXPECT_EQ(chip.ids, (std::array<std::uint16_t, 4>{1, 2, 3, 4}));
    EXPECT_EQ(chip.readConfig(0), 0x3F72);
    EXPECT_EQ(chip.eeprom[2], 0xA5);
    EXPECT_EQ(chip.eeprom[5], 0xFF);

    emu::Chip pic18(emu::findPart("PIC18F452"));
    ASSERT_TRUE(emu::loadChipImage(pic18, readHex(fixture("p18f452_sample.hex")), &error)) << error;
    EXPECT_EQ(pic18.program18[0x7FFE], 0x42);
    EXPECT_EQ(pic18.id18[7], 0x08);
    EXPECT_EQ(pic18.readByte18(0x300001), 0x22);
    EXPECT_EQ(pic18.eeprom[1], 0x22);
}

TEST(ChipImage, AnAddressThePartLacksIsRefused) {
    emu::Chip small(emu::findPart("PIC16F84A"));
    std::string error;
    EXPECT_FALSE(emu::loadChipImage(small, readHex(fixture("p16f877a_sample.hex")), &error));
    EXPECT_NE(error.find("PIC16F84A"), std::string::npos) << error;
}

TEST(ChipImage, IntelHexRoundTripAcrossA64KBoundaryAndChecksums) {
    emu::ByteImage image{{0xFFFE, 1}, {0xFFFF, 2}, {0x10000, 3}, {0x300001, 0x22}};
    const auto text = emu::formatIntelHex(image);
    EXPECT_NE(text.find(":020000040001F9"), std::string::npos) << text;
    EXPECT_EQ(emu::parseIntelHex(text), image);
    std::string error;
    EXPECT_FALSE(emu::parseIntelHex(":0100000001FF\n", &error));
    EXPECT_NE(error.find("checksum"), std::string::npos);
}

TEST(ChipImage, LoadAndDumpThroughTheCliAgreeWithTheFixture) {
    if (!haveTool("srec_cmp")) GTEST_SKIP() << "srecord not installed";
    for (auto [part, file] : {std::pair{"PIC16F877A", "p16f877a_sample.hex"},
                              std::pair{"PIC18F452", "p18f452_sample.hex"}}) {
        const auto dump = EmulatorProcess::uniquePath("tavrin-dump") + ".hex";
        EmulatorProcess emu(
            {"--part", part, "--baud", "0", "--load", fixture(file), "--dump", dump});
        std::string error;
        ASSERT_TRUE(emu.start(&error)) << error;
        EXPECT_EQ(emu.stop(), 0);
        const std::string cmp = "srec_cmp " + fixture(file) + " -intel " + dump +
                                " -intel -crop -within " + fixture(file) +
                                " -intel >/dev/null 2>&1";
        EXPECT_EQ(std::system(cmp.c_str()), 0) << part;
        // The dump holds the whole chip: a 877A's 8192 program words at least.
        EXPECT_GE(readHex(dump).size(), 8192u * 2) << part;
        std::remove(dump.c_str());
    }
}
