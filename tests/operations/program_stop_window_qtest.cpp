// A program run of each device module that ends before its verdict, pressed in the real main
// window on the emulator over a pty (program_stop_checks.h): a failed write and a lost board in
// every module, and every early stop of the PIC12F683, whose run writes its line on every way out.
#include "program_stop_checks.h"

using namespace tavrin;
using namespace tavrin::test;

namespace {

#define PIC12_DATA TAVRIN_SOURCE_DIR "/tests/devices/pic12/data/"
#define PIC16_DATA TAVRIN_SOURCE_DIR "/tests/devices/pic16f87x/data/"

const char* const kBlink683 = PIC12_DATA "blink683.hex";

const ProgramStopPart kModules[] = {
    {"PIC12C508A", PIC12_DATA "blink508a.hex", "wsp", 4,
     "プログラムメモリのプログラミングに失敗しました。", true},
    {"PIC12F683", kBlink683, "we8", 4,
     "プログラミング..........ＦＬＡＳＨプログラムメモリーのプログラミングに失敗しました。", false},
    {"PIC16F877", PIC16_DATA "blink16f877.hex", "we8", 4,
     "プログラムメモリのプログラミングに失敗しました。", true},
    {"PIC16F877A", PIC16_DATA "blink16f877a.hex", "wGe", 4,
     "プログラムメモリのプログラミングに失敗しました。", true},
    {"QZ-WRT400", PIC16_DATA "blink16f877.hex", "w84", 4,
     "プログラムメモリのプログラミングに失敗しました。", true},
    {"QZ-WRT400A", PIC16_DATA "blink16f877a.hex", "w7e", 4,
     "プログラムメモリのプログラミングに失敗しました。", true},
    {"PIC18F452", TAVRIN_SOURCE_DIR "/tests/operations/data/counter84a.hex", "Xwep", 0,
     "プログラミング..........ＦＬＡＳＨプログラムメモリーのプログラミングに失敗しました。", false},
    // The larger part reads program memory back in one transfer.
    {"PIC18F8720", TAVRIN_SOURCE_DIR "/tests/operations/data/counter84a.hex", "Xwep", 0,
     "プログラミング..........ＦＬＡＳＨプログラムメモリーのプログラミングに失敗しました。", false},
};

} // namespace

class ProgramStopWindow : public QObject {
    Q_OBJECT
  private slots:
    void aFailedWriteIsLogged_data() { addFailedWriteRows(kModules, std::size(kModules)); }
    void aFailedWriteIsLogged() { checkFailedWriteIsLogged(); }
    void aLostBoardEndsTheRunAtOnce_data() { addLostBoardRows(kModules, std::size(kModules)); }
    void aLostBoardEndsTheRunAtOnce() { checkLostBoardEndsTheRunAtOnce(); }
    void aPic12F683RunStoppedEarlyLogsWhatItTold_data();
    void aPic12F683RunStoppedEarlyLogsWhatItTold();
};

// Each stop before the writes: the board's chip or answers, and what the person answers.
void ProgramStopWindow::aPic12F683RunStoppedEarlyLogsWhatItTold_data() {
    QTest::addColumn<QStringList>("board");
    QTest::addColumn<QString>("hint"); // the overwrite question's button; empty: not asked
    QTest::addColumn<QString>("told");
    QTest::addColumn<int>("boxes");
    const QString kStep = QStringLiteral("プログラミング..........");
    QTest::newRow("another part, not to be written")
        << QStringList{"--part", "PIC12F675"} << QString()
        << QStringLiteral(
               "指定しているマイコンとソケットにセットしているマイコンの種類が違います。")
        << 1;
    QTest::newRow("empty socket") << QStringList{"--part", "none"} << QString()
                                  << QStringLiteral(
                                         "マイコンがソケットに正しくセットされていません。")
                                  << 0;
    QTest::newRow("device check without its end code")
        << QStringList{"--part", "PIC12F683", "--fault", "end-code=0x21@rsc"} << QString()
        << QStringLiteral("モジュールチェック失敗。　　終了コードを受信できませんでした。") << 0;
    QTest::newRow("blank check communication error")
        << QStringList{"--part", "PIC12F683", "--fault", "end-code=0x21@rsd"} << QString()
        << kStep + QStringLiteral("ブランクチェック終了（ＥＥＰＲＯＭデータメモリー）通信エラー。")
        << 0;
    QTest::newRow("overwrite cancelled")
        << QStringList{"--part", "PIC12F683", "--load", kBlink683} << QStringLiteral("CmdCancel")
        << kStep + QStringLiteral("上書き操作をキャンセルしました。") << 0;
    QTest::newRow("erase refused")
        << QStringList{"--part", "PIC12F683", "--fault", "end-code=0x21@bd"} << QString()
        << kStep + QStringLiteral("チップイレース(コードプロテクト解除)　失敗。") << 0;
}

void ProgramStopWindow::aPic12F683RunStoppedEarlyLogsWhatItTold() {
    QFETCH(QStringList, board);
    QFETCH(QString, hint);
    QFETCH(QString, told);
    QFETCH(int, boxes);
    std::vector<std::string> args;
    for (const QString& a : board)
        args.push_back(a.toStdString());
    Bench bench(args, QString::fromLatin1(kBlink683));
    QVERIFY(bench.started);
    const QString part = QStringLiteral("PIC12F683");
    bench.select(part);
    bench.click("Cmd_open");
    bench.session.run.LastResultText = kEarlierResult;
    bench.boxes.clear();
    bench.answers = {MessageAnswer::Cancel}; // another part is not to be written
    if (!hint.isEmpty()) bench.answerHint({hint});

    bench.click("Command_pogram");

    const QStringList lines = logLines(bench);
    QCOMPARE(lines.size(), 1);
    QVERIFY2(lines[0].startsWith(lineStart(told, part)), qPrintable(lines[0]));
    QVERIFY2(bench.status().startsWith(told), qPrintable(bench.status()));
    QCOMPARE(int(bench.boxes.size()), boxes);
    if (!hint.isEmpty()) QCOMPARE(bench.hintsSeen.size(), 1);
    QCOMPARE(bench.session.run.AttemptCount, 0);
    QCOMPARE(bench.session.run.PassCount, 0);
    QCOMPARE(bench.session.run.FailCount, 0);
    QCOMPARE(bench.session.run.LastResultText, kEarlierResult);
    QVERIFY(!operationRunning(bench.session));
    QVERIFY(bench.controlsBack());
}

QTEST_MAIN(ProgramStopWindow)
#include "program_stop_window_qtest.moc"
