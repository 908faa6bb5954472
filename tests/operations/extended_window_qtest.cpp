// The extended-programming window end to end: the real main window and frmExtend_Program driving
// the board emulator on a pseudo-terminal through QSerialPort, for one part of each way the
// window serves a part (the PIC12F683 module, the PIC16F87x family, the PIC18 modules and the
// generic steps of a flash part). Every row starts from a chip holding one pattern and a PC
// buffer holding another, presses one button, and compares each memory of the chip (the
// emulator's dump, read with srec_cat) and of the buffer with what the button must leave there.
#include "edited_device_file.h"
#include "window_bench.h"

#include "core/utilities.h"
#include "support/intel_hex.h"

#include <QFile>
#include <QtTest>
#include <QWidget>

#include <map>
#include <optional>

using namespace tavrin;
using namespace tavrin::test;

namespace {

struct Part {
    const char* name;
    bool pic18;
    std::uint32_t programWords; // PIC18: byte pairs
    std::uint32_t eepromBytes;
    std::uint16_t config; // 14-bit parts: an unprotected configuration word
};

const Part kParts[] = {
    {"PIC12F683", false, 2048, 256, 0x3FD4},
    {"PIC16F877A", false, 8192, 256, 0x3F3A},
    {"PIC18F452", true, 16384, 256, 0},
    {"PIC16F873A", false, 4096, 128, 0x3F3A},
    // The board's own module chip, in the module slot.
    {"QZ-WRT400A", false, 8192, 256, 0x3F3A},
    // Every other programming type with a data EEPROM: the PIC18 parts of the generic steps (one
    // of each pair sharing a die), the larger PIC18 module, the older module chip and the flash
    // types of the generic steps.
    {"PIC18F242", true, 8192, 256, 0},
    {"PIC18F448", true, 8192, 256, 0},
    {"PIC18F258", true, 16384, 256, 0},
    {"PIC18F8720", true, 65536, 1024, 0},
    {"QZ-WRT400", false, 8192, 256, 0x3F3A},
    {"PIC16F84A", false, 1024, 64, 0x3FF9},
    {"PIC16F628A", false, 2048, 128, 0x3F38},
    {"PIC16F818", false, 1024, 128, 0x3F38},
    {"PIC16F88", false, 4096, 256, 0x3F38},
};

// The parts above that every button is pressed for; the others are pressed only the buttons
// that erase or program memories of the chip, which must leave the other memories alone.
constexpr std::size_t kEveryButtonParts = 5;

const Part& partNamed(const QString& name) {
    for (const Part& p : kParts)
        if (name == QLatin1String(p.name)) return p;
    qFatal("no part %s", qPrintable(name));
}

// One memory of the chip as srec_cat reads a HEX file of it: words from a word address, masked to
// what the memory holds.
struct Region {
    std::uint32_t first;
    std::uint32_t count;
    std::uint16_t mask;
};

Region programRegion(const Part& p) {
    return {0, p.programWords, std::uint16_t(p.pic18 ? 0xFFFF : 0x3FFF)};
}
Region eepromRegion(const Part& p) {
    // PIC18: two EEPROM bytes a word at 0xF00000; 14-bit: one byte a word at 0x2100.
    return p.pic18 ? Region{0x780000, p.eepromBytes / 2, 0xFFFF}
                   : Region{0x2100, p.eepromBytes, 0x00FF};
}
Region configRegion(const Part& p) {
    return p.pic18 ? Region{0x180000, 7, 0xFFFF} : Region{0x2007, 1, 0x3FFF};
}

std::vector<std::uint16_t> wordsOf(const QString& hexFile, const Region& r) {
    auto words = hexWordsBySrecCat(hexFile, r.first, r.count);
    for (auto& w : words)
        w &= r.mask;
    return words;
}

// A chip image: the first and last program words, every EEPROM byte, and (14-bit) the
// configuration word, each with a pattern of its own for the seed.
void writePattern(const QString& path, const Part& p, int seed) {
    std::map<std::uint32_t, std::uint8_t> bytes;
    const std::uint16_t mask = programRegion(p).mask;
    auto programWord = [&](std::uint32_t w) {
        std::uint16_t v = std::uint16_t((w * 0x0123 + seed * 0x0457 + 1) & mask);
        if (v == mask) v ^= 1;
        bytes[2 * w] = std::uint8_t(v);
        bytes[2 * w + 1] = std::uint8_t(v >> 8);
    };
    for (std::uint32_t w = 0; w < 96; ++w)
        programWord(w);
    for (std::uint32_t w = p.programWords - 8; w < p.programWords; ++w)
        programWord(w);
    for (std::uint32_t i = 0; i < p.eepromBytes; ++i) {
        const auto v = std::uint8_t((i * 7 + seed * 31 + 5) % 255);
        if (p.pic18) {
            bytes[0xF00000 + i] = v;
        } else {
            bytes[2 * (0x2100 + i)] = v;
            bytes[2 * (0x2100 + i) + 1] = 0;
        }
    }
    if (!p.pic18) {
        bytes[2 * 0x2007] = std::uint8_t(p.config);
        bytes[2 * 0x2007 + 1] = std::uint8_t(p.config >> 8);
    }
    QVERIFY(writeIntelHex(path, bytes));
}

// What a memory must hold after the button: the chip's pattern, the buffer's, the erased state,
// or whatever (not looked at).
enum class Holds { Chip, Buffer, Erased, Any };

struct ButtonCase {
    const char* button;
    Holds chipProgram, chipEeprom, chipConfig;
    Holds bufferProgram, bufferEeprom;
    bool overwriteQuestion; // a program run that blank checks asks before overwriting
};

// The same shape for every part; what differs (which program run asks first, how far a program
// erase reaches into the configuration) is marked Any or answered when asked.
const ButtonCase kButtons[] = {
    {"Cmd_Chip_Erace", Holds::Erased, Holds::Erased, Holds::Erased, Holds::Buffer, Holds::Buffer,
     false},
    {"Cmd_PGM_Erase", Holds::Erased, Holds::Chip, Holds::Any, Holds::Buffer, Holds::Buffer, false},
    {"Cmd_DATA_Erase", Holds::Chip, Holds::Erased, Holds::Chip, Holds::Buffer, Holds::Buffer,
     false},
    {"Cmd_DATA_Program", Holds::Chip, Holds::Buffer, Holds::Chip, Holds::Buffer, Holds::Buffer,
     false},
    {"Cmd_PGM_Program", Holds::Buffer, Holds::Chip, Holds::Any, Holds::Buffer, Holds::Buffer, true},
    {"Cmd_PGM_Read", Holds::Chip, Holds::Chip, Holds::Chip, Holds::Chip, Holds::Buffer, false},
    {"Cmd_DATA_Read", Holds::Chip, Holds::Chip, Holds::Chip, Holds::Buffer, Holds::Chip, false},
    {"Cmd_PGM_PcbufferClear", Holds::Chip, Holds::Chip, Holds::Chip, Holds::Erased, Holds::Buffer,
     false},
    {"Cmd_DATA_PcbufferClear", Holds::Chip, Holds::Chip, Holds::Chip, Holds::Buffer, Holds::Erased,
     false},
};

const char* holdsName(Holds h) {
    switch (h) {
    case Holds::Chip:
        return "the chip's pattern";
    case Holds::Buffer:
        return "the buffer's pattern";
    case Holds::Erased:
        return "the erased state";
    case Holds::Any:
        break;
    }
    return "anything";
}

// The buffer's program words and EEPROM bytes in the layout of a HEX file's words.
std::vector<std::uint16_t> bufferProgram(const Session& s, const Part& p) {
    std::vector<std::uint16_t> words(p.programWords);
    const auto& image = s.buffer.ProgramImage;
    for (std::uint32_t w = 0; w < p.programWords; ++w)
        words[w] = std::uint16_t((image[2 * w] * 256 + image[2 * w + 1]) & programRegion(p).mask);
    return words;
}
std::vector<std::uint16_t> bufferEeprom(const Session& s, const Part& p) {
    const auto& image = s.buffer.EepromImage;
    std::vector<std::uint16_t> words;
    if (p.pic18) {
        for (std::uint32_t i = 0; i < p.eepromBytes; i += 2)
            words.push_back(std::uint16_t(image[i] | image[i + 1] << 8));
    } else {
        for (std::uint32_t i = 0; i < p.eepromBytes; ++i)
            words.push_back(image[2 * i + 1]);
    }
    return words;
}

// The whole arrangement for one part: the emulator's chip with pattern 1, the buffer with
// pattern 2 from the File menu, the extended window open.
struct ExtendedBench {
    ExtendedBench(const Part& p, std::vector<std::string> extraArgs = {})
        : part(p), files(), chipHex(files.filePath(QStringLiteral("chip.hex"))),
          bufferHex(files.filePath(QStringLiteral("buffer.hex"))) {
        writePattern(chipHex, part, 1);
        writePattern(bufferHex, part, 2);
        std::vector<std::string> args{"--part", part.name, "--load", chipHex.toStdString()};
        args.insert(args.end(), extraArgs.begin(), extraArgs.end());
        bench = std::make_unique<Bench>(args, bufferHex);
        bench->select(QString::fromLatin1(part.name));
        bench->click("Cmd_open");
        bench->click("Cmd_Extend_Program");
        window = bench->find<QWidget>("frmExtend_Program");
    }
    QPushButton* button(const char* name) const {
        return window->findChild<QPushButton*>(QString::fromLatin1(name));
    }

    const Part& part;
    QTemporaryDir files;
    QString chipHex;
    QString bufferHex;
    std::unique_ptr<Bench> bench;
    QWidget* window = nullptr;
};

// The chip as the emulator dumps it when nothing touched it: fresh (erased), or loaded with a
// HEX file (the memories the file leaves out as the chip has them, its configuration bytes).
QString untouchedChipDump(const Part& p, const QString& dumpFile, const QString& load = {}) {
    std::vector<std::string> args{"--part", p.name,   "--baud",
                                  "0",      "--dump", dumpFile.toStdString()};
    if (!load.isEmpty()) args.insert(args.end(), {"--load", load.toStdString()});
    EmulatorProcess emu(args);
    if (!emu.start()) return {};
    emu.stop();
    return dumpFile;
}

// The fresh and the loaded chip of a part, dumped once for all its rows (the pattern files are
// the same for every row).
std::pair<QString, QString> referenceDumps(const Part& p, const QString& chipHex) {
    static QTemporaryDir dir;
    static std::map<QString, std::pair<QString, QString>> byPart;
    const QString name = QString::fromLatin1(p.name);
    auto it = byPart.find(name);
    if (it != byPart.end()) return it->second;
    const std::pair<QString, QString> dumps{
        untouchedChipDump(p, dir.filePath(name + QStringLiteral("-erased.hex"))),
        untouchedChipDump(p, dir.filePath(name + QStringLiteral("-loaded.hex")), chipHex)};
    if (!dumps.first.isEmpty() && !dumps.second.isEmpty()) byPart[name] = dumps;
    return dumps;
}

} // namespace

class ExtendedWindow : public QObject {
    Q_OBJECT
  private slots:
    void eachButtonChangesItsOwnArea_data();
    void eachButtonChangesItsOwnArea();
    void theProgramImageClearTakesIdAndConfigurationByTheRule_data();
    void theProgramImageClearTakesIdAndConfigurationByTheRule();
    void buttonsFollowTheDevice_data();
    void buttonsFollowTheDevice();
    void theModuleBoardsEepromProgramIsItsModules();
    void aSilentBoardEndsTheButtonCleanly_data();
    void aSilentBoardEndsTheButtonCleanly();
    void aFailedPic18EepromWriteIsNotVerified();
    void theEepromProgramErasesBeforeItWrites_data();
    void theEepromProgramErasesBeforeItWrites();
    void aChipEraseInPlaceOfTheProgramEraseIsAskedFirst_data();
    void aChipEraseInPlaceOfTheProgramEraseIsAskedFirst();
};

void ExtendedWindow::eachButtonChangesItsOwnArea_data() {
    QTest::addColumn<QString>("part");
    QTest::addColumn<int>("row");
    for (std::size_t i = 0; i < std::size(kParts); ++i) {
        const Part& p = kParts[i];
        for (int row = 0; row < int(std::size(kButtons)); ++row) {
            const QLatin1String button(kButtons[row].button);
            const bool erasesOrProgramsAMemory = button == QLatin1String("Cmd_Chip_Erace") ||
                                                 button == QLatin1String("Cmd_PGM_Erase") ||
                                                 button == QLatin1String("Cmd_DATA_Erase") ||
                                                 button == QLatin1String("Cmd_DATA_Program");
            if (i < kEveryButtonParts || erasesOrProgramsAMemory)
                QTest::addRow("%s %s", p.name, kButtons[row].button)
                    << QString::fromLatin1(p.name) << row;
        }
    }
}

void ExtendedWindow::eachButtonChangesItsOwnArea() {
    QFETCH(QString, part);
    QFETCH(int, row);
    const Part& p = partNamed(part);
    const ButtonCase& c = kButtons[row];
    ExtendedBench x(p);
    QVERIFY(x.bench->started);
    QVERIFY(x.window && x.window->isVisible());
    Session& s = x.bench->session;
    const auto bufferBefore = std::make_pair(bufferProgram(s, p), bufferEeprom(s, p));
    QCOMPARE(bufferBefore.first, wordsOf(x.bufferHex, programRegion(p)));
    QCOMPARE(bufferBefore.second, wordsOf(x.bufferHex, eepromRegion(p)));

    QPushButton* b = x.button(c.button);
    QVERIFY2(b && b->isEnabled(), c.button);
    if (c.overwriteQuestion) x.bench->answerHint({QStringLiteral("CmdOk")});
    QTest::mouseClick(b, Qt::LeftButton);
    const QString status = x.bench->status();
    // Each part's own texts; none of them tells of a failure.
    QVERIFY2(!status.contains(QStringLiteral("失敗")) && !status.contains(QStringLiteral("エラー")),
             qPrintable(status));
    // Every operation ends with a word of its own, not the board check it started with.
    QVERIFY2(!status.contains(QStringLiteral("に検出しました")), qPrintable(status));

    // The operation is over: no guard, port closed, the controls of both windows back.
    QVERIFY(!operationRunning(s));
    QVERIFY(!x.bench->port.isOpen());
    QVERIFY(x.bench->find<QPushButton>("Command_pogram")->isEnabled());
    for (const char* name : {"Cmd_PGM_Program", "Cmd_PGM_Erase", "Cmd_PGM_Read", "Cmd_DATA_Program",
                             "Cmd_DATA_Erase", "Cmd_DATA_Read", "Cmd_Chip_Erace"})
        QVERIFY2(x.button(name)->isEnabled(), name);
    QVERIFY2(x.bench->boxes.empty(),
             qPrintable(x.bench->boxes.empty()
                            ? QString()
                            : x.bench->boxes[0].title + QLatin1Char('|') + x.bench->boxes[0].text));

    const auto programAfter = bufferProgram(s, p);
    const auto eepromAfter = bufferEeprom(s, p);
    x.bench->emu->stop();
    const QString dump = QString::fromStdString(x.bench->dumpPath());
    const auto [erased, loaded] = referenceDumps(p, x.chipHex);
    QVERIFY(!erased.isEmpty() && !loaded.isEmpty());

    auto expected = [&](Holds h, const Region& r) {
        switch (h) {
        case Holds::Chip:
            return wordsOf(loaded, r);
        case Holds::Buffer:
            return wordsOf(x.bufferHex, r);
        case Holds::Erased:
            return wordsOf(erased, r);
        case Holds::Any:
            break;
        }
        return std::vector<std::uint16_t>{};
    };
    auto check = [&](const char* what, Holds h, const std::vector<std::uint16_t>& actual,
                     const Region& r) {
        if (h == Holds::Any) return;
        const auto want = expected(h, r);
        std::size_t at = 0;
        while (at < want.size() && at < actual.size() && want[at] == actual[at])
            ++at;
        QVERIFY2(at == want.size() && actual.size() == want.size(),
                 qPrintable(QStringLiteral("%1 should hold %2; word %3 differs (%4). Status: %5")
                                .arg(QLatin1String(what), QLatin1String(holdsName(h)))
                                .arg(at)
                                .arg(at < actual.size() ? actual[at] : -1, 4, 16)
                                .arg(status)));
    };
    check("the chip's program memory", c.chipProgram, wordsOf(dump, programRegion(p)),
          programRegion(p));
    check("the chip's EEPROM", c.chipEeprom, wordsOf(dump, eepromRegion(p)), eepromRegion(p));
    check("the chip's configuration", c.chipConfig, wordsOf(dump, configRegion(p)),
          configRegion(p));
    check("the buffer's program memory", c.bufferProgram, programAfter, programRegion(p));
    check("the buffer's EEPROM", c.bufferEeprom, eepromAfter, eepromRegion(p));
}

// The program image clear erases the ID and configuration image of the PIC12F683 (by its name)
// and of the PIC18 types, and leaves the other parts' as they were.
void ExtendedWindow::theProgramImageClearTakesIdAndConfigurationByTheRule_data() {
    QTest::addColumn<QString>("part");
    QTest::addColumn<bool>("cleared");
    QTest::addColumn<int>("erasedConfig");
    QTest::newRow("PIC12F683") << "PIC12F683" << true << 0x3FFF;
    QTest::newRow("PIC16F877A") << "PIC16F877A" << false << 0;
    QTest::newRow("PIC18F452") << "PIC18F452" << true << 0xFFFF;
    QTest::newRow("PIC16F873A") << "PIC16F873A" << false << 0;
}

void ExtendedWindow::theProgramImageClearTakesIdAndConfigurationByTheRule() {
    QFETCH(QString, part);
    QFETCH(bool, cleared);
    QFETCH(int, erasedConfig);
    const Part& p = partNamed(part);
    ExtendedBench x(p);
    QVERIFY(x.bench->started);
    Session& s = x.bench->session;
    s.device.ConfigValue[1] = 0x1234;
    const auto idConfig = s.buffer.ConfigIdImage;
    auto* checksum = x.bench->find<QLabel>("LblCheckSUM");
    const QString patternSum = checksum->text();
    QTest::mouseClick(x.button("Cmd_PGM_PcbufferClear"), Qt::LeftButton);
    QCOMPARE(bufferProgram(s, p),
             std::vector<std::uint16_t>(p.programWords, programRegion(p).mask));
    // The checksum is of the cleared image the view shows, not of the pattern it replaced.
    QCOMPARE(checksum->text(), CalcProgramChecksum(s));
    QVERIFY(checksum->text() != patternSum);
    // The grids keep only the word's option bits and its fixed bits.
    const int erasedWord = (s.device.ConfigMask[1] & erasedConfig) | s.device.ConfigFixed[1];
    QCOMPARE(s.device.ConfigValue[1], cleared ? erasedWord : 0x1234);
    if (!p.pic18) {
        const int word = s.buffer.ConfigIdImage[14] * 256 + s.buffer.ConfigIdImage[15];
        QCOMPARE(word, cleared ? 0x3FFF : idConfig[14] * 256 + idConfig[15]);
        QCOMPARE(word == p.config, !cleared);
    }
}

// Which buttons the window offers, by the part chosen: the 16F7x (no EEPROM) have no area buttons
// but the chip erase. The buttons come back the same after an operation, and choosing another
// part closes the window.
void ExtendedWindow::buttonsFollowTheDevice_data() {
    QTest::addColumn<QString>("part");
    QTest::addColumn<QStringList>("disabled");
    const QStringList none;
    QTest::newRow("PIC12F683") << "PIC12F683" << none;
    QTest::newRow("PIC16F877A") << "PIC16F877A" << none;
    QTest::newRow("QZ-WRT400A") << "QZ-WRT400A" << none;
    QTest::newRow("PIC18F452") << "PIC18F452" << none;
    QTest::newRow("PIC16F873A") << "PIC16F873A" << none;
    QTest::newRow("PIC16F74") << "PIC16F74"
                              << QStringList{"Cmd_PGM_Program",  "Cmd_PGM_Erase",
                                             "Cmd_PGM_Read",     "Cmd_PGM_PcbufferClear",
                                             "Cmd_DATA_Program", "Cmd_DATA_Erase",
                                             "Cmd_DATA_Read",    "Cmd_DATA_PcbufferClear",
                                             "Cmd_EEDATA_modify"};
}

void ExtendedWindow::buttonsFollowTheDevice() {
    QFETCH(QString, part);
    QFETCH(QStringList, disabled);
    Bench bench({"--part", part.toStdString()});
    QVERIFY(bench.started);
    bench.select(part);
    bench.click("Cmd_Extend_Program");
    auto* ext = bench.find<QWidget>("frmExtend_Program");
    QVERIFY(ext && ext->isVisible());
    QCOMPARE(ext->windowTitle(), QStringLiteral("拡張プログラミング機能"));
    QCOMPARE(ext->parentWidget(), bench.window.get());
    auto offered = [&] {
        QStringList off;
        for (QPushButton* b : ext->findChildren<QPushButton*>())
            if (!b->isEnabled()) off << b->objectName();
        off.sort();
        return off;
    };
    disabled.sort();
    QCOMPARE(offered(), disabled);
    QTest::mouseClick(ext->findChild<QPushButton*>(QStringLiteral("Cmd_Chip_Erace")),
                      Qt::LeftButton);
    QVERIFY(!operationRunning(bench.session));
    QCOMPARE(offered(), disabled);

    bench.select(QStringLiteral("PIC16F84A"));
    QTRY_VERIFY(!bench.find<QWidget>("frmExtend_Program"));
}

// "QZ-WRT400A" programs its EEPROM through its module, as its three siblings do: the generic
// steps do not serve its programming type and would stop at a failed erase.
void ExtendedWindow::theModuleBoardsEepromProgramIsItsModules() {
    const Part& p = partNamed(QStringLiteral("QZ-WRT400A"));
    ExtendedBench x(p);
    QVERIFY(x.bench->started);
    QTest::mouseClick(x.button("Cmd_DATA_Program"), Qt::LeftButton);
    QCOMPARE(x.bench->status(),
             QStringLiteral("プログラムデータメモリー..........ＥＥＰＲＯＭデータメモリーのプログラ"
                            "ミングに成功しました。 "));
    QVERIFY(x.bench->boxes.empty());
    x.bench->emu->stop();
    const QString dump = QString::fromStdString(x.bench->dumpPath());
    QCOMPARE(wordsOf(dump, eepromRegion(p)), wordsOf(x.bufferHex, eepromRegion(p)));
    QCOMPARE(wordsOf(dump, programRegion(p)), wordsOf(x.chipHex, programRegion(p)));
}

// The board stops answering where the button waits: the wait gives up, the status says the step
// failed (a failed program read is not hidden by the configuration read that follows), and the
// port, the guard and the controls of both windows are given back.
void ExtendedWindow::aSilentBoardEndsTheButtonCleanly_data() {
    QTest::addColumn<QString>("part");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("status");
    QTest::newRow("PIC12F683 EEPROM erase")
        << "PIC12F683"
        << "Cmd_DATA_Erase"
        << "stall=0@bd"
        << "イレース..........ＥＥＰＲＯＭデータメモリーイレースで通信エラーが起きました。";
    QTest::newRow("PIC16F877A program read") << "PIC16F877A"
                                             << "Cmd_PGM_Read"
                                             << "stall=0@rsp"
                                             << "プログラムメモリの読み出し失敗。";
    QTest::newRow("PIC18F452 chip erase")
        << "PIC18F452"
        << "Cmd_Chip_Erace"
        << "stall=0@Xbd"
        << "チップ消去..........チップイレース（コードプロテクト解除）で通信エラーが起きました。";
    QTest::newRow("PIC16F873A chip erase") << "PIC16F873A"
                                           << "Cmd_Chip_Erace"
                                           << "stall=0@bd"
                                           << "チップイレースに失敗しました。";
}

void ExtendedWindow::aSilentBoardEndsTheButtonCleanly() {
    QFETCH(QString, part);
    QFETCH(QString, button);
    QFETCH(QString, fault);
    QFETCH(QString, status);
    ExtendedBench x(partNamed(part), {"--fault", fault.toStdString()});
    QVERIFY(x.bench->started);
    QVERIFY(x.window);
    bool sawRunning = false;
    QTimer poll;
    poll.setInterval(50);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (!operationRunning(x.bench->session)) return;
        sawRunning = true;
        // Meanwhile neither window offers anything that would touch the board or the buffer.
        QVERIFY(!x.bench->find<QPushButton>("Command_pogram")->isEnabled());
        QVERIFY(!x.button("Cmd_DATA_Read")->isEnabled());
        QVERIFY(!x.button("Cmd_PGM_PcbufferClear")->isEnabled());
    });
    poll.start();
    QTest::mouseClick(x.button(qPrintable(button)), Qt::LeftButton);
    poll.stop();
    QVERIFY(sawRunning);
    QCOMPARE(x.bench->status(), status + QLatin1Char(' '));
    QVERIFY(!operationRunning(x.bench->session));
    QVERIFY(!x.bench->port.isOpen());
    QVERIFY(x.bench->find<QPushButton>("Command_pogram")->isEnabled());
    QVERIFY(x.bench->find<QComboBox>("Combo_device")->isEnabled());
    for (const char* name :
         {"Cmd_PGM_Program", "Cmd_PGM_Erase", "Cmd_PGM_Read", "Cmd_DATA_Program", "Cmd_DATA_Erase",
          "Cmd_DATA_Read", "Cmd_Chip_Erace", "Cmd_PGM_PcbufferClear", "Cmd_DATA_PcbufferClear"})
        QVERIFY2(x.button(name)->isEnabled(), name);
}

// The board reports a failed EEPROM location: the failure is the last word, not a verify that
// happens to pass after it.
void ExtendedWindow::aFailedPic18EepromWriteIsNotVerified() {
    ExtendedBench x(partNamed(QStringLiteral("PIC18F452")), {"--fault", "fail-at=3@Xwed"});
    QVERIFY(x.bench->started);
    QTest::mouseClick(x.button("Cmd_DATA_Program"), Qt::LeftButton);
    QVERIFY2(x.bench->status().startsWith(
                 QStringLiteral("ＥＥＰＲＯＭデータメモリのプログラミングに失敗しました。")),
             qPrintable(x.bench->status()));
    QCOMPARE(x.bench->session.run.EepromStepResult, result::NG);
    QVERIFY(!operationRunning(x.bench->session));
    QVERIFY(!x.bench->port.isOpen());
    QVERIFY(x.button("Cmd_DATA_Program")->isEnabled());
}

// The EEPROM program erases the EEPROM before it writes, as its status says: when the board
// answers the erase with anything but its end code, the erase has gone out and nothing is
// written after it.
void ExtendedWindow::theEepromProgramErasesBeforeItWrites_data() {
    QTest::addColumn<QString>("part");
    QTest::addColumn<QString>("fault");
    QTest::newRow("PIC18F242") << "PIC18F242"
                               << "end-code@Xbd";
    QTest::newRow("PIC18F448") << "PIC18F448"
                               << "end-code@Xbd";
    QTest::newRow("PIC18F258") << "PIC18F258"
                               << "end-code@Xbd";
    QTest::newRow("PIC16F84A") << "PIC16F84A"
                               << "end-code@bd";
}

void ExtendedWindow::theEepromProgramErasesBeforeItWrites() {
    QFETCH(QString, part);
    QFETCH(QString, fault);
    const Part& p = partNamed(part);
    ExtendedBench x(p, {"--fault", fault.toStdString()});
    QVERIFY(x.bench->started);
    QTest::mouseClick(x.button("Cmd_DATA_Program"), Qt::LeftButton);
    QCOMPARE(x.bench->status(), QStringLiteral("ＥＥＰＲＯＭデータメモリのプログラミング失敗。 "));
    QCOMPARE(x.bench->boxes.size(), std::size_t(1));
    QCOMPARE(x.bench->boxes[0].title, QStringLiteral("ＥＥＰＲＯＭデータメモリ消去"));
    QVERIFY(!operationRunning(x.bench->session));
    x.bench->emu->stop();
    const QString dump = QString::fromStdString(x.bench->dumpPath());
    const auto [erased, loaded] = referenceDumps(p, x.chipHex);
    QCOMPARE(wordsOf(dump, eepromRegion(p)), wordsOf(erased, eepromRegion(p)));
    QCOMPARE(wordsOf(dump, programRegion(p)), wordsOf(loaded, programRegion(p)));
}

// A part with a data EEPROM and no way to erase its program memory alone is erased only by the
// chip erase, which takes the EEPROM too. No shipped part is one, so an EPROM part's block is
// made a flash part with an EEPROM under a name the erases know nothing of. The person is asked
// first, naming the EEPROM: No sends no erase, Yes runs the chip erase (which this part has no code
// for, so it fails).
void ExtendedWindow::aChipEraseInPlaceOfTheProgramEraseIsAskedFirst_data() {
    QTest::addColumn<bool>("yes");
    QTest::addColumn<QString>("status");
    QTest::newRow("no") << false << QStringLiteral("プログラムメモリの消去をやめました。");
    QTest::newRow("yes") << true
                         << QStringLiteral(
                                "プログラムメモリ、コンフィグ、ＩＤの消去に失敗しました。");
}

void ExtendedWindow::aChipEraseInPlaceOfTheProgramEraseIsAskedFirst() {
    QFETCH(bool, yes);
    QFETCH(QString, status);
    QTemporaryDir files;
    const QString part = QStringLiteral("PIC16F999");
    BenchOptions options;
    options.deviceFile = deviceFileWithRows(files, QStringLiteral("PIC16C622A"),
                                            {{"PIC16C622A", part.toLatin1()},
                                             {"PGM_TYPE", "PGM_TYPE   FLASH0"},
                                             {"EEPROM", "EEPROM     0x003F"}});
    QVERIFY(!options.deviceFile.isEmpty());
    Bench bench({"--part", "PIC16C622A"}, options);
    QVERIFY(bench.started);
    bench.select(part);
    QCOMPARE(bench.session.device.EepromByteCount, 64);
    bench.click("Cmd_Extend_Program");
    auto* ext = bench.find<QWidget>("frmExtend_Program");
    QVERIFY(ext);
    bench.answers = {yes ? MessageAnswer::Yes : MessageAnswer::No};
    QTest::mouseClick(ext->findChild<QPushButton*>(QStringLiteral("Cmd_PGM_Erase")),
                      Qt::LeftButton);
    QCOMPARE(bench.boxes.size(), std::size_t(1));
    QCOMPARE(bench.boxes[0].title, QStringLiteral("プログラムメモリ消去"));
    QVERIFY2(
        bench.boxes[0].text.contains(QStringLiteral("ＥＥＰＲＯＭデータメモリの内容も消えます")),
        qPrintable(bench.boxes[0].text));
    QCOMPARE(bench.status(), status + QLatin1Char(' '));
    QVERIFY(!operationRunning(bench.session));
    QVERIFY(bench.controlsBack());
}

QTEST_MAIN(ExtendedWindow)
#include "extended_window_qtest.moc"
