// A program run pressed in the real main window on the emulator over a pty that ends before its
// verdict: the board reports a failure or gives up in the middle of the program memory, or the
// board goes away while the chip is written or verified. The result log gets one line that tells
// this run's failure, never an earlier run's result or nothing; a lost board ends the run at
// once, its loss the last word in the status line and the only box. Shared by the window tests
// of the device modules and of the generic sequence.
#pragma once

#include "window_bench.h"

#include <QProgressBar>
#include <QtTest>

namespace tavrin::test {

// What an earlier run left: a line with it would pass this run off as a success.
inline const QString kEarlierResult = QStringLiteral("プログラミング成功。1sec");

inline QStringList logLines(const Bench& bench) {
    return bench.log().split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
}

// The line's fields up to the ID: the result field, the device, "ID:".
inline QString lineStart(const QString& result, const QString& part) {
    return result + QStringLiteral("  ") + part + QStringLiteral("  ID:");
}

// A part, the letters of its program-memory write and the item of it where the board reports a
// failure or gives up: the fifth word, or the first PIC18 block (the host looks only at the
// board's answer to that one).
struct ProgramStopPart {
    const char* part;
    const char* hex; // the file opened
    const char* programWrite;
    int failingItem;
    const char* writeFailed; // what a failed program-memory write tells
    bool boxed;              // told in a box as well (else in the status line alone)
};

inline void addFailedWriteRows(const ProgramStopPart* parts, std::size_t count) {
    QTest::addColumn<QString>("part");
    QTest::addColumn<QString>("hex");
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("logged");
    QTest::addColumn<bool>("boxed");
    for (std::size_t k = 0; k < count; ++k) {
        const ProgramStopPart& p = parts[k];
        const QString where =
            QString::number(p.failingItem) + QLatin1Char('@') + QString::fromLatin1(p.programWrite);
        for (const char* fault : {"fail-at=", "abort-at="})
            QTest::addRow("%s %s", p.part, fault)
                << QString::fromLatin1(p.part) << QString::fromLatin1(p.hex)
                << QString::fromLatin1(fault) + where << QString::fromUtf8(p.writeFailed)
                << p.boxed;
    }
}

inline void checkFailedWriteIsLogged() {
    QFETCH(QString, part);
    QFETCH(QString, hex);
    QFETCH(QString, fault);
    QFETCH(QString, logged);
    QFETCH(bool, boxed);
    Bench bench({"--part", part.toStdString(), "--fault", fault.toStdString()}, hex);
    QVERIFY(bench.started);
    bench.select(part);
    bench.click("Cmd_open");
    bench.session.run.LastResultText = kEarlierResult;
    bench.boxes.clear();

    bench.click("Command_pogram");

    const QStringList lines = logLines(bench);
    QCOMPARE(lines.size(), 1);
    QVERIFY2(lines[0].startsWith(lineStart(logged, part)), qPrintable(lines[0]));
    QVERIFY2(lines[0].contains(QStringLiteral("  ") + hex + QLatin1Char('\t')),
             qPrintable(lines[0]));
    QCOMPARE(bench.boxes.size(), std::size_t(boxed ? 1 : 0));
    if (boxed) QCOMPARE(bench.boxes[0].text, logged);
    QVERIFY2(bench.status().contains(QStringLiteral("失敗")) &&
                 !bench.status().contains(QStringLiteral("成功")),
             qPrintable(bench.status()));
    QCOMPARE(bench.session.run.AttemptCount, 1);
    QCOMPARE(bench.session.run.PassCount, 0);
    QCOMPARE(bench.session.run.FailCount, 0);
    QCOMPARE(bench.session.run.LastResultText, kEarlierResult);
    QVERIFY(!operationRunning(bench.session));
    QVERIFY(bench.controlsBack());
}

inline void addLostBoardRows(const ProgramStopPart* parts, std::size_t count) {
    QTest::addColumn<QString>("part");
    QTest::addColumn<QString>("hex");
    // The board goes away while this status shows (and the bar moves).
    QTest::addColumn<QString>("during");
    for (std::size_t k = 0; k < count; ++k) {
        const ProgramStopPart& p = parts[k];
        QTest::addRow("%s writing", p.part)
            << QString::fromLatin1(p.part) << QString::fromLatin1(p.hex)
            << QStringLiteral("プログラミング");
        QTest::addRow("%s verifying", p.part)
            << QString::fromLatin1(p.part) << QString::fromLatin1(p.hex)
            << QStringLiteral("ベリファイ");
    }
}

inline void checkLostBoardEndsTheRunAtOnce() {
    QFETCH(QString, part);
    QFETCH(QString, hex);
    QFETCH(QString, during);
    // Paced, so that the transfer lasts; lenient, since a board cut off in mid-command cannot
    // judge the host.
    Bench bench({"--part", part.toStdString(), "--baud", "57600"},
                BenchOptions{hex, EmulatorProcess::Strictness::Lenient});
    QVERIFY(bench.started);
    bench.select(part);
    bench.click("Cmd_open");
    bench.session.run.LastResultText = kEarlierResult;
    bench.boxes.clear();

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
    QCOMPARE(bench.session.run.AttemptCount, 1);
    QCOMPARE(bench.session.run.PassCount, 0);
    QCOMPARE(bench.session.run.FailCount, 0);
    QVERIFY(!operationRunning(bench.session));
    QVERIFY(bench.controlsBack());
}

} // namespace tavrin::test
