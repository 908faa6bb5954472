// The real main window driving the board emulator on a pseudo-terminal through QSerialPort: a
// part picked, a HEX file opened, and the Blank, Program, Verify and Read buttons pressed, with
// the overwrite question answered in frmHint and the operation guard tried while the board is
// silent. The window is wired as the program wires it, with the emulated board's port named only
// by TAVRIN_DEFAULT_PORT.
#include "window_bench.h"

#include <QtTest>

using namespace tavrin;
using namespace tavrin::test;

namespace {
const QString kHex = testDataPath(QStringLiteral("counter84a.hex"));
} // namespace

class WindowOperations : public QObject {
    Q_OBJECT
  private slots:
    void programsTheHexIntoTheChip();
    void overwritesOnlyAfterYes();
    void verifyListsTheDifferencesAndReadFillsTheBuffer();
    void blankCheckOfAnErasedChip();
    void nothingElseRunsWhileTheBoardIsWaitedFor();
    void extendedWindowWorksOneAreaOfAFlashPart();
};

void WindowOperations::programsTheHexIntoTheChip() {
    Bench bench({"--part", "PIC16F84A"});
    QVERIFY(bench.started);
    bench.select(QStringLiteral("PIC16F84A"));
    bench.click("Cmd_open");
    bench.click("Command_pogram");

    QVERIFY2(
        QRegularExpression(QStringLiteral("^プログラミング成功。\\d+sec　終了時刻：\\d+:\\d\\d:"
                                          "\\d\\d  Pass = 1    Fail = 0 $"))
            .match(bench.status())
            .hasMatch(),
        qPrintable(bench.status()));
    QVERIFY(bench.boxes.empty());
    QVERIFY(bench.log().startsWith(bench.session.run.LastResultText +
                                   QStringLiteral("  PIC16F84A  ID:1234  ") + kHex +
                                   QLatin1Char('\t')));
    QVERIFY(bench.log().endsWith(QStringLiteral("\r\n")));
    QVERIFY(bench.find<QPushButton>("Command_pogram")->isEnabled());
    QVERIFY(bench.find<QComboBox>("Combo_device")->isEnabled());
    QVERIFY(!bench.port.isOpen());

    auto expected = hexWordsBySrecCat(kHex, 0, 1024);
    for (auto& w : expected)
        w &= 0x3FFF;
    auto chip = bench.chipProgram(1024);
    for (auto& w : chip)
        w &= 0x3FFF;
    QCOMPARE(chip, expected);
}

void WindowOperations::overwritesOnlyAfterYes() {
    Bench bench({"--part", "PIC16F84A"});
    QVERIFY(bench.started);
    bench.select(QStringLiteral("PIC16F84A"));
    bench.click("Cmd_open");
    bench.click("Command_pogram");
    QCOMPARE(bench.session.run.PassCount, 1);

    bench.answerHint({QStringLiteral("CmdCancel")});
    bench.click("Command_pogram");
    QCOMPARE(bench.hintsSeen, QStringList{QStringLiteral("書込み済みです。|上書きしますか？")});
    QCOMPARE(bench.status(), QStringLiteral("上書き操作をキャンセルしました。 "));
    QCOMPARE(bench.session.run.AttemptCount, 1);

    // The document button, then the window closed: no consent.
    QFile document(bench.dir.filePath(QStringLiteral("製作確認資料.pdf")));
    QVERIFY(document.open(QIODevice::WriteOnly));
    document.close();
    bench.window->setDocumentFolders({bench.dir.path()});
    bench.answerHint({QStringLiteral("CmdHint"), QStringLiteral("close")});
    bench.click("Command_pogram");
    QCOMPARE(bench.documents.size(), 1);
    QVERIFY(bench.documents[0].endsWith(QStringLiteral("製作確認資料.pdf")));
    QCOMPARE(bench.status(), QStringLiteral("上書き操作をキャンセルしました。 "));
    QCOMPARE(bench.session.run.AttemptCount, 1);

    bench.answerHint({QStringLiteral("CmdOk")});
    bench.click("Command_pogram");
    QVERIFY2(bench.status().contains(QStringLiteral("Pass = 2    Fail = 0")),
             qPrintable(bench.status()));
    // Each run has its line, the two cancelled ones theirs.
    const QStringList lines = bench.log().split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 4);
    for (int k : {1, 2})
        QVERIFY2(
            lines[k].startsWith(QStringLiteral("上書き操作をキャンセルしました。  PIC16F84A  ID:")),
            qPrintable(lines[k]));
}

void WindowOperations::verifyListsTheDifferencesAndReadFillsTheBuffer() {
    Bench bench({"--part", "PIC16F84A", "--load", kHex.toStdString()});
    QVERIFY(bench.started);
    bench.select(QStringLiteral("PIC16F84A"));
    bench.click("Cmd_open");
    auto& image = bench.session.buffer.ProgramImage;
    image[10] = 0x12; // word 5
    image[11] = 0x34;

    bench.click("Command_Vrify");
    QCOMPARE(bench.status(), QStringLiteral("ベリファイエラーを検出しました。 "));
    QVERIFY2(bench.programView().contains(
                 QRegularExpression(QStringLiteral("^Error　 アドレス:0x0005 , 正:0x1234 , "
                                                   "誤:0x[0-9A-F]{4}$"),
                                    QRegularExpression::MultilineOption)),
             qPrintable(bench.programView().right(200)));
    QCOMPARE(bench.boxes.size(), std::size_t(1));
    QCOMPARE(bench.boxes[0].title, QStringLiteral("ベリファイエラー"));
    QVERIFY(bench.log().contains(QStringLiteral("\tﾍﾞﾘﾌｧｲ 操作終了\t")));

    bench.window->findChild<QAction*>(QStringLiteral("mnuPcBufferMemory_0"))->trigger();
    QCOMPARE(int(image[0]), 0);
    bench.click("Command_read");
    QCOMPARE(bench.status(), QStringLiteral("読み出し完了。 "));
    const auto expected = hexWordsBySrecCat(kHex, 0, 1024);
    for (int w = 0; w < 1024; ++w)
        QCOMPARE(image[2 * w] * 256 + image[2 * w + 1], expected[w] & 0x3FFF);
    QVERIFY(bench.programView().startsWith(QStringLiteral("0000:")));
    QVERIFY(bench.log().contains(QStringLiteral("\tリード 操作終了\t")));
}

void WindowOperations::blankCheckOfAnErasedChip() {
    Bench bench({"--part", "PIC16F84A"});
    QVERIFY(bench.started);
    bench.select(QStringLiteral("PIC16F84A"));
    bench.click("Command_blank");
    QCOMPARE(bench.status(),
             QStringLiteral("ブランクチェック終了。　デバイスは消去されています。 "));
    QVERIFY(bench.boxes.empty());
    QVERIFY(bench.log().startsWith(QStringLiteral("\tﾌﾞﾗﾝｸﾁｪｯｸ操作終了\t")));
}

// The chip erase gets no answer and waits its 3 s: meanwhile a second Program, a buffer fill, a
// device choice and closing the window are all refused.
void WindowOperations::nothingElseRunsWhileTheBoardIsWaitedFor() {
    Bench bench({"--part", "PIC16F84A", "--fault", "stall=0@bd"});
    QVERIFY(bench.started);
    bench.select(QStringLiteral("PIC16F84A"));
    bench.click("Cmd_open");
    bool tried = false;
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (tried || !bench.status().startsWith(QStringLiteral("チップイレース("))) return;
        tried = true;
        QVERIFY(operationRunning(bench.session));
        QVERIFY(!bench.find<QPushButton>("Command_pogram")->isEnabled());
        const int attempts = bench.session.run.AttemptCount;
        bench.window->Command_pogram_Click(); // as a shortcut would reach it
        QCOMPARE(bench.status(), kOperationRunningText + QLatin1Char(' '));
        bench.window->findChild<QAction*>(QStringLiteral("mnuPcBufferMemory_0"))->trigger();
        const auto& image = bench.session.buffer.ProgramImage;
        QCOMPARE(image[0] * 256 + image[1], 0x2805); // goto start, as loaded
        auto* list = bench.find<QComboBox>("Combo_device");
        list->setCurrentIndex(0);
        bench.window->Combo_device_Click();
        QCOMPARE(bench.session.device.SelectedDevice, QStringLiteral("PIC16F84A"));
        QVERIFY(!bench.window->close());
        QVERIFY(bench.window->isVisible());
        QCOMPARE(bench.session.run.AttemptCount, attempts);
    });
    poll.start();
    bench.click("Command_pogram");
    poll.stop();
    QVERIFY(tried);
    QCOMPARE(bench.status(), QStringLiteral("チップイレース失敗。 "));
    QVERIFY(!operationRunning(bench.session));
    QVERIFY(!bench.port.isOpen());
    QVERIFY(bench.window->close());
}

// A generic 14-bit flash part: each area button of the extended window erases, programs or reads
// its own area on the emulated chip and leaves the other one as it was.
void WindowOperations::extendedWindowWorksOneAreaOfAFlashPart() {
    Bench bench({"--part", "PIC16F873A", "--load", kHex.toStdString()});
    QVERIFY(bench.started);
    bench.select(QStringLiteral("PIC16F873A"));
    bench.click("Cmd_Extend_Program");
    auto* ext = bench.find<QWidget>("frmExtend_Program");
    QVERIFY(ext && ext->isVisible());
    QCOMPARE(ext->windowTitle(), QStringLiteral("拡張プログラミング機能"));
    QCOMPARE(ext->parentWidget(), bench.window.get());
    auto press = [&](const char* name) {
        auto* b = ext->findChild<QPushButton*>(QString::fromLatin1(name));
        QVERIFY2(b && b->isEnabled(), name);
        QTest::mouseClick(b, Qt::LeftButton);
    };
    const auto expected = hexWordsBySrecCat(kHex, 0, 1024);
    auto& image = bench.session.buffer.ProgramImage;
    auto& eeprom = bench.session.buffer.EepromImage;

    press("Cmd_PGM_Read");
    QCOMPARE(bench.status(), QStringLiteral("プログラムメモリ読み出し成功。 "));
    for (int w = 0; w < 1024; ++w)
        QCOMPARE(image[2 * w] * 256 + image[2 * w + 1], expected[w] & 0x3FFF);

    for (int i = 0; i < 128; ++i)
        eeprom[2 * i + 1] = std::uint8_t(i * 7 + 3);
    const auto written = eeprom;
    press("Cmd_DATA_Program");
    QCOMPARE(bench.status(), QStringLiteral("ＥＥＰＲＯＭデータメモリのプログラミング成功。 "));
    QVERIFY(bench.boxes.empty());
    press("Cmd_DATA_PcbufferClear");
    QCOMPARE(int(eeprom[1]), 0xFF);
    press("Cmd_DATA_Read");
    QCOMPARE(bench.status(), QStringLiteral("ＥＥＰＲＯＭデータメモリ読み出し成功。 "));
    for (int i = 0; i < 128; ++i)
        QCOMPARE(int(eeprom[2 * i + 1]), int(written[2 * i + 1]));
    // The program memory was not touched by the EEPROM buttons.
    press("Cmd_PGM_PcbufferClear");
    QCOMPARE(int(image[0] * 256 + image[1]), 0x3FFF);
    press("Cmd_PGM_Read");
    for (int w = 0; w < 1024; ++w)
        QCOMPARE(image[2 * w] * 256 + image[2 * w + 1], expected[w] & 0x3FFF);

    press("Cmd_DATA_Erase");
    QCOMPARE(bench.status(), QStringLiteral("データメモリの消去しました。 "));
    press("Cmd_DATA_Read");
    for (int i = 0; i < 128; ++i)
        QCOMPARE(int(eeprom[2 * i + 1]), 0xFF);

    press("Cmd_PGM_Erase");
    QCOMPARE(bench.status(), QStringLiteral("プログラムメモリ、コンフィグ、ＩＤの消去しました。 "));
    QVERIFY(!operationRunning(bench.session));
    QVERIFY(bench.find<QPushButton>("Command_pogram")->isEnabled());
    const auto chip = bench.chipProgram(1024);
    for (int w = 0; w < 1024; ++w)
        QCOMPARE(int(chip[w]), 0x3FFF);
}

QTEST_MAIN(WindowOperations)
#include "window_operations_qtest.moc"
