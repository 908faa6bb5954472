// The EEPROM editor through the real main window, with the board emulator on a pty: opened from
// Command3 (and from the extended window), a byte typed in each of its editors, OK written into
// the buffer and the EEPROM view, then Program puts the edited bytes on the emulated chip.
#include "window_bench.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QTableWidget>
#include <QtTest>

using namespace tavrin;
using namespace tavrin::test;

namespace {

QDialog* openEditor() {
    auto* w = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    return w && w->objectName() == QLatin1String("frmEepromDataModify") ? w : nullptr;
}

// Runs steps in the editor once it is shown modally; whatever the steps leave open is cancelled
// so that a failed check cannot hold the test.
void inEditor(std::function<void(QDialog*)> steps, bool* ran) {
    QTimer::singleShot(0, [steps, ran] {
        QDialog* dialog = openEditor();
        if (!dialog) {
            inEditor(steps, ran);
            return;
        }
        *ran = true;
        // The offscreen platform activates no window by itself; focus needs an active one.
        dialog->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        steps(dialog);
        if (dialog->isVisible()) dialog->reject();
    });
}

template <class T> T* child(QDialog* d, const QString& name) {
    return d->findChild<T*>(name);
}

void clickCell(QDialog* d, int row, int column) {
    auto* grid = child<QTableWidget>(d, QStringLiteral("MSFGrid1"));
    grid->scrollToItem(grid->item(row, column));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                      grid->visualItemRect(grid->item(row, column)).center());
}

// Replaces the box's text as a person would: select it all and type.
void typeInto(QDialog* d, const char* box, const QString& text) {
    auto* edit = child<QLineEdit>(d, QString::fromLatin1(box));
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

QString cellText(QDialog* d, int row, int column) {
    return child<QTableWidget>(d, QStringLiteral("MSFGrid1"))->item(row, column)->text();
}

QString eepromView(const Bench& bench) {
    return bench.find<QPlainTextEdit>("rText_EepromMem")->toPlainText();
}

} // namespace

class EepromEditorWindow : public QObject {
    Q_OBJECT
  private slots:
    void editsA14BitPartThenProgramPutsTheBytesOnTheChip();
    void editsAPic18PartOneBytePerLocation();
    void cancelKeepsTheBufferAndThePlaceIsRemembered();
    void asciiColumnAndBoxOnlyShowTheByte();
    void partWithoutEepromNeverOpensIt();
    void extendedWindowOpensIt();
};

void EepromEditorWindow::editsA14BitPartThenProgramPutsTheBytesOnTheChip() {
    Bench bench({"--part", "PIC16F877A"});
    QVERIFY(bench.started);
    bench.select(QStringLiteral("PIC16F877A"));
    bench.click("Cmd_open");
    auto* command3 = bench.find<QPushButton>("Command3");
    QVERIFY(command3->isEnabled());
    auto& image = bench.session.buffer.EepromImage;
    const auto before = image;

    bool ran = false;
    inEditor(
        [&](QDialog* d) {
            QCOMPARE(d->windowTitle(), QStringLiteral("EEPROM データメモリ修正"));
            QCOMPARE(d->parentWidget(), bench.window.get());
            auto* grid = child<QTableWidget>(d, QStringLiteral("MSFGrid1"));
            QCOMPARE(grid->rowCount(), 16);
            QCOMPARE(grid->columnCount(), 18);
            QCOMPARE(cellText(d, 1, 0), QStringLiteral("0x000010"));

            clickCell(d, 0, 1);
            QVERIFY(child<QLineEdit>(d, QStringLiteral("Text_modify_hex"))->hasFocus());
            QTest::keyClicks(child<QLineEdit>(d, QStringLiteral("Text_modify_hex")),
                             QStringLiteral("a5"));
            QCOMPARE(child<QLineEdit>(d, QStringLiteral("Text_modify_dec"))->text(),
                     QStringLiteral("165"));
            for (int bit = 0; bit < 8; ++bit)
                QCOMPARE(child<QCheckBox>(d, QStringLiteral("ChkBin_%1").arg(bit))->isChecked(),
                         bool((0xA5 >> bit) & 1));
            QCOMPARE(cellText(d, 0, 1), QStringLiteral("0xA5"));

            clickCell(d, 1, 3); // location 18
            typeInto(d, "Text_modify_dec", QStringLiteral("300"));
            QCOMPARE(child<QLineEdit>(d, QStringLiteral("Text_modify_dec"))->text(),
                     QStringLiteral("255"));
            typeInto(d, "Text_modify_dec", QStringLiteral("66"));
            QCOMPARE(child<QLineEdit>(d, QStringLiteral("Text_modify_hex"))->text(),
                     QStringLiteral("42"));
            QCOMPARE(cellText(d, 1, 3), QStringLiteral("0x42"));
            QCOMPARE(child<QLineEdit>(d, QStringLiteral("Text_modify_asc"))->text(),
                     QStringLiteral("B"));

            clickCell(d, 15, 17); // the ASCII column edits the row's last byte: location 255
            QCOMPARE(grid->currentColumn(), 16);
            QTest::mouseClick(child<QCheckBox>(d, QStringLiteral("ChkBin_0")), Qt::LeftButton);
            QCOMPARE(cellText(d, 15, 16), QStringLiteral("0xFE"));
            QCOMPARE(child<QLineEdit>(d, QStringLiteral("Text_modify_hex"))->text(),
                     QStringLiteral("FE"));
            QCOMPARE(int(image[1]), int(before[1])); // nothing in the buffer before OK
            QTest::mouseClick(child<QPushButton>(d, QStringLiteral("OKButton")), Qt::LeftButton);
        },
        &ran);
    bench.click("Command3");
    QVERIFY(ran);
    QVERIFY(!openEditor());

    for (std::size_t b = 0; b < image.size(); ++b) {
        int expected = before[b];
        if (b == 1) expected = 0xA5;
        if (b == 2 * 18 + 1) expected = 0x42;
        if (b == 2 * 255 + 1) expected = 0xFE;
        QCOMPARE(int(image[b]), expected);
    }
    const QStringList view = eepromView(bench).split(QLatin1Char('\n'));
    QVERIFY2(view[0].startsWith(QStringLiteral("0000:A5 ")), qPrintable(view[0]));
    QVERIFY2(view[1].startsWith(QStringLiteral("0010:FF FF 42 ")), qPrintable(view[1]));
    QVERIFY(QFile::exists(bench.dir.filePath(QStringLiteral("temp.txt"))));

    bench.click("Command_pogram");
    QVERIFY2(bench.status().contains(QStringLiteral("Fail = 0")), qPrintable(bench.status()));
    QVERIFY(bench.boxes.empty());
    bench.emu->stop();
    const auto chip = hexWordsBySrecCat(QString::fromStdString(bench.dumpPath()), 0x2100, 256);
    QCOMPARE(int(chip.size()), 256);
    for (int i = 0; i < 256; ++i)
        QCOMPARE(int(chip[std::size_t(i)] & 0xFF), int(image[std::size_t(2 * i + 1)]));
}

// A PIC18 part keeps one byte per location: the editor edits byte i, never an odd byte.
void EepromEditorWindow::editsAPic18PartOneBytePerLocation() {
    Bench bench({"--part", "PIC18F452"});
    QVERIFY(bench.started);
    bench.select(QStringLiteral("PIC18F452"));
    QVERIFY(bench.find<QPushButton>("Command3")->isEnabled());
    auto& image = bench.session.buffer.EepromImage;
    const auto before = image;

    bool ran = false;
    inEditor(
        [&](QDialog* d) {
            clickCell(d, 0, 1);
            QTest::keyClicks(child<QLineEdit>(d, QStringLiteral("Text_modify_hex")),
                             QStringLiteral("5A"));
            clickCell(d, 12, 9); // location 200
            typeInto(d, "Text_modify_dec", QStringLiteral("7"));
            QTest::mouseClick(child<QPushButton>(d, QStringLiteral("OKButton")), Qt::LeftButton);
        },
        &ran);
    bench.click("Command3");
    QVERIFY(ran);
    for (std::size_t b = 0; b < image.size(); ++b)
        QCOMPARE(int(image[b]), b == 0 ? 0x5A : b == 200 ? 7 : int(before[b]));
    QVERIFY(eepromView(bench).startsWith(QStringLiteral("0000:5A FF ")));

    bench.click("Command_pogram");
    QVERIFY(bench.boxes.empty());
    QVERIFY(!operationRunning(bench.session));
    bench.emu->stop();
    const auto chip =
        hexWordsBySrecCat(QString::fromStdString(bench.dumpPath()), 0xF00000 / 2, 128);
    QCOMPARE(int(chip.size()), 128);
    for (int k = 0; k < 128; ++k) {
        QCOMPARE(int(chip[std::size_t(k)] & 0xFF), int(image[std::size_t(2 * k)]));
        QCOMPARE(int(chip[std::size_t(k)] >> 8), int(image[std::size_t(2 * k + 1)]));
    }
}

void EepromEditorWindow::cancelKeepsTheBufferAndThePlaceIsRemembered() {
    Bench bench({"--part", "PIC16F84A"});
    QVERIFY(bench.started);
    bench.select(QStringLiteral("PIC16F84A"));
    const auto before = bench.session.buffer.EepromImage;
    const QString viewBefore = eepromView(bench);
    bool ran = false;
    QPoint placed;
    inEditor(
        [&](QDialog* d) {
            QCOMPARE(child<QTableWidget>(d, QStringLiteral("MSFGrid1"))->rowCount(), 4);
            clickCell(d, 2, 5);
            QTest::keyClicks(child<QLineEdit>(d, QStringLiteral("Text_modify_hex")),
                             QStringLiteral("00"));
            QCOMPARE(cellText(d, 2, 5), QStringLiteral("0x00"));
            d->move(d->pos() + QPoint(7, 5));
            placed = d->pos();
            QTest::mouseClick(child<QPushButton>(d, QStringLiteral("CancelButton")),
                              Qt::LeftButton);
        },
        &ran);
    bench.click("Command3");
    QVERIFY(ran);
    QVERIFY(bench.session.buffer.EepromImage == before);
    QCOMPARE(eepromView(bench), viewBefore);
    QCOMPARE(bench.settings->value(QStringLiteral("EepromDataModifyLeft"), {}),
             QString::number(placed.x() * 15));
    QCOMPARE(bench.settings->value(QStringLiteral("EepromDataModifyTop"), {}),
             QString::number(placed.y() * 15));
}

// The ASCII column and the Ascii box show bytes, they do not edit them: a click on the column
// moves the highlight to the row's last byte with the editors, and keys typed after a click in
// the box change no byte.
void EepromEditorWindow::asciiColumnAndBoxOnlyShowTheByte() {
    Bench bench({"--part", "PIC16F84A"});
    QVERIFY(bench.started);
    bench.select(QStringLiteral("PIC16F84A"));
    const auto before = bench.session.buffer.EepromImage;
    bool ran = false;
    inEditor(
        [&](QDialog* d) {
            auto* grid = child<QTableWidget>(d, QStringLiteral("MSFGrid1"));
            auto* hex = child<QLineEdit>(d, QStringLiteral("Text_modify_hex"));
            const QString lastByte = cellText(d, 2, 16);
            clickCell(d, 2, 17);
            QCOMPARE(grid->currentColumn(), 16);
            QCOMPARE(grid->selectedItems(), QList<QTableWidgetItem*>{grid->item(2, 16)});
            QCOMPARE(QStringLiteral("0x") + hex->text(), lastByte);

            auto* ascii = child<QLineEdit>(d, QStringLiteral("Text_modify_asc"));
            QTest::mouseClick(ascii, Qt::LeftButton);
            QWidget* typedInto = QApplication::focusWidget();
            QVERIFY(typedInto);
            QTest::keyClicks(typedInto, QStringLiteral("Az"));
            QCOMPARE(cellText(d, 2, 16), lastByte);
            QCOMPARE(QStringLiteral("0x") + hex->text(), lastByte);
            QTest::mouseClick(child<QPushButton>(d, QStringLiteral("OKButton")), Qt::LeftButton);
        },
        &ran);
    bench.click("Command3");
    QVERIFY(ran);
    QVERIFY(bench.session.buffer.EepromImage == before);
}

void EepromEditorWindow::partWithoutEepromNeverOpensIt() {
    Bench bench({"--part", "PIC16F73"});
    QVERIFY(bench.started);
    bench.select(QStringLiteral("PIC16F84A"));
    QVERIFY(bench.find<QPushButton>("Command3")->isEnabled());
    bench.select(QStringLiteral("PIC16F73"));
    QCOMPARE(bench.session.device.EepromByteCount, 0);
    QVERIFY(!bench.find<QPushButton>("Command3")->isEnabled());
    bench.window->Command3_Click(); // as if a click got through
    QVERIFY(!openEditor());
    QVERIFY(!bench.window->findChild<QDialog*>(QStringLiteral("frmEepromDataModify")));

    // Continuous programming mode leaves only Program, Blank and Verify.
    bench.select(QStringLiteral("PIC16F84A"));
    bench.window->findChild<QAction*>(QStringLiteral("mnuLock"))->trigger();
    QVERIFY(!bench.find<QPushButton>("Command3")->isEnabled());
    bench.window->findChild<QAction*>(QStringLiteral("mnuLock"))->trigger();
    QVERIFY(bench.find<QPushButton>("Command3")->isEnabled());
}

void EepromEditorWindow::extendedWindowOpensIt() {
    Bench bench({"--part", "PIC16F628A"});
    QVERIFY(bench.started);
    bench.select(QStringLiteral("PIC16F628A"));
    bench.click("Cmd_Extend_Program");
    auto* ext = bench.find<QWidget>("frmExtend_Program");
    QVERIFY(ext);
    auto* modify = ext->findChild<QPushButton*>(QStringLiteral("Cmd_EEDATA_modify"));
    QVERIFY(modify->isEnabled());
    bool ran = false;
    inEditor(
        [&](QDialog* d) {
            QCOMPARE(child<QTableWidget>(d, QStringLiteral("MSFGrid1"))->rowCount(), 8);
            clickCell(d, 0, 2);
            QTest::keyClicks(child<QLineEdit>(d, QStringLiteral("Text_modify_hex")),
                             QStringLiteral("3C"));
            QTest::mouseClick(child<QPushButton>(d, QStringLiteral("OKButton")), Qt::LeftButton);
        },
        &ran);
    QTest::mouseClick(modify, Qt::LeftButton);
    QVERIFY(ran);
    QCOMPARE(int(bench.session.buffer.EepromImage[3]), 0x3C);
    QCOMPARE(int(bench.session.buffer.EepromImage[2]), 0x3F);

    // An operation in the extended window gives the button back only for a part with EEPROM.
    auto* dataProgram = ext->findChild<QPushButton*>(QStringLiteral("Cmd_DATA_Program"));
    QTest::mouseClick(dataProgram, Qt::LeftButton);
    QCOMPARE(bench.status(), QStringLiteral("ＥＥＰＲＯＭデータメモリのプログラミング成功。 "));
    QVERIFY(modify->isEnabled());
    QVERIFY(bench.find<QPushButton>("Command3")->isEnabled());
}

QTEST_MAIN(EepromEditorWindow)
#include "eeprom_editor_window_qtest.moc"
