// The Verify button of each device module and of the generic sequence, pressed in the real main
// window on the emulator over a pty, with the board pulled while program memory is read back:
// the person is told once that the board went away, and that stays the last status.
#include "window_bench.h"

#include <QLabel>
#include <QTimer>
#include <QtTest>

using namespace tavrin;
using namespace tavrin::test;

class VerifyLostBoard : public QObject {
    Q_OBJECT
  private slots:
    void theLossIsToldOnceAndStays_data();
    void theLossIsToldOnceAndStays();
};

void VerifyLostBoard::theLossIsToldOnceAndStays_data() {
    QTest::addColumn<QString>("part");
    for (const char* part :
         {"PIC16F84A", "PIC12C508A", "PIC12F683", "PIC16F877A", "PIC18F452", "PIC18F8720"})
        QTest::newRow(part) << QString::fromLatin1(part);
}

void VerifyLostBoard::theLossIsToldOnceAndStays() {
    QFETCH(QString, part);
    // Paced, so that the read-back lasts; lenient, since a board cut off in mid-command cannot
    // judge the host.
    BenchOptions lenient;
    lenient.strictness = EmulatorProcess::Strictness::Lenient;
    Bench bench({"--part", part.toStdString(), "--baud", "57600"}, lenient);
    QVERIFY(bench.started);
    bench.select(part);
    bench.boxes.clear();

    bool pulled = false;
    QTimer pull;
    pull.setInterval(0);
    QObject::connect(&pull, &QTimer::timeout, [&] {
        const QString status = bench.status();
        if (pulled || !status.contains(QStringLiteral("ベリファイ")) ||
            !status.contains(QStringLiteral("プログラムメモリ")))
            return;
        pulled = true;
        bench.emu->stop();
    });
    pull.start();
    bench.click("Command_Vrify");
    pull.stop();
    QVERIFY(pulled);

    const QString lost = QStringLiteral("通信ポート ") + bench.session.link.ComPortName +
                         QStringLiteral(" との接続が切れました。");
    QVERIFY2(bench.status().startsWith(lost), qPrintable(bench.status()));
    QCOMPARE(bench.find<QLabel>("LabelCmt")->palette().color(QPalette::WindowText),
             QColor(Qt::red));
    QCOMPARE(bench.boxes.size(), std::size_t(1));
    QVERIFY2(bench.boxes[0].text.startsWith(lost), qPrintable(bench.boxes[0].text));
    QVERIFY(bench.controlsBack());
}

QTEST_MAIN(VerifyLostBoard)
#include "verify_lost_board_window_qtest.moc"
