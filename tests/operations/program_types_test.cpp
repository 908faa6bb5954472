// The Program button once per programming type, on the part the device file and the emulator
// both know: a chip straight from the socket takes a program that uses every bit of its cells,
// and the run passes with what the type needs (erase, configuration merge, calibration kept).
#include "operation_bench.h"

#include "core/program_type.h"
#include "core/utilities.h"
#include "devices/common/calibration_entry.h"

#include <gtest/gtest.h>

using namespace tavrin;
using namespace tavrin::test;

namespace {

struct TypeCase {
    const char* type;
    const char* part;
};

const TypeCase kTypes[] = {
    {"5X18", "PIC16C56"},     {"5X28", "PIC16C57"},    {"12C5", "PIC12C509A"},
    {"12C6", "PIC12C672"},    {"12F6", "PIC12F629"},   {"EPROM", "PIC16C622A"},
    {"EPROM2", "PIC16C715"},  {"FLASH0", "PIC16F877"}, {"FLASH1", "PIC16F628A"},
    {"FLASH2", "PIC16F74"},   {"FLASH4", "PIC16F819"}, {"FLASH4.9", "PIC16F88"},
    {"FLASH8", "PIC16F877A"}, {"WRT400", "QZ-WRT400"}, {"18F_00", "PIC18F452"},
};

std::string caseName(const ::testing::TestParamInfo<TypeCase>& info) {
    std::string n = info.param.type;
    for (char& c : n)
        if (c == '.') c = '_';
    return n;
}

class ProgramEveryType : public ::testing::TestWithParam<TypeCase> {};

TEST_P(ProgramEveryType, AChipFromTheSocketIsWrittenAndPasses) {
    OperationBench bench(QString::fromLatin1(GetParam().part));
    Session& s = bench.s;
    const QString& type = s.device.ProgramType;
    ASSERT_EQ(type, QLatin1String(GetParam().type));
    const std::int32_t words = s.device.ProgramWordCount;
    // A calibrated part keeps its last word for the calibration.
    const std::int32_t written = isCalibratedType(type) ? words - 1 : words;
    const std::uint16_t mask = coreGroupOf(type) == CoreGroup::Bit12 ? 0x0FFF
                               : isPic18Type(type)                   ? 0xFFFF
                                                                     : 0x3FFF;
    for (std::int32_t w = 0; w < written; ++w) {
        bench.setBufferWord(w, std::uint16_t((w * 0x2F1 + 0x5A5) & mask));
        if (type == QLatin1String("EPROM2"))
            SetWordParityBits(s.buffer.ProgramImage[2 * w], s.buffer.ProgramImage[2 * w + 1]);
    }
    bench.ops.Command_pogram_Click();
    EXPECT_EQ(s.run.PassCount, 1) << bench.ui.statusText.toStdString() << " "
                                  << s.run.ProgramVerifyResult.toStdString()
                                  << s.run.EepromVerifyResult.toStdString()
                                  << s.run.ConfigVerifyResult.toStdString();
    EXPECT_TRUE(bench.ui.messages.empty())
        << (bench.ui.messages.empty() ? std::string() : bench.ui.messages[0].text.toStdString());
    EXPECT_FALSE(bench.emu.port.isOpen());

    const emu::Chip& chip = bench.chip();
    const auto& image = s.buffer.ProgramImage;
    for (std::int32_t w = 0; w < words; ++w) {
        if (isPic18Type(type)) {
            // The image holds each word high byte first; the chip in address order.
            ASSERT_EQ(chip.program18[2 * w], image[2 * w + 1]) << "word " << w;
            ASSERT_EQ(chip.program18[2 * w + 1], image[2 * w]) << "word " << w;
        } else {
            ASSERT_EQ(chip.program[w], bench.bufferWord(w)) << "word " << w;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Types, ProgramEveryType, ::testing::ValuesIn(kTypes), caseName);

} // namespace
