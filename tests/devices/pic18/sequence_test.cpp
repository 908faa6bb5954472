// The decisions inside the operations: which parts pass the device-ID check, what code
// protection does to read, blank check and verify, what the verify reports, the overwrite
// question, and the program-memory-only run of the extended window, which must leave the chip's
// EEPROM alone.
#include "pic18_bench.h"

#include "core/operation_guard.h"
#include "core/session.h"
#include "devices/pic18/pic18_module.h"
#include "link/board_link.h"

#include <gtest/gtest.h>

using namespace tavrin;
using namespace tavrin::test;

namespace {

// The module of the selected part, with the board identified as an operation's prologue does.
Pic18Module moduleOn(Pic18Bench& bench) {
    QString result;
    bench.link.CheckProgrammer(result);
    EXPECT_EQ(result, result::OK);
    return Pic18Module(*pic18VariantFor(bench.s.device.SelectedDevice), bench.ops.environment());
}

TEST(DeviceId, KindsAndTheWrongPartQuestion) {
    struct Case {
        const char* device;
        const char* socket;
        MessageAnswer answer;
        const char* result;
        bool asked;
    };
    const Case cases[] = {
        {"PIC18F8720", "PIC18F8720", MessageAnswer::Ok, "OK", false},
        {"PIC18F452", "PIC18F452", MessageAnswer::Ok, "OK", false},
        {"PIC18F252", "PIC18F252", MessageAnswer::Ok, "OK", false},
        {"PIC18F252", "PIC18F452", MessageAnswer::Ok, "OK", true}, // continue with that part
        {"PIC18F252", "PIC18F452", MessageAnswer::Cancel, "NG", true},
        {"PIC18F8720", "PIC18F242", MessageAnswer::Cancel, "NG", true},
        {"PIC18F452", "none", MessageAnswer::Ok, "NG", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.device) + " with " + c.socket);
        Pic18Bench bench(QString::fromLatin1(c.device), c.socket);
        Pic18Module module = moduleOn(bench);
        bench.answer({c.answer});
        QString result;
        module.CheckDeviceId(result);
        EXPECT_EQ(result, QString::fromLatin1(c.result));
        EXPECT_EQ(bench.ui.messages.size(), c.asked ? 1u : 0u);
        if (c.asked) {
            EXPECT_EQ(bench.ui.messages[0].title, QStringLiteral("書込みマイコンの種類の確認"));
            EXPECT_EQ(bench.ui.messages[0].buttons, MessageButtons::OkCancel);
            EXPECT_EQ(bench.ui.statusText, QStringLiteral("指定しているマイコンとソケットにセット"
                                                          "しているマイコンの種類が違います。 "));
        }
        if (std::string(c.socket) == "none") {
            EXPECT_EQ(bench.ui.statusColor, StatusColor::Red);
            EXPECT_TRUE(bench.ui.statusText.startsWith(
                QStringLiteral("マイコンがソケットに正しくセットされていません。 キット")));
        }
    }
}

// CONFIG5 as the chip holds it, and what read, blank check and verify make of it.
TEST(Protection, ReadBlankAndVerify) {
    struct Case {
        std::uint8_t cp5l, cp5h;
        const char* state;
    };
    const Case cases[] = {
        {0x0F, 0xC0, "--"}, {0x0E, 0xC0, "P-"}, {0x0F, 0x40, "-D"}, {0x0F, 0x80, "P-"}, // CPB
        {0x00, 0x00, "PD"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.state);
        Pic18Bench bench(QStringLiteral("PIC18F452"));
        Pic18Image image = randomPic18Image("PIC18F452", 11);
        image.config[8] = c.cp5l;
        image.config[9] = c.cp5h;
        bench.loadChip(image);

        bench.ops.Command_read_Click();
        EXPECT_EQ(bench.s.run.CodeProtectState, QString::fromLatin1(c.state));
        if (std::string(c.state) != "--") {
            EXPECT_EQ(bench.ui.statusColor, StatusColor::Red);
            EXPECT_TRUE(bench.ui.statusText.endsWith(
                QStringLiteral("（不適切なデータがコンフィグワードにセットされています。） ")));
        }

        bench.ui.messages.clear();
        bench.ops.Command_blank_Click();
        EXPECT_EQ(bench.s.run.CodeProtectState, QString::fromLatin1(c.state));
        ASSERT_EQ(bench.ui.messages.size(), 1u); // the chip holds code in any case
        EXPECT_EQ(bench.ui.messages[0].text.endsWith(pic18ProtectionText(c.state)), true);

        // Verify against what was read: protection skips the compares with one box, no log line.
        bench.ui.messages.clear();
        const int linesBefore = int(bench.logText().count(QStringLiteral("\r\n")));
        bench.ops.Command_Vrify_Click();
        if (std::string(c.state) == "--") {
            EXPECT_EQ(bench.s.run.VerifySummary, QStringLiteral("OKOKOK"));
            EXPECT_EQ(bench.logText().count(QStringLiteral("\r\n")), linesBefore + 1);
        } else {
            ASSERT_EQ(bench.ui.messages.size(), 1u);
            EXPECT_EQ(bench.ui.messages[0].title, QStringLiteral("ベリファイ"));
            EXPECT_TRUE(bench.ui.messages[0].text.endsWith(
                QStringLiteral("\rベリファイををスキップしました。             ")));
            EXPECT_EQ(bench.logText().count(QStringLiteral("\r\n")), linesBefore);
        }
    }
}

// A configuration reply cut short after a protected chip: the verify must not skip as protected
// on the earlier chip's state, and must not say "Config : OK".
TEST(Protection, AShortConfigurationReplyIsACommunicationFailure) {
    Pic18Bench bench(QStringLiteral("PIC18F452"));
    const Pic18Image image = randomPic18Image("PIC18F452", 12);
    bench.loadChip(image);
    bench.s.run.CodeProtectState = QStringLiteral("PD");
    bench.openImage(image);
    bench.addFault("end-code=0x21@Xrsc");
    bench.ops.Command_Vrify_Click();
    EXPECT_EQ(bench.ui.statusHistory.filter(QStringLiteral("モジュールチェック失敗")).size(), 1);

    Pic18Bench second(QStringLiteral("PIC18F452"));
    second.loadChip(image);
    second.openImage(image);
    second.s.run.CodeProtectState = QStringLiteral("PD");
    second.addFault("stall=200@Xrsc"); // device ID and ID pass, configuration stops
    second.ops.Command_Vrify_Click();
    EXPECT_EQ(second.s.run.CodeProtectState, QStringLiteral("--"));
    EXPECT_EQ(second.s.run.ConfigVerifyResult, result::ER);
    EXPECT_EQ(second.s.run.Pic18ConfigVerifyResult, QStringLiteral(" ERROR"));
    // The board failed the exchange: nothing more is read, and no difference is reported.
    EXPECT_TRUE(second.s.run.ProgramVerifyResult.isEmpty());
    ASSERT_EQ(second.ui.messages.size(), 1u);
    EXPECT_EQ(second.ui.messages[0].title, QStringLiteral("ベリファイ"));
    EXPECT_TRUE(second.ui.messages[0].text.startsWith(
        QStringLiteral("ベリファイ中に通信エラーが発生しました。")));
}

TEST(Verify, ReportsEveryDifferingWordUpToTheLimit) {
    for (const char* device : {"PIC18F452", "PIC18F8720"}) {
        SCOPED_TRACE(device);
        const bool whole = std::string(device) == "PIC18F8720";
        Pic18Bench bench(QString::fromLatin1(device));
        const Pic18Image image = randomPic18Image(device, 13);
        bench.loadChip(image);
        bench.openImage(image);
        const std::int32_t last = bench.s.device.ProgramWordCount - 1;
        // The last word, and a word at a panel boundary.
        bench.setBufferWord(last, std::uint16_t(bench.bufferWord(last) ^ 0x0100));
        bench.setBufferWord(0x1000, std::uint16_t(bench.bufferWord(0x1000) ^ 0x0001));
        bench.s.buffer.EepromImage[5] ^= 0xFF;
        bench.ops.Command_Vrify_Click();
        EXPECT_EQ(bench.s.run.VerifySummary, QStringLiteral("NGNGOK"));
        ASSERT_EQ(bench.ui.programViewLines.size(), 2);
        const std::uint16_t chipWord =
            std::uint16_t(image.program[2 * 0x1000 + 1] << 8 | image.program[2 * 0x1000]);
        const std::uint16_t bufWord = bench.bufferWord(0x1000);
        // The larger part prints instruction words, the panel parts bytes in address order.
        auto shown = [&](std::uint16_t w) {
            return QStringLiteral("%1")
                .arg(whole ? w : std::uint16_t(w << 8 | w >> 8), 4, 16, QLatin1Char('0'))
                .toUpper();
        };
        EXPECT_EQ(bench.ui.programViewLines[0], QStringLiteral("Error　 アドレス:0x1000 , 正:0x") +
                                                    shown(bufWord) + QStringLiteral(" , 誤:0x") +
                                                    shown(chipWord) + QStringLiteral("\r\n"));
        const QString lastAddress =
            QString::number(last & 0xFFFF, 16).toUpper().rightJustified(4, QLatin1Char('0'));
        EXPECT_TRUE(bench.ui.programViewLines[1].startsWith(QStringLiteral("Error　 アドレス:0x") +
                                                            lastAddress + QStringLiteral(" ,")));
        ASSERT_EQ(bench.ui.eepromViewLines.size(), 1);
        EXPECT_TRUE(
            bench.ui.eepromViewLines[0].startsWith(QStringLiteral("Error　 アドレス:0x0005 ,")));
        ASSERT_EQ(bench.ui.messages.size(), 1u);
        EXPECT_EQ(bench.ui.messages[0].title, QStringLiteral("ベリファイエラー"));

        for (std::int32_t w = 0; w < 150; ++w)
            bench.setBufferWord(w, std::uint16_t(bench.bufferWord(w) ^ 0xFFFF));
        bench.ui.programViewLines.clear();
        bench.ops.Command_Vrify_Click();
        ASSERT_EQ(bench.ui.programViewLines.size(), 102);
        EXPECT_EQ(bench.ui.programViewLines.last(),
                  QStringLiteral("これ以降もエラーがある可能性があります。\r\n\r\n"));
    }
}

TEST(Program, OnlyAnExplicitYesOverwrites) {
    Pic18Bench bench(QStringLiteral("PIC18F452"));
    const Pic18Image image = randomPic18Image("PIC18F452", 14);
    bench.loadChip(image);
    bench.openImage(image);
    for (std::int16_t answer : {hint::Cancel, hint::DocumentShown}) {
        bench.ops.environment().askOverwrite = [answer](const QString&, const QString&) {
            return answer;
        };
        bench.recordFromHere();
        bench.ops.Command_pogram_Click();
        EXPECT_EQ(bench.ui.statusText,
                  QStringLiteral("プログラミング..........上書き操作をキャンセルしました。 "));
        EXPECT_FALSE(bench.sentSinceRecord().contains(QByteArray("Xbd")));
        EXPECT_EQ(bench.s.run.AttemptCount, 0);
    }
    bench.ops.environment().askOverwrite = [](const QString&, const QString&) {
        return hint::Overwrite;
    };
    bench.ops.Command_pogram_Click();
    EXPECT_EQ(bench.s.run.PassCount, 1);
    // Two cancelled runs logged as cancelled, never as an earlier run's result.
    const QStringList log = bench.logText().split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(log.size(), 3);
    EXPECT_TRUE(
        log[0].startsWith(QStringLiteral("プログラミング..........上書き操作をキャンセル")));
    EXPECT_TRUE(log[2].startsWith(QStringLiteral("プログラミング成功。")));
}

// The extended window's program-memory run: program memory, ID and configuration are
// programmed, the chip's data EEPROM stays, and no pass or failure is counted.
TEST(Program, ProgramMemoryOnlyKeepsTheChipsEeprom) {
    for (const char* device : {"PIC18F452", "PIC18F8720"}) {
        SCOPED_TRACE(device);
        Pic18Bench bench(QString::fromLatin1(device));
        const Pic18Image before = randomPic18Image(device, 15);
        bench.loadChip(before);
        Pic18Image next = randomPic18Image(device, 16);
        next.id = before.id; // ID cells are erased by the chip erase only
        bench.openImage(next);
        RunState& run = bench.s.run;
        run.ProgramMemoryOnlyMode = run.IncludeConfigInPartial = true;
        bench.recordFromHere();
        {
            const OperationScope scope(bench.s, bench.ui);
            bench.ops.programWithinOperation();
        }
        run.ProgramMemoryOnlyMode = run.IncludeConfigInPartial = false;
        EXPECT_EQ(run.LastResultText, QStringLiteral("プログラムメモリのプログラミング成功。\rコン"
                                                     "フィグワードのプログラミング成功。"));
        const Pic18Image chip = chipImage(bench.chip());
        EXPECT_EQ(chip.program, next.program);
        EXPECT_EQ(chip.eeprom, before.eeprom);
        EXPECT_EQ(chip.config, next.config);
        const QByteArray sent = bench.sentSinceRecord();
        EXPECT_FALSE(sent.contains(QByteArray("Xbd\x80", 4)));
        EXPECT_TRUE(sent.contains(QByteArray("Xbd\x83", 4)));
        EXPECT_FALSE(sent.contains(QByteArray("Xwed")));
        EXPECT_EQ(run.AttemptCount, 0);
        EXPECT_EQ(run.PassCount + run.FailCount, 0);
    }
}

TEST(Program, ProgramMemoryOnlyOnAProtectedChipAsksBeforeTheChipErase) {
    for (MessageAnswer answer : {MessageAnswer::Cancel, MessageAnswer::Ok}) {
        Pic18Bench bench(QStringLiteral("PIC18F452"));
        Pic18Image before = randomPic18Image("PIC18F452", 17);
        before.config[8] = 0x00; // program memory protected
        bench.loadChip(before);
        Pic18Image next = randomPic18Image("PIC18F452", 18);
        bench.openImage(next);
        bench.answer({MessageAnswer::Yes, answer}); // the overwrite question first
        RunState& run = bench.s.run;
        run.ProgramMemoryOnlyMode = run.IncludeConfigInPartial = true;
        {
            const OperationScope scope(bench.s, bench.ui);
            bench.ops.programWithinOperation();
        }
        ASSERT_EQ(bench.ui.messages.size(), 2u);
        EXPECT_EQ(bench.ui.messages[1].title, QStringLiteral("プログラムメモリの消去"));
        const Pic18Image chip = chipImage(bench.chip());
        if (answer == MessageAnswer::Cancel) {
            EXPECT_EQ(chip.eeprom, before.eeprom);
            EXPECT_EQ(bench.ui.statusText,
                      QStringLiteral("プログラミング..........上書き操作をキャンセルしました。 "));
        } else {
            EXPECT_EQ(chip.program, next.program);
            EXPECT_EQ(chip.eeprom, std::vector<std::uint8_t>(256, 0xFF));
        }
    }
}

TEST(BlankCheck, TheLargerPartShowsTheSecondsOfItsScan) {
    Pic18Bench bench(QStringLiteral("PIC18F8720"));
    bench.addFault("delay=3500@Xbs");
    bench.ops.Command_blank_Click();
    EXPECT_EQ(bench.s.run.ChipEraseResult, QStringLiteral("OKOKOK"));
    const QString waiting = QStringLiteral(
        "ブランクチェック中..........プログラムメモリー.....３０秒ほどお待ちください。 ");
    EXPECT_EQ(bench.ui.statusHistory.filter(QStringLiteral("秒経過")),
              (QStringList{waiting + QStringLiteral("1秒経過"), waiting + QStringLiteral("2秒経過"),
                           waiting + QStringLiteral("3秒経過")}));
}

// The blank checks acknowledge a count of 0 too ("@" before any byte has come), the read and the
// verify only counts of 8 and more. A board slow to answer lets those early "@" reach it before
// its first block has left: the strict board takes them from the blank check's ID and
// configuration reads, of the module ("X r s c") and of the generic procedures ("X r s p"), and
// from no read or verify (any violation fails the bench).
TEST(BlankCheck, OnlyTheBlankCheckAcknowledgesBeforeAnyByte) {
    for (const char* device : {"PIC18F452", "PIC18F242"}) {
        SCOPED_TRACE(device);
        const bool module = std::string(device) == "PIC18F452";
        Pic18Bench bench(QString::fromLatin1(device));
        bench.addFault(std::string("delay=20@") + (module ? "Xrsc" : "Xrsp"));
        bench.ops.Command_blank_Click();
        EXPECT_TRUE(bench.ui.statusText.contains(QStringLiteral("デバイスは消去されています")))
            << bench.ui.statusText.toStdString();
        const Pic18Image image = randomPic18Image(device, 14);
        bench.loadChip(image);
        bench.openImage(image);
        bench.ops.Command_read_Click();
        bench.ops.Command_Vrify_Click();
        EXPECT_EQ(bench.s.run.VerifySummary, QStringLiteral("OKOKOK"));
    }
}

} // namespace
