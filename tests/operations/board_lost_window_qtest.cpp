// The board goes away in the middle of an operation started from the main window (its emulator
// ends while the progress bar moves): the operation ends with the lost port named, once, and that
// stays the last status; no pass is counted, the buffer keeps what the person had, the port is
// closed and the buttons come back; once the board is back on the same port the next operation
// works.
#include "window_bench.h"

#include <QProgressBar>
#include <QtTest>

using namespace tavrin;
using namespace tavrin::test;

class BoardLostWindow : public QObject {
    Q_OBJECT
  private slots:
    void anOperationEndsCleanlyAndTheNextWorks_data();
    void anOperationEndsCleanlyAndTheNextWorks();
};

void BoardLostWindow::anOperationEndsCleanlyAndTheNextWorks_data() {
    QTest::addColumn<QString>("part");
    QTest::addColumn<QString>("button");
    // Whether the operation leaves the buffer alone when it succeeds (a 12-bit or 12F6 program
    // puts the calibration word into it, a read fills it).
    QTest::addColumn<bool>("keepsBuffer");
    QTest::newRow("generic 14-bit program") << "PIC16F84A"
                                            << "Command_pogram" << true;
    QTest::newRow("generic 14-bit read") << "PIC16F84A"
                                         << "Command_read" << false;
    QTest::newRow("PIC16F877A program") << "PIC16F877A"
                                        << "Command_pogram" << true;
    QTest::newRow("PIC16F877A verify") << "PIC16F877A"
                                       << "Command_Vrify" << true;
    QTest::newRow("PIC18F452 program") << "PIC18F452"
                                       << "Command_pogram" << true;
    QTest::newRow("PIC18F452 read") << "PIC18F452"
                                    << "Command_read" << false;
    QTest::newRow("PIC12C509A verify") << "PIC12C509A"
                                       << "Command_Vrify" << false;
    QTest::newRow("PIC12F683 program") << "PIC12F683"
                                       << "Command_pogram" << false;
    QTest::newRow("generic 14-bit verify") << "PIC16F84A"
                                           << "Command_Vrify" << true;
    QTest::newRow("PIC12F683 verify") << "PIC12F683"
                                      << "Command_Vrify" << true;
    QTest::newRow("PIC18F452 verify") << "PIC18F452"
                                      << "Command_Vrify" << true;
    // The larger PIC18 part reads its whole memory in one request.
    QTest::newRow("PIC18F8720 read") << "PIC18F8720"
                                     << "Command_read" << false;
    QTest::newRow("PIC18F8720 verify") << "PIC18F8720"
                                       << "Command_Vrify" << true;
}

void BoardLostWindow::anOperationEndsCleanlyAndTheNextWorks() {
    QFETCH(QString, part);
    QFETCH(QString, button);
    QFETCH(bool, keepsBuffer);
    // Paced, so that the transfer lasts; lenient, since a board cut off in mid-command cannot
    // judge the host.
    Bench bench({"--part", part.toStdString(), "--baud", "57600"},
                BenchOptions{testDataPath(QStringLiteral("counter84a.hex")),
                             EmulatorProcess::Strictness::Lenient});
    QVERIFY(bench.started);
    bench.select(part);
    bench.click("Cmd_open");
    const PcBuffer before = bench.session.buffer;
    const int passes = bench.session.run.PassCount;

    auto* progress = bench.find<QProgressBar>("P_Bar");
    bool pulled = false;
    QTimer pull;
    pull.setInterval(0);
    QObject::connect(&pull, &QTimer::timeout, [&] {
        if (pulled || !operationRunning(bench.session) || progress->value() <= progress->minimum())
            return;
        pulled = true;
        bench.emu->stop();
    });
    pull.start();
    bench.answerHint({"CmdOk"});
    bench.click(qPrintable(button));
    pull.stop();
    QVERIFY(pulled);

    const QString lost = QStringLiteral("通信ポート ") + bench.session.link.ComPortName +
                         QStringLiteral(" との接続が切れました。");
    QCOMPARE(bench.boxes.size(), std::size_t(1));
    QVERIFY2(bench.boxes[0].text.startsWith(lost), qPrintable(bench.boxes[0].text));
    QVERIFY2(bench.status().startsWith(lost), qPrintable(bench.status()));
    QCOMPARE(bench.session.run.PassCount, passes);
    QVERIFY(!operationRunning(bench.session));
    QVERIFY(bench.controlsBack());
    if (keepsBuffer) {
        QVERIFY(bench.session.buffer.ProgramImage == before.ProgramImage);
        QVERIFY(bench.session.buffer.EepromImage == before.EepromImage);
        QVERIFY(bench.session.buffer.ConfigIdImage == before.ConfigIdImage);
    }

    // The board is back on the same port, with a fresh chip.
    bench.emu = std::make_unique<EmulatorProcess>(
        std::vector<std::string>{"--part", part.toStdString(), "--baud", "0", "--link",
                                 bench.session.link.ComPortName.toStdString()});
    QVERIFY(bench.emu->start());
    bench.boxes.clear();
    bench.click("Command_blank");
    QVERIFY2(bench.status().contains(QStringLiteral("消去されています")),
             qPrintable(bench.status()));
    QVERIFY(bench.boxes.empty());
    QVERIFY(bench.controlsBack());
}

QTEST_MAIN(BoardLostWindow)
#include "board_lost_window_qtest.moc"
