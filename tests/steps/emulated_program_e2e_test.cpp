// Every programming type end to end against the board emulator in process: erase where the type
// is erased, program memory, EEPROM, the configuration merged and written, verify, and a read
// back, with the chip's memories equal to the buffer and every step "OK".
#include "core/program_type.h"
#include "core/session.h"
#include "core/utilities.h"
#include "emusupport/emulated_board.h"
#include "link/board_link.h"
#include "part_records.h"
#include "step_fixture.h"
#include "steps/config_write.h"
#include "steps/eeprom_write.h"
#include "steps/memory_verify.h"
#include "steps/program_write.h"
#include "steps/read.h"

#include <vector>

using namespace tavrin;
using namespace tavrin::test;

namespace {

// A part of each programming type; its record is the shipped device file's.
struct TypeCase {
    const char* type;
    const char* part;
    std::uint16_t wordMask;
};

void PrintTo(const TypeCase& c, std::ostream* os) {
    *os << c.type;
}

std::string caseName(const ::testing::TestParamInfo<TypeCase>& info) {
    std::string n = info.param.type;
    for (char& c : n)
        if (c == '.') c = '_';
    return n;
}

class EmulatedProgram : public ::testing::TestWithParam<TypeCase> {
  protected:
    EmulatedProgram() : bench(GetParam().part) {
        const TypeCase& c = GetParam();
        loadPartRecord(s.device, QLatin1String(c.part));
        EXPECT_EQ(s.device.ProgramType, QLatin1String(c.type));
        s.link.ComPortName = QStringLiteral("emulated");
    }

    std::int32_t words() const { return s.device.ProgramWordCount; }
    std::int32_t eepromBytes() const { return s.device.EepromByteCount; }
    bool pic18() const { return isPic18Type(s.device.ProgramType); }
    bool bit12() const { return coreGroupOf(s.device.ProgramType) == CoreGroup::Bit12; }

    // A program that uses every word and every bit of the cell width.
    void fillProgram() {
        const TypeCase& c = GetParam();
        auto& image = s.buffer.ProgramImage;
        for (std::int32_t w = 0; w < words(); ++w) {
            std::uint16_t v = std::uint16_t((w * 0x2F1 + 0x5A5) & c.wordMask);
            image[2 * w] = std::uint8_t(v >> 8);
            image[2 * w + 1] = std::uint8_t(v);
            if (s.device.ProgramType == QLatin1String("EPROM2"))
                SetWordParityBits(image[2 * w], image[2 * w + 1]);
        }
        // A calibrated part keeps the calibration word it came with, as the program sequence
        // puts it into the buffer.
        if (!s.device.CalibrationInstruction.isEmpty()) {
            image[2 * words() - 2] = s.run.CalibWordHigh;
            image[2 * words() - 1] = s.run.CalibWordLow;
        }
        for (std::int32_t k = 0; k < eepromBytes(); ++k) {
            if (pic18()) {
                s.buffer.EepromImage[k] = std::uint8_t(0xA0 ^ k);
            } else {
                s.buffer.EepromImage[2 * k] = 0x3F;
                s.buffer.EepromImage[2 * k + 1] = std::uint8_t(0xA0 ^ k);
            }
        }
    }

    // IDs of our own, and the configuration the chip reads now with the oscillator bit changed.
    void fillConfiguration() {
        auto& config = s.buffer.ConfigIdImage;
        if (pic18()) {
            for (int i = 0; i < 8; ++i)
                s.buffer.Id18Image[i] = std::uint8_t(0x10 + i);
            return;
        }
        for (int k = 0; k < 4; ++k) {
            config[2 * k] = bit12() ? 0x0F : 0x3F;
            config[2 * k + 1] = std::uint8_t(0xF0 | (k + 3));
            if (s.device.ProgramType == QLatin1String("EPROM2"))
                SetWordParityBits(config[2 * k], config[2 * k + 1]);
        }
        config[15] &= 0xFE;
    }

    Session s;
    RecordingUi ui;
    EmulatedBoard bench;
    BoardLink link{s, ui, bench.port, bench.clock};
    BoardChannel& ch = link.channel();
};

TEST_P(EmulatedProgram, WritesVerifiesAndReadsBackEveryArea) {
    QString r = QStringLiteral("--");
    link.CheckProgrammer(r);
    ASSERT_EQ(r, "OK");

    // What the chip holds before: its configuration and, on calibrated parts, its calibration.
    ReadConfigWords(ch, r);
    ASSERT_EQ(r, "OK");
    if (!s.device.CalibrationInstruction.isEmpty()) {
        ReadProgramMemory(ch, r);
        ASSERT_EQ(r, "OK");
    }
    s.device.ConfigFromDevice = false;

    // A flash part that held another program is erased first, as the program sequence does.
    emu::Chip& chip = bench.board.chip();
    if (chip.part()->cells == emu::Cells::Flash) {
        if (pic18()) {
            std::fill(chip.program18.begin(), chip.program18.end(), 0x00);
            ASSERT_TRUE(chip.erase18(0x80));
        } else {
            std::fill(chip.program.begin(), chip.program.end(), 0x0000);
            std::fill(chip.eeprom.begin(), chip.eeprom.end(), 0x00);
            ASSERT_TRUE(chip.erase(chip.part()->eraseLetter, chip.part()->eraseCodes[0].code));
        }
    }

    fillProgram();
    fillConfiguration();
    const std::vector<std::uint8_t> program(s.buffer.ProgramImage.begin(),
                                            s.buffer.ProgramImage.begin() + 2 * words());
    const std::vector<std::uint8_t> eeprom = s.buffer.EepromImage;
    const std::vector<std::uint8_t> config = s.buffer.ConfigIdImage;
    const auto id18 = s.buffer.Id18Image;
    const auto configValues = s.device.ConfigValue;

    QString written = QStringLiteral("preset");
    WriteProgramMemory(ch, written);
    EXPECT_EQ(written, "OK") << ui.statusText.toStdString();
    QString eepromWritten = QStringLiteral("preset");
    WriteEepromMemory(ch, eepromWritten);
    EXPECT_EQ(eepromWritten, eepromBytes() ? "OK" : "--") << ui.statusText.toStdString();

    QString merged = QStringLiteral("OK");
    if (!pic18() && !bit12()) ReadConfigForMerge(ch, merged);
    EXPECT_EQ(merged, "OK");
    QString configWritten = QStringLiteral("preset");
    WriteConfigWords(ch, configWritten);
    EXPECT_EQ(configWritten, "OK") << ui.statusText.toStdString();

    QString verified = QStringLiteral("OK"), eepromVerified = QStringLiteral("OK");
    VerifyProgramMemory(ch, verified);
    EXPECT_EQ(verified, "OK") << ui.programViewLines.join(QString()).toStdString();
    VerifyEepromMemory(ch, eepromVerified);
    EXPECT_EQ(eepromVerified, eepromBytes() ? "OK" : "--")
        << ui.eepromViewLines.join(QString()).toStdString();
    link.ClosePort();

    // The chip holds what the buffer held.
    for (std::int32_t w = 0; w < words(); ++w) {
        const std::uint16_t expected = std::uint16_t(program[2 * w] * 256 + program[2 * w + 1]);
        const std::uint16_t held =
            pic18() ? std::uint16_t(chip.program18[2 * w + 1] * 256 + chip.program18[2 * w])
                    : chip.program[w];
        ASSERT_EQ(held, expected) << "word " << w;
    }
    for (std::int32_t k = 0; k < eepromBytes(); ++k)
        ASSERT_EQ(chip.eeprom[k], pic18() ? eeprom[k] : eeprom[2 * k + 1]) << "location " << k;
    if (pic18()) {
        for (int i = 0; i < 8; ++i)
            EXPECT_EQ(chip.id18[i], id18[i]);
    } else {
        for (int k = 0; k < 4; ++k)
            EXPECT_EQ(chip.ids[k], config[2 * k] * 256 + config[2 * k + 1]);
        EXPECT_EQ(chip.readConfig(0), config[14] * 256 + config[15]);
    }

    // A read into a cleared buffer brings the same images back.
    std::fill(s.buffer.ProgramImage.begin(), s.buffer.ProgramImage.begin() + 2 * words(), 0);
    std::fill(s.buffer.EepromImage.begin(), s.buffer.EepromImage.end(), 0);
    std::fill(s.buffer.ConfigIdImage.begin(), s.buffer.ConfigIdImage.end(), 0);
    s.buffer.Id18Image.fill(0);
    link.CheckProgrammer(r);
    QString readProgram, readEeprom = QStringLiteral("--"), readConfig = QStringLiteral("--");
    ReadProgramMemory(ch, readProgram);
    ReadEepromMemory(ch, readEeprom);
    ReadConfigWords(ch, readConfig);
    link.ClosePort();
    EXPECT_EQ(readProgram, "OK");
    EXPECT_EQ(readEeprom, eepromBytes() ? "OK" : "--");
    EXPECT_EQ(readConfig, "OK");
    EXPECT_TRUE(std::equal(program.begin(), program.end(), s.buffer.ProgramImage.begin()));
    const std::size_t eepromUsed = std::size_t(eepromBytes()) * (pic18() ? 1 : 2);
    EXPECT_TRUE(
        std::equal(eeprom.begin(), eeprom.begin() + eepromUsed, s.buffer.EepromImage.begin()));
    if (pic18()) {
        EXPECT_EQ(s.buffer.Id18Image, id18);
        for (int k = 1; k <= 7; ++k)
            EXPECT_EQ(s.device.ConfigValue[k], configValues[k]) << k;
    } else {
        for (int i : {0, 1, 2, 3, 4, 5, 6, 7, 14, 15})
            EXPECT_EQ(s.buffer.ConfigIdImage[i], config[i]) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    EveryType, EmulatedProgram,
    ::testing::Values(
        TypeCase{"5X18", "PIC16C54", 0x0FFF}, TypeCase{"5X28", "PIC16C55", 0x0FFF},
        TypeCase{"12C5", "PIC12C509A", 0x0FFF}, TypeCase{"12C6", "PIC12C672", 0x3FFF},
        TypeCase{"12F6", "PIC12F675", 0x3FFF}, TypeCase{"EPROM", "PIC16C620A", 0x3FFF},
        TypeCase{"EPROM2", "PIC16C715", 0x3FFF}, TypeCase{"FLASH0", "PIC16F84A", 0x3FFF},
        TypeCase{"FLASH1", "PIC16F628A", 0x3FFF}, TypeCase{"FLASH2", "PIC16F73", 0x3FFF},
        TypeCase{"FLASH4", "PIC16F818", 0x3FFF}, TypeCase{"FLASH4.9", "PIC16F88", 0x3FFF},
        TypeCase{"FLASH8", "PIC16F876A", 0x3FFF}, TypeCase{"WRT400", "QZ-WRT400", 0x3FFF},
        TypeCase{"18F_00", "PIC18F452", 0xFFFF}),
    caseName);

} // namespace
