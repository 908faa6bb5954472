// A board that stops, reports a failure or answers with the wrong end code at each wait of each
// operation: the operation ends within its bound with the step's failure text, the port is
// closed, the controls are back, and a failed read leaves the buffer as it was.
#include "pic18_bench.h"

#include "core/session.h"

#include <gtest/gtest.h>

using namespace tavrin;
using namespace tavrin::test;

namespace {

enum class Op { Read, Blank, Verify, Program };

struct FaultCase {
    const char* device;
    Op op;
    const char* fault;
    const char* status; // the status line begins with this
};

const FaultCase kCases[] = {
    // Device ID
    {"PIC18F452", Op::Read, "stall=0@Xrsc", "モジュールチェック失敗。　　読み出しデータ不足。"},
    {"PIC18F8720", Op::Verify, "end-code=0x21@Xrsc",
     "モジュールチェック失敗。　　終了コードを受信できませんでした。"},
    {"PIC18F452", Op::Program, "stall=2@Xrsc", "モジュールチェック失敗。　　読み出しデータ不足。"},
    // Program memory read back
    {"PIC18F8720", Op::Read, "stall=4000@Xrsp", "プログラムメモリ リードエラー。"},
    {"PIC18F452", Op::Read, "stall=5000@Xrsp",
     "プログラムメモリ読み出しブランクチェック失敗。　　読み出しデータ不足。"},
    // A wrong end code after the program bytes: both transfers refuse the read (the larger
    // part's whole-memory read as well, after its packets and the word past the end)
    {"PIC18F8720", Op::Read, "end-code=0x21@Xrsp", "プログラムメモリ リードエラー。"},
    {"PIC18F452", Op::Read, "end-code=0x21@Xrsp",
     "プログラムメモリ読み出しブランクチェック失敗。　　終了コードを受信できませんでした。"},
    {"PIC18F8720", Op::Verify, "end-code=0x21@Xrsp", "プログラムメモリ ベリファイエラー。"},
    {"PIC18F452", Op::Verify, "end-code=0x21@Xrsp",
     "プログラムメモリ ベリファイ失敗。　　終了コードを受信できませんでした。"},
    // EEPROM read
    {"PIC18F8720", Op::Read, "stall=100@Xrsd",
     "ＥＥＰＲＯＭデータメモリ読み出し失敗。　　読み出しデータ不足。"},
    {"PIC18F452", Op::Read, "end-code=0x21@Xrsd",
     "ＥＥＰＲＯＭデータメモリ読み出し失敗。　　終了コードを受信できませんでした。"},
    // ID and configuration read: the device ID (3 bytes) and the ID (9) pass, the configuration
    // stops
    {"PIC18F452", Op::Read, "stall=40@Xrsc",
     "コンフィギュレーションワードの読み出し失敗。　　読み出しデータ不足。"},
    // Blank check
    {"PIC18F8720", Op::Blank, "stall=0@Xbs", "デバイスは消去されてません。。"},
    {"PIC18F452", Op::Blank, "stall=0@Xrsd", "デバイスは消去されてません。。"},
    {"PIC18F452", Op::Blank, "stall=0@Xrsc", "デバイスは消去されてません。。"},
    // Program sequence
    {"PIC18F8720", Op::Program, "stall=0@Xbs",
     "プログラミング..........ブランクチェック終了（ＦＳＬＡＨプログラムメモリー）通信エラー。"},
    {"PIC18F452", Op::Program, "stall=0@Xbd",
     "プログラミング..........チップイレース(コードプロテクト解除)　失敗。"},
    {"PIC18F452", Op::Program, "fail-at=300@Xwep",
     "プログラミング..........ＦＬＡＳＨプログラムメモリーのプログラミングに失敗しました。"},
    {"PIC18F8720", Op::Program, "stall=900@Xwep",
     "プログラミング..........ＦＬＡＳＨプログラムメモリーのプログラミングに失敗しました。"},
    {"PIC18F452", Op::Program, "abort-at=0@Xwep",
     "プログラミング..........ＦＬＡＳＨプログラムメモリーのプログラミングに失敗しました。"},
    {"PIC18F452", Op::Program, "fail-at=4@Xwed",
     "プログラミング..........ＥＥＰＲＯＭデータメモリーのプログラミングに失敗しました。"},
    {"PIC18F8720", Op::Program, "stall=10@Xwed",
     "プログラミング..........ＥＥＰＲＯＭデータメモリーのプログラミングに失敗しました。"},
    {"PIC18F452", Op::Program, "fail-at=2@Xwec",
     "プログラミング..........コンフィグレーションワードのプログラミングに失敗しました。"},
    {"PIC18F452", Op::Program, "end-code=0x21@Xwec",
     "プログラミング..........コンフィグレーションワードのプログラミングに失敗しました。"},
};

void run(Pic18Bench& bench, Op op) {
    switch (op) {
    case Op::Read:
        return bench.ops.Command_read_Click();
    case Op::Blank:
        return bench.ops.Command_blank_Click();
    case Op::Verify:
        return bench.ops.Command_Vrify_Click();
    case Op::Program:
        return bench.ops.Command_pogram_Click();
    }
}

TEST(Faults, EachWaitEndsTheOperationCleanly) {
    for (const FaultCase& c : kCases) {
        SCOPED_TRACE(std::string(c.device) + " " + c.fault);
        Pic18Bench bench(QString::fromLatin1(c.device));
        const Pic18Image image = randomPic18Image(c.device, 3);
        // The chip holds the image; a verify compares it with the same image, so that only the
        // fault can make it fail.
        if (c.op == Op::Program || c.op == Op::Verify) bench.openImage(image);
        if (c.op != Op::Program) bench.loadChip(image);
        // What the buffer held before: a failed read must leave it so.
        const auto programBefore = bench.s.buffer.ProgramImage;
        const auto eepromBefore = bench.s.buffer.EepromImage;
        bench.addFault(c.fault);
        const std::int64_t start = bench.emu.clock.nowUs();
        run(bench, c.op);
        const QString status = bench.ui.statusHistory.join(QLatin1Char('\n'));
        EXPECT_TRUE(status.contains(QString::fromUtf8(c.status))) << status.toStdString();
        EXPECT_LT(bench.emu.clock.nowUs() - start, std::int64_t(200) * 1000000);
        EXPECT_FALSE(bench.emu.port.isOpen());
        EXPECT_TRUE(bench.ui.enabled[Control::Command_pogram]);
        EXPECT_TRUE(bench.ui.enabled[Control::Combo_device]);
        EXPECT_FALSE(bench.ui.busy);
        EXPECT_FALSE(bench.s.run.OperationRunning);
        if (c.op == Op::Read) {
            EXPECT_TRUE(bench.s.buffer.ProgramImage == programBefore ||
                        bench.s.run.ProgramStepResult == result::OK);
            if (bench.s.run.EepromStepResult != result::OK) {
                EXPECT_TRUE(bench.s.buffer.EepromImage == eepromBefore);
            }
            // A read that got past the device check has been to the chip: its end line, as a
            // failed blank check's; one refused by the check has none.
            if (QString::fromUtf8(c.status).startsWith(QStringLiteral("モジュールチェック")))
                EXPECT_EQ(bench.logText(), QString());
            else
                EXPECT_TRUE(bench.logText().startsWith(QStringLiteral("\tリード 操作終了\t")))
                    << bench.logText().toStdString();
            EXPECT_FALSE(status.contains(QStringLiteral("リード終了"))) << status.toStdString();
        }
        if (c.op == Op::Program) {
            // The log line tells this run's failure, never an earlier run's text.
            EXPECT_TRUE(bench.logText().startsWith(bench.ui.statusText.trimmed().left(10)))
                << bench.logText().toStdString();
            EXPECT_EQ(bench.s.run.PassCount, 0);
        }
    }
}

} // namespace
