// Every way out of a program run that reached the board leaves exactly one line in the result log
// naming how the run ended: pressed in the real main window on the strict emulator over a pty,
// for a part of each device module and of the generic sequence of each core. A refused or failed
// chip erase may have left the chip half erased, a blank check that failed has been talking to
// it: a run without its line would be a chip without a record. A read that stops at an area
// keeps its end line alike.
#include "program_stop_checks.h"

using namespace tavrin;
using namespace tavrin::test;

namespace {

#define PIC12_DATA TAVRIN_SOURCE_DIR "/tests/devices/pic12/data/"
#define PIC16_DATA TAVRIN_SOURCE_DIR "/tests/devices/pic16f87x/data/"
#define COUNTER_14BIT TAVRIN_SOURCE_DIR "/tests/operations/data/counter84a.hex"
#define TWO_PIC18_BYTES TAVRIN_SOURCE_DIR "/tests/operations/data/two_pic18_bytes.hex"

const QString kStep = QStringLiteral("プログラミング..........");
const QString kCancelled = QStringLiteral("上書き操作をキャンセルしました。");
const QString kPassed = QStringLiteral("プログラミング成功。");
const QString kWriteFailed = QStringLiteral("プログラムメモリのプログラミングに失敗しました。");
const QString kFlashWriteFailed =
    QStringLiteral("ＦＬＡＳＨプログラムメモリーのプログラミングに失敗しました。");
const QString kEraseFailed = QStringLiteral("チップイレース失敗。");
const QString kEmptySocket = QStringLiteral("マイコンがソケットに正しくセットされていません。");
const QString kProgramBlankFailed =
    QStringLiteral("プログラムメモリブランクチェック失敗。　　終了コードを受信できませんでした。");

// A part and, for each way out, what makes the run take it and the result its line names. An
// empty fault: the part has no such way out (a 12-bit part has no erase and no ID to check; a
// PIC18 of the generic sequence has no ID to check).
struct PartWays {
    const char* part;
    const char* hex;
    const char* written; // what the chip holds for the overwrite question
    const char* programRead;
    QString writeFault; // "fail-at" or "abort-at" goes in front
    QString writeFailed;
    QString eraseFault;
    QString eraseFailed;
    QString emptySocket; // the line of a run on an empty socket
    QString blankFault;
    QString blankFailed;
    QString cancelled;
};

const PartWays kParts[] = {
    {"PIC12C508A", PIC12_DATA "blink508a.hex", PIC12_DATA "blink508a.hex", "rsp", "4@wsp",
     kWriteFailed, QString(), QString(), QString(), "end-code=0x21@bs",
     QStringLiteral("ブランクチェック中に通信エラーが発生しました。"), kCancelled},
    {"PIC12F683", PIC12_DATA "blink683.hex", PIC12_DATA "blink683.hex", "rsp", "4@we8",
     kStep + kFlashWriteFailed, "end-code=0x21@bd",
     kStep + QStringLiteral("チップイレース(コードプロテクト解除)　失敗。"), kEmptySocket,
     "end-code=0x21@rsd",
     kStep + QStringLiteral("ブランクチェック終了（ＥＥＰＲＯＭデータメモリー）通信エラー。"),
     kStep + kCancelled},
    {"PIC12F675", COUNTER_14BIT, COUNTER_14BIT, "rsp", "4@we8", kWriteFailed, "end-code=0x21@bd",
     kEraseFailed, kEmptySocket, "end-code=0x21@bs", kProgramBlankFailed, kCancelled},
    {"PIC16F84A", COUNTER_14BIT, COUNTER_14BIT, "rsp", "4@wef", kWriteFailed, "end-code=0x21@bd",
     kEraseFailed, kEmptySocket, "end-code=0x21@bs", kProgramBlankFailed, kCancelled},
    {"PIC16F877A", PIC16_DATA "blink16f877a.hex", PIC16_DATA "blink16f877a.hex", "rsp", "4@wGe",
     kWriteFailed, "end-code=0x21@bd", kEraseFailed, kEmptySocket, "end-code=0x21@bs",
     kProgramBlankFailed, kCancelled},
    // The module check reads the module's own word.
    {"QZ-WRT400A", PIC16_DATA "blink16f877a.hex", PIC16_DATA "blink16f877a.hex", "r8p", "4@w7e",
     kWriteFailed, "end-code=0x21@bD", kEraseFailed,
     QStringLiteral("モジュールががソケットに正しくセットされていません。"), "end-code=0x21@b8",
     kProgramBlankFailed, kCancelled},
    // The PIC18 module's line names the status as shown, its detail included.
    {"PIC18F452", COUNTER_14BIT, TWO_PIC18_BYTES, "Xrsp", "0@Xwep", kStep + kFlashWriteFailed,
     "end-code=0x21@Xbd", kStep + QStringLiteral("チップイレース(コードプロテクト解除)　失敗。"),
     kEmptySocket + QStringLiteral(" キットの組立て直後の場合は"), "end-code=0x21@Xbs",
     kStep + QStringLiteral("ブランクチェック終了（ＦＳＬＡＨプログラムメモリー）通信エラー。"),
     kStep + kCancelled},
    {"PIC18F242", COUNTER_14BIT, TWO_PIC18_BYTES, "Xrsp", "0@Xwep", kWriteFailed,
     "end-code=0x21@Xbd", kEraseFailed, QString(), "end-code=0x21@Xbs", kProgramBlankFailed,
     kCancelled},
};

std::vector<std::string> strings(const QStringList& list) {
    std::vector<std::string> out;
    for (const QString& s : list)
        out.push_back(s.toStdString());
    return out;
}

} // namespace

class RunLogLineWindow : public QObject {
    Q_OBJECT
  private slots:
    void everyWayOutLeavesOneLine_data();
    void everyWayOutLeavesOneLine();
    void aLostBoardLeavesOneLine_data() {
        QTest::addColumn<QString>("part");
        QTest::addColumn<QString>("hex");
        QTest::addColumn<QString>("during");
        for (const PartWays& p : kParts)
            QTest::addRow("%s", p.part) << QString::fromLatin1(p.part) << QString::fromUtf8(p.hex)
                                        << QStringLiteral("プログラミング");
    }
    void aLostBoardLeavesOneLine() { checkLostBoardEndsTheRunAtOnce(); }
    void aFailedReadLeavesItsEndLine_data() {
        QTest::addColumn<QString>("part");
        QTest::addColumn<QString>("fault");
        for (const PartWays& p : kParts)
            QTest::addRow("%s", p.part)
                << QString::fromLatin1(p.part)
                << QStringLiteral("end-code=0x21@") + QString::fromLatin1(p.programRead);
    }
    void aFailedReadLeavesItsEndLine();
};

// The program memory's reply lacks its end code: the read stops there, its end line written.
void RunLogLineWindow::aFailedReadLeavesItsEndLine() {
    QFETCH(QString, part);
    QFETCH(QString, fault);
    Bench bench({"--part", part.toStdString(), "--fault", fault.toStdString()});
    QVERIFY(bench.started);
    bench.select(part);

    bench.click("Command_read");

    const QStringList lines = logLines(bench);
    QCOMPARE(lines.size(), 1);
    QVERIFY2(lines[0].startsWith(QStringLiteral("\tリード 操作終了\t")), qPrintable(lines[0]));
    QVERIFY2(!bench.status().startsWith(QStringLiteral("読み出し完了")),
             qPrintable(bench.status()));
    QVERIFY(!operationRunning(bench.session));
    QVERIFY(bench.controlsBack());
}

void RunLogLineWindow::everyWayOutLeavesOneLine_data() {
    QTest::addColumn<QString>("part");
    QTest::addColumn<QString>("hex");
    QTest::addColumn<QStringList>("board"); // the emulator's arguments after the part
    QTest::addColumn<bool>("cancel");       // the overwrite question is answered "いいえ"
    QTest::addColumn<QString>("logged");    // how the line begins
    for (const PartWays& p : kParts) {
        const QString part = QString::fromLatin1(p.part);
        const QString hex = QString::fromUtf8(p.hex);
        auto row = [&](const char* way, const QStringList& board, bool cancel,
                       const QString& logged) {
            QTest::addRow("%s %s", p.part, way)
                << part << hex << (QStringList{"--part", part} + board) << cancel << logged;
        };
        row("passed", {}, false, kPassed);
        row("write failed", {"--fault", "fail-at=" + p.writeFault}, false, p.writeFailed);
        row("write aborted", {"--fault", "abort-at=" + p.writeFault}, false, p.writeFailed);
        if (!p.eraseFault.isEmpty())
            row("erase refused", {"--fault", p.eraseFault}, false, p.eraseFailed);
        if (!p.emptySocket.isEmpty())
            QTest::addRow("%s empty socket", p.part)
                << part << hex << QStringList{"--part", "none"} << false << p.emptySocket;
        row("blank check failed", {"--fault", p.blankFault}, false, p.blankFailed);
        row("overwrite cancelled", {"--load", QString::fromUtf8(p.written)}, true, p.cancelled);
    }
}

void RunLogLineWindow::everyWayOutLeavesOneLine() {
    QFETCH(QString, part);
    QFETCH(QString, hex);
    QFETCH(QStringList, board);
    QFETCH(bool, cancel);
    QFETCH(QString, logged);
    Bench bench(strings(board), hex);
    QVERIFY(bench.started);
    bench.select(part);
    bench.click("Cmd_open");
    bench.session.run.LastResultText = kEarlierResult;
    bench.boxAnswer = MessageAnswer::Cancel; // another part is not to be written
    if (cancel) bench.answerHint({QStringLiteral("CmdCancel")});

    bench.click("Command_pogram");

    const QStringList lines = logLines(bench);
    QCOMPARE(lines.size(), 1);
    QVERIFY2(lines[0].startsWith(logged), qPrintable(lines[0]));
    QVERIFY2(lines[0].contains(QStringLiteral("  ") + part + QStringLiteral("  ID:")),
             qPrintable(lines[0]));
    if (logged != kPassed) QVERIFY2(!lines[0].startsWith(kEarlierResult), qPrintable(lines[0]));
    if (cancel) QCOMPARE(bench.hintsSeen.size(), 1);
    QVERIFY(!operationRunning(bench.session));
    QVERIFY(bench.controlsBack());
}

QTEST_MAIN(RunLogLineWindow)
#include "run_log_line_window_qtest.moc"
