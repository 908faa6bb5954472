// The PIC12C5XXX module end to end against the emulated board: the one-time-programmable 12-bit
// parts keep their factory calibration word, are never erased, and are always blank-checked
// and asked about before a written chip is programmed.
#include "pic12_bench.h"

#include "core/operation_guard.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace tavrin;
using namespace tavrin::test;

namespace {

const QString kHex = pic12DataPath(QStringLiteral("blink508a.hex"));
constexpr std::uint16_t kFactoryCalibration = 0x0C5A; // the emulator's 12C5xx parts
constexpr int kWords = 512;

QString line(const QString& text) {
    return text + QLatin1Char(' ');
}

class Pic12C508A : public ::testing::Test {
  protected:
    Pic12C508A() { bench.openHex(kHex); }

    void expectChipHoldsTheHex() {
        const emu::Chip& chip = bench.chip();
        auto words = hexWordsBySrecCat(kHex, 0, kWords);
        for (auto& w : words)
            w &= 0x0FFF;
        words.back() = kFactoryCalibration;
        EXPECT_EQ(std::vector<std::uint16_t>(chip.program.begin(), chip.program.end()), words);
        const auto ids = hexWordsBySrecCat(kHex, kWords, 4);
        for (int k = 0; k < 4; ++k)
            EXPECT_EQ(chip.ids[k], ids[k] & 0x0FFF) << "ID " << k;
        EXPECT_EQ(chip.readConfig(0), hexWordsBySrecCat(kHex, 0xFFF, 1)[0] & 0x0FFF);
    }

    void expectOperationEnded() {
        EXPECT_FALSE(bench.emu.port.isOpen());
        EXPECT_TRUE(bench.ui.enabled[Control::Combo_device]);
        EXPECT_FALSE(bench.ui.busy);
        EXPECT_FALSE(operationRunning(bench.s));
    }

    Pic12Bench bench{QStringLiteral("PIC12C508A")};
};

TEST_F(Pic12C508A, BlankShowsTheCalibrationWordOfAnErasedChip) {
    bench.ops.Command_blank_Click();
    EXPECT_EQ(bench.ui.statusText,
              line(QStringLiteral("デバイスは消去されています。\r\nキャリブレーションデータ格納"
                                  "アドレス(0x01FF)のデータは0x0C5A です。")));
    EXPECT_TRUE(bench.ui.messages.empty());
    EXPECT_TRUE(
        bench.logText().endsWith(QStringLiteral("\tﾌﾞﾗﾝｸﾁｪｯｸ操作終了\t2026/03/04 12:34:56\r\n")));
    expectOperationEnded();
}

TEST_F(Pic12C508A, ProgramKeepsTheFactoryCalibrationAndPasses) {
    bench.ops.Command_pogram_Click();

    expectChipHoldsTheHex();
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^プログラミング成功。\\d+sec　終了時刻：12:34:56"
                                                  "  Pass = 1    Fail = 0 $"))
                    .match(bench.ui.statusText)
                    .hasMatch())
        << bench.ui.statusText.toStdString();
    EXPECT_TRUE(bench.ui.messages.empty());
    EXPECT_EQ(bench.ui.texts[Control::Lbl_Calib_ReadWrite_Data], QStringLiteral("R:0C5A,W:0C5A"));
    EXPECT_EQ(bench.logText().toStdString(),
              (bench.s.run.LastResultText +
               QStringLiteral("  PIC12C508A  ID:5A3C  R:0C5A,W:0C5A  ") + kHex +
               QStringLiteral("\t2026/03/04 12:34:56\r\n"))
                  .toStdString());
    expectOperationEnded();
}

TEST_F(Pic12C508A, VerifyAndReadAfterProgram) {
    bench.ops.Command_pogram_Click();
    ASSERT_EQ(bench.s.run.PassCount, 1);

    bench.ops.Command_Vrify_Click();
    EXPECT_EQ(bench.ui.statusText, line(QStringLiteral("ベリファイは正常終了しました。")));
    EXPECT_TRUE(
        bench.logText().endsWith(QStringLiteral("\tﾍﾞﾘﾌｧｲ 操作終了\t2026/03/04 12:34:56\r\n")));
    expectOperationEnded();

    bench.s.buffer.IdText.clear();
    bench.ops.Command_read_Click();
    EXPECT_EQ(bench.ui.statusText, line(QStringLiteral("読み出し完了。")));
    EXPECT_EQ(bench.s.buffer.IdText, QStringLiteral("5A3C"));
    EXPECT_EQ(bench.ui.texts[Control::frmAbout_Label_ID_Word],
              QStringLiteral("READ:0005:000A:0003:000C"));
    EXPECT_EQ(bench.bufferWord(kWords - 1), kFactoryCalibration);
    EXPECT_EQ(bench.ui.texts[Control::Text_Calib_Data], QStringLiteral("5A"));
    EXPECT_TRUE(
        bench.logText().endsWith(QStringLiteral("\tリード 操作終了\t2026/03/04 12:34:56\r\n")));
    expectOperationEnded();
}

TEST_F(Pic12C508A, AWrittenChipKeepsItsCalibrationAndIsAskedAbout) {
    bench.ops.Command_pogram_Click();
    ASSERT_EQ(bench.s.run.PassCount, 1);
    const QString firstLog = bench.logText();

    // The blank check cannot see the calibration word of a written chip, and says so.
    bench.ops.Command_blank_Click();
    EXPECT_EQ(bench.ui.statusText,
              line(QStringLiteral("デバイスは消去されてません。。\r\nキャリブレーションデータ格納"
                                  "アドレス(0x01FF)のデータは0x---- です。")));
    EXPECT_EQ(bench.ui.statusColor, StatusColor::Red);
    ASSERT_EQ(bench.ui.messages.size(), 1u);
    EXPECT_EQ(bench.ui.messages[0].title, QStringLiteral("ブランクチェック"));

    // Cancel: no counter changes, nothing logged, nothing written.
    const auto chipBefore = bench.chip().program;
    bench.s.run.CalibWordHigh = 0x0C;
    bench.s.run.CalibWordLow = 0x11; // what another chip had
    bench.answer({MessageAnswer::Cancel});
    bench.ops.Command_pogram_Click();
    ASSERT_EQ(bench.ui.messages.size(), 2u);
    EXPECT_TRUE(bench.ui.messages[1].text.contains(QStringLiteral("書込み済みです。")));
    EXPECT_EQ(bench.ui.statusText, line(QStringLiteral("上書き操作をキャンセルしました。")));
    EXPECT_EQ(bench.s.run.AttemptCount, 1);
    EXPECT_EQ(bench.s.run.PassCount, 1);
    EXPECT_EQ(bench.chip().program, chipBefore);

    // Yes: the word written back is this chip's own, read before the question.
    bench.answer({MessageAnswer::Yes});
    bench.ops.Command_pogram_Click();
    EXPECT_EQ(bench.s.run.PassCount, 2);
    EXPECT_EQ(bench.chip().program.back(), kFactoryCalibration);
    EXPECT_EQ(bench.ui.texts[Control::Lbl_Calib_ReadWrite_Data], QStringLiteral("R:0C5A,W:0C5A"));
}

TEST_F(Pic12C508A, AProtectedChipWhoseCalibrationCannotBeReadIsNotWritten) {
    bench.chip().program[3] = 0x0000;
    bench.chip().config[0] &= ~0x0008; // CP on: the program memory reads zeros
    bench.ops.Command_pogram_Click();
    EXPECT_EQ(bench.ui.statusColor, StatusColor::Red);
    ASSERT_EQ(bench.ui.messages.size(), 1u) << "refused before the question";
    EXPECT_EQ(bench.ui.messages[0].title, QStringLiteral("キャリブレーションデータ"));
    EXPECT_EQ(bench.s.run.AttemptCount, 0);
    EXPECT_EQ(bench.chip().program.back(), kFactoryCalibration);
    // The run went to the chip: its line tells why it stopped.
    EXPECT_TRUE(bench.logText().startsWith(
        QStringLiteral("ＰＩＣ内部のキャリブレーションデータを読み出せませんでした。"
                       "書込みを中止しました。  PIC12C508A  ID:")))
        << bench.logText().toStdString();
    expectOperationEnded();
}

// A reply of the program scan or of the configuration read without its end code.
TEST(Pic12C508ABlankCheck, ACommunicationFailureIsNotCalledAWrittenChipAndIsLogged) {
    for (const char* fault : {"end-code=0x21@bs", "end-code=0x21@rsc"}) {
        SCOPED_TRACE(fault);
        Pic12Bench bench{QStringLiteral("PIC12C508A")};
        bench.openHex(kHex);
        bench.addFault(fault);
        bench.ops.Command_blank_Click();
        EXPECT_EQ(bench.ui.statusText,
                  line(QStringLiteral("ブランクチェック中に通信エラーが発生しました。")));
        EXPECT_EQ(bench.ui.statusColor, StatusColor::Red);
        EXPECT_TRUE(bench.ui.messages.empty());
        // The end line is written however the blank check ended.
        EXPECT_EQ(bench.logText().toStdString(),
                  QStringLiteral("\tﾌﾞﾗﾝｸﾁｪｯｸ操作終了\t2026/03/04 12:34:56\r\n").toStdString());
        EXPECT_FALSE(bench.emu.port.isOpen());
        EXPECT_TRUE(bench.ui.enabled[Control::Combo_device]);
        EXPECT_FALSE(operationRunning(bench.s));
    }
}

TEST_F(Pic12C508A, AnEmptySocketIsNeverProgrammed) {
    Pic12Bench empty(QStringLiteral("PIC12C508A"), "none");
    empty.openHex(kHex);
    empty.ops.Command_pogram_Click();
    // An empty socket reads zeros: written, and no calibration word to keep.
    EXPECT_EQ(empty.s.run.AttemptCount, 0);
    // The run went to the socket: its line tells why it stopped.
    EXPECT_TRUE(empty.logText().startsWith(
        QStringLiteral("ＰＩＣ内部のキャリブレーションデータを読み出せませんでした。"
                       "書込みを中止しました。  PIC12C508A  ID:")))
        << empty.logText().toStdString();
    EXPECT_FALSE(empty.emu.port.isOpen());
}

} // namespace
