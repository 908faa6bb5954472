// The board misbehaving at each place the family waits for it: every run ends with its status
// text, the port closed and the controls back, and none waits without end (virtual time: a
// 10 s limit costs nothing, an endless wait would hang the test).
#include "family_cases.h"

#include "core/session.h"

#include <gtest/gtest.h>

using namespace tavrin;
using namespace tavrin::test;

namespace {

enum class Button { Blank, Program, Verify, Read };

struct FaultCase {
    const char* device;
    Button button;
    const char* fault;  // as the emulator takes it
    const char* status; // the status text the run ends with (its start)
};

const FaultCase kFaults[] = {
    // The device check: the 16 bytes, then the end code after the acknowledgement.
    {"PIC16F877A", Button::Read, "stall=10@rsc",
     "書込みマイコンの種類の確認失敗。　　読み出しデータ不足。"},
    {"QZ-WRT400A", Button::Read, "stall=10@r8c",
     "モジュールチェック失敗。　　読み出しデータ不足。"},
    {"PIC16F877A", Button::Read, "stall=16@rsc",
     "モジュールチェック失敗。　　終了コードを受信できませんでした。"},
    {"QZ-WRT400", Button::Program, "end-code=0x21@r8c",
     "モジュールチェック失敗。　　終了コードを受信できませんでした。"},
    // Blank check of each area.
    {"QZ-WRT400A", Button::Blank, "stall=0@b8", "通信エラーが発生しました。"},
    {"PIC16F877", Button::Blank, "stall=1@bs", "通信エラーが発生しました。"},
    {"QZ-WRT400", Button::Blank, "stall=100@r8d", "通信エラーが発生しました。"},
    {"PIC16F877A", Button::Blank, "end-code=0x21@rsc", "通信エラーが発生しました。"},
    {"PIC16F877A", Button::Program, "stall=1@bs",
     "プログラムメモリブランクチェック失敗。　　終了コードを受信できませんでした。"},
    {"PIC16F877A", Button::Program, "stall=100@rsd",
     "ＥＥＰＲＯＭデータメモリブランクチェック失敗。　　読み出しデータ不足。"},
    // Reads.
    {"PIC16F877", Button::Read, "stall=300@rsp",
     "プログラムメモリ読み出し失敗。　　読み出しデータ不足。"},
    {"QZ-WRT400A", Button::Read, "end-code=0x21@r8p",
     "プログラムメモリ読み出し失敗。　　終了コードを受信できませんでした。"},
    {"PIC16F877A", Button::Read, "stall=300@rsd",
     "ＥＥＰＲＯＭデータメモリ読み出し失敗。　　読み出しデータ不足。"},
    {"PIC16F877A", Button::Read, "end-code=0x21@rsd",
     "ＥＥＰＲＯＭデータメモリ読み出し失敗。　　終了コードを受信できませんでした。"},
    // Erase.
    {"PIC16F877A", Button::Program, "delay=3100@bd", "チップイレース失敗。"},
    {"QZ-WRT400", Button::Program, "end-code=0x21@bD", "チップイレース失敗。"},
    // Writes: no request, a report, an abort, a missing end code.
    {"PIC16F877A", Button::Program, "stall=0@wGe",
     "プログラムメモリのプログラミングに失敗しました。 "},
    {"PIC16F877", Button::Program, "fail-at=5@we8",
     "プログラムメモリのプログラミングに失敗しました。  中断コードが返信されました。"},
    {"QZ-WRT400A", Button::Program, "abort-at=7@w7e",
     "プログラムメモリのプログラミングに失敗しました。  中断コードが返信されました。"},
    {"QZ-WRT400", Button::Program, "end-code=0x21@w84",
     "プログラムメモリのプログラミングに失敗しました。  終了コードを受信できませんでした。"},
    {"PIC16F877A", Button::Program, "fail-at=4@wed",
     "ＥＥＰＲＯＭデータメモリのプログラミングに失敗しました。　　 ( Address =  4"},
    {"QZ-WRT400", Button::Program, "stall=0@w8d",
     "ＥＥＰＲＯＭデータメモリのプログラミングに失敗しました。"},
    {"PIC16F877A", Button::Program, "fail-at=3@wFc",
     "コンフィギュレーションワードのプログラミングに失敗しました。　　 \r\n( Address =  3"},
    {"QZ-WRT400A", Button::Program, "stall=0@w6c",
     "コンフィギュレーションワードのプログラミングに失敗しました。"},
    // Verifies.
    {"PIC16F877A", Button::Verify, "stall=16@rsp", "プログラムメモリ ベリファイ失敗。"},
    {"QZ-WRT400", Button::Verify, "end-code=0x21@r8p", "プログラムメモリ読み出し失敗。"},
    {"PIC16F877", Button::Verify, "stall=20@rsd", "ＥＥＰＲＯＭデータメモリの ベリファイエラー。"},
    {"QZ-WRT400A", Button::Verify, "stall=16@r8c",
     "コンフィギュレーションワードのベリファイに失敗しました。"},
};

void press(OperationBench& bench, Button b) {
    switch (b) {
    case Button::Blank:
        return bench.ops.Command_blank_Click();
    case Button::Program:
        return bench.ops.Command_pogram_Click();
    case Button::Verify:
        return bench.ops.Command_Vrify_Click();
    case Button::Read:
        return bench.ops.Command_read_Click();
    }
}

class AtEachWait : public ::testing::TestWithParam<FaultCase> {};

TEST_P(AtEachWait, EndsWithItsStatusPortClosedControlsBack) {
    const FaultCase& c = GetParam();
    OperationBench bench(QString::fromLatin1(c.device));
    const bool aPart = QByteArray(c.device).endsWith("A");
    bench.openHex(familyDataPath(aPart ? "blink16f877a.hex" : "blink16f877.hex"));
    if (c.button == Button::Verify) {
        // Something to verify against.
        bench.ops.Command_pogram_Click();
        ASSERT_EQ(bench.s.run.PassCount, 1);
    }
    bench.addFault(c.fault);
    bench.ui.statusHistory.clear();
    const auto start = bench.emu.clock.nowUs();
    press(bench, c.button);

    const QString wanted = QString::fromUtf8(c.status);
    EXPECT_TRUE(std::any_of(bench.ui.statusHistory.begin(), bench.ui.statusHistory.end(),
                            [&](const QString& line) { return line.startsWith(wanted); }))
        << c.fault << ": " << bench.ui.statusHistory.join(QStringLiteral(" | ")).toStdString();
    EXPECT_FALSE(bench.emu.port.isOpen()) << c.fault;
    EXPECT_TRUE(bench.ui.enabled[Control::Command_pogram]) << c.fault;
    EXPECT_TRUE(bench.ui.enabled[Control::Combo_device]) << c.fault;
    EXPECT_FALSE(bench.ui.busy) << c.fault;
    // No more than a few bounded waits passed.
    EXPECT_LT(bench.emu.clock.nowUs() - start, 60'000'000) << c.fault;
    if (c.button == Button::Program) {
        EXPECT_EQ(bench.s.run.PassCount, 0) << c.fault;
    }
}

INSTANTIATE_TEST_SUITE_P(Family, AtEachWait, ::testing::ValuesIn(kFaults));

TEST(ProgramWriteTimeOut, NamesTheWordWhoseRequestDidNotCome) {
    struct Case {
        const char* fault;
        const char* detail;
    };
    // stall=N: the board's output ends after N bytes of the write command; each word costs one
    // request byte.
    const Case cases[] = {{"stall=0@wGe", "0x0アドレスでタイムアウトが発生しました。"},
                          {"stall=300@wGe", "0x12Cアドレスでタイムアウトが発生しました。"}};
    for (const Case& c : cases) {
        OperationBench bench(QStringLiteral("PIC16F877A"));
        bench.openHex(familyDataPath("blink16f877a.hex"));
        bench.addFault(c.fault);
        bench.ops.Command_pogram_Click();
        EXPECT_TRUE(bench.ui.statusHistory.contains(
            QStringLiteral("プログラムメモリのプログラミングに失敗しました。  ") +
            QString::fromUtf8(c.detail)))
            << bench.ui.statusHistory.join(QStringLiteral(" | ")).toStdString();
        ASSERT_FALSE(bench.ui.messages.empty());
        EXPECT_EQ(bench.ui.messages.back().title, QStringLiteral("プログラムメモリプログラミング"));
        EXPECT_EQ(bench.s.run.AttemptCount, 1);
        EXPECT_EQ(bench.s.run.FailCount, 0);
    }
}

} // namespace
