// Whatever changes the PC buffer, the configuration grids and the Config1/Config2 labels show the
// words the buffer holds, and the next Program puts those words on the chip. The real main window
// and the extended window with the board emulator on a pty: a file with a configuration of its own
// is opened, one action changes the buffer, the grids and labels are compared with the buffer,
// then Program runs and the chip's words are compared with what the grids show.
#include "window_bench.h"

#include "support/intel_hex.h"

#include "core/program_type.h"
#include "core/utilities.h"

#include <QHeaderView>
#include <QTableWidget>
#include <QTabWidget>
#include <QtTest>

#include <map>
#include <optional>

using namespace tavrin;
using namespace tavrin::test;

namespace {

struct Part {
    const char* name;
    std::uint32_t configAt; // word address of configuration word 1 in the chip's dump
    // The file's configuration words (PIC18: CONFIGkH << 8 | CONFIGkL), none of them protecting.
    std::vector<std::uint16_t> fileConfig;
    std::uint8_t programHigh; // high byte of the file's program words, a GOTO of the part's core
    // Only the two menu fills: the part is here for configuration bits it does not implement, which
    // only a fill can put into the buffer.
    bool fillsOnly;
};

// PIC16F877A 0x3F72: HS, watchdog off (bits 12, 5, 4 are not implemented and read 1).
// PIC12F675 0x11C4: internal oscillator, band-gap bits 01 (bits 11-9 are not implemented and
// read 0). PIC16F628A: bits 12-9 read 1. PIC16F88: word 2 has two bits, the others read 1.
// PIC16C54 and PIC12C508: 12-bit words whose bits above the settings read 1. PIC18F242:
// CONFIG5L/6L/7L bits 3:2 are under no setting and read 1.
const Part kParts[] = {
    {"PIC16F877A", 0x2007, {0x3F72}, 0x28, false},
    {"PIC12F675", 0x2007, {0x11C4}, 0x28, false},
    {"PIC18F452",
     0x300000 / 2,
     {0x2200, 0x0E0D, 0x0000, 0x0081, 0xC00F, 0xE00F, 0x400F},
     0x28,
     false},
    {"PIC16F628A", 0x2007, {0x3F70}, 0x28, true},
    {"PIC16F88", 0x2007, {0x3F72, 0x3FFC}, 0x28, true},
    {"PIC16C54", 0xFFF, {0x0FFD}, 0x0A, true},
    {"PIC12C508", 0xFFF, {0x0FFA}, 0x0A, true},
    {"PIC18F242",
     0x300000 / 2,
     {0x2200, 0x0E0D, 0x0000, 0x0081, 0xC00F, 0xE00F, 0x400F},
     0x28,
     true},
};

enum class Action {
    FileOpened,
    Read,
    ExtendedProgramRead,
    ExtendedProgramImageClear,
    FillOnes,
    FillZeros,
    GridEdit,
};

struct ActionCase {
    const char* name;
    Action action;
    // The buffer is filled: each word is left as the part holds it, as the header shows it.
    bool fill;
};

const ActionCase kActions[] = {
    {"file opened", Action::FileOpened, false},
    {"Read of a blank chip", Action::Read, false},
    {"extended PGM Read of a blank chip", Action::ExtendedProgramRead, false},
    {"extended PGM buffer clear", Action::ExtendedProgramImageClear, true},
    {"ALL\"1\"", Action::FillOnes, true},
    {"ALL\"0\"", Action::FillZeros, true},
    {"grid edit", Action::GridEdit, false},
};

// A few program words and the part's configuration words.
void writeFile(const QString& path, const Part& p) {
    std::map<std::uint32_t, std::uint8_t> bytes;
    for (std::uint32_t w = 0; w < 8; ++w) {
        bytes[2 * w] = std::uint8_t(0x10 + w);
        bytes[2 * w + 1] = p.programHigh;
    }
    for (std::size_t k = 0; k < p.fileConfig.size(); ++k) {
        bytes[2 * (p.configAt + std::uint32_t(k))] = std::uint8_t(p.fileConfig[k]);
        bytes[2 * (p.configAt + std::uint32_t(k)) + 1] = std::uint8_t(p.fileConfig[k] >> 8);
    }
    QVERIFY(writeIntelHex(path, bytes));
}

// The word the buffer holds, the one Program writes: the configuration image of the 12- and
// 14-bit parts, ConfigValue of the PIC18 parts.
int bufferWord(const Session& s, int k) {
    if (isPic18Type(s.device.ProgramType)) return s.device.ConfigValue[k];
    const auto& image = s.buffer.ConfigIdImage;
    return (image[12 + 2 * k] & 0x3F) << 8 | image[13 + 2 * k];
}

QTableWidget* grid(Bench& bench, int k) {
    return bench.window->findChild<QTableWidget*>(QStringLiteral("HFGrid%1").arg(k));
}

// The word a grid's header shows.
int gridWord(Bench& bench, int k) {
    const QString header = grid(bench, k)->horizontalHeaderItem(1)->text();
    return header.startsWith(QLatin1String("0x")) ? header.mid(2).toInt(nullptr, 16) : -1;
}

// The option a setting shows for a word: the last one whose bits match.
QString optionFor(const ConfigSetting& setting, int word) {
    QString name;
    for (const ConfigOption& o : setting.options)
        if ((o.mask & word) == o.value) name = o.name;
    return name;
}

// Grid selection, grid header and the Config labels against the buffer, for every word the part
// defines. The header may differ from the buffer only outside the word's implemented bits, and
// not at all after a fill, which leaves each word as the part holds it.
void expectGridsShowTheBuffer(Bench& bench, const QString& when, bool wholeWords) {
    const Session& s = bench.session;
    for (int k = 1; k <= limits::ConfigWords; ++k) {
        if (!s.device.ConfigWordDefined[k]) continue;
        const int word = bufferWord(s, k);
        const int mask = s.device.ConfigMask[k];
        const QString where = when + QStringLiteral(", word %1 (buffer %2, grid %3)")
                                         .arg(k)
                                         .arg(hex4(word))
                                         .arg(hex4(gridWord(bench, k)));
        const int shownBits = wholeWords ? 0xFFFF : mask;
        QVERIFY2((gridWord(bench, k) & shownBits) == (word & shownBits), qPrintable(where));
        const auto& settings = s.device.ConfigSettings[k];
        QTableWidget* g = grid(bench, k);
        QCOMPARE(g->rowCount(), int(settings.size()));
        for (int r = 0; r < g->rowCount(); ++r)
            QVERIFY2(g->item(r, 1)->text() == optionFor(settings[r], word),
                     qPrintable(where + QStringLiteral(": ") + settings[r].name +
                                QStringLiteral(" shows ") + g->item(r, 1)->text()));
    }
    for (int k : {1, 2}) {
        const auto* label = bench.find<QLabel>(k == 1 ? "Text_Config1" : "Text_Config2");
        QVERIFY2(label->text() == hex4(bufferWord(s, k)),
                 qPrintable(when + QStringLiteral(": Config%1 label %2, buffer %3")
                                       .arg(k)
                                       .arg(label->text(), hex4(bufferWord(s, k)))));
    }
}

QWidget* openExtendedWindow(Bench& bench) {
    if (auto* window = bench.find<QWidget>("frmExtend_Program"); window && window->isVisible())
        return window;
    bench.click("Cmd_Extend_Program");
    return bench.find<QWidget>("frmExtend_Program");
}

void clickExtended(Bench& bench, const char* button) {
    QWidget* window = openExtendedWindow(bench);
    QVERIFY(window);
    QTest::mouseClick(window->findChild<QPushButton*>(QString::fromLatin1(button)), Qt::LeftButton);
}

// The first setting of word 1 moved to its next option through the chooser over its cell.
void editGrid(Bench& bench) {
    bench.find<QTabWidget>("SSTab_Config")->setCurrentIndex(0);
    QTableWidget* g = grid(bench, 1);
    auto* chooser = bench.find<QComboBox>("CmbInit");
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, g->visualItemRect(g->item(0, 1)).center());
    QVERIFY(chooser->isVisible());
    const int next = (chooser->currentIndex() + 1) % chooser->count();
    chooser->setCurrentIndex(next);
    emit chooser->activated(next);
}

void run(Bench& bench, Action action) {
    switch (action) {
    case Action::FileOpened:
        return;
    case Action::Read:
        bench.click("Command_read");
        return;
    case Action::ExtendedProgramRead:
        return clickExtended(bench, "Cmd_PGM_Read");
    case Action::ExtendedProgramImageClear:
        return clickExtended(bench, "Cmd_PGM_PcbufferClear");
    case Action::FillOnes:
        bench.find<QAction>("mnuPcBufferMemoryClear")->trigger();
        return;
    case Action::FillZeros:
        bench.find<QAction>("mnuPcBufferMemory_0")->trigger();
        return;
    case Action::GridEdit:
        return editGrid(bench);
    }
}

QString hexList(const std::vector<int>& words) {
    QStringList out;
    for (int w : words)
        out << hex4(w);
    return out.join(QLatin1Char(' '));
}

} // namespace

class ConfigFollowsBuffer : public QObject {
    Q_OBJECT
  private slots:
    void theGridsShowTheBufferAndProgramWritesIt_data();
    void theGridsShowTheBufferAndProgramWritesIt();
};

void ConfigFollowsBuffer::theGridsShowTheBufferAndProgramWritesIt_data() {
    QTest::addColumn<int>("part");
    QTest::addColumn<int>("action");
    for (int p = 0; p < int(std::size(kParts)); ++p)
        for (int a = 0; a < int(std::size(kActions)); ++a)
            if (!kParts[p].fillsOnly || kActions[a].action == Action::FillOnes ||
                kActions[a].action == Action::FillZeros)
                QTest::addRow("%s %s", kParts[p].name, kActions[a].name) << p << a;
}

void ConfigFollowsBuffer::theGridsShowTheBufferAndProgramWritesIt() {
    QFETCH(int, part);
    QFETCH(int, action);
    const Part& p = kParts[part];
    const ActionCase& a = kActions[action];
    QTemporaryDir files;
    const QString file = files.filePath(QStringLiteral("program.hex"));
    writeFile(file, p);
    Bench bench({"--part", p.name}, file);
    QVERIFY(bench.started);
    bench.select(QString::fromLatin1(p.name));
    bench.click("Cmd_open");
    const Session& s = bench.session;
    // The file's settings are in the buffer (bits under no setting, such as the band-gap bits,
    // are the grids' own).
    int settingBits = 0;
    for (const ConfigSetting& setting : s.device.ConfigSettings[1])
        for (const ConfigOption& o : setting.options)
            settingBits |= o.mask;
    QCOMPARE(hex4(bufferWord(s, 1) & settingBits), hex4(p.fileConfig[0] & settingBits));

    run(bench, a.action);
    if (QTest::currentTestFailed()) return;
    QVERIFY(bench.boxes.empty());
    expectGridsShowTheBuffer(bench, QString::fromLatin1(a.name), a.fill);
    if (QTest::currentTestFailed()) return;

    // The words a fill of zeros leaves protect the chip; Program writes and verifies them all the
    // same.
    bench.click("Command_pogram");
    const QString status = bench.status();
    QVERIFY2(!status.contains(QStringLiteral("失敗")) && !status.contains(QStringLiteral("エラー")),
             qPrintable(status));
    QVERIFY(bench.boxes.empty());
    // A program run that keeps the chip's own band-gap bits changes the buffer too.
    expectGridsShowTheBuffer(bench, QString::fromLatin1(a.name) + QStringLiteral(", Program"),
                             a.fill);
    if (QTest::currentTestFailed()) return;

    std::vector<int> shown, onChip, masks;
    for (int k = 1; k <= limits::ConfigWords; ++k) {
        if (!s.device.ConfigWordDefined[k]) continue;
        masks.push_back(s.device.ConfigMask[k]);
        shown.push_back(gridWord(bench, k) & masks.back());
    }
    const auto chip = bench.chipWords(p.configAt, std::uint32_t(masks.size()));
    for (std::size_t i = 0; i < masks.size(); ++i)
        onChip.push_back(chip[i] & masks[i]);
    QCOMPARE(hexList(onChip), hexList(shown));
}

QTEST_MAIN(ConfigFollowsBuffer)
#include "config_follows_buffer_qtest.moc"
