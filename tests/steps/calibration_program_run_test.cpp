// The factory calibration of a calibrated part survives a whole generic program run on the
// emulated board: the steps in the program sequence's order, with the chip's own calibration word
// (and, for "12F6", band-gap bits) saved before the erase and put into the image that is written.
#include "core/buffer_fills.h"
#include "step_bench.h"
#include "steps/blank_check.h"
#include "steps/calibration_word.h"
#include "steps/config_area_keep.h"
#include "steps/config_verify.h"
#include "steps/config_write.h"
#include "steps/eeprom_write.h"
#include "steps/erase.h"
#include "steps/memory_verify.h"
#include "steps/program_write.h"
#include "steps/socket_check.h"

#include <gtest/gtest.h>

namespace tavrin::test {
namespace {

struct RunResults {
    QString socket, erase, program, eeprom, merge, config;
    QString programVerify = result::OK, eepromVerify = result::OK, configVerify = result::OK;
    QString joined() const { return programVerify + eepromVerify + configVerify; }
};

bool isErasable(const QString& type) {
    return type == QLatin1String("12F6");
}

// A small program, a few EEPROM bytes, ID digits and a configuration word in the buffer.
void loadBuffer(Session& s) {
    FillProgramErased(s);
    FillEepromErased(s);
    FillIdConfigErased(s);
    auto& image = s.buffer.ProgramImage;
    const bool twelveBit = s.device.ProgramType == QLatin1String("12C5");
    for (int w = 0; w < 16; ++w) {
        const int word = twelveBit ? 0x0A00 + w : 0x2800 + w;
        image[2 * w] = std::uint8_t(word >> 8);
        image[2 * w + 1] = std::uint8_t(word & 0xFF);
    }
    for (int i = 0; i < 4 && i < s.device.EepromByteCount; ++i)
        s.buffer.EepromImage[2 * i + 1] = 0x10 + i;
    for (int i = 0; i < 4; ++i)
        s.buffer.ConfigIdImage[2 * i + 1] = std::uint8_t(i + 1);
    // Configuration word 1 as the device selection leaves it: every implemented bit set.
    const std::int32_t config = s.device.ConfigMask[1] | s.device.ConfigFixed[1];
    s.buffer.ConfigIdImage[14] = std::uint8_t(config >> 8);
    s.buffer.ConfigIdImage[15] = std::uint8_t(config & 0xFF);
}

// The calibration word kept from the chip goes into the last program word of the image; the
// "12F6" band-gap bits into configuration word 1.
void keepChipCalibration(Session& s) {
    ASSERT_TRUE(s.run.CalibWordRead) << "the calibration word was not read from this chip";
    const std::size_t at = 2 * std::size_t(s.device.ProgramWordCount) - 2;
    s.buffer.ProgramImage[at] = s.run.CalibWordHigh;
    s.buffer.ProgramImage[at + 1] = s.run.CalibWordLow;
    if (s.device.ProgramType == QLatin1String("12F6")) {
        auto& image = s.buffer.ConfigIdImage;
        image[14] = std::uint8_t(s.run.BandgapBits << 4 | (image[14] & 0x0F));
        s.device.ConfigValue[1] = image[14] * 256 + image[15];
    }
}

RunResults programRun(StepBench& bench) {
    Session& s = bench.s;
    BoardChannel& ch = bench.channel();
    const QString& type = s.device.ProgramType;
    RunResults r;
    CheckDeviceId(ch, r.socket);
    QString ignored;
    if (type == QLatin1String("12F6") || type == QLatin1String("12C6")) {
        ReadCalibrationWord(ch, ignored);
        if (type == QLatin1String("12F6")) ReadBandgapBits(ch, ignored);
    }
    QString blankProgram = result::Skipped, blankEeprom = result::Skipped,
            blankConfig = result::Skipped, cp = result::Skipped;
    BlankCheckProgramMemory(ch, blankProgram);
    BlankCheckEepromMemory(ch, blankEeprom);
    BlankCheckConfigWords(ch, cp, blankConfig);
    EXPECT_EQ(blankProgram, result::OK);
    if (isErasable(type)) {
        EraseChip(bench.link, r.erase);
        EXPECT_EQ(r.erase, result::OK);
    }
    keepChipCalibration(s);
    WriteProgramMemory(ch, r.program);
    WriteEepromMemory(ch, r.eeprom);
    VerifyProgramMemory(ch, r.programVerify);
    VerifyEepromMemory(ch, r.eepromVerify);
    ReadConfigForMerge(ch, r.merge);
    WriteConfigWords(ch, r.config);
    VerifyWrittenConfigWords(ch, cp, r.configVerify);
    return r;
}

struct CalibratedPart {
    const char* device;
    const char* passing; // the joined verify results of a good run
};

class CalibrationThroughAProgramRun : public ::testing::TestWithParam<CalibratedPart> {};

TEST_P(CalibrationThroughAProgramRun, FactoryValuesSurvive) {
    StepBench bench(QString::fromLatin1(GetParam().device));
    auto& chip = bench.chip();
    const std::uint16_t factoryWord = chip.program.back();
    const int factoryBandgap = chip.readConfig(0) >> 12 & 3;
    loadBuffer(bench.s);

    const RunResults r = programRun(bench);

    EXPECT_EQ(r.socket, result::OK);
    EXPECT_EQ(r.program, result::OK);
    EXPECT_EQ(r.config, result::OK);
    EXPECT_EQ(r.joined(), QString::fromLatin1(GetParam().passing));
    EXPECT_EQ(chip.program.back(), factoryWord);
    EXPECT_EQ(chip.program[3],
              bench.s.device.ProgramType == QLatin1String("12C5") ? 0x0A03 : 0x2803);
    if (bench.s.device.ProgramType == QLatin1String("12F6")) {
        EXPECT_EQ(chip.readConfig(0) >> 12 & 3, factoryBandgap);
        EXPECT_EQ(chip.eeprom[2], 0x12);
    }
}

INSTANTIATE_TEST_SUITE_P(Parts, CalibrationThroughAProgramRun,
                         ::testing::Values(CalibratedPart{"PIC12C509A", "OK--OK"},
                                           CalibratedPart{"PIC12C672", "OK--OK"},
                                           CalibratedPart{"PIC12F675", "OKOKOK"}));

} // namespace
} // namespace tavrin::test
