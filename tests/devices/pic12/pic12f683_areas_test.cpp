// The PIC12F683 procedures the extended window calls one area at a time: the erases, the
// EEPROM-only programming and the three reads, on a chip that holds the test program.
#include "pic12_bench.h"

#include "devices/pic12/pic12f683.h"

#include "core/buffer_fills.h"

#include <gtest/gtest.h>

using namespace tavrin;
using namespace tavrin::test;

namespace {

const QString kHex = pic12DataPath(QStringLiteral("blink683.hex"));
constexpr std::uint16_t kFactoryCalibration = 0x1A2B;

class Pic12F683Areas : public ::testing::Test {
  protected:
    Pic12F683Areas() {
        bench.openHex(kHex);
        bench.ops.Command_pogram_Click();
        EXPECT_EQ(bench.s.run.PassCount, 1);
        QString board;
        bench.link.CheckProgrammer(board);
        EXPECT_EQ(board, result::OK);
        bench.recordFromHere();
    }

    Pic12Bench bench{QStringLiteral("PIC12F683")};
    pic12::Pic12F683 module{bench.ops.environment()};
};

TEST_F(Pic12F683Areas, EraseChipErasesEverythingButTheCalibrationWord) {
    QString r;
    module.EraseChip(r);
    EXPECT_EQ(r, result::OK);
    EXPECT_EQ(bench.ui.statusText.trimmed(), QStringLiteral("イレース.........イレースしました。"));
    const emu::Chip& chip = bench.chip();
    EXPECT_TRUE(std::all_of(chip.program.begin(), chip.program.end(),
                            [](std::uint16_t w) { return w == 0x3FFF; }));
    EXPECT_TRUE(std::all_of(chip.eeprom.begin(), chip.eeprom.end(),
                            [](std::uint8_t b) { return b == 0xFF; }));
    EXPECT_EQ(chip.readConfig(0), 0x3FFF);
    EXPECT_EQ(chip.config[1], kFactoryCalibration);
    EXPECT_EQ(bench.sentSinceRecord(), QByteArray("nbd\x0E"
                                                  "nbd\x0F",
                                                  8));
}

TEST_F(Pic12F683Areas, AFailedProgramEraseNeverSendsTheEepromErase) {
    bench.addFault("end-code=0x21@bd");
    QString r;
    module.EraseChip(r);
    EXPECT_EQ(r, result::NG);
    EXPECT_EQ(bench.sentSinceRecord(), QByteArray("nbd\x0E", 4));
    EXPECT_EQ(bench.ui.statusText.trimmed(),
              QStringLiteral("イレース.........ＦＬＡＳＨプログラムメモリー＆コンフィグワードの"
                             "イレースに失敗しました。"));
}

TEST_F(Pic12F683Areas, AnEepromEraseThatIsNotAnsweredIsACommunicationError) {
    bench.addFault("stall=0@bd");
    QString r;
    const auto before = bench.emu.clock.nowUs();
    module.EraseEepromMemory(r);
    EXPECT_EQ(r, result::ER);
    EXPECT_GT(bench.emu.clock.nowUs() - before, 3'000'000);
    EXPECT_LT(bench.emu.clock.nowUs() - before, 4'000'000);
    EXPECT_EQ(bench.ui.statusText.trimmed(),
              QStringLiteral("イレース..........ＥＥＰＲＯＭデータメモリーイレースで通信エラーが"
                             "起きました。"));
}

TEST_F(Pic12F683Areas, ProgramEepromMemoryWritesTheEepromAloneAndClosesThePort) {
    const auto program = bench.chip().program;
    bench.s.buffer.EepromImage[2 * 10 + 1] = 0x42;
    module.ProgramEepromMemory();
    EXPECT_EQ(bench.chip().eeprom[10], 0x42);
    EXPECT_EQ(bench.chip().program, program);
    EXPECT_EQ(bench.s.run.EepromVerifyResult, result::OK);
    EXPECT_FALSE(bench.emu.port.isOpen());
}

TEST_F(Pic12F683Areas, TheReadsFillTheBufferAreaByArea) {
    const auto image = bench.s.buffer.ProgramImage;
    const auto eeprom = bench.s.buffer.EepromImage;
    FillProgramZero(bench.s);
    FillEepromZero(bench.s);
    QString r, cp;
    module.ReadProgramMemory(r);
    EXPECT_EQ(r, result::OK);
    EXPECT_TRUE(
        std::equal(image.begin(), image.begin() + 4096, bench.s.buffer.ProgramImage.begin()));
    module.ReadEepromMemory(r);
    EXPECT_EQ(r, result::OK);
    for (int k = 0; k < 256; ++k)
        ASSERT_EQ(bench.s.buffer.EepromImage[2 * k + 1], eeprom[2 * k + 1]) << k;
    bench.chip().config[0] &= ~0x0040;
    module.ReadConfigWords(r, cp);
    EXPECT_EQ(r, result::OK);
    EXPECT_EQ(cp, result::CP);
    EXPECT_EQ(bench.s.buffer.IdText, QStringLiteral("1A2C"));
    EXPECT_EQ(bench.ui.texts[Control::Lbl_ID_Dev], QStringLiteral("023"));
    EXPECT_EQ(bench.ui.texts[Control::Lbl_ID_Rev], QStringLiteral("003"));
}

} // namespace
