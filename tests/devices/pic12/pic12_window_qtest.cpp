// The two modules from the real main window, the board emulator on a pseudo-terminal reached
// through QSerialPort: Blank, Program, Verify and Read for a PIC12C508A and a PIC12F683, with the
// chip's memories read back from the emulator's dump, a written and a protected chip, an empty
// socket and the wrong part.
#include "window_bench.h"

#include <QtTest>

using namespace tavrin;
using namespace tavrin::test;

namespace {

QString dataPath(const char* name) {
    return QStringLiteral(TAVRIN_SOURCE_DIR "/tests/devices/pic12/data/") + QLatin1String(name);
}

const QString kHex508 = dataPath("blink508a.hex");
const QString kHex683 = dataPath("blink683.hex");
const QRegularExpression
    kPassOnce(QStringLiteral("^プログラミング成功。\\d+sec　終了時刻：\\d+:\\d\\d:"
                             "\\d\\d  Pass = 1    Fail = 0 $"));

// The window as the program builds it (its operations register every device module).
using Pic12Window = Bench;

} // namespace

class Pic12WindowOperations : public QObject {
    Q_OBJECT
  private slots:
    void pic12c508aBlankProgramVerifyRead();
    void pic12f683BlankProgramVerifyRead();
    void aProtectedChipIsAskedAboutAndCancelChangesNothing();
    void anEmptySocketAndTheWrongPart();
    void aProgramMemoryRunOfTheExtendedWindowIsNoAttempt();
};

void Pic12WindowOperations::pic12c508aBlankProgramVerifyRead() {
    Pic12Window bench({"--part", "PIC12C508A"}, kHex508);
    QVERIFY(bench.started);
    bench.select(QStringLiteral("PIC12C508A"));
    bench.click("Cmd_open");

    bench.click("Command_blank");
    QCOMPARE(bench.status(),
             QStringLiteral("デバイスは消去されています。\r\nキャリブレーションデータ"
                            "格納アドレス(0x01FF)のデータは0x0C5A です。 "));
    bench.click("Command_pogram");
    QVERIFY2(kPassOnce.match(bench.status()).hasMatch(), qPrintable(bench.status()));
    QVERIFY(bench.boxes.empty());
    QVERIFY(bench.log().contains(bench.session.run.LastResultText +
                                 QStringLiteral("  PIC12C508A  ID:5A3C  R:0C5A,W:0C5A  ") +
                                 kHex508 + QLatin1Char('\t')));
    bench.click("Command_Vrify");
    QCOMPARE(bench.status(), QStringLiteral("ベリファイは正常終了しました。 "));

    // A written chip: the question, and Cancel leaves every counter as it was.
    bench.answerHint({QStringLiteral("CmdCancel")});
    bench.click("Command_pogram");
    QCOMPARE(bench.hintsSeen, QStringList{QStringLiteral("書込み済みです。|上書きしますか？")});
    QCOMPARE(bench.session.run.AttemptCount, 1);
    QCOMPARE(bench.session.run.PassCount, 1);

    bench.window->findChild<QAction*>(QStringLiteral("mnuPcBufferMemory_0"))->trigger();
    bench.click("Command_read");
    QCOMPARE(bench.status(), QStringLiteral("読み出し完了。 "));
    QCOMPARE(bench.session.buffer.IdText, QStringLiteral("5A3C"));
    QVERIFY(bench.log().endsWith(QStringLiteral("\r\n")));
    QVERIFY(bench.log().contains(QStringLiteral("\tリード 操作終了\t")));
    QVERIFY(bench.find<QPushButton>("Command_pogram")->isEnabled());
    QVERIFY(!bench.port.isOpen());

    auto expected = hexWordsBySrecCat(kHex508, 0, 512);
    for (auto& w : expected)
        w &= 0x0FFF;
    expected.back() = 0x0C5A; // the factory calibration word, kept
    auto chip = bench.chipWords(0, 512);
    for (auto& w : chip)
        w &= 0x0FFF;
    QCOMPARE(chip, expected);
    QCOMPARE(bench.chipWords(0xFFF, 1)[0] & 0x0FFF,
             hexWordsBySrecCat(kHex508, 0xFFF, 1)[0] & 0x0FFF);
}

void Pic12WindowOperations::pic12f683BlankProgramVerifyRead() {
    Pic12Window bench({"--part", "PIC12F683"}, kHex683);
    QVERIFY(bench.started);
    bench.select(QStringLiteral("PIC12F683"));
    auto* fcal = bench.find<QComboBox>("Cmb_FCAL_Calib");
    QCOMPARE(fcal->count(), 128);
    QCOMPARE(fcal->currentText(), QStringLiteral("63 (最代値)"));
    QVERIFY(!fcal->isEnabled());
    bench.click("Cmd_open");

    bench.click("Command_blank");
    QCOMPARE(bench.status(), QStringLiteral("このＰＩＣは消去されています。 "));
    bench.click("Command_pogram");
    QVERIFY2(kPassOnce.match(bench.status()).hasMatch(), qPrintable(bench.status()));
    QVERIFY(bench.boxes.empty());
    QVERIFY(bench.log().contains(bench.session.run.LastResultText +
                                 QStringLiteral("  PIC12F683  ID:1A2C  ") + kHex683 +
                                 QLatin1Char('\t')));
    bench.click("Command_Vrify");
    QCOMPARE(bench.status(), QStringLiteral("ベリファイは正常終了しました。 "));
    bench.window->findChild<QAction*>(QStringLiteral("mnuPcBufferMemory_0"))->trigger();
    bench.click("Command_read");
    QCOMPARE(bench.status(), QStringLiteral("読み出し完了。 "));
    QCOMPARE(bench.session.buffer.IdText, QStringLiteral("1A2C"));
    // The emulated chip's calibration word 0x1A2B: FCAL 0x68 (-24), POR 1, BOD 3.
    QCOMPARE(fcal->currentText(), QStringLiteral("-24"));
    QCOMPARE(bench.find<QComboBox>("Cmb_BOD_Calib")->currentText(), QStringLiteral("3"));
    QVERIFY(!bench.port.isOpen());
    QVERIFY(bench.find<QComboBox>("Combo_device")->isEnabled());

    auto expected = hexWordsBySrecCat(kHex683, 0, 2048);
    for (auto& w : expected)
        w &= 0x3FFF;
    auto chip = bench.chipWords(0, 2048);
    for (auto& w : chip)
        w &= 0x3FFF;
    QCOMPARE(chip, expected);
    QCOMPARE(bench.chipWords(0x2007, 1)[0] & 0x3FFF,
             hexWordsBySrecCat(kHex683, 0x2007, 1)[0] & 0x3FFF);
    QCOMPARE(bench.chipWords(0x2008, 1)[0], std::uint16_t(0x1A2B)); // calibration kept
    const auto eeprom = bench.chipWords(0x2100, 10);
    const auto eepromHex = hexWordsBySrecCat(kHex683, 0x2100, 10);
    for (int k = 0; k < 10; ++k)
        QCOMPARE(eeprom[k] & 0xFF, eepromHex[k] & 0xFF);
}

void Pic12WindowOperations::aProtectedChipIsAskedAboutAndCancelChangesNothing() {
    // A chip programmed and protected by an earlier run.
    QTemporaryDir dir;
    const QString protectedHex = dir.filePath(QStringLiteral("protected.hex"));
    {
        Pic12Window first({"--part", "PIC12F683"}, kHex683);
        QVERIFY(first.started);
        first.select(QStringLiteral("PIC12F683"));
        first.click("Cmd_open");
        first.session.device.ConfigValue[1] &= ~0x00C0;
        first.session.buffer.ConfigIdImage[15] &= ~0x00C0;
        first.click("Command_pogram");
        first.chipWords(0, 1);
        QVERIFY(QFile::copy(QString::fromStdString(first.dumpPath()), protectedHex));
    }
    Pic12Window bench({"--part", "PIC12F683", "--load", protectedHex.toStdString()}, kHex683);
    QVERIFY(bench.started);
    bench.select(QStringLiteral("PIC12F683"));
    bench.click("Cmd_open");
    bench.answerHint({QStringLiteral("CmdCancel")});
    bench.click("Command_pogram");
    QCOMPARE(bench.hintsSeen,
             QStringList{QStringLiteral(
                 "書込み済みです。(コードプロテクトされています｡)|上書きしますか？")});
    QCOMPARE(bench.status(),
             QStringLiteral("プログラミング..........上書き操作をキャンセルしました。 "));
    QCOMPARE(bench.session.run.AttemptCount, 0);
    QCOMPARE(bench.session.run.PassCount, 0);
    QCOMPARE(bench.session.run.FailCount, 0);
    // The cancelled run still has its line, telling the cancel.
    QVERIFY2(bench.log().startsWith(QStringLiteral(
                 "プログラミング..........上書き操作をキャンセルしました。  PIC12F683  ID:")),
             qPrintable(bench.log()));

    bench.answerHint({QStringLiteral("CmdOk")});
    bench.click("Command_pogram");
    QVERIFY2(kPassOnce.match(bench.status()).hasMatch(), qPrintable(bench.status()));
}

void Pic12WindowOperations::anEmptySocketAndTheWrongPart() {
    {
        Pic12Window bench({"--part", "none"}, kHex683);
        QVERIFY(bench.started);
        bench.select(QStringLiteral("PIC12F683"));
        bench.click("Cmd_open");
        bench.click("Command_pogram");
        QVERIFY2(bench.status().startsWith(
                     QStringLiteral("マイコンがソケットに正しくセットされていません。")),
                 qPrintable(bench.status()));
        QCOMPARE(bench.session.run.AttemptCount, 0);
        QVERIFY(bench.find<QPushButton>("Command_pogram")->isEnabled());
        QVERIFY(!bench.port.isOpen());
    }
    Pic12Window bench({"--part", "PIC12F675"}, kHex683);
    QVERIFY(bench.started);
    bench.window->setMessageBoxAnswer(
        [&](MessageIcon, MessageButtons, const QString& title, const QString& text) {
            bench.boxes.push_back({title, text});
            return MessageAnswer::Cancel;
        });
    bench.select(QStringLiteral("PIC12F683"));
    bench.click("Cmd_open");
    bench.click("Command_pogram");
    QCOMPARE(bench.boxes.size(), std::size_t(1));
    QCOMPARE(bench.boxes[0].title, QStringLiteral("書込みマイコンの種類の確認"));
    QCOMPARE(bench.session.run.AttemptCount, 0);
    QVERIFY(bench.find<QPushButton>("Command_pogram")->isEnabled());
    QVERIFY(!bench.port.isOpen());
}

// The extended window's program-memory run has no verdict: the next whole run counts one pass
// and no failure.
void Pic12WindowOperations::aProgramMemoryRunOfTheExtendedWindowIsNoAttempt() {
    Pic12Window bench({"--part", "PIC12F683"}, kHex683);
    QVERIFY(bench.started);
    bench.select(QStringLiteral("PIC12F683"));
    bench.click("Cmd_open");
    bench.click("Cmd_Extend_Program");
    auto* extended = bench.find<QWidget>("frmExtend_Program");
    QVERIFY(extended && extended->isVisible());
    QTest::mouseClick(extended->findChild<QPushButton*>(QStringLiteral("Cmd_PGM_Program")),
                      Qt::LeftButton);
    QCOMPARE(bench.status(),
             QStringLiteral("Ｆｌａｓｈプログラムメモリ＆コンフィグレーションワード "
                            "プログラム終了 "));

    bench.answerHint({QStringLiteral("CmdOk")});
    bench.click("Command_pogram");
    QVERIFY2(kPassOnce.match(bench.status()).hasMatch(), qPrintable(bench.status()));
    QVERIFY(bench.boxes.empty());
}

QTEST_MAIN(Pic12WindowOperations)
#include "pic12_window_qtest.moc"
