// The real main window driving the board emulator on a pseudo-terminal through QSerialPort, for
// the PIC18F452 and the PIC18F8720 (64K words): Blank, Program, Verify and Read pressed as a
// person presses them, the chip compared with the HEX file and the saved buffer by srec_cmp, a
// protected chip, the wrong part in the socket and a board that stops answering.
#include "pic18_bench.h"
#include "window_bench.h"

#include <QProcess>
#include <QtTest>

using namespace tavrin;
using namespace tavrin::test;

namespace {

// The window on the emulator; the File menu opens image.hex and saves saved.hex of the bench's
// folder.
class WindowBench : public Bench {
  public:
    explicit WindowBench(std::vector<std::string> emulatorArgs) : Bench(std::move(emulatorArgs)) {
        hex = dir.filePath(QStringLiteral("image.hex"));
        saveAs = dir.filePath(QStringLiteral("saved.hex"));
    }
    QString hexPath() const { return hex; }
    QString savePath() const { return saveAs; }
};

// srec_cmp's verdict on two Intel HEX files over the chip's memories (the device ID, which no
// file holds, left out of the second).
bool srecEqual(const QString& a, const QString& b, QString* why) {
    QProcess cmp;
    cmp.start(QStringLiteral("srec_cmp"),
              {a, QStringLiteral("-intel"), b, QStringLiteral("-intel"), QStringLiteral("-exclude"),
               QStringLiteral("0x3FFFFE"), QStringLiteral("0x400000")});
    if (!cmp.waitForFinished(30000)) return false;
    *why = QString::fromUtf8(cmp.readAllStandardError() + cmp.readAllStandardOutput());
    return cmp.exitStatus() == QProcess::NormalExit && cmp.exitCode() == 0;
}

} // namespace

class Pic18Window : public QObject {
    Q_OBJECT
  private slots:
    void programVerifyReadAndSave_data();
    void programVerifyReadAndSave();
    void aProtectedChip();
    void theWrongPart();
    void aBoardThatStopsAnswering_data();
    void aBoardThatStopsAnswering();
    void aWrongEndCodeAfterTheProgramBytes_data();
    void aWrongEndCodeAfterTheProgramBytes();
};

void Pic18Window::programVerifyReadAndSave_data() {
    QTest::addColumn<QString>("device");
    QTest::newRow("PIC18F452") << QStringLiteral("PIC18F452");
    QTest::newRow("PIC18F8720") << QStringLiteral("PIC18F8720");
}

void Pic18Window::programVerifyReadAndSave() {
    QFETCH(QString, device);
    WindowBench bench({"--part", device.toStdString()});
    QVERIFY(bench.started);
    writePic18Hex(randomPic18Image(device.toStdString(), 452), bench.hexPath());
    bench.select(device);

    bench.click("Command_blank");
    QCOMPARE(bench.status(), QStringLiteral("デバイスは消去されています。\r\n "));
    QVERIFY(bench.boxes.empty());

    bench.click("Cmd_open");
    bench.click("Command_pogram");
    QVERIFY2(bench.status().startsWith(QStringLiteral("プログラミング成功。")),
             qPrintable(bench.status()));
    QVERIFY2(bench.status().endsWith(QStringLiteral("Pass = 1    Fail = 0 ")),
             qPrintable(bench.status()));
    QVERIFY(bench.controlsBack());

    // Read into a cleared buffer, then Verify the same chip against what was read.
    bench.window->findChild<QAction*>(QStringLiteral("mnuPcBufferMemory_0"))->trigger();
    bench.click("Command_read");
    QVERIFY2(bench.status().startsWith(QStringLiteral("リード..........リード終了。　")),
             qPrintable(bench.status()));
    QVERIFY(bench.find<QPlainTextEdit>("RichTxtPgmMem")->toPlainText().startsWith("0000:"));
    bench.click("Command_Vrify");
    QCOMPARE(bench.status(), QStringLiteral("ベリファイは正常終了しました。 "));
    bench.click("Cmd_save");
    QVERIFY(QFile::exists(bench.savePath()));

    const QStringList log = bench.log().split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    QCOMPARE(log.size(), 4);
    QVERIFY(log[1].startsWith(QStringLiteral("プログラミング成功。")));
    QVERIFY(log[2].startsWith(QStringLiteral("\tリード 操作終了\t")));

    QCOMPARE(bench.emu->stop(), 0);
    QString why;
    QVERIFY2(srecEqual(bench.hexPath(), QString::fromStdString(bench.dumpPath()), &why),
             qPrintable(why));
    QVERIFY2(srecEqual(bench.savePath(), QString::fromStdString(bench.dumpPath()), &why),
             qPrintable(why));
}

void Pic18Window::aProtectedChip() {
    QTemporaryDir files;
    Pic18Image image = randomPic18Image("PIC18F452", 5);
    image.config[8] = 0x0A; // CP0 and CP2 on
    image.config[9] = 0x40; // CPD on
    const QString protectedHex = files.filePath(QStringLiteral("protected.hex"));
    writePic18Hex(image, protectedHex);

    WindowBench bench({"--part", "PIC18F452", "--load", protectedHex.toStdString()});
    QVERIFY(bench.started);
    bench.select(QStringLiteral("PIC18F452"));
    bench.click("Command_read");
    QCOMPARE(
        bench.status(),
        QStringLiteral("リード..........リード終了。　プログラムメモリ＆ＥＥＰＲＯＭデータメモリが"
                       "コードプロテクトされています。（不適切なデータがコンフィグワードにセッ"
                       "トされています。） "));
    QCOMPARE(bench.find<QLabel>("LabelCmt")->palette().color(QPalette::WindowText),
             QColor(Qt::red));

    bench.click("Command_Vrify");
    QCOMPARE(bench.boxes.size(), std::size_t(1));
    QCOMPARE(bench.boxes[0].title, QStringLiteral("ベリファイ"));
    QVERIFY(bench.boxes[0].text.startsWith(
        QStringLiteral("プログラム＆ＥＥＰＲＯＭデータ メモリがコードプロテクトされています。\r")));
    // Read's end line only: a skipped verify writes none.
    QCOMPARE(bench.log().count(QStringLiteral("\r\n")), 1);
    QVERIFY(bench.controlsBack());
}

void Pic18Window::theWrongPart() {
    WindowBench bench({"--part", "PIC18F452"});
    QVERIFY(bench.started);
    bench.select(QStringLiteral("PIC18F8720"));
    bench.boxAnswer = MessageAnswer::Cancel;
    bench.click("Command_read");
    QCOMPARE(bench.status(), QStringLiteral("指定しているマイコンとソケットにセットしているマイコン"
                                            "の種類が違います。 "));
    QCOMPARE(bench.boxes.size(), std::size_t(1));
    QCOMPARE(bench.boxes[0].title, QStringLiteral("書込みマイコンの種類の確認"));
    QCOMPARE(bench.log(), QString());
    QVERIFY(bench.controlsBack());
}

void Pic18Window::aBoardThatStopsAnswering_data() {
    QTest::addColumn<QString>("device");
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("status");
    QTest::newRow("device ID") << QStringLiteral("PIC18F452") << QStringLiteral("stall=1@Xrsc")
                               << QStringLiteral("Command_read")
                               << QStringLiteral(
                                      "モジュールチェック失敗。　　読み出しデータ不足。 ");
    QTest::newRow("8720 program read")
        << QStringLiteral("PIC18F8720") << QStringLiteral("stall=100@Xrsp")
        << QStringLiteral("Command_read") << QStringLiteral("プログラムメモリ リードエラー。 ");
    QTest::newRow("erase") << QStringLiteral("PIC18F452") << QStringLiteral("stall=0@Xbd")
                           << QStringLiteral("Command_pogram")
                           << QStringLiteral(
                                  "プログラミング..........チップイレース(コードプロテクト"
                                  "解除)　失敗。 ");
}

void Pic18Window::aBoardThatStopsAnswering() {
    QFETCH(QString, device);
    QFETCH(QString, fault);
    QFETCH(QString, button);
    QFETCH(QString, status);
    WindowBench bench({"--part", device.toStdString(), "--fault", fault.toStdString()});
    QVERIFY(bench.started);
    writePic18Hex(randomPic18Image(device.toStdString(), 1), bench.hexPath());
    bench.select(device);
    bench.click("Cmd_open");
    bench.click(button.toLatin1().constData());
    QCOMPARE(bench.status(), status);
    QVERIFY(bench.controlsBack());
}

void Pic18Window::aWrongEndCodeAfterTheProgramBytes_data() {
    QTest::addColumn<QString>("device");
    QTest::addColumn<QString>("status");
    // The larger part reads its whole memory in one request, the others panel by panel: both
    // refuse a reply whose end code is wrong.
    QTest::newRow("PIC18F8720") << QStringLiteral("PIC18F8720")
                                << QStringLiteral("プログラムメモリ リードエラー。 ");
    QTest::newRow("PIC18F452")
        << QStringLiteral("PIC18F452")
        << QStringLiteral("プログラムメモリ読み出しブランクチェック失敗。　　終了コードを受信できま"
                          "せんでした。 ");
}

void Pic18Window::aWrongEndCodeAfterTheProgramBytes() {
    QFETCH(QString, device);
    QFETCH(QString, status);
    QTemporaryDir files;
    const QString chipHex = files.filePath(QStringLiteral("chip.hex"));
    writePic18Hex(randomPic18Image(device.toStdString(), 20), chipHex);
    WindowBench bench({"--part", device.toStdString(), "--load", chipHex.toStdString(), "--fault",
                       "end-code=0x21@Xrsp"});
    QVERIFY(bench.started);
    bench.select(device);
    const QString viewBefore = bench.programView();
    bench.click("Command_read");
    QCOMPARE(bench.status(), status);
    QVERIFY(bench.boxes.empty());
    // A read that went to the chip leaves its end line, as a failed blank check does.
    QVERIFY2(bench.log().endsWith(QStringLiteral("\r\n")) &&
                 bench.log().startsWith(QStringLiteral("\tリード 操作終了\t")),
             qPrintable(bench.log()));
    QCOMPARE(bench.programView(), viewBefore); // the buffer keeps what it held
    QVERIFY(bench.controlsBack());
}

QTEST_MAIN(Pic18Window)
#include "pic18_window_qtest.moc"
