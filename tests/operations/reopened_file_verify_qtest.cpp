// A chip programmed from a HEX file without a calibration word verifies against the same file
// opened again, as after a restart of the program, for every part that keeps a factory
// calibration word: the 12-bit parts (their module), the 14-bit OTP and flash parts (the generic
// sequences) and the PIC12F683 (its module). Through the real window over a pty to the emulator.
#include "window_bench.h"

#include "support/intel_hex.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QtTest>

#include <map>

using namespace tavrin;
using namespace tavrin::test;

namespace {

// Word address -> word; written two bytes a word, low byte first, at byte address 2 x word.
using Words = std::map<std::uint32_t, std::uint16_t>;

void writeHex(const QString& path, const Words& words) {
    QVERIFY(test::writeIntelHexWords(path, words));
}

// Some program words, the ID words and an unprotected configuration word; nothing at the
// calibration address, which the buffer then holds erased.
Words fileWords(std::uint32_t programWords, bool twelveBit, std::uint16_t config) {
    Words w;
    for (std::uint32_t a = 0; a < 24; ++a)
        w[a] = std::uint16_t((twelveBit ? 0x0A00 : 0x2800) + a * 3);
    w[programWords - 2] = twelveBit ? 0x0A00 : 0x2800; // next to the calibration word
    const std::uint32_t ids = twelveBit ? programWords : 0x2000;
    for (std::uint32_t k = 0; k < 4; ++k)
        w[ids + k] = std::uint16_t(k + 5);
    w[twelveBit ? 0xFFF : 0x2007] = config;
    return w;
}

struct PartCase {
    const char* device;   // as the device list names it
    const char* socket;   // the emulator's part of the same kind and size
    std::uint32_t words;  // program words
    bool twelveBit;       // the 12-bit stream
    std::uint16_t config; // unprotected
    std::uint32_t calibrationAddress;
};

constexpr std::uint16_t kConfig12 = 0x0FFA;   // IntRC, WDT off, CP off, MCLRE on
constexpr std::uint16_t kConfigC67x = 0x3FFC; // INTRC, WDT off, CP off
constexpr std::uint16_t kConfigF6 = 0x31C4;   // INTRCIO, WDT off, CP off, band-gap bits 11

// The part programmed from a file without a calibration word, with the chip's own calibration
// kept, and the file opened again into a buffer that holds the file and nothing the program run
// put there, as after a restart of the program.
struct ProgrammedChip {
    explicit ProgrammedChip(const PartCase& c) { programAndReopen(c); }

    void programAndReopen(const PartCase& c) {
        const QString hex = files.filePath(QStringLiteral("prog.hex"));
        writeHex(hex, fileWords(c.words, c.twelveBit, c.config));
        bench = std::make_unique<Bench>(std::vector<std::string>{"--part", c.socket}, hex);
        QVERIFY(bench->started);
        bench->select(QString::fromLatin1(c.device));
        bench->click("Cmd_open");
        QCOMPARE(bench->session.run.HexLoadResult, QStringLiteral("OK"));
        bench->click("Command_pogram");
        QVERIFY2(bench->status().startsWith(QStringLiteral("プログラミング成功。")),
                 qPrintable(bench->status()));

        bench->window->findChild<QAction*>(QStringLiteral("mnuPcBufferMemoryClear"))->trigger();
        bench->click("Cmd_open");
        QCOMPARE(bench->session.run.HexLoadResult, QStringLiteral("OK"));
        if (c.calibrationAddress < c.words) {
            const auto& image = bench->session.buffer.ProgramImage;
            const std::size_t at = 2 * std::size_t(c.calibrationAddress);
            QCOMPARE(image[at] * 256 + image[at + 1], c.twelveBit ? 0x0FFF : 0x3FFF);
        }
    }

    QTemporaryDir files;
    std::unique_ptr<Bench> bench;
};

} // namespace

Q_DECLARE_METATYPE(PartCase)

class ReopenedFileVerify : public QObject {
    Q_OBJECT
  private slots:
    void theProgrammedChipVerifiesAgainstTheReopenedFile_data();
    void theProgrammedChipVerifiesAgainstTheReopenedFile();
    void aTypedCalibrationValueIsComparedAsAProgramRunWritesIt_data();
    void aTypedCalibrationValueIsComparedAsAProgramRunWritesIt();
};

void ReopenedFileVerify::theProgrammedChipVerifiesAgainstTheReopenedFile_data() {
    QTest::addColumn<PartCase>("c");
    const PartCase cases[] = {
        {"PIC12C508", "PIC12C508", 512, true, kConfig12, 511},
        {"PIC12C508A", "PIC12C508A", 512, true, kConfig12, 511},
        {"PIC12C509", "PIC12C509", 1024, true, kConfig12, 1023},
        {"PIC12C509A", "PIC12C509A", 1024, true, kConfig12, 1023},
        {"PIC12C518", "PIC12CE518", 512, true, kConfig12, 511},
        {"PIC12C519", "PIC12CE519", 1024, true, kConfig12, 1023},
        {"PIC12C672", "PIC12C672", 2048, false, kConfigC67x, 2047},
        {"PIC12CE674", "PIC12CE674", 2048, false, kConfigC67x, 2047},
        {"PIC12F629", "PIC12F629", 1024, false, kConfigF6, 1023},
        {"PIC12F675", "PIC12F675", 1024, false, kConfigF6, 1023},
        // The calibration word is a configuration word, 0x2008, which the file leaves out.
        {"PIC12F683", "PIC12F683", 2048, false, 0x30C4, 0x2008},
    };
    for (const PartCase& c : cases)
        QTest::newRow(c.device) << c;
}

void ReopenedFileVerify::theProgrammedChipVerifiesAgainstTheReopenedFile() {
    QFETCH(PartCase, c);
    ProgrammedChip chip(c);
    if (QTest::currentTestFailed()) return;
    Bench& bench = *chip.bench;
    bench.click("Command_Vrify");
    QCOMPARE(bench.status(), QStringLiteral("ベリファイは正常終了しました。 "));
    QVERIFY(bench.boxes.empty());
    QVERIFY(bench.controlsBack());
}

// With the chip's own value not kept, a program run writes the typed value as the calibration
// instruction: Verify expects that word there, and finds a chip that holds another.
void ReopenedFileVerify::aTypedCalibrationValueIsComparedAsAProgramRunWritesIt_data() {
    QTest::addColumn<PartCase>("c");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("mismatch"); // the line listed, none when the chip holds the word
    const PartCase c508a{"PIC12C508A", "PIC12C508A", 512, true, kConfig12, 511};
    const PartCase c672{"PIC12C672", "PIC12C672", 2048, false, kConfigC67x, 2047};
    // The emulator's factory words: MOVLW 0x5A and RETLW 0x80.
    QTest::newRow("12-bit, the chip's value typed") << c508a << QStringLiteral("5A") << QString();
    QTest::newRow("12-bit, another value typed")
        << c508a << QStringLiteral("4A")
        << QStringLiteral("Error\u3000 アドレス:0x01FF , 正:0x0C4A , 誤:0x0C5A");
    QTest::newRow("14-bit OTP, the chip's value typed")
        << c672 << QStringLiteral("80") << QString();
    QTest::newRow("14-bit OTP, another value typed")
        << c672 << QStringLiteral("81")
        << QStringLiteral("Error\u3000 アドレス:0x07FF , 正:0x3481 , 誤:0x3480");
}

void ReopenedFileVerify::aTypedCalibrationValueIsComparedAsAProgramRunWritesIt() {
    QFETCH(PartCase, c);
    QFETCH(QString, typed);
    QFETCH(QString, mismatch);
    ProgrammedChip chip(c);
    if (QTest::currentTestFailed()) return;
    Bench& bench = *chip.bench;
    auto* keep = bench.find<QCheckBox>("Chk_12F_CalibData_Select");
    QTest::mouseClick(keep, Qt::LeftButton);
    QVERIFY(!keep->isChecked());
    bench.find<QLineEdit>("Text_Calib_Data")->setText(typed);
    bench.click("Command_Vrify");
    if (mismatch.isEmpty()) {
        QCOMPARE(bench.status(), QStringLiteral("ベリファイは正常終了しました。 "));
        QVERIFY(bench.boxes.empty());
        return;
    }
    QCOMPARE(bench.status(), QStringLiteral("ベリファイエラーを検出しました。 "));
    QCOMPARE(bench.programView().count(QStringLiteral("Error")), 1);
    QVERIFY2(bench.programView().contains(mismatch), qPrintable(bench.programView()));
}

QTEST_MAIN(ReopenedFileVerify)
#include "reopened_file_verify_qtest.moc"
