// What a person chooses in the configuration grids and types as the ID, through the real main
// window with the board emulator on a pty: every setting that does not protect the chip is moved
// to its next option, then Program (or the extended window's program-memory button) puts exactly
// those words on the chip, and Save HEX writes the same words.
#include "window_bench.h"

#include <QLineEdit>
#include <QTableWidget>
#include <QTabWidget>
#include <QtTest>

using namespace tavrin;
using namespace tavrin::test;

namespace {

struct Case {
    const char* part;
    bool extended; // the extended window's program-memory button instead of Program
    std::uint32_t configAt, idAt, savedIdAt; // word addresses in the chip dump and the saved file
    std::vector<std::uint16_t> config;
    std::vector<std::uint16_t> ids;
};

// The words follow from the part's option rows: each setting one option further on.
// PIC12F675: the chip's own band-gap bits (2) replace the buffer's on Program.
const Case kCases[] = {
    {"PIC16F84A", false, 0x2007, 0x2000, 0x2000, {0x3FF0}, {0x3FF0, 0x3FF0, 0x3FF5, 0x3FFA}},
    {"PIC16F88", false, 0x2007, 0x2000, 0x2000, {0x2700, 0x3FFC}, {0x3FF0, 0x3FF0, 0x3FF5, 0x3FFA}},
    {"PIC16F88", true, 0x2007, 0x2000, 0x2000, {0x2700, 0x3FFC}, {0x3FF0, 0x3FF0, 0x3FF5, 0x3FFA}},
    {"PIC16F877A", true, 0x2007, 0x2000, 0x2000, {0x3730}, {0x3FF0, 0x3FF0, 0x3FF5, 0x3FFA}},
    {"PIC12F675", false, 0x2007, 0x2000, 0x2000, {0x2180}, {0x3FF0, 0x3FF0, 0x3FF5, 0x3FFA}},
    {"PIC12C509A", false, 0xFFF, 0x400, 0x2000, {0x0FE8}, {0x000, 0x000, 0x005, 0x00A}},
    {"PIC18F452",
     false,
     0x300000 / 2,
     0x200000 / 2,
     0x200000 / 2,
     {0x0000, 0x0000, 0x0000, 0x0000, 0xC00F, 0xE00F, 0x400F},
     {0x0000, 0x0000, 0x0000, 0x0A05}},
    {"PIC18F8720",
     true,
     0x300000 / 2,
     0x200000 / 2,
     0x200000 / 2,
     {0x0000, 0x0000, 0x0200, 0x0000, 0xC0FF, 0xE0FF, 0x40FF},
     {0x0000, 0x0000, 0x0000, 0x0A05}},
};

bool protects(const QString& setting) {
    return setting.startsWith(QLatin1String("CP")) || setting.startsWith(QLatin1String("WRT")) ||
           setting.startsWith(QLatin1String("EBTR"));
}

// Moves every setting of every configuration word that does not protect the chip to its next
// option, through the chooser laid over the option cell.
void chooseNextOptions(Bench& bench) {
    auto* tabs = bench.find<QTabWidget>("SSTab_Config");
    auto* chooser = bench.find<QComboBox>("CmbInit");
    for (int word = 1; word <= tabs->count(); ++word) {
        if (!tabs->isTabVisible(word - 1)) continue;
        tabs->setCurrentIndex(word - 1);
        auto* grid = bench.window->findChild<QTableWidget*>(QStringLiteral("HFGrid%1").arg(word));
        for (int row = 0; row < grid->rowCount(); ++row) {
            const QTableWidgetItem* setting = grid->item(row, 0);
            if (!setting || setting->text().isEmpty() || protects(setting->text())) continue;
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                              grid->visualItemRect(grid->item(row, 1)).center());
            QVERIFY2(chooser->isVisible(), qPrintable(setting->text()));
            const int next = (chooser->currentIndex() + 1) % chooser->count();
            const QString name = chooser->itemText(next);
            chooser->setCurrentIndex(next);
            emit chooser->activated(next);
            QCOMPARE(grid->item(row, 1)->text(), name);
        }
    }
}

void typeId(Bench& bench, const QString& text) {
    auto* id = bench.find<QLineEdit>("Text_ID");
    id->setFocus();
    id->selectAll();
    QTest::keyClicks(id, text);
    bench.window->Text_ID_LostFocus();
}

QString hexList(const std::vector<std::uint16_t>& words) {
    QStringList out;
    for (std::uint16_t w : words)
        out << QString::number(w, 16).toUpper();
    return out.join(QLatin1Char(' '));
}

} // namespace

class ConfigChoicesWindow : public QObject {
    Q_OBJECT
  private slots:
    void theChipAndTheSavedFileHoldWhatWasChosen_data();
    void theChipAndTheSavedFileHoldWhatWasChosen();
};

void ConfigChoicesWindow::theChipAndTheSavedFileHoldWhatWasChosen_data() {
    QTest::addColumn<int>("row");
    for (int row = 0; row < int(std::size(kCases)); ++row)
        QTest::addRow("%s%s", kCases[row].part, kCases[row].extended ? " extended" : "") << row;
}

void ConfigChoicesWindow::theChipAndTheSavedFileHoldWhatWasChosen() {
    QFETCH(int, row);
    const Case& c = kCases[row];
    Bench bench({"--part", c.part});
    QVERIFY(bench.started);
    bench.select(QString::fromLatin1(c.part));
    chooseNextOptions(bench);
    if (QTest::currentTestFailed()) return;
    typeId(bench, QStringLiteral("5a"));

    if (c.extended) {
        bench.click("Cmd_Extend_Program");
        auto* window = bench.find<QWidget>("frmExtend_Program");
        QVERIFY(window);
        bench.answerHint({QStringLiteral("CmdOk")});
        QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("Cmd_PGM_Program")),
                          Qt::LeftButton);
    } else {
        bench.click("Command_pogram");
    }
    const QString status = bench.status();
    QVERIFY2(!status.contains(QStringLiteral("失敗")) && !status.contains(QStringLiteral("エラー")),
             qPrintable(status));
    QVERIFY(bench.boxes.empty());
    QVERIFY(bench.controlsBack());

    bench.saveAs = bench.dir.filePath(QStringLiteral("saved.hex"));
    bench.find<QAction>("mnuFileSave")->trigger();
    const auto count = std::uint32_t(c.config.size());
    QCOMPARE(hexList(bench.chipWords(c.configAt, count)), hexList(c.config));
    const QString dump = QString::fromStdString(bench.dumpPath());
    QCOMPARE(hexList(hexWordsBySrecCat(dump, c.idAt, 4)), hexList(c.ids));
    QCOMPARE(hexList(hexWordsBySrecCat(bench.saveAs, c.configAt, count)), hexList(c.config));
    QCOMPARE(hexList(hexWordsBySrecCat(bench.saveAs, c.savedIdAt, 4)), hexList(c.ids));
}

QTEST_MAIN(ConfigChoicesWindow)
#include "config_choices_window_qtest.moc"
