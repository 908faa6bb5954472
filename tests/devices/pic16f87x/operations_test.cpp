// The four buttons for each of the four names, in process against the emulated board: the chip
// ends up holding the HEX, the status lines, boxes and log lines are the family's, and the chip
// in place is checked against the one chosen.
#include "family_cases.h"

#include "core/session.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace tavrin;
using namespace tavrin::test;

namespace {

class EveryName : public ::testing::TestWithParam<FamilyCase> {};

TEST_P(EveryName, ProgramVerifyReadAndBlankEndToEnd) {
    const FamilyCase& c = GetParam();
    OperationBench bench(QString::fromLatin1(c.device));
    Session& s = bench.s;

    bench.ui.statusHistory.clear();
    bench.ops.Command_blank_Click();
    EXPECT_EQ(statusLine(bench.ui), QStringLiteral("デバイスは消去されています。\r\n"));
    EXPECT_TRUE(bench.ui.messages.empty());
    EXPECT_TRUE(bench.logText().contains(QStringLiteral("\tﾌﾞﾗﾝｸﾁｪｯｸ操作終了\t")));

    bench.openHex(familyDataPath(c.hex));
    bench.ops.Command_pogram_Click();
    EXPECT_EQ(s.run.PassCount, 1) << bench.ui.statusText.toStdString();
    EXPECT_EQ(s.run.AttemptCount, 1);
    EXPECT_TRUE(bench.ui.messages.empty())
        << (bench.ui.messages.empty() ? "" : bench.ui.messages[0].text.toStdString());
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^プログラミング成功。\\d+sec　終了時刻：.*  "
                                                  "Pass = 1    Fail = 0$"))
                    .match(statusLine(bench.ui))
                    .hasMatch())
        << bench.ui.statusText.toStdString();
    EXPECT_TRUE(bench.logText().contains(s.run.LastResultText + QStringLiteral("  ") +
                                         QString::fromLatin1(c.device) + QStringLiteral("  ID:")))
        << bench.logText().toStdString();
    EXPECT_FALSE(bench.emu.port.isOpen());
    EXPECT_TRUE(bench.ui.enabled[Control::Command_pogram]);
    EXPECT_FALSE(bench.ui.busy);
    expectChipHoldsBuffer(bench, "after Program");
    // The skip mark of the reserved words went out in a copy only.
    EXPECT_EQ(s.buffer.ConfigIdImage[8], 0x3F);
    EXPECT_EQ(s.buffer.ConfigIdImage[12], 0x3F);

    bench.ops.Command_Vrify_Click();
    EXPECT_EQ(statusLine(bench.ui), QStringLiteral("ベリファイは正常終了しました。"));
    EXPECT_TRUE(bench.logText().contains(QStringLiteral("\tﾍﾞﾘﾌｧｲ 操作終了\t")));

    // Read into a buffer that holds something else.
    const auto programmed = s.buffer.ProgramImage;
    const auto eeprom = s.buffer.EepromImage;
    std::fill(s.buffer.ProgramImage.begin(), s.buffer.ProgramImage.end(), 0);
    std::fill(s.buffer.EepromImage.begin(), s.buffer.EepromImage.end(), 0);
    bench.ops.Command_read_Click();
    EXPECT_EQ(statusLine(bench.ui), QStringLiteral("読み出し完了。"));
    EXPECT_TRUE(std::equal(programmed.begin(), programmed.begin() + 2 * 8192,
                           s.buffer.ProgramImage.begin()));
    EXPECT_TRUE(std::equal(eeprom.begin(), eeprom.begin() + 512, s.buffer.EepromImage.begin()));
    EXPECT_EQ(s.device.ConfigValue[1], 0x3F72);
    EXPECT_EQ(bench.ui.texts[Control::Lbl_ID_Dev],
              QStringLiteral("%1").arg(c.deviceIdWord >> 5, 3, 16, QLatin1Char('0')).toUpper());
    EXPECT_EQ(bench.ui.texts[Control::Lbl_ID_Rev], QStringLiteral("003"));
    EXPECT_TRUE(bench.logText().contains(QStringLiteral("\tリード 操作終了\t")));

    bench.ops.Command_blank_Click();
    EXPECT_EQ(statusLine(bench.ui), QStringLiteral("デバイスは消去されてません。。\r\n"));
    EXPECT_EQ(bench.ui.statusColor, StatusColor::Red);
    ASSERT_EQ(bench.ui.messages.size(), 1u);
    EXPECT_EQ(bench.ui.messages[0].title, QStringLiteral("ブランクチェック"));
    EXPECT_TRUE(bench.ui.messages[0].text.startsWith(
        QStringLiteral("プログラムメモリ\t：　消去されていません。")));

    // A second run overwrites only after the question was answered with overwrite.
    bench.answer({MessageAnswer::Yes});
    bench.ops.Command_pogram_Click();
    EXPECT_EQ(s.run.PassCount, 2) << bench.ui.statusText.toStdString();
}

TEST_P(EveryName, AProtectedChipIsReportedAndNotVerified) {
    const FamilyCase& c = GetParam();
    OperationBench bench(QString::fromLatin1(c.device));
    Session& s = bench.s;
    bench.openHex(familyDataPath(c.protectedHex));
    bench.ops.Command_pogram_Click();
    // Protection comes with the configuration word, written after the memories were verified.
    EXPECT_EQ(s.run.PassCount, 1) << bench.ui.statusText.toStdString();
    EXPECT_EQ(s.run.CodeProtectState, result::CP);

    bench.ui.messages.clear();
    bench.ops.Command_Vrify_Click();
    EXPECT_EQ(statusLine(bench.ui), QStringLiteral("このデバイスはコードプロテクトされています。"));
    EXPECT_EQ(bench.ui.statusColor, StatusColor::Red);
    ASSERT_EQ(bench.ui.messages.size(), 1u);
    EXPECT_EQ(bench.ui.messages[0].title, QStringLiteral("ベリファイ"));
    EXPECT_EQ(
        bench.ui.messages[0].text,
        QStringLiteral("このデバイスはコードプロテクトされています。\rベリファイををスキップしま"
                       "した。             "));

    bench.ops.Command_read_Click();
    EXPECT_EQ(
        statusLine(bench.ui),
        QStringLiteral("コードプロテクトされています。（または不適切なデータがコードプロテクト"
                       "ビットにセットされています。）"));

    // The question before overwriting names the protection; the chip erase releases it.
    int asked = 0;
    bench.ops.environment().askOverwrite = [&](const QString& line1, const QString&) {
        ++asked;
        EXPECT_EQ(line1, QStringLiteral("書込み済みです。(コードプロテクトされています｡)"));
        return std::int16_t(1);
    };
    bench.openHex(familyDataPath(c.hex));
    bench.ops.Command_pogram_Click();
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(statusLine(bench.ui).left(10), QStringLiteral("プログラミング成功。"));
    expectChipHoldsBuffer(bench, "after the protection was released");
}

INSTANTIATE_TEST_SUITE_P(Family, EveryName, ::testing::ValuesIn(familyCases()),
                         [](const auto& info) { return caseName(info.param); });

TEST(WrongPart, AnotherKindAsksAndOkGoesOn) {
    OperationBench bench(QStringLiteral("PIC16F877"), "PIC16F877A");
    bench.openHex(familyDataPath("blink16f877.hex"));
    bench.answer({MessageAnswer::Cancel});
    bench.ops.Command_pogram_Click();
    ASSERT_EQ(bench.ui.messages.size(), 1u);
    EXPECT_EQ(bench.ui.messages[0].title, QStringLiteral("書込みマイコンの種類の確認"));
    EXPECT_EQ(bench.ui.messages[0].buttons, MessageButtons::OkCancel);
    EXPECT_TRUE(bench.ui.statusHistory.last().startsWith(QStringLiteral(
        "指定しているマイコンとソケットにセットしているマイコンの種類が違います。")));
    EXPECT_EQ(bench.s.run.AttemptCount, 0);
    EXPECT_EQ(bench.chip().program[0], 0x3FFF);
    EXPECT_FALSE(bench.emu.port.isOpen());

    // OK goes on with the chip in the socket.
    bench.answer({MessageAnswer::Ok});
    bench.ops.Command_read_Click();
    EXPECT_EQ(bench.ui.messages.size(), 2u);
    EXPECT_EQ(statusLine(bench.ui), QStringLiteral("読み出し完了。　デバイスは消去されています。"));
    EXPECT_EQ(bench.ui.texts[Control::Lbl_ID_Dev], QStringLiteral("071"));
}

TEST(WrongPart, AnotherModuleAlwaysStopsAndNamesTheOneFound) {
    struct Case {
        const char* device;
        const char* module;
        const char* named;
    };
    const Case cases[] = {{"QZ-WRT400", "QZ-WRT400A", "ＱＺ－ＷＲＴ４００Ａ"},
                          {"QZ-WRT400A", "QZ-WRT400", "ＱＺ－ＷＲＴ４００"}};
    for (const Case& c : cases) {
        OperationBench bench(QString::fromLatin1(c.device), c.module);
        bench.ops.Command_pogram_Click();
        EXPECT_EQ(statusLine(bench.ui), QStringLiteral("モジュールが違います。")) << c.device;
        ASSERT_EQ(bench.ui.messages.size(), 1u) << c.device;
        const auto& box = bench.ui.messages[0];
        EXPECT_EQ(box.title, QStringLiteral("モジュールチェック"));
        EXPECT_EQ(box.buttons, MessageButtons::Ok);
        EXPECT_EQ(box.text,
                  QStringLiteral("『") + QString::fromUtf8(c.named) +
                      QStringLiteral("』モジュールがセットされています。\r\n「デバイス選択」で『") +
                      QString::fromUtf8(c.named) +
                      QStringLiteral("』を選んでやり直してください。\r\nＨＥＸファイルは、") +
                      QString::fromUtf8(c.named) + QStringLiteral("用を使用してください。"));
        EXPECT_EQ(bench.s.run.AttemptCount, 0);
        // Read stops the same way; Verify of a module runs no check at all.
        bench.ops.Command_read_Click();
        EXPECT_EQ(bench.ui.messages.size(), 2u);
    }
}

TEST(WrongPart, AnEmptyPlaceIsNotSeated) {
    struct Case {
        const char* device;
        const char* status;
        bool detail;
    };
    const Case cases[] = {
        {"PIC16F877A", "マイコンがソケットに正しくセットされていません。", true},
        {"QZ-WRT400", "モジュールがソケットに正しくセットされていません。", false},
        {"QZ-WRT400A", "モジュールががソケットに正しくセットされていません。", false},
    };
    for (const Case& c : cases) {
        OperationBench bench(QString::fromLatin1(c.device), "none");
        bench.ops.Command_read_Click();
        EXPECT_TRUE(bench.ui.statusText.startsWith(QString::fromUtf8(c.status)))
            << bench.ui.statusText.toStdString();
        EXPECT_EQ(bench.ui.statusText.contains(QStringLiteral("製作確認資料")), c.detail);
        EXPECT_EQ(bench.ui.statusColor, StatusColor::Red);
        EXPECT_TRUE(bench.ui.messages.empty());
        EXPECT_FALSE(bench.logText().contains(QStringLiteral("リード")));
    }
}

TEST(Cancel, OnlyOverwriteGoesOn) {
    OperationBench bench(QStringLiteral("PIC16F877A"));
    bench.openHex(familyDataPath("blink16f877a.hex"));
    bench.ops.Command_pogram_Click();
    ASSERT_EQ(bench.s.run.PassCount, 1);
    // A window closed after its document button (3) is no consent, nor is Cancel (2).
    for (std::int16_t answer : {std::int16_t(2), std::int16_t(3)}) {
        bench.ops.environment().askOverwrite = [answer](const QString&, const QString&) {
            return answer;
        };
        bench.chip().program[5] = 0x1111;
        bench.ops.Command_pogram_Click();
        EXPECT_EQ(statusLine(bench.ui), QStringLiteral("上書き操作をキャンセルしました。"));
        EXPECT_EQ(bench.s.run.AttemptCount, 1);
        EXPECT_EQ(bench.chip().program[5], 0x1111);
    }
}

TEST(ProgramMemoryOnly, FlagsSkipTheEepromAndPerhapsTheConfiguration) {
    for (bool withConfig : {true, false}) {
        OperationBench bench(QStringLiteral("QZ-WRT400A"));
        bench.openHex(familyDataPath("blink16f877a.hex"));
        bench.s.run.ProgramMemoryOnlyMode = true;
        bench.s.run.IncludeConfigInPartial = withConfig;
        bench.ops.Command_pogram_Click();
        EXPECT_EQ(bench.s.run.PassCount, 1) << bench.ui.statusText.toStdString();
        EXPECT_EQ(bench.s.run.EepromVerifyResult, result::Skipped);
        EXPECT_EQ(bench.s.run.ConfigVerifyResult, withConfig ? result::OK : result::Skipped);
        EXPECT_EQ(bench.chip().eeprom[0], 0xFF);
        EXPECT_EQ(bench.chip().ids[0] != 0x3FFF, withConfig);
    }
}

} // namespace
