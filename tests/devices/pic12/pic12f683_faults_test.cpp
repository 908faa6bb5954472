// Every wait of the PIC12F683 Program run given a board that stops answering or answers wrong:
// the run ends with its status text, the port is closed, the controls come back, no wait hangs,
// the counters say how far it got, and the run logs one line with what it told, wherever it
// stopped.
#include "pic12_bench.h"

#include "core/operation_guard.h"

#include <gtest/gtest.h>

using namespace tavrin;
using namespace tavrin::test;

namespace {

struct FaultCase {
    const char* fault;
    const char* lastStatus; // the status line at the end, without the trailing blank
    int attempts;
};

const FaultCase kCases[] = {
    // The device check: nothing at all, then sixteen bytes but never the end code.
    {"stall=0@rsc", "書込みマイコンの種類の確認失敗。　　読み出しデータ不足。", 0},
    {"stall=16@rsc", "モジュールチェック失敗。　　終了コードを受信できませんでした。", 0},
    {"end-code=0x21@rsc", "モジュールチェック失敗。　　終了コードを受信できませんでした。", 0},
    // The blank checks.
    {"stall=0@bs",
     "プログラミング..........ブランクチェック終了（ＦＳＬＡＨプログラムメモリー）通信エラー。", 0},
    {"stall=100@rsd",
     "プログラミング..........ブランクチェック終了（ＥＥＰＲＯＭデータメモリー）通信エラー。", 0},
    {"end-code=0x21@rsd",
     "プログラミング..........ブランクチェック終了（ＥＥＰＲＯＭデータメモリー）通信エラー。", 0},
    // The erases answer nothing, or refuse.
    {"stall=0@bd", "プログラミング..........チップイレース(コードプロテクト解除)　失敗。", 0},
    {"end-code=0x21@bd", "プログラミング..........チップイレース(コードプロテクト解除)　失敗。", 0},
    // The writes.
    {"stall=40@we8",
     "プログラミング..........ＦＬＡＳＨプログラムメモリーのプログラミングに失敗しました。", 1},
    {"abort-at=7@we8",
     "プログラミング..........ＦＬＡＳＨプログラムメモリーのプログラミングに失敗しました。", 1},
    {"fail-at=4@wed",
     "プログラミング..........ＥＥＰＲＯＭデータメモリーのプログラミングに失敗しました。", 1},
    {"fail-at=3@wec",
     "プログラミング..........コンフィグレーションワードのプログラミングに失敗しました。", 1},
};

TEST(Pic12F683Faults, EveryWaitEndsTheRunCleanly) {
    for (const FaultCase& c : kCases) {
        Pic12Bench bench(QStringLiteral("PIC12F683"));
        bench.openHex(pic12DataPath(QStringLiteral("blink683.hex")));
        bench.addFault(c.fault);
        bench.ops.Command_pogram_Click();
        EXPECT_EQ(bench.ui.statusText.trimmed().toStdString(), std::string(c.lastStatus))
            << c.fault;
        EXPECT_EQ(bench.s.run.AttemptCount, c.attempts) << c.fault;
        EXPECT_EQ(bench.s.run.PassCount, 0) << c.fault;
        EXPECT_EQ(bench.s.run.FailCount, 0) << c.fault;
        // Its own failure, never an earlier run's result, and one line only.
        EXPECT_TRUE(bench.logText().startsWith(QString::fromUtf8(c.lastStatus) +
                                               QStringLiteral("  PIC12F683  ID:")))
            << c.fault << " " << bench.logText().toStdString();
        EXPECT_EQ(bench.logText().count(QStringLiteral("\r\n")), 1) << c.fault;
        EXPECT_FALSE(bench.emu.port.isOpen()) << c.fault;
        EXPECT_TRUE(bench.ui.enabled[Control::Command_read]) << c.fault;
        EXPECT_FALSE(bench.ui.busy) << c.fault;
        EXPECT_FALSE(operationRunning(bench.s)) << c.fault;
        // Virtual time: the longest wait is a 10 s limit per wait, never an endless one.
        EXPECT_LT(bench.emu.clock.nowUs(), 120'000'000) << c.fault;
    }
}

TEST(Pic12F683Faults, AVerifyThatFailsIsJudgedAndBoxed) {
    Pic12Bench bench(QStringLiteral("PIC12F683"));
    bench.openHex(pic12DataPath(QStringLiteral("blink683.hex")));
    // A 14-bit cell keeps 14 bits: the two top bits of this image word do not come back.
    bench.setBufferWord(9, 0xC123);
    bench.ops.Command_pogram_Click();
    EXPECT_EQ(bench.s.run.AttemptCount, 1);
    EXPECT_EQ(bench.s.run.FailCount, 1);
    EXPECT_EQ(bench.ui.statusColor, StatusColor::Red);
    ASSERT_EQ(bench.ui.messages.size(), 1u);
    EXPECT_EQ(bench.ui.messages[0].title, QStringLiteral("ベリファイ"));
    EXPECT_TRUE(bench.ui.messages[0].text.startsWith(
        QStringLiteral("Ｆｌａｓｈプログラムメモリ\t=　 NG　　　　　\r\n")))
        << bench.ui.messages[0].text.toStdString();
    EXPECT_TRUE(bench.logText().startsWith(QStringLiteral("プログラミング失敗。")));
    // The word went out as the buffer holds it, and the strict board says so.
    EXPECT_EQ(bench.emu.takeViolations().size(), 1u);
}

} // namespace
