// The chip erase and the program-memory erase of the extended-programming window on a PIC12F675
// in the emulator, through the real windows over a pty: the chip's factory calibration word and
// band-gap bits (or the values typed in their place) are back on the chip after the erase, while
// the areas the button erases are erased; a chip whose values cannot be read is left untouched;
// typed values that cannot be written are refused before the board hears anything.
#include "window_bench.h"

#include "support/intel_hex.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QtTest>

#include <map>

using namespace tavrin;
using namespace tavrin::test;

namespace {

constexpr std::uint32_t kWords = 1024;
constexpr std::uint32_t kArea = 0x2000;
constexpr std::uint32_t kEeprom = 0x2100;
constexpr std::uint32_t kEepromBytes = 128;
constexpr std::uint16_t kFactoryWord = 0x345C; // RETLW 0x5C
constexpr int kFactoryBandgap = 2;
// Bits 11:9 of the PIC12F675 configuration word are not implemented and read 0.
constexpr std::uint16_t kConfigReadMask = 0x31FF;

// Word address -> word, as the emulator's --load takes them (two bytes a word, low first).
using Words = std::map<std::uint32_t, std::uint16_t>;

// What the chip held before: some program words, IDs 1-4, a configuration word carrying the
// factory band-gap bits (FOSC=INTRCIO, BOREN), and the first EEPROM bytes.
Words chipContents() {
    Words w;
    for (std::uint32_t a = 0; a < 16; ++a)
        w[a] = std::uint16_t(0x2800 + a * 0x11);
    w[kWords - 2] = 0x0123; // next to the calibration word
    for (std::uint32_t i = 0; i < 4; ++i)
        w[kArea + i] = std::uint16_t(i + 1);
    w[kArea + 7] = std::uint16_t(kFactoryBandgap << 12 | 0x01C4);
    for (std::uint32_t i = 0; i < 16; ++i)
        w[kEeprom + i] = std::uint16_t(i * 3 + 1);
    return w;
}

void writeHex(const QString& path, const Words& words) {
    QVERIFY(test::writeIntelHexWords(path, words));
}

// The emulator's PIC12F675 loaded with chipContents(), its factory calibration word set, writing
// its transcript to a file that the test reads as it goes.
struct CalibrationBench {
    explicit CalibrationBench(std::vector<std::string> faults = {}) {
        hexPath = folder.filePath(QStringLiteral("chip.hex"));
        logPath = folder.filePath(QStringLiteral("board.log"));
        writeHex(hexPath, chipContents());
        std::vector<std::string> args{
            "--part", "PIC12F675",           "--set", "calibration=" + std::to_string(kFactoryWord),
            "--load", hexPath.toStdString(), "--log", logPath.toStdString()};
        for (const std::string& f : faults)
            args.insert(args.end(), {"--fault", f});
        bench = std::make_unique<Bench>(args);
        if (!bench->started) return;
        bench->select(QStringLiteral("PIC12F675"));
        bench->click("Cmd_Extend_Program");
        ext = bench->find<QWidget>("frmExtend_Program");
    }

    void press(const char* name) {
        auto* b = ext->findChild<QPushButton*>(QString::fromLatin1(name));
        QVERIFY2(b && b->isEnabled(), name);
        QTest::mouseClick(b, Qt::LeftButton);
    }
    void useTypedValues(const QString& value, const QString& bandgap) {
        auto* keep = bench->find<QCheckBox>("Chk_12F_CalibData_Select");
        if (keep->isChecked()) QTest::mouseClick(keep, Qt::LeftButton);
        QVERIFY(!keep->isChecked());
        bench->find<QLineEdit>("Text_Calib_Data")->setText(value);
        bench->find<QLineEdit>("Text_BG")->setText(bandgap);
    }
    QString field(const char* name) const { return bench->find<QLineEdit>(name)->text(); }
    // Bytes the host has sent so far, as the board's transcript lists them.
    int hostWrites() const {
        QFile f(logPath);
        return f.open(QIODevice::ReadOnly) ? int(f.readAll().count(" H>B ")) : -1;
    }
    // Stops the emulator; every word of its dump up to the end of the EEPROM.
    std::vector<std::uint16_t> chip() {
        bench->emu->stop();
        return hexWordsBySrecCat(QString::fromStdString(bench->dumpPath()), 0,
                                 kEeprom + kEepromBytes);
    }
    // The operation is over: the guard released, the port closed, the controls of both windows
    // back.
    void verifyIdle() const {
        QVERIFY(!operationRunning(bench->session));
        QVERIFY(!bench->port.isOpen());
        QVERIFY(bench->find<QPushButton>("Command_pogram")->isEnabled());
        for (const char* name : {"Cmd_Chip_Erace", "Cmd_PGM_Erase", "Cmd_DATA_Read"})
            QVERIFY2(ext->findChild<QPushButton*>(QString::fromLatin1(name))->isEnabled(), name);
    }

    QTemporaryDir folder;
    QString hexPath;
    QString logPath;
    std::unique_ptr<Bench> bench;
    QWidget* ext = nullptr;
};

int bandgapOf(std::uint16_t word) {
    return (word >> 12) & 3;
}

// The PC buffer's configuration word 1.
std::uint16_t bufferConfig(const Session& s) {
    return std::uint16_t(s.buffer.ConfigIdImage[14] * 256 + s.buffer.ConfigIdImage[15]);
}

} // namespace

class ExtendedCalibration : public QObject {
    Q_OBJECT
  private slots:
    void eraseKeepsTheChipsOwnCalibration_data();
    void eraseKeepsTheChipsOwnCalibration();
    void eraseWritesTheTypedValues();
    void aFailedReadLeavesTheChipUntouched_data();
    void aFailedReadLeavesTheChipUntouched();
    void aFailedWriteBackTellsTheValues();
    void typedValuesThatCannotBeWrittenSendNothing();
};

void ExtendedCalibration::eraseKeepsTheChipsOwnCalibration_data() {
    QTest::addColumn<QByteArray>("button");
    QTest::addColumn<QString>("status");
    QTest::addColumn<bool>("eepromErased");
    QTest::newRow("chip erase") << QByteArray("Cmd_Chip_Erace")
                                << QStringLiteral("チップイレースしました。 ") << true;
    QTest::newRow("program memory erase")
        << QByteArray("Cmd_PGM_Erase")
        << QStringLiteral("プログラムメモリ、コンフィグ、ＩＤの消去しました。 ") << false;
}

void ExtendedCalibration::eraseKeepsTheChipsOwnCalibration() {
    QFETCH(QByteArray, button);
    QFETCH(QString, status);
    QFETCH(bool, eepromErased);
    CalibrationBench t;
    QVERIFY(t.bench->started);
    QVERIFY(t.ext);
    QVERIFY(t.bench->find<QCheckBox>("Chk_12F_CalibData_Select")->isChecked());
    Session& s = t.bench->session;
    const std::uint16_t configBefore = bufferConfig(s);
    QCOMPARE(bandgapOf(configBefore), 3); // the buffer's erased word: not the chip's bits

    t.press(button.constData());
    QCOMPARE(t.bench->status(), status);
    QVERIFY(t.bench->boxes.empty());
    t.verifyIdle();
    QCOMPARE(t.field("Text_Calib_Data"), QStringLiteral("5C"));
    QCOMPARE(t.field("Text_BG"), QStringLiteral("2"));
    // The buffer carries the chip's band-gap bits, the rest of its word as it was.
    QCOMPARE(bandgapOf(bufferConfig(s)), kFactoryBandgap);
    QCOMPARE(bufferConfig(s) & 0x0FFF, configBefore & 0x0FFF);
    QCOMPARE(s.device.ConfigValue[1], int(bufferConfig(s)));
    QVERIFY(t.bench->log().isEmpty());

    const auto chip = t.chip();
    for (std::uint32_t a = 0; a + 1 < kWords; ++a)
        QCOMPARE(chip[a], 0x3FFF);
    QCOMPARE(chip[kWords - 1], kFactoryWord);
    for (std::uint32_t i = 0; i < 4; ++i)
        QCOMPARE(chip[kArea + i], 0x3FFF);
    QCOMPARE(chip[kArea + 7], std::uint16_t((kFactoryBandgap << 12 | 0x0FFF) & kConfigReadMask));
    const Words before = chipContents();
    for (std::uint32_t i = 0; i < kEepromBytes; ++i) {
        const auto loaded = before.find(kEeprom + i);
        const int kept = loaded == before.end() ? 0xFF : loaded->second;
        QCOMPARE(int(chip[kEeprom + i]), eepromErased ? 0xFF : kept);
    }
}

// The check box cleared: the typed values go onto the chip in place of its own.
void ExtendedCalibration::eraseWritesTheTypedValues() {
    CalibrationBench t;
    QVERIFY(t.bench->started);
    t.useTypedValues(QStringLiteral("A0"), QStringLiteral("1"));
    t.press("Cmd_Chip_Erace");
    QCOMPARE(t.bench->status(), QStringLiteral("チップイレースしました。 "));
    QVERIFY(t.bench->boxes.empty());
    t.verifyIdle();
    QCOMPARE(bandgapOf(bufferConfig(t.bench->session)), 1);

    const auto chip = t.chip();
    QCOMPARE(chip[0], 0x3FFF);
    QCOMPARE(chip[kWords - 1], 0x34A0);
    QCOMPARE(chip[kArea], 0x3FFF);
    QCOMPARE(chip[kArea + 7], std::uint16_t(0x1FFF & kConfigReadMask));
}

void ExtendedCalibration::aFailedReadLeavesTheChipUntouched_data() {
    QTest::addColumn<QByteArray>("fault");
    QTest::addColumn<QByteArray>("button");
    QTest::addColumn<QString>("status");
    const QString chipFailed = QStringLiteral("チップイレースに失敗しました。 ");
    const QString programFailed =
        QStringLiteral("プログラムメモリ、コンフィグ、ＩＤの消去に失敗しました。 ");
    QTest::newRow("calibration word, bad end code")
        << QByteArray("end-code=0x00@br") << QByteArray("Cmd_Chip_Erace") << chipFailed;
    QTest::newRow("calibration word, no answer (3 s)")
        << QByteArray("stall=0@br") << QByteArray("Cmd_PGM_Erase") << programFailed;
    QTest::newRow("band-gap bits, bad end code")
        << QByteArray("end-code=0x00@rsc") << QByteArray("Cmd_PGM_Erase") << programFailed;
}

void ExtendedCalibration::aFailedReadLeavesTheChipUntouched() {
    QFETCH(QByteArray, fault);
    QFETCH(QByteArray, button);
    QFETCH(QString, status);
    CalibrationBench t({fault.toStdString()});
    QVERIFY(t.bench->started);
    t.press(button.constData());
    QCOMPARE(t.bench->status(), status);
    QCOMPARE(t.bench->boxes.size(), std::size_t(1));
    QCOMPARE(t.bench->boxes[0].title, QStringLiteral("キャリブレーションデータ"));
    QCOMPARE(t.bench->boxes[0].text,
             QStringLiteral("ＰＩＣ内部のキャリブレーションデータを読み出せませんでした。"
                            "消去を中止しました。"));
    t.verifyIdle();
    QVERIFY(t.bench->log().isEmpty());

    const auto chip = t.chip();
    for (const auto& [word, value] : chipContents())
        QCOMPARE(chip[word], value);
    QCOMPARE(chip[kWords - 1], kFactoryWord);
}

// The board fails the write before the configuration word: the band-gap bits are off the chip, so
// the person is given both values to enter.
void ExtendedCalibration::aFailedWriteBackTellsTheValues() {
    CalibrationBench t({"fail-at=6@wec"});
    QVERIFY(t.bench->started);
    t.press("Cmd_Chip_Erace");
    QCOMPARE(t.bench->status(), QStringLiteral("チップイレースに失敗しました。 "));
    QCOMPARE(t.bench->boxes.size(), std::size_t(1));
    QCOMPARE(t.bench->boxes[0].text,
             QStringLiteral("キャリブレーションデータを書き戻せませんでした。\r\n"
                            "キャリブレーションデータ：5C　ＢＧ：2"));
    QCOMPARE(t.field("Text_Calib_Data"), QStringLiteral("5C"));
    QCOMPARE(t.field("Text_BG"), QStringLiteral("2"));
    t.verifyIdle();

    const auto chip = t.chip();
    QCOMPARE(chip[kWords - 1], kFactoryWord);
    QCOMPARE(chip[kArea + 7], kConfigReadMask); // erased: band-gap bits 3
}

// Text that is not one byte in hex, or a band-gap number other than 0 to 3: refused with the
// reason, the board never addressed, the chip as it was.
void ExtendedCalibration::typedValuesThatCannotBeWrittenSendNothing() {
    struct Case {
        const char* value;
        const char* bandgap;
        const char* button;
        const char* problem;
    };
    const QString valueProblem =
        QStringLiteral("キャリブレーションデータは、２桁の16進数で入力してください。");
    const QString bandgapProblem = QStringLiteral("BGデータは、０～３の数値で入力してください。");
    // As far as the fields' lengths let them be typed (two characters, one).
    const Case cases[] = {
        {"G1", "1", "Cmd_Chip_Erace", "value"},  {"", "1", "Cmd_PGM_Erase", "value"},
        {"0x", "1", "Cmd_Chip_Erace", "value"},  {"A0", "4", "Cmd_Chip_Erace", "bandgap"},
        {"A0", "-", "Cmd_PGM_Erase", "bandgap"}, {"A0", "a", "Cmd_Chip_Erace", "bandgap"},
        {"A0", "", "Cmd_PGM_Erase", "bandgap"},
    };
    CalibrationBench t;
    QVERIFY(t.bench->started);
    const int writesBefore = t.hostWrites();
    QVERIFY(writesBefore >= 0);
    for (const Case& c : cases) {
        const QByteArray what = QByteArray(c.button) + " " + c.value + " / " + c.bandgap;
        t.bench->boxes.clear();
        t.useTypedValues(QString::fromUtf8(c.value), QString::fromUtf8(c.bandgap));
        t.press(c.button);
        const QString problem = QByteArray(c.problem) == "value" ? valueProblem : bandgapProblem;
        QVERIFY2(t.bench->boxes.size() == 1, what.constData());
        QCOMPARE(t.bench->boxes[0].text, problem);
        QCOMPARE(t.bench->status(), problem + QLatin1Char(' '));
        QCOMPARE(t.bench->find<QLabel>("LabelCmt")->palette().color(QPalette::WindowText),
                 QColor(255, 0, 0));
        t.verifyIdle();
    }

    const auto chip = t.chip(); // the transcript is complete once the emulator has stopped
    QCOMPARE(t.hostWrites(), writesBefore);
    for (const auto& [word, value] : chipContents())
        QCOMPARE(chip[word], value);
    QCOMPARE(chip[kWords - 1], kFactoryWord);
}

QTEST_MAIN(ExtendedCalibration)
#include "extended_calibration_qtest.moc"
