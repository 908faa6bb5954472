// The PIC12F683 module end to end against the emulated board: Program, Verify, Read and Blank
// from the operation buttons, with the chip's memories, the status line, the counters, the log
// and the calibration word at 0x2008 checked.
#include "pic12_bench.h"

#include "core/operation_guard.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace tavrin;
using namespace tavrin::test;

namespace {

const QString kHex = pic12DataPath(QStringLiteral("blink683.hex"));
constexpr std::uint16_t kFactoryCalibration = 0x1A2B; // the emulator's PIC12F683
constexpr int kWords = 2048;

// The status line as it shows a text without a detail.
QString line(const QString& text) {
    return text + QLatin1Char(' ');
}

bool matches(const QString& pattern, const QString& text) {
    return QRegularExpression(pattern).match(text).hasMatch();
}

class Pic12F683Operations : public ::testing::Test {
  protected:
    Pic12F683Operations() { bench.openHex(kHex); }

    void expectChipHoldsTheHex() {
        const emu::Chip& chip = bench.chip();
        auto words = hexWordsBySrecCat(kHex, 0, kWords);
        for (auto& w : words)
            w &= 0x3FFF;
        EXPECT_EQ(std::vector<std::uint16_t>(chip.program.begin(), chip.program.end()), words);
        const auto eeprom = hexWordsBySrecCat(kHex, 0x2100, 256);
        for (int k = 0; k < 256; ++k)
            ASSERT_EQ(chip.eeprom[k], eeprom[k] & 0xFF) << "EEPROM " << k;
        const auto ids = hexWordsBySrecCat(kHex, 0x2000, 4);
        for (int k = 0; k < 4; ++k)
            EXPECT_EQ(chip.ids[k] & 0x000F, ids[k] & 0x000F) << "ID " << k;
        EXPECT_EQ(chip.readConfig(0), hexWordsBySrecCat(kHex, 0x2007, 1)[0] & 0x3FFF);
        EXPECT_EQ(chip.config[1], kFactoryCalibration) << "the calibration word survives";
    }

    void expectOperationEnded() {
        EXPECT_FALSE(bench.emu.port.isOpen());
        EXPECT_TRUE(bench.ui.enabled[Control::Combo_device]);
        EXPECT_FALSE(bench.ui.busy);
        EXPECT_FALSE(operationRunning(bench.s));
    }

    Pic12Bench bench{QStringLiteral("PIC12F683")};
};

TEST_F(Pic12F683Operations, ProgramWritesAnErasedChipAndPasses) {
    bench.ops.Command_pogram_Click();

    expectChipHoldsTheHex();
    EXPECT_TRUE(matches(QStringLiteral("^プログラミング成功。\\d+sec　終了時刻：12:34:56  "
                                       "Pass = 1    Fail = 0 $"),
                        bench.ui.statusText))
        << bench.ui.statusText.toStdString();
    EXPECT_EQ(bench.s.run.PassCount, 1);
    EXPECT_EQ(bench.s.run.AttemptCount, 1);
    EXPECT_TRUE(bench.ui.messages.empty());
    EXPECT_EQ(bench.logText().toStdString(),
              (bench.s.run.LastResultText + QStringLiteral("  PIC12F683  ID:1A2C  ") + kHex +
               QStringLiteral("\t2026/03/04 12:34:56\r\n"))
                  .toStdString());
    EXPECT_TRUE(bench.ui.statusHistory.contains(line(
        QStringLiteral("プログラミング..........チップイレース(コードプロテクト解除)　成功。"))));
    expectOperationEnded();
}

TEST_F(Pic12F683Operations, VerifyAndReadAfterProgramAgreeWithTheBuffer) {
    bench.ops.Command_pogram_Click();
    ASSERT_EQ(bench.s.run.PassCount, 1);

    bench.ops.Command_Vrify_Click();
    EXPECT_EQ(bench.ui.statusText, line(QStringLiteral("ベリファイは正常終了しました。")));
    EXPECT_EQ(bench.s.run.VerifySummary, QStringLiteral("OKOKOK"));
    EXPECT_TRUE(
        bench.logText().endsWith(QStringLiteral("\tﾍﾞﾘﾌｧｲ 操作終了\t2026/03/04 12:34:56\r\n")));
    expectOperationEnded();

    const auto image = bench.s.buffer.ProgramImage;
    const auto eeprom = bench.s.buffer.EepromImage;
    std::fill(bench.s.buffer.ProgramImage.begin(), bench.s.buffer.ProgramImage.end(), 0);
    bench.ops.Command_read_Click();
    EXPECT_EQ(bench.ui.statusText, line(QStringLiteral("読み出し完了。")));
    EXPECT_TRUE(
        std::equal(image.begin(), image.begin() + 2 * kWords, bench.s.buffer.ProgramImage.begin()));
    for (int k = 0; k < 256; ++k)
        ASSERT_EQ(bench.s.buffer.EepromImage[2 * k + 1], eeprom[2 * k + 1]) << k;
    EXPECT_EQ(bench.s.buffer.IdText, QStringLiteral("1A2C"));
    EXPECT_EQ(bench.ui.texts[Control::Lbl_ID_Dev], QStringLiteral("023"));
    EXPECT_TRUE(
        bench.logText().endsWith(QStringLiteral("\tリード 操作終了\t2026/03/04 12:34:56\r\n")));
    expectOperationEnded();
}

TEST_F(Pic12F683Operations, BlankTellsAnErasedChipFromAWrittenOne) {
    bench.ops.Command_blank_Click();
    EXPECT_EQ(bench.ui.statusText, line(QStringLiteral("このＰＩＣは消去されています。")));
    EXPECT_TRUE(bench.ui.messages.empty());
    EXPECT_TRUE(
        bench.logText().endsWith(QStringLiteral("\tﾌﾞﾗﾝｸﾁｪｯｸ操作終了\t2026/03/04 12:34:56\r\n")));
    expectOperationEnded();

    // Only the EEPROM written: the box names it alone.
    bench.chip().eeprom[7] = 0x12;
    bench.ops.Command_blank_Click();
    EXPECT_EQ(bench.ui.statusText,
              line(QStringLiteral("このＰＩＣには、コードが書き込まれています。")));
    ASSERT_EQ(bench.ui.messages.size(), 1u);
    const QString text = bench.ui.messages[0].text;
    EXPECT_TRUE(text.startsWith(QStringLiteral("ＦＬＡＳＨプログラムメモリー\t：　ブランク")));
    EXPECT_TRUE(text.contains(QStringLiteral("ＥＥＰＲＯＭデーターメモリー\t：　コード書込済み")));
    EXPECT_TRUE(text.endsWith(QString(28, QChar(0x3000))));
}

TEST_F(Pic12F683Operations, AWrittenChipIsOverwrittenOnlyAfterYes) {
    bench.ops.Command_pogram_Click();
    ASSERT_EQ(bench.s.run.PassCount, 1);
    const QString firstLog = bench.logText();
    const auto chipBefore = bench.chip().program;

    bench.setBufferWord(5, 0x0000);
    bench.answer({MessageAnswer::Cancel});
    bench.ops.Command_pogram_Click();
    ASSERT_EQ(bench.ui.messages.size(), 1u);
    EXPECT_EQ(bench.ui.statusText,
              line(QStringLiteral("プログラミング..........上書き操作をキャンセルしました。")));
    EXPECT_EQ(bench.s.run.PassCount, 1);
    EXPECT_EQ(bench.s.run.AttemptCount, 1);
    EXPECT_EQ(bench.s.run.FailCount, 0);
    EXPECT_EQ(bench.chip().program, chipBefore);
    // Its own line, never the last run's text.
    EXPECT_TRUE(bench.logText().startsWith(firstLog));
    EXPECT_TRUE(
        bench.logText()
            .mid(firstLog.size())
            .startsWith(QStringLiteral(
                "プログラミング..........上書き操作をキャンセルしました。  PIC12F683  ID:")))
        << bench.logText().toStdString();

    bench.answer({MessageAnswer::Yes});
    bench.ops.Command_pogram_Click();
    EXPECT_EQ(bench.chip().program[5], 0x0000);
    EXPECT_EQ(bench.s.run.PassCount, 2);
    EXPECT_EQ(bench.chip().config[1], kFactoryCalibration);
}

TEST_F(Pic12F683Operations, AProtectedChipIsAskedAboutAsProtected) {
    bench.ops.Command_pogram_Click();
    bench.chip().config[0] &= ~0x00C0; // CP and CPD on
    bench.answer({MessageAnswer::Cancel});
    bench.ops.Command_pogram_Click();
    ASSERT_EQ(bench.ui.messages.size(), 1u);
    EXPECT_TRUE(bench.ui.messages[0].text.contains(
        QStringLiteral("書込み済みです。(コードプロテクトされています｡)")))
        << bench.ui.messages[0].text.toStdString();
    EXPECT_EQ(bench.s.run.AttemptCount, 1);

    bench.answer({MessageAnswer::Yes});
    bench.ops.Command_pogram_Click();
    EXPECT_EQ(bench.s.run.PassCount, 2);
    expectChipHoldsTheHex();
}

TEST_F(Pic12F683Operations, ProgramMemoryOnlyKeepsTheDataEeprom) {
    bench.chip().eeprom[3] = 0x77;
    bench.settings.skipBlankCheck = true;
    bench.s.run.ProgramMemoryOnlyMode = true;
    bench.s.run.IncludeConfigInPartial = true;
    bench.ops.Command_pogram_Click();
    EXPECT_EQ(bench.chip().eeprom[3], 0x77);
    EXPECT_EQ(bench.chip().program[0], hexWordsBySrecCat(kHex, 0, 1)[0]);
    EXPECT_EQ(bench.s.run.AttemptCount, 0);
    EXPECT_EQ(bench.s.run.PassCount, 0);
    EXPECT_EQ(bench.s.run.FailCount, 0);
    // No verdict, but an end that says the run is over rather than a step still running; the log
    // line says the same.
    EXPECT_TRUE(bench.logText().startsWith(QStringLiteral(
        "Ｆｌａｓｈプログラムメモリ＆コンフィグレーションワード プログラム終了  PIC12F683  ID:")))
        << bench.logText().toStdString();
    EXPECT_EQ(bench.ui.statusText,
              line(QStringLiteral(
                  "Ｆｌａｓｈプログラムメモリ＆コンフィグレーションワード プログラム終了")));
    for (const auto& c : bench.commands())
        EXPECT_NE(c, "command n wed") << "no EEPROM write";
}

// A run of program memory alone has no verdict, so it is no attempt either: the counts of the
// next whole run show no failure that never happened.
TEST_F(Pic12F683Operations, ProgramMemoryOnlyIsNoAttemptOfTheNextRunsCounts) {
    bench.settings.skipBlankCheck = true;
    bench.s.run.ProgramMemoryOnlyMode = true;
    bench.s.run.IncludeConfigInPartial = true;
    bench.ops.Command_pogram_Click();
    bench.s.run.ProgramMemoryOnlyMode = false;
    bench.s.run.IncludeConfigInPartial = false;

    bench.ops.Command_pogram_Click();
    EXPECT_TRUE(matches(QStringLiteral("^プログラミング成功。\\d+sec　終了時刻：12:34:56"
                                       "  Pass = 1    Fail = 0 $"),
                        bench.ui.statusText))
        << bench.ui.statusText.toStdString();
    EXPECT_EQ(bench.s.run.AttemptCount, 1);
    EXPECT_EQ(bench.s.run.FailCount, 0);
}

TEST_F(Pic12F683Operations, ProgramMemoryOnlyOnACodeProtectedChipStillKeepsTheEeprom) {
    bench.chip().eeprom[3] = 0x77;
    bench.chip().config[0] &= ~0x0040; // CP: the program erase releases it
    bench.settings.skipBlankCheck = true;
    bench.s.run.ProgramMemoryOnlyMode = true;
    bench.s.run.IncludeConfigInPartial = true;
    bench.ops.Command_pogram_Click();
    EXPECT_EQ(bench.chip().eeprom[3], 0x77);
    EXPECT_EQ(bench.chip().program[0], hexWordsBySrecCat(kHex, 0, 1)[0]);
}

TEST_F(Pic12F683Operations, ProgramMemoryOnlyOnAProtectedChipSaysTheEepromWasCleared) {
    bench.chip().eeprom[3] = 0x77;
    bench.chip().config[0] &= ~0x0080; // CPD
    bench.settings.skipBlankCheck = true;
    bench.s.run.ProgramMemoryOnlyMode = true;
    bench.s.run.IncludeConfigInPartial = true;
    bench.ops.Command_pogram_Click();
    EXPECT_EQ(bench.chip().eeprom[3], 0xFF);
    EXPECT_TRUE(bench.ui.statusHistory.contains(line(
        QStringLiteral("プログラミング..........チップイレース(コードプロテクト解除)　成功。"
                       "　コードプロテクトのため、ＥＥＰＲＯＭデータメモリーも消去しました。"))));
}

TEST_F(Pic12F683Operations, AnEmptySocketStopsAtTheDeviceCheck) {
    Pic12Bench empty(QStringLiteral("PIC12F683"), "none");
    empty.openHex(kHex);
    empty.ops.Command_pogram_Click();
    EXPECT_EQ(empty.ui.statusText,
              QStringLiteral("マイコンがソケットに正しくセットされていません。 キットの組立て直後の"
                             "場合は、製作にミスがある可能性があります。メニューバー ⇒ ヘルプ ⇒ "
                             "製作確認資料をご覧になり確認を行ってください。"));
    EXPECT_EQ(empty.ui.statusColor, StatusColor::Red);
    EXPECT_EQ(empty.s.run.AttemptCount, 0);
    EXPECT_TRUE(empty.logText().startsWith(
        QStringLiteral("マイコンがソケットに正しくセットされていません。  PIC12F683  ID:")))
        << empty.logText().toStdString();
    EXPECT_FALSE(empty.emu.port.isOpen());
    EXPECT_FALSE(operationRunning(empty.s));
}

TEST_F(Pic12F683Operations, AnotherPartIsWrittenOnlyWhenThePersonSaysSo) {
    Pic12Bench other(QStringLiteral("PIC12F683"), "PIC12F675");
    other.openHex(kHex);
    other.answer({MessageAnswer::Cancel});
    other.recordFromHere();
    other.ops.Command_pogram_Click();
    ASSERT_EQ(other.ui.messages.size(), 1u);
    EXPECT_EQ(other.ui.messages[0].title, QStringLiteral("書込みマイコンの種類の確認"));
    EXPECT_EQ(other.ui.messages[0].buttons, MessageButtons::OkCancel);
    EXPECT_EQ(other.ui.statusText,
              line(QStringLiteral("指定しているマイコンとソケットにセットしている"
                                  "マイコンの種類が違います。")));
    EXPECT_EQ(other.s.run.AttemptCount, 0);
    EXPECT_EQ(other.commands(), std::vector<std::string>{"command n rsc"});
    EXPECT_FALSE(other.emu.port.isOpen());
}

} // namespace

namespace {

// Choosing the part sets up its calibration tab: tab 4 alone, the three lists filled with their
// top values chosen and not to be changed; a read shows the chip's word in them.
TEST(Pic12F683CalibrationTab, IsSetUpWhenThePartIsChosenAndFollowsARead) {
    Pic12Bench bench(QStringLiteral("PIC12F683"));
    ASSERT_TRUE(bench.view.layout);
    const DeviceLayout& layout = *bench.view.layout;
    EXPECT_EQ(layout.infoTabSelected, 4);
    for (int k = 0; k < 10; ++k)
        EXPECT_EQ(layout.infoTabShown[k], k == 4) << k;
    EXPECT_TRUE(layout.calibChoiceShown);
    EXPECT_FALSE(layout.calibChoiceEnabled);

    const QStringList fcal = bench.ui.items[Control::Cmb_FCAL_Calib];
    ASSERT_EQ(fcal.size(), 128);
    EXPECT_EQ(fcal[0], QStringLiteral("-64 (最小値)"));
    EXPECT_EQ(fcal[64], QStringLiteral("0 (中央値)"));
    EXPECT_EQ(fcal[127], QStringLiteral("63 (最代値)"));
    EXPECT_EQ(bench.ui.items[Control::Cmb_BOD_Calib].value(7), QStringLiteral("7  (最大値)"));
    EXPECT_EQ(bench.ui.items[Control::Cmb_POR_Calib].value(3), QStringLiteral("3  (最大値)"));
    EXPECT_EQ(bench.ui.selectedItem[Control::Cmb_FCAL_Calib], 127);
    EXPECT_FALSE(bench.ui.enabled[Control::Cmb_BOD_Calib]);
    EXPECT_FALSE(bench.ui.enabled[Control::Cmb_FCAL_Calib]);
    EXPECT_FALSE(bench.ui.enabled[Control::Chk_12F_CalibData_Select]);

    // FCAL -3 (0b1111101), POR 1, BOD 5.
    bench.chip().config[1] = std::uint16_t((0x7D << 6) | (1 << 3) | 5);
    bench.ops.Command_read_Click();
    EXPECT_EQ(bench.ui.selectedItem[Control::Cmb_BOD_Calib], 5);
    EXPECT_EQ(bench.ui.selectedItem[Control::Cmb_POR_Calib], 1);
    EXPECT_EQ(bench.ui.selectedItem[Control::Cmb_FCAL_Calib], 61);
}

TEST(Pic12F683CalibrationTab, AnotherPartShowsNoCalibrationTab) {
    Pic12Bench bench(QStringLiteral("PIC12F675"));
    ASSERT_TRUE(bench.view.layout);
    EXPECT_FALSE(bench.view.layout->infoTabShown[4]);
    EXPECT_TRUE(bench.ui.items[Control::Cmb_FCAL_Calib].isEmpty());
}

} // namespace
