// Program, Read, Verify and Blank of the three parts through the main window's operations and
// the emulated board: the chip ends up holding the HEX file, a read brings it back into a
// cleared buffer, a verify of the same chip passes, and an erased chip is blank.
#include "pic18_bench.h"

#include "core/buffer_fills.h"
#include "core/session.h"
#include "devices/common/result_log.h"

#include <gtest/gtest.h>

using namespace tavrin;
using namespace tavrin::test;

namespace {

class RoundTrip : public ::testing::TestWithParam<const char*> {};

TEST_P(RoundTrip, ProgramReadVerifyAndBlank) {
    const QString device = QString::fromLatin1(GetParam());
    Pic18Bench bench(device);
    const Pic18Image image = randomPic18Image(GetParam(), 18);

    bench.ops.Command_blank_Click();
    EXPECT_EQ(bench.s.run.ChipEraseResult, QStringLiteral("OKOKOK"))
        << bench.ui.statusText.toStdString();
    EXPECT_EQ(bench.ui.statusText, QStringLiteral("デバイスは消去されています。\r\n "));
    EXPECT_TRUE(bench.ui.messages.empty());

    bench.openImage(image);
    bench.ops.Command_pogram_Click();
    EXPECT_TRUE(bench.ui.statusText.startsWith(QStringLiteral("プログラミング成功。")))
        << bench.ui.statusText.toStdString();
    EXPECT_EQ(bench.s.run.PassCount, 1);
    const Pic18Image chip = chipImage(bench.chip());
    EXPECT_EQ(chip.program, image.program);
    EXPECT_EQ(chip.eeprom, image.eeprom);
    EXPECT_EQ(chip.id, image.id);
    EXPECT_EQ(chip.config, image.config);

    FillProgramErased(bench.s);
    FillEepromErased(bench.s);
    bench.ops.Command_read_Click();
    EXPECT_EQ(bench.s.run.ProgramStepResult, result::OK);
    EXPECT_EQ(bench.s.run.EepromStepResult, result::OK);
    EXPECT_EQ(bench.s.run.ConfigStepResult, result::OK);
    for (std::size_t i = 0; i < image.program.size(); ++i)
        ASSERT_EQ(bench.s.buffer.ProgramImage[i ^ 1], image.program[i]) << "byte " << i;
    for (std::size_t i = 0; i < image.eeprom.size(); ++i)
        ASSERT_EQ(bench.s.buffer.EepromImage[i], image.eeprom[i]) << "EEPROM " << i;

    bench.ui.messages.clear();
    bench.ops.Command_Vrify_Click();
    EXPECT_EQ(bench.s.run.VerifySummary, QStringLiteral("OKOKOK"));
    EXPECT_EQ(bench.ui.statusText, QStringLiteral("ベリファイは正常終了しました。 "));
    EXPECT_TRUE(bench.ui.messages.empty());

    const QStringList log = bench.logText().split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(log.size(), 4);
    EXPECT_EQ(log[0], QStringLiteral("\tﾌﾞﾗﾝｸﾁｪｯｸ操作終了\t") + logDateTime(kBenchNow));
    EXPECT_TRUE(log[1].startsWith(bench.s.run.LastResultText + QStringLiteral("  ") + device));
    EXPECT_EQ(log[2], QStringLiteral("\tリード 操作終了\t") + logDateTime(kBenchNow));
    EXPECT_EQ(log[3], QStringLiteral("\tﾍﾞﾘﾌｧｲ 操作終了\t") + logDateTime(kBenchNow));
    EXPECT_FALSE(bench.emu.port.isOpen());
}

INSTANTIATE_TEST_SUITE_P(Pic18, RoundTrip,
                         ::testing::Values("PIC18F452", "PIC18F8720", "PIC18F252"));

} // namespace
