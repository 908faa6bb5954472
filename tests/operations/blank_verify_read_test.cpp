// The Blank, Verify and Read buttons on the generic sequences against the emulated board: the
// verdicts, the mismatch lines in the program view, the buffer filled from the chip, the end lines
// of the log.
#include "operation_bench.h"

#include "core/utilities.h"
#include "mainwindow/logic/buffer_commands.h"

#include <gtest/gtest.h>

using namespace tavrin;
using namespace tavrin::test;

namespace {

const QString kHex = testDataPath(QStringLiteral("counter84a.hex"));

QString endLine(const char* operation) {
    return QLatin1Char('\t') + QString::fromUtf8(operation) +
           QStringLiteral("\t2026/03/04 12:34:56\r\n");
}

// A PIC16F84A with the HEX file in the buffer; written() puts it into the chip.
class Generic84A : public ::testing::Test {
  protected:
    Generic84A() { bench.openHex(kHex); }
    void written() {
        bench.ops.Command_pogram_Click();
        ASSERT_EQ(bench.s.run.PassCount, 1) << bench.ui.statusText.toStdString();
        QFile::remove(bench.logPath());
        bench.ui.messages.clear();
        bench.ui.programViewLines.clear();
    }
    OperationBench bench{QStringLiteral("PIC16F84A")};
};

TEST_F(Generic84A, BlankOnAnErasedChip) {
    bench.ops.Command_blank_Click();
    EXPECT_EQ(bench.ui.statusText,
              QStringLiteral("ブランクチェック終了。　デバイスは消去されています。 "));
    EXPECT_TRUE(bench.ui.messages.empty());
    EXPECT_EQ(bench.logText(), endLine("ﾌﾞﾗﾝｸﾁｪｯｸ操作終了"));
    EXPECT_FALSE(bench.emu.port.isOpen());
}

TEST_F(Generic84A, BlankOnAWrittenChipNamesTheWrittenAreas) {
    written();
    bench.ops.Command_blank_Click();
    EXPECT_EQ(bench.ui.statusText, QStringLiteral("デバイスは消去されてません。。 "));
    EXPECT_EQ(bench.ui.statusColor, StatusColor::Red);
    ASSERT_EQ(bench.ui.messages.size(), 1u);
    EXPECT_EQ(bench.ui.messages[0].title, QStringLiteral("ブランクチェック"));
    EXPECT_EQ(
        bench.ui.messages[0].text,
        QStringLiteral("プログラムメモリ\t：　消去されていません。　　　　　　　　\r\n"
                       "ＥＥＰＲＯＭデータメモリ\t：　消去されていません。　　　　　　　　\r\n"
                       "ＣＯＮＦＩＧ　，　ＩＤ\t：　消去されていません。　　　　　　　　\r\n"));
    EXPECT_EQ(bench.logText(), endLine("ﾌﾞﾗﾝｸﾁｪｯｸ操作終了"));
}

TEST_F(Generic84A, BlankWithASilentBoardSaysSoWithoutAVerdict) {
    bench.addFault("stall=1@bs");
    bench.ops.Command_blank_Click();
    EXPECT_EQ(bench.ui.statusText, QStringLiteral("通信エラーが発生しました。 "));
    EXPECT_TRUE(bench.ui.messages.empty());
    EXPECT_FALSE(bench.emu.port.isOpen());
}

TEST_F(Generic84A, VerifyOfTheWrittenChipPasses) {
    written();
    bench.ops.Command_Vrify_Click();
    EXPECT_EQ(bench.ui.statusText, QStringLiteral("ベリファイは正常終了しました。 "));
    EXPECT_TRUE(bench.ui.programViewLines.isEmpty());
    EXPECT_EQ(bench.logText(), endLine("ﾍﾞﾘﾌｧｲ 操作終了"));
}

TEST_F(Generic84A, VerifyListsEveryDifferingWordInTheProgramView) {
    written();
    const std::uint16_t inChip5 = bench.chip().program[5];
    const std::uint16_t inChip9 = bench.chip().program[9];
    bench.setBufferWord(5, 0x1234);
    bench.setBufferWord(9, 0x0000);
    bench.ops.Command_Vrify_Click();
    EXPECT_EQ(bench.ui.programViewLines,
              QStringList({QStringLiteral("Error　 アドレス:0x0005 , 正:0x1234 , 誤:0x") +
                               hex4(inChip5) + QStringLiteral("\r\n"),
                           QStringLiteral("Error　 アドレス:0x0009 , 正:0x0000 , 誤:0x") +
                               hex4(inChip9) + QStringLiteral("\r\n")}));
    EXPECT_EQ(bench.ui.statusText, QStringLiteral("ベリファイエラーを検出しました。 "));
    EXPECT_EQ(bench.ui.statusColor, StatusColor::Red);
    ASSERT_EQ(bench.ui.messages.size(), 1u);
    EXPECT_EQ(bench.ui.messages[0].title, QStringLiteral("ベリファイエラー"));
    EXPECT_TRUE(bench.ui.messages[0].text.startsWith(QStringLiteral(
        "\r\nプログラムメモリ\t：　NG　　　　　\rＥＥＰＲＯＭデータメモリ\t：　OK")));
    EXPECT_EQ(bench.logText(), endLine("ﾍﾞﾘﾌｧｲ 操作終了"));
}

TEST_F(Generic84A, ReadFillsTheBufferWithTheChip) {
    written();
    FillPcBuffer(bench.ctx, BufferFill::Zero);
    bench.ops.Command_read_Click();
    EXPECT_EQ(bench.ui.statusText, QStringLiteral("読み出し完了。 "));
    const auto& chip = bench.chip();
    for (std::int32_t w = 0; w < 1024; ++w)
        ASSERT_EQ(bench.bufferWord(w), chip.program[w]) << "word " << w;
    for (int k = 0; k < 64; ++k)
        EXPECT_EQ(bench.s.buffer.EepromImage[2 * k + 1], chip.eeprom[k]) << "EEPROM " << k;
    const auto& config = bench.s.buffer.ConfigIdImage;
    EXPECT_EQ(config[14] * 256 + config[15], chip.readConfig(0));
    EXPECT_EQ(bench.s.device.ConfigValue[1], chip.readConfig(0));
    EXPECT_FALSE(bench.s.device.ConfigFromDevice);
    EXPECT_EQ(bench.logText(), endLine("リード 操作終了"));
    EXPECT_TRUE(bench.ui.enabled[Control::Combo_device]);
}

TEST_F(Generic84A, ReadOfAnErasedChipSaysItIsErased) {
    bench.ops.Command_read_Click();
    EXPECT_EQ(bench.ui.statusText, QStringLiteral("読み出し完了。　デバイスは消去されています。 "));
    EXPECT_EQ(bench.bufferWord(0), 0x3FFF);
}

// A read that stops at a failing area has been to the chip: its end line is written, as a failed
// blank check writes its own, and no verdict is given.
TEST(GenericRead, AReadThatStopsAtAnAreaKeepsItsEndLine) {
    for (const char* fault : {"end-code@rsp", "end-code@rsd", "stall=3@rsp"}) {
        SCOPED_TRACE(fault);
        OperationBench bench(QStringLiteral("PIC16F84A"));
        bench.addFault(fault);
        bench.ops.Command_read_Click();
        EXPECT_EQ(bench.logText(), endLine("リード 操作終了"));
        EXPECT_FALSE(bench.ui.statusText.startsWith(QStringLiteral("読み出し完了")));
        EXPECT_FALSE(bench.emu.port.isOpen());
    }
}

TEST(GenericRead, AWrongPartInTheSocketStopsTheReadWhenThePersonCancels) {
    OperationBench bench(QStringLiteral("PIC16F84A"), "PIC16F628A");
    bench.answer({MessageAnswer::Cancel});
    bench.ops.Command_read_Click();
    ASSERT_EQ(bench.ui.messages.size(), 1u);
    EXPECT_EQ(bench.ui.messages[0].title, QStringLiteral("書込みマイコンの種類の確認"));
    EXPECT_TRUE(bench.logText().isEmpty());
    EXPECT_FALSE(bench.emu.port.isOpen());
}

} // namespace
