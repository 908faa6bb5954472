// A device file whose PIC16F84A block lost a key its programming type needs, in the real window
// against the board emulator on a pseudo-terminal: choosing the part says which key is missing,
// and neither Program nor Verify can then report success, whatever the chip holds.
#include "edited_device_file.h"
#include "window_bench.h"

#include <QtTest>

using namespace tavrin;
using namespace tavrin::test;

namespace {
const QString kHex = testDataPath(QStringLiteral("counter84a.hex"));
const QString kPart = QStringLiteral("PIC16F84A");

QString deviceFileWithout(const QTemporaryDir& dir, const QString& part, const QByteArray& key) {
    return deviceFileWithRow(dir, part, key, {});
}

// Says yes whenever the program asks whether to overwrite the chip: whatever it asks, it must
// not end in success.
void consentToEveryOverwrite(QTimer& timer) {
    QObject::connect(&timer, &QTimer::timeout, [] {
        auto* hint = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (hint && hint->objectName() == QLatin1String("frmHint"))
            QTest::mouseClick(hint->findChild<QPushButton*>(QStringLiteral("CmdOk")),
                              Qt::LeftButton);
    });
    timer.start(10);
}

bool reportsSuccess(const QString& status) {
    return status.contains(QStringLiteral("プログラミング成功")) ||
           status.contains(QStringLiteral("ベリファイは正常終了しました"));
}
} // namespace

class IncompletePart : public QObject {
    Q_OBJECT
  private slots:
    void choosingThePartNamesTheMissingKey_data();
    void choosingThePartNamesTheMissingKey();
    void programCannotReportSuccess_data();
    void programCannotReportSuccess();
    void verifyCannotReportSuccess();
    void choosingThePartNamesTheSizeBeyondItsFamily_data();
    void choosingThePartNamesTheSizeBeyondItsFamily();
    void aTwelveBitPartWithEepromIsChosenAndBlankChecked();

  private:
    static QString deviceFileWithoutPgm(const QTemporaryDir& files);
};

void IncompletePart::choosingThePartNamesTheMissingKey_data() {
    QTest::addColumn<QByteArray>("key");
    QTest::newRow("PGM") << QByteArray("PGM");
    QTest::newRow("EEPROM") << QByteArray("EEPROM");
    QTest::newRow("CONFIG1") << QByteArray("CONFIG1");
    QTest::newRow("PGM_TYPE") << QByteArray("PGM_TYPE");
}

void IncompletePart::choosingThePartNamesTheMissingKey() {
    QFETCH(QByteArray, key);
    QTemporaryDir files;
    BenchOptions options;
    options.deviceFile = deviceFileWithout(files, kPart, key);
    QVERIFY(!options.deviceFile.isEmpty());
    Bench bench({"--part", "PIC16F84A"}, options);
    QVERIFY(bench.started);

    bench.select(kPart);
    QCOMPARE(bench.boxes.size(), std::size_t(1));
    QCOMPARE(bench.boxes[0].title, QStringLiteral("ﾌｧｲﾙ 開く失敗"));
    const QString detail = key == "PGM_TYPE"
                               ? QStringLiteral("PIC16F84A の定義に PGM_TYPE がありません。")
                               : QStringLiteral("PIC16F84A の定義に %1 がありません"
                                                "（PGM_TYPE FLASH0 に必要です）。")
                                     .arg(QString::fromLatin1(key));
    QCOMPARE(bench.boxes[0].text,
             QStringLiteral("設定ファイルの読み出しに失敗しました。\r\n\u3000") + detail);
    QVERIFY(bench.session.device.SelectedDevice.isEmpty());
}

// The part without its PGM row: before, it loaded with no program memory, the HEX file's words
// were dropped and both operations reported success.
QString IncompletePart::deviceFileWithoutPgm(const QTemporaryDir& files) {
    return deviceFileWithout(files, kPart, "PGM");
}

void IncompletePart::programCannotReportSuccess_data() {
    QTest::addColumn<QByteArray>("pgmRow"); // empty: no PGM row
    QTest::newRow("no PGM key") << QByteArray();
    // Before, PGM 0xFFFF sent 65536 words to a board whose chip holds 1024, ran past the ID
    // words and timed out.
    QTest::newRow("PGM beyond the family") << QByteArray("PGM 0xFFFF");
}

// Program on an erased chip: the chip stays erased, so no success may be reported.
void IncompletePart::programCannotReportSuccess() {
    QFETCH(QByteArray, pgmRow);
    QTemporaryDir files;
    BenchOptions options;
    options.deviceFile = deviceFileWithRow(files, kPart, "PGM", pgmRow);
    QVERIFY(!options.deviceFile.isEmpty());
    Bench bench({"--part", "PIC16F84A"}, options);
    QVERIFY(bench.started);
    QTimer consent;
    consentToEveryOverwrite(consent);
    bench.select(kPart);
    bench.click("Cmd_open");
    bench.click("Command_pogram");
    QVERIFY2(!reportsSuccess(bench.status()), qPrintable(bench.status()));
    QCOMPARE(bench.session.run.PassCount, 0);
    QVERIFY(!bench.boxes.empty());
    QCOMPARE(bench.boxes.back().text, QStringLiteral("MCUを選んでください。"));
    QVERIFY(!bench.log().contains(QStringLiteral("OK")));
    QVERIFY(bench.controlsBack());
    const auto chip = bench.chipProgram(1024);
    QVERIFY(std::all_of(chip.begin(), chip.end(),
                        [](std::uint16_t w) { return (w & 0x3FFF) == 0x3FFF; }));
}

// Verify against a chip holding another program.
void IncompletePart::verifyCannotReportSuccess() {
    QTemporaryDir files;
    BenchOptions options;
    options.deviceFile = deviceFileWithoutPgm(files);
    QVERIFY(!options.deviceFile.isEmpty());
    // One word, movlw 0, where the file has its own first instruction.
    const QString other = files.filePath(QStringLiteral("other.hex"));
    QFile otherFile(other);
    QVERIFY(otherFile.open(QIODevice::WriteOnly));
    otherFile.write(":020000000030CE\r\n:00000001FF\r\n");
    otherFile.close();
    Bench bench({"--part", "PIC16F84A", "--load", other.toStdString()}, options);
    QVERIFY(bench.started);
    bench.select(kPart);
    bench.click("Cmd_open");
    bench.click("Command_Vrify");
    QVERIFY2(!reportsSuccess(bench.status()), qPrintable(bench.status()));
    // Before, program memory compared equal: no word of it was compared.
    QVERIFY(bench.session.run.ProgramVerifyResult != QLatin1String("OK"));
    QVERIFY(!bench.boxes.empty());
    QCOMPARE(bench.boxes.back().text, QStringLiteral("MCUを選んでください。"));
    QVERIFY(!bench.log().contains(QStringLiteral("ﾍﾞﾘﾌｧｲ 操作終了")));
}

void IncompletePart::choosingThePartNamesTheSizeBeyondItsFamily_data() {
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("row");
    QTest::addColumn<QString>("detail");
    QTest::newRow("PGM 0xFFFF")
        << QByteArray("PGM") << QByteArray("PGM 0xFFFF")
        << QStringLiteral(
               "PIC16F84A の定義の PGM 0xFFFF が範囲外です（PGM_TYPE FLASH0 では 0x1FFF まで）。");
    QTest::newRow("PGM 0x3FFF")
        << QByteArray("PGM") << QByteArray("PGM 0x3FFF")
        << QStringLiteral(
               "PIC16F84A の定義の PGM 0x3FFF が範囲外です（PGM_TYPE FLASH0 では 0x1FFF まで）。");
    QTest::newRow("EEPROM 0x3FF") << QByteArray("EEPROM") << QByteArray("EEPROM 0x3FF")
                                  << QStringLiteral(
                                         "PIC16F84A の定義の EEPROM 0x03FF が範囲外です（PGM_TYPE "
                                         "FLASH0 では 0x00FF まで）。");
    QTest::newRow("PGM_TYPE FLASH9")
        << QByteArray("PGM_TYPE") << QByteArray("PGM_TYPE FLASH9")
        << QStringLiteral("PIC16F84A の定義の PGM_TYPE FLASH9 は未対応です。");
}

// A size the number type allows but the part's family cannot hold: refused when the part is
// chosen, in the box a missing key gives.
void IncompletePart::choosingThePartNamesTheSizeBeyondItsFamily() {
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, row);
    QFETCH(QString, detail);
    QTemporaryDir files;
    BenchOptions options;
    options.deviceFile = deviceFileWithRow(files, kPart, key, row);
    QVERIFY(!options.deviceFile.isEmpty());
    Bench bench({"--part", "PIC16F84A"}, options);
    QVERIFY(bench.started);

    bench.select(kPart);
    QCOMPARE(bench.boxes.size(), std::size_t(1));
    QCOMPARE(bench.boxes[0].title, QStringLiteral("ﾌｧｲﾙ 開く失敗"));
    QCOMPARE(bench.boxes[0].text,
             QStringLiteral("設定ファイルの読み出しに失敗しました。\r\n\u3000") + detail);
    QVERIFY(bench.session.device.SelectedDevice.isEmpty());
}

// A 12-bit part whose block gives it 16 bytes of data EEPROM, as some 12-bit parts have: before,
// choosing it was refused as beyond its family. It is chosen, and its blank check runs on the
// strict board: program memory and configuration are checked, the EEPROM step has no command
// for the type and stays unchecked, and the chip is reported erased.
void IncompletePart::aTwelveBitPartWithEepromIsChosenAndBlankChecked() {
    const QString part = QStringLiteral("PIC12C508A");
    QTemporaryDir files;
    BenchOptions options;
    options.deviceFile = deviceFileWithRow(files, part, "EEPROM", "EEPROM       0x0F");
    QVERIFY(!options.deviceFile.isEmpty());
    Bench bench({"--part", "PIC12C508A"}, options);
    QVERIFY(bench.started);

    bench.select(part);
    QVERIFY(bench.boxes.empty());
    QCOMPARE(bench.session.device.SelectedDevice, part);
    QCOMPARE(bench.session.device.EepromByteCount, 16);
    bench.click("Command_blank");
    QVERIFY2(bench.status().startsWith(QStringLiteral("デバイスは消去されています。")),
             qPrintable(bench.status()));
    // The program-memory check read the chip's calibration word.
    QVERIFY2(bench.status().contains(QStringLiteral("のデータは0x0C")), qPrintable(bench.status()));
    QVERIFY(bench.boxes.empty());
    QVERIFY(bench.log().contains(QStringLiteral("ﾌﾞﾗﾝｸﾁｪｯｸ操作終了")));
    QVERIFY(bench.controlsBack());
}

QTEST_MAIN(IncompletePart)
#include "incomplete_part_qtest.moc"
