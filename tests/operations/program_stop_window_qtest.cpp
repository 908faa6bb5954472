// A program run of each device module that ends before its verdict, pressed in the real main
// window on the emulator over a pty: the board reports a failure or gives up in the middle of the
// program memory, or the board goes away while the chip is written or verified. The result log
// gets one line that tells this run's failure, never an earlier run's result or nothing; a lost
// board ends the run at once, its loss the last word in the status line and the only box.
#include "window_bench.h"

#include <QProgressBar>
#include <QtTest>

using namespace tavrin;
using namespace tavrin::test;

namespace {

QString hexFor(const QString& part) {
    const QString pic12 = QStringLiteral(TAVRIN_SOURCE_DIR "/tests/devices/pic12/data/");
    const QString pic16 = QStringLiteral(TAVRIN_SOURCE_DIR "/tests/devices/pic16f87x/data/");
    if (part == QLatin1String("PIC12C508A")) return pic12 + QStringLiteral("blink508a.hex");
    if (part == QLatin1String("PIC12F683")) return pic12 + QStringLiteral("blink683.hex");
    if (part.endsWith(QLatin1Char('A')))
        return pic16 + QStringLiteral("blink16f877a.hex"); // PIC16F877A, QZ-WRT400A
    if (part.startsWith(QLatin1String("PIC18")))
        return testDataPath(QStringLiteral("counter84a.hex"));
    return pic16 + QStringLiteral("blink16f877.hex"); // PIC16F877, QZ-WRT400
}

QStringList logLines(const Bench& bench) {
    return bench.log().split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
}

// The line's fields up to the ID: the result field, the device, "ID:".
QString lineStart(const QString& result, const QString& part) {
    return result + QStringLiteral("  ") + part + QStringLiteral("  ID:");
}

// The modules, the letters of their program-memory write and the item of it where the board
// reports a failure or gives up: the fifth word, or the first PIC18 block (the host looks only
// at the board's answer to that one).
struct Module {
    const char* part;
    const char* programWrite;
    int failingItem;
    const char* writeFailed; // what a failed program-memory write tells
};

const Module kModules[] = {
    {"PIC12C508A", "wsp", 4, "プログラムメモリのプログラミングに失敗しました。"},
    {"PIC12F683", "we8", 4,
     "プログラミング..........ＦＬＡＳＨプログラムメモリーのプログラミングに失敗しました。"},
    {"PIC16F877", "we8", 4, "プログラムメモリのプログラミングに失敗しました。"},
    {"PIC16F877A", "wGe", 4, "プログラムメモリのプログラミングに失敗しました。"},
    {"QZ-WRT400", "w84", 4, "プログラムメモリのプログラミングに失敗しました。"},
    {"QZ-WRT400A", "w7e", 4, "プログラムメモリのプログラミングに失敗しました。"},
    {"PIC18F452", "Xwep", 0,
     "プログラミング..........ＦＬＡＳＨプログラムメモリーのプログラミングに失敗しました。"},
};

} // namespace

class ProgramStopWindow : public QObject {
    Q_OBJECT
  private slots:
    void aFailedWriteIsLogged_data();
    void aFailedWriteIsLogged();
    void aLostBoardEndsTheRunAtOnce_data();
    void aLostBoardEndsTheRunAtOnce();
};

void ProgramStopWindow::aFailedWriteIsLogged_data() {
    QTest::addColumn<QString>("part");
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("logged");
    for (const Module& m : kModules) {
        const QString where =
            QString::number(m.failingItem) + QLatin1Char('@') + QString::fromLatin1(m.programWrite);
        QTest::addRow("%s failure report", m.part)
            << QString::fromLatin1(m.part) << QStringLiteral("fail-at=") + where
            << QString::fromUtf8(m.writeFailed);
        QTest::addRow("%s abort", m.part)
            << QString::fromLatin1(m.part) << QStringLiteral("abort-at=") + where
            << QString::fromUtf8(m.writeFailed);
    }
}

void ProgramStopWindow::aFailedWriteIsLogged() {
    QFETCH(QString, part);
    QFETCH(QString, fault);
    QFETCH(QString, logged);
    Bench bench({"--part", part.toStdString(), "--fault", fault.toStdString()}, hexFor(part));
    QVERIFY(bench.started);
    bench.select(part);
    bench.click("Cmd_open");
    // What an earlier run left: a line with it would pass this run off as a success.
    bench.session.run.LastResultText = QStringLiteral("プログラミング成功。1sec");

    bench.click("Command_pogram");

    const QStringList lines = logLines(bench);
    QCOMPARE(lines.size(), 1);
    QVERIFY2(lines[0].startsWith(lineStart(logged, part)), qPrintable(lines[0]));
    QVERIFY2(lines[0].contains(QStringLiteral("  ") + hexFor(part) + QLatin1Char('\t')),
             qPrintable(lines[0]));
    QCOMPARE(bench.session.run.AttemptCount, 1);
    QCOMPARE(bench.session.run.PassCount, 0);
    QVERIFY2(!bench.status().contains(QStringLiteral("成功")), qPrintable(bench.status()));
    QVERIFY(bench.controlsBack());
}

void ProgramStopWindow::aLostBoardEndsTheRunAtOnce_data() {
    QTest::addColumn<QString>("part");
    // The board goes away while this status shows (and the bar moves).
    QTest::addColumn<QString>("during");
    for (const Module& m : kModules) {
        QTest::addRow("%s writing", m.part)
            << QString::fromLatin1(m.part) << QStringLiteral("プログラミング");
        QTest::addRow("%s verifying", m.part)
            << QString::fromLatin1(m.part) << QStringLiteral("ベリファイ");
    }
}

void ProgramStopWindow::aLostBoardEndsTheRunAtOnce() {
    QFETCH(QString, part);
    QFETCH(QString, during);
    // Paced, so that the transfer lasts; lenient, since a board cut off in mid-command cannot
    // judge the host.
    Bench bench({"--part", part.toStdString(), "--baud", "57600"},
                BenchOptions{hexFor(part), EmulatorProcess::Strictness::Lenient});
    QVERIFY(bench.started);
    bench.select(part);
    bench.click("Cmd_open");
    bench.session.run.LastResultText = QStringLiteral("プログラミング成功。1sec");

    auto* progress = bench.find<QProgressBar>("P_Bar");
    bool pulled = false;
    QTimer pull;
    pull.setInterval(0);
    QObject::connect(&pull, &QTimer::timeout, [&] {
        if (pulled || !operationRunning(bench.session) || bench.session.run.AttemptCount == 0 ||
            !progress->isVisible() || progress->value() <= progress->minimum() ||
            !bench.status().contains(during))
            return;
        pulled = true;
        bench.emu->stop();
    });
    pull.start();
    bench.click("Command_pogram");
    pull.stop();
    QVERIFY(pulled);

    const QString lost = QStringLiteral("通信ポート ") + bench.session.link.ComPortName +
                         QStringLiteral(" との接続が切れました。");
    QVERIFY2(bench.status().startsWith(lost), qPrintable(bench.status()));
    QCOMPARE(bench.find<QLabel>("LabelCmt")->palette().color(QPalette::WindowText),
             QColor(Qt::red));
    QCOMPARE(bench.boxes.size(), std::size_t(1));
    QVERIFY2(bench.boxes[0].text.startsWith(lost), qPrintable(bench.boxes[0].text));
    const QStringList lines = logLines(bench);
    QCOMPARE(lines.size(), 1);
    QVERIFY2(lines[0].startsWith(lineStart(lost, part)), qPrintable(lines[0]));
    QCOMPARE(bench.session.run.PassCount, 0);
    QCOMPARE(bench.session.run.FailCount, 0);
    QVERIFY(!operationRunning(bench.session));
    QVERIFY(bench.controlsBack());
}

QTEST_MAIN(ProgramStopWindow)
#include "program_stop_window_qtest.moc"
