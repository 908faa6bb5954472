// The Program button on the generic sequence, end to end against the emulated board: what ends up
// in the chip, the status line, the counters, the log line and the overwrite question.
#include "operation_bench.h"

#include "core/operation_guard.h"
#include "devices/common/overwrite_question.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace tavrin;
using namespace tavrin::test;

namespace {

const QString kHex = testDataPath(QStringLiteral("counter84a.hex"));
const QString kPassPattern =
    QStringLiteral("^プログラミング成功。\\d+sec　終了時刻：12:34:56  Pass = %1    Fail = %2 $");

QString passPattern(int pass, int fail) {
    return kPassPattern.arg(pass).arg(fail);
}

class ProgramFlash0 : public ::testing::Test {
  protected:
    ProgramFlash0() { bench.openHex(kHex); }
    OperationBench bench{QStringLiteral("PIC16F84A")};
};

TEST_F(ProgramFlash0, WritesTheHexIntoAnErasedChipAndPasses) {
    bench.ops.Command_pogram_Click();

    const emu::Chip& chip = bench.chip();
    EXPECT_EQ(std::vector<std::uint16_t>(chip.program.begin(), chip.program.end()), [] {
        auto words = hexWordsBySrecCat(kHex, 0, 1024);
        for (auto& w : words)
            w &= 0x3FFF;
        return words;
    }());
    const auto eeprom = hexWordsBySrecCat(kHex, 0x2100, 64);
    for (int k = 0; k < 64; ++k)
        EXPECT_EQ(chip.eeprom[k], eeprom[k] & 0xFF) << "EEPROM " << k;
    const auto ids = hexWordsBySrecCat(kHex, 0x2000, 4);
    // The program keeps an ID word's low four bits and sets the others.
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(chip.ids[k], 0x3FF0 | (ids[k] & 0x000F)) << "ID " << k;
    EXPECT_EQ(chip.readConfig(0), hexWordsBySrecCat(kHex, 0x2007, 1)[0] & 0x3FFF);

    EXPECT_TRUE(QRegularExpression(passPattern(1, 0)).match(bench.ui.statusText).hasMatch())
        << bench.ui.statusText.toStdString();
    EXPECT_EQ(bench.ui.statusColor, StatusColor::Black);
    EXPECT_EQ(bench.s.run.PassCount, 1);
    EXPECT_EQ(bench.s.run.AttemptCount, 1);
    EXPECT_TRUE(bench.ui.messages.empty());
    EXPECT_EQ(bench.logText().toStdString(),
              (bench.s.run.LastResultText + QStringLiteral("  PIC16F84A  ID:1234  ") + kHex +
               QStringLiteral("\t2026/03/04 12:34:56\r\n"))
                  .toStdString());
    EXPECT_FALSE(bench.emu.port.isOpen());
    EXPECT_TRUE(bench.ui.enabled[Control::Combo_device]);
    EXPECT_FALSE(operationRunning(bench.s));
}

TEST_F(ProgramFlash0, TheIdTextShownIsTheOneLogged) {
    bench.settings.idText = QStringLiteral("00AB");
    bench.ops.Command_pogram_Click();
    EXPECT_TRUE(bench.logText().contains(QStringLiteral("  PIC16F84A  ID:00AB  ")));
}

TEST_F(ProgramFlash0, AWrittenChipIsOverwrittenOnlyAfterYes) {
    bench.ops.Command_pogram_Click();
    ASSERT_EQ(bench.s.run.PassCount, 1);
    const QString firstLog = bench.logText();

    // Cancel: nothing more happens to the chip, the counters stay; the run's line says so.
    bench.setBufferWord(5, 0x0000);
    bench.answer({MessageAnswer::Cancel});
    bench.ops.Command_pogram_Click();
    ASSERT_EQ(bench.ui.messages.size(), 1u);
    EXPECT_EQ(bench.ui.messages[0].text, QStringLiteral("書込み済みです。\r\n上書きしますか？"));
    EXPECT_EQ(bench.ui.statusText, QStringLiteral("上書き操作をキャンセルしました。 "));
    EXPECT_NE(bench.chip().program[5], 0x0000);
    EXPECT_EQ(bench.s.run.PassCount, 1);
    EXPECT_EQ(bench.s.run.AttemptCount, 1);
    EXPECT_EQ(bench.s.run.FailCount, 0);
    EXPECT_TRUE(bench.logText().startsWith(firstLog));
    EXPECT_TRUE(bench.logText()
                    .mid(firstLog.size())
                    .startsWith(QStringLiteral("上書き操作をキャンセルしました。  PIC16F84A  ID:")))
        << bench.logText().toStdString();
    EXPECT_FALSE(bench.emu.port.isOpen());

    // Yes: erased and written again.
    bench.answer({MessageAnswer::Yes});
    bench.ops.Command_pogram_Click();
    EXPECT_EQ(bench.chip().program[5], 0x0000);
    EXPECT_TRUE(QRegularExpression(passPattern(2, 0)).match(bench.ui.statusText).hasMatch())
        << bench.ui.statusText.toStdString();
    EXPECT_EQ(bench.logText().count(QStringLiteral("\r\n")), 3);
}

TEST_F(ProgramFlash0, TheQuestionClosedAfterItsDocumentButtonCancels) {
    bench.ops.Command_pogram_Click();
    int asked = 0;
    bench.ops.environment().askOverwrite = [&](const QString& line1, const QString& line2) {
        ++asked;
        EXPECT_EQ(line1, kWrittenLine);
        EXPECT_EQ(line2, kOverwriteLine);
        return hint::DocumentShown;
    };
    bench.setBufferWord(5, 0x0000);
    bench.ops.Command_pogram_Click();
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(bench.ui.statusText, QStringLiteral("上書き操作をキャンセルしました。 "));
    EXPECT_NE(bench.chip().program[5], 0x0000);
    EXPECT_EQ(bench.s.run.AttemptCount, 1);
}

TEST_F(ProgramFlash0, BlankSkipWritesAWrittenChipWithoutAsking) {
    bench.ops.Command_pogram_Click();
    bench.settings.skipBlankCheck = true;
    bench.setBufferWord(5, 0x0000);
    bench.ops.Command_pogram_Click();
    EXPECT_TRUE(bench.ui.messages.empty());
    EXPECT_EQ(bench.chip().program[5], 0x0000);
    EXPECT_EQ(bench.s.run.PassCount, 2);
}

TEST_F(ProgramFlash0, ThirdPassCountsThreeAndNoFailure) {
    bench.settings.skipBlankCheck = true;
    for (int run = 0; run < 3; ++run)
        bench.ops.Command_pogram_Click();
    EXPECT_TRUE(bench.ui.statusText.endsWith(QStringLiteral("  Pass = 3    Fail = 0 ")))
        << bench.ui.statusText.toStdString();
}

TEST_F(ProgramFlash0, AVerifyFailureIsCountedLoggedAndShownArea) {
    // A program word the cell cannot hold (bit 14 set) reads back differently.
    bench.setBufferWord(0x3F0, 0x7FFF);
    bench.ops.Command_pogram_Click();
    const QString expected =
        QStringLiteral("プログラミング失敗。　終了時刻：12:34:56  Pass = 0    Fail = 1");
    EXPECT_EQ(bench.s.run.LastResultText, expected);
    EXPECT_EQ(bench.ui.statusColor, StatusColor::Red);
    EXPECT_EQ(bench.ui.statusText, expected + QLatin1Char(' '));
    EXPECT_EQ(bench.s.run.FailCount, 1);
    EXPECT_TRUE(bench.logText().startsWith(expected + QStringLiteral("  PIC16F84A  ID:")));
    ASSERT_EQ(bench.ui.messages.size(), 1u);
    EXPECT_EQ(bench.ui.messages[0].title, QStringLiteral("ベリファイ"));
    EXPECT_EQ(bench.ui.messages[0].text,
              QStringLiteral("プログラムメモリ　　　　\t=　 NG　　　　　\r\n"
                             "ＥＥＰＲＯＭデータメモリ\t=　 OK　　　　　\r\n"
                             "ＣＯＮＦＩＧ. ワード　　　\t= 　OK　　　　　\r\n"));
    EXPECT_FALSE(bench.ui.programViewLines.isEmpty());
    // The host sends the buffer's word as it stands; a strict board names it.
    const auto found = bench.emu.takeViolations();
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].kind, emu::ViolationKind::ReservedBits);
}

TEST_F(ProgramFlash0, ProgramMemoryOnlyLeavesTheEepromAndWithoutConfigPassesAsOkDashDash) {
    bench.s.run.ProgramMemoryOnlyMode = true;
    bench.s.run.IncludeConfigInPartial = false;
    bench.ops.Command_pogram_Click();
    EXPECT_EQ(bench.s.run.PassCount, 1);
    EXPECT_EQ(bench.s.run.EepromVerifyResult, result::Skipped);
    EXPECT_EQ(bench.s.run.ConfigVerifyResult, result::Skipped);
    EXPECT_EQ(bench.chip().eeprom[0], 0xFF);
    EXPECT_EQ(bench.chip().readConfig(0), 0x3FFF);
    EXPECT_EQ(bench.chip().program[0], hexWordsBySrecCat(kHex, 0, 1)[0]);
}

// The chip erase before the writes would take the data EEPROM with it: a run of program memory
// alone puts back what the chip held, the buffer's EEPROM untouched; a protected chip, whose
// EEPROM cannot be read, loses it.
TEST_F(ProgramFlash0, ProgramMemoryOnlyPutsBackTheChipsEepromAfterTheErase) {
    for (int i = 0; i < 64; ++i)
        bench.chip().eeprom[std::size_t(i)] = std::uint8_t(i * 3 + 1);
    bench.s.buffer.EepromImage[7] = 0x55;
    const auto buffer = bench.s.buffer.EepromImage;
    bench.answer({MessageAnswer::Yes});
    bench.s.run.ProgramMemoryOnlyMode = true;
    bench.s.run.IncludeConfigInPartial = true;
    bench.ops.Command_pogram_Click();
    EXPECT_EQ(bench.s.run.PassCount, 1) << bench.ui.statusText.toStdString();
    for (int i = 0; i < 64; ++i)
        EXPECT_EQ(bench.chip().eeprom[std::size_t(i)], i * 3 + 1) << i;
    EXPECT_EQ(bench.s.buffer.EepromImage, buffer);
    EXPECT_EQ(bench.chip().program[0], hexWordsBySrecCat(kHex, 0, 1)[0] & 0x3FFF);
}

TEST_F(ProgramFlash0, ProgramMemoryOnlyOnAProtectedChipErasesTheEeprom) {
    bench.chip().eeprom[3] = 0x77;
    bench.chip().config[0] &= ~0x0010; // CP
    bench.answer({MessageAnswer::Yes});
    bench.s.run.ProgramMemoryOnlyMode = true;
    bench.s.run.IncludeConfigInPartial = true;
    bench.ops.Command_pogram_Click();
    EXPECT_EQ(bench.chip().eeprom[3], 0xFF);
    EXPECT_TRUE(bench.ui.statusHistory.contains(
        QStringLiteral("コードプロテクトのため、ＥＥＰＲＯＭデータメモリーも消去しました。 ")));
    EXPECT_EQ(bench.chip().program[0], hexWordsBySrecCat(kHex, 0, 1)[0] & 0x3FFF);
}

TEST_F(ProgramFlash0, AFailedLogWriteWarnsAndTheOperationEndsCleanly) {
    // A folder where the log file should be: the file cannot be opened.
    ASSERT_TRUE(QDir(bench.dataDir.path()).mkpath(QStringLiteral("LOG_NEW0.txt")));
    bench.ops.Command_pogram_Click();
    EXPECT_EQ(bench.s.run.PassCount, 1);
    ASSERT_EQ(bench.ui.messages.size(), 1u);
    EXPECT_EQ(bench.ui.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_TRUE(bench.ui.messages[0].text.startsWith(
        QStringLiteral("ログファイルに書き込めませんでした。")));
    EXPECT_TRUE(bench.ui.statusText.startsWith(QStringLiteral("プログラミング成功。")));
    EXPECT_FALSE(bench.emu.port.isOpen());
    EXPECT_TRUE(bench.ui.enabled[Control::Command_pogram]);
    EXPECT_FALSE(operationRunning(bench.s));
}

// The chip may be left half erased: the run has its line, telling the failure.
TEST_F(ProgramFlash0, AnEraseFailureStopsBeforeAnyWriteAndCountsNothing) {
    bench.addFault("end-code@bd");
    bench.ops.Command_pogram_Click();
    EXPECT_EQ(bench.ui.statusText, QStringLiteral("チップイレース失敗。 "));
    EXPECT_EQ(bench.s.run.AttemptCount, 0);
    EXPECT_EQ(bench.chip().program[0], 0x3FFF);
    EXPECT_TRUE(bench.logText().startsWith(QStringLiteral("チップイレース失敗。  PIC16F84A  ID:")))
        << bench.logText().toStdString();
    EXPECT_EQ(bench.logText().count(QStringLiteral("\r\n")), 1);
}

TEST_F(ProgramFlash0, AWriteFailureCountsAnAttemptButNoVerdict) {
    bench.addFault("fail-at=10");
    bench.ops.Command_pogram_Click();
    ASSERT_FALSE(bench.ui.messages.empty());
    EXPECT_EQ(bench.ui.messages.back().text,
              QStringLiteral("プログラムメモリのプログラミングに失敗しました。"));
    EXPECT_EQ(bench.ui.messages.back().icon, MessageIcon::Critical);
    EXPECT_EQ(bench.s.run.AttemptCount, 1);
    EXPECT_EQ(bench.s.run.PassCount, 0);
    EXPECT_EQ(bench.s.run.FailCount, 0);
    // The attempt has its line, telling the failure.
    EXPECT_TRUE(bench.logText().startsWith(
        QStringLiteral("プログラムメモリのプログラミングに失敗しました。  PIC16F84A  ID:")))
        << bench.logText().toStdString();
    EXPECT_FALSE(bench.emu.port.isOpen());
}

TEST(ProgramFrame, NoBoardEndsWithThePortClosedAndTheControlsBack) {
    OperationBench bench(QStringLiteral("PIC16F84A"));
    bench.addFault("silent");
    bench.ops.Command_pogram_Click();
    EXPECT_EQ(bench.ui.statusColor, StatusColor::Red);
    EXPECT_TRUE(bench.ui.statusText.startsWith(QStringLiteral("ライターを検出できませんでした。")));
    EXPECT_FALSE(bench.emu.port.isOpen());
    EXPECT_TRUE(bench.ui.enabled[Control::Combo_device]);
    EXPECT_EQ(bench.ui.focus.back(), Control::Command_pogram);
    EXPECT_TRUE(bench.logText().isEmpty());
}

TEST(ProgramFrame, NoDeviceSelectedRefusesBeforeTheBoard) {
    OperationBench bench(QStringLiteral("PIC16F84A"));
    bench.s.device.SelectedDevice.clear();
    bench.ops.Command_pogram_Click();
    ASSERT_EQ(bench.ui.messages.size(), 1u);
    EXPECT_EQ(bench.ui.messages[0].text, QStringLiteral("MCUを選んでください。"));
    EXPECT_EQ(bench.emu.port.openCount(), 0);
}

} // namespace
