// The main window rendered offscreen over the real device file reader and HEX readers/writers.
#include "core/device_file.h"
#include "core/settings_store.h"
#include "core/status.h"
#include "mainwindow/logic/real_core_services.h"
#include "mainwindow/widgets/frm_board.h"
#include "mainwindow/widgets/frm_main.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTableWidget>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <memory>

using namespace tavrin;

namespace {

const QString kDot = QString(QChar(0xFF65));

QString sourcePath(const QString& relative) {
    return QStringLiteral(TAVRIN_SOURCE_DIR "/") + relative;
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// One running window: a session, settings in an INI file of the temp folder, the device file.
struct Window {
    Session session;
    std::unique_ptr<QtSettingsStore> settings;
    std::unique_ptr<frmMain> w;
    QStringList dialogAnswers;
    QList<FileDialogRequest> dialogs;

    Window(const QTemporaryDir& dir, const QString& deviceFile) {
        settings = std::make_unique<QtSettingsStore>(dir.filePath(QStringLiteral("settings.ini")));
        AppPaths paths{deviceFile, dir.path()};
        session.app.MainTitle = QStringLiteral("TW - ");
        w = std::make_unique<frmMain>(session, *settings, realCoreServices(paths));
        w->setAppPaths(paths);
        w->setFileDialogAnswer([this](const FileDialogRequest& r, bool) {
            dialogs << r;
            return dialogAnswers.isEmpty() ? QString() : dialogAnswers.takeFirst();
        });
        w->setMessageBoxAnswer([](MessageIcon, MessageButtons b, const QString&, const QString&) {
            return b == MessageButtons::OkCancel ? MessageAnswer::Ok : MessageAnswer::Ok;
        });
        w->show();
        QVERIFY(LoadDeviceList(session, *w, paths));
    }

    template <class T> T* find(const char* name) const {
        return w->findChild<T*>(QString::fromLatin1(name));
    }
    void select(const QString& device) {
        const int index = int(session.device.DeviceNames.indexOf(device));
        QVERIFY2(index >= 0, qPrintable(device));
        w->selectDeviceByIndex(index);
    }
    QStringList programLines() const {
        return find<QPlainTextEdit>("RichTxtPgmMem")->toPlainText().split(QLatin1Char('\n'));
    }
    QStringList eepromLines() const {
        return find<QPlainTextEdit>("rText_EepromMem")->toPlainText().split(QLatin1Char('\n'));
    }
    QList<bool> configTabsShown() const {
        QList<bool> shown;
        auto* tabs = find<QTabWidget>("SSTab_Config");
        for (int i = 0; i < tabs->count(); ++i)
            shown << tabs->isTabVisible(i);
        return shown;
    }
    QStringList gridRows(int word) const {
        auto* grid = w->findChild<QTableWidget*>(QStringLiteral("HFGrid%1").arg(word));
        QStringList rows;
        for (int r = 0; r < grid->rowCount(); ++r)
            rows << grid->item(r, 0)->text() + QLatin1Char('=') + grid->item(r, 1)->text();
        return rows;
    }
    QString gridHeader(int word) const {
        auto* grid = w->findChild<QTableWidget*>(QStringLiteral("HFGrid%1").arg(word));
        return grid->horizontalHeaderItem(1)->text();
    }
};

// PIC16F84A chosen and the 14-bit example opened through File > Open; its path.
QString openExample14(Window& t) {
    t.select(QStringLiteral("PIC16F84A"));
    const QString example = sourcePath("tests/hex/data/example14.hex");
    t.dialogAnswers << example;
    t.w->mnuFileOpen_Click();
    return example;
}

} // namespace

class FrmMainTest : public QObject {
    Q_OBJECT
  private slots:
    void init() {
        tmp = std::make_unique<QTemporaryDir>();
        QVERIFY(tmp->isValid());
    }

    void fourteenBitPartGetsOneGridTabAndItsViews() {
        Window t(*tmp, sourcePath("data/device6.ini"));
        t.select(QStringLiteral("PIC16F877A"));
        QCOMPARE(t.session.device.SelectedDevice, QStringLiteral("PIC16F877A"));
        QCOMPARE(t.configTabsShown(),
                 (QList<bool>{true, false, false, false, false, false, false}));
        QCOMPARE(t.gridHeader(1), QStringLiteral("0x3FFF"));
        const QStringList rows = t.gridRows(1);
        QCOMPARE(rows.first(), QStringLiteral("FOSC=EXTRC"));
        QCOMPARE(rows.last(), QStringLiteral("CP=OFF"));
        QCOMPARE(t.find<QLineEdit>("Text_ID")->text(), QStringLiteral("FFFF"));
        QCOMPARE(t.find<QLineEdit>("Text_ID")->maxLength(), 4);
        QCOMPARE(t.find<QLabel>("Text_Config1")->text(), QStringLiteral("3FFF"));
        const QStringList program = t.programLines();
        QCOMPARE(program.size(), 1024);
        QCOMPARE(program.first(),
                 QStringLiteral("0000:") + QStringLiteral("3FFF ").repeated(8) + kDot.repeated(16));
        QVERIFY(program.last().startsWith(QStringLiteral("1FF8:")));
        QVERIFY(t.find<QPlainTextEdit>("rText_EepromMem")->isVisible());
        QCOMPARE(t.eepromLines().size(), 16);
        QCOMPARE(t.eepromLines().first(),
                 QStringLiteral("0000:") + QStringLiteral("FF ").repeated(16) + kDot.repeated(16));
        auto* info = t.find<QTabWidget>("SSTab_MCU_Infomatin");
        for (int i = 0; i < info->count(); ++i)
            QVERIFY(!info->isTabVisible(i));
        QVERIFY(t.w->boardWindow()->markVisible(QStringLiteral("Shape_40P")));
        QVERIFY(!t.w->boardWindow()->markVisible(QStringLiteral("Shape_18P")));
        QVERIFY(t.w->boardWindow()->markVisible(QStringLiteral("Shape_12")));
        QVERIFY(!t.w->boardWindow()->markVisible(QStringLiteral("Label_sel")));
    }

    void pic18PartGetsSevenGridTabsAndAnEightDigitId() {
        Window t(*tmp, sourcePath("data/device6.ini"));
        t.select(QStringLiteral("PIC16F877A"));
        t.select(QStringLiteral("PIC18F452"));
        QCOMPARE(t.configTabsShown(), (QList<bool>{true, true, true, true, true, true, true}));
        QCOMPARE(t.gridHeader(1), QStringLiteral("0x2700"));
        QCOMPARE(t.gridRows(1), (QStringList{"OSC=RCIO", "OSCS=OFF"}));
        auto* info = t.find<QTabWidget>("SSTab_MCU_Infomatin");
        QVERIFY(info->isTabVisible(2));
        QCOMPARE(info->currentIndex(), 2);
        QCOMPARE(t.find<QLineEdit>("Text_ID")->text(), QStringLiteral("FFFFFFFF"));
        QCOMPARE(t.find<QLineEdit>("Text_ID")->maxLength(), 8);
        QCOMPARE(t.find<QLabel>("Label_DEV_id")->text(), QStringLiteral("--"));
        QCOMPARE(t.programLines().size(), 2048);
        QCOMPARE(t.programLines().first(),
                 QStringLiteral("0000:") + QStringLiteral("FFFF ").repeated(8) + kDot.repeated(16));
        QVERIFY(!t.find<QLabel>("Lbl_div")->isVisible());
    }

    // The views skip a redraw that would show the same text; any other change of a view's text
    // in between, or of the buffer, must still be redrawn, and a redraw always leaves the view
    // at its top.
    void redrawingTheViewsAfterOtherChanges() {
        Window t(*tmp, sourcePath("data/device6.ini"));
        t.select(QStringLiteral("PIC16F877A"));
        auto* view = t.find<QPlainTextEdit>("RichTxtPgmMem");
        const QString dump = view->toPlainText();
        QCOMPARE(t.programLines().size(), 1024);

        view->appendPlainText(QStringLiteral("0000: mismatch"));
        t.w->refreshViews(ViewProgram);
        QCOMPARE(view->toPlainText(), dump);

        t.w->setControlText(Control::RichTxtPgmMem, QString());
        t.w->refreshViews(ViewProgram);
        QCOMPARE(view->toPlainText(), dump);

        t.session.buffer.ProgramImage[1] = 0x12;
        t.w->refreshViews(ViewProgram);
        QVERIFY(t.programLines().first().startsWith(QStringLiteral("0000:3F12 3FFF")));

        t.find<QCheckBox>("Check_Parity_Disp")->setChecked(true);
        t.w->refreshViews(ViewProgram);
        QVERIFY(t.programLines().first().startsWith(QStringLiteral("0000:---0 ---0")));
        t.find<QCheckBox>("Check_Parity_Disp")->setChecked(false);

        view->verticalScrollBar()->setValue(view->verticalScrollBar()->maximum());
        QTextCursor cursor = view->textCursor();
        cursor.setPosition(200);
        cursor.setPosition(300, QTextCursor::KeepAnchor);
        view->setTextCursor(cursor);
        t.w->refreshViews(ViewProgram);
        t.w->refreshViews(ViewProgram);
        QCOMPARE(view->verticalScrollBar()->value(), 0);
        QCOMPARE(view->textCursor().position(), 0);
        QVERIFY(!view->textCursor().hasSelection());

        auto* eeprom = t.find<QPlainTextEdit>("rText_EepromMem");
        t.session.buffer.EepromImage[1] = 0x41;
        t.w->refreshViews(ViewEeprom);
        QVERIFY(t.eepromLines().first().startsWith(QStringLiteral("0000:41 FF")));
        eeprom->appendPlainText(QStringLiteral("more"));
        t.w->refreshViews(ViewEeprom);
        QCOMPARE(t.eepromLines().size(), 16);
    }

    void choosingAnOptionRecomputesTheWord() {
        Window t(*tmp, sourcePath("data/device6.ini"));
        t.select(QStringLiteral("PIC16F877A"));
        auto* grid = t.w->findChild<QTableWidget*>(QStringLiteral("HFGrid1"));
        const QRect cell = grid->visualItemRect(grid->item(0, 1));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
        auto* chooser = t.find<QComboBox>("CmbInit");
        QVERIFY(chooser->isVisible());
        QCOMPARE(chooser->count(), 4);
        QCOMPARE(chooser->itemText(1), QStringLiteral("XT"));
        QCOMPARE(chooser->currentText(), QStringLiteral("EXTRC"));
        // The setting's comment is shown when its row is chosen.
        QVERIFY(t.find<QLabel>("LabelCmt")->text().startsWith(QStringLiteral("発振モード")));
        chooser->setCurrentIndex(1);
        emit chooser->activated(1);
        QVERIFY(!chooser->isVisible());
        QCOMPARE(t.session.device.ConfigValue[1], 0x3FFD);
        QCOMPARE(t.find<QLabel>("Text_Config1")->text(), QStringLiteral("3FFD"));
        QCOMPARE(int(t.session.buffer.ConfigIdImage[14]), 0x3F);
        QCOMPARE(int(t.session.buffer.ConfigIdImage[15]), 0xFD);
        QCOMPARE(t.gridHeader(1), QStringLiteral("0x3FFD"));
        QCOMPARE(t.gridRows(1).first(), QStringLiteral("FOSC=XT"));

        // The setting column opens no chooser.
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          grid->visualItemRect(grid->item(1, 0)).center());
        QVERIFY(!chooser->isVisible());
    }

    void openingAndSavingAFourteenBitFile() {
        Window t(*tmp, sourcePath("tests/mainwindow/data/small_parts.ini"));
        const QString example = openExample14(t);
        QCOMPARE(t.session.run.HexLoadResult, QStringLiteral("OK"));
        QCOMPARE(t.w->windowTitle(), QStringLiteral("TW - ") + example);
        QCOMPARE(t.programLines(),
                 (QStringList{QStringLiteral("0000:2805 ") + QStringLiteral("3FFF ").repeated(7) +
                                  kDot.repeated(16),
                              QStringLiteral("0008:") + QStringLiteral("3FFF ").repeated(8) +
                                  kDot.repeated(16)}));
        QCOMPARE(t.eepromLines(),
                 QStringList{QStringLiteral("0000:12 ") + QStringLiteral("FF ").repeated(7) +
                             kDot.repeated(8)});
        QCOMPARE(t.find<QLineEdit>("Text_ID")->text(), QStringLiteral("1234"));
        QCOMPARE(t.find<QLabel>("Text_Config1")->text(), QStringLiteral("3F72"));

        const QString saved = tmp->filePath(QStringLiteral("saved14.hex"));
        t.dialogAnswers << saved;
        t.w->mnuFileSave_Click();
        QCOMPARE(readAll(saved), readAll(example));
        QCOMPARE(t.find<QLabel>("LabelCmt")->text(),
                 QStringLiteral("ファイル保存完了。 ") + saved + " ");
    }

    void openingAndSavingAPic18File() {
        Window t(*tmp, sourcePath("tests/mainwindow/data/small_parts.ini"));
        t.select(QStringLiteral("PIC18F452"));
        const QString example = sourcePath("tests/hex/data/example18.hex");
        t.dialogAnswers << example;
        t.w->mnuFileOpen_Click();
        QCOMPARE(t.session.run.HexLoadResult, QStringLiteral("OK"));
        QCOMPARE(t.programLines(),
                 QStringList{QStringLiteral("0000:EF04 F000 ") +
                             QStringLiteral("FFFF ").repeated(6) + kDot.repeated(16)});
        QCOMPARE(t.eepromLines().first(), QStringLiteral("0000:55 ") +
                                              QStringLiteral("FF ").repeated(15) + "U" +
                                              kDot.repeated(15));
        QCOMPARE(t.find<QLineEdit>("Text_ID")->text(), QStringLiteral("12345678"));

        // A configuration edit keeps the loaded ID in the box.
        t.find<QComboBox>("CmbInit")->clear();
        auto* grid = t.w->findChild<QTableWidget*>(QStringLiteral("HFGrid1"));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          grid->visualItemRect(grid->item(0, 1)).center());
        emit t.find<QComboBox>("CmbInit")->activated(3); // OSC RCIO, as loaded
        QCOMPARE(t.find<QLineEdit>("Text_ID")->text(), QStringLiteral("12345678"));

        const QString saved = tmp->filePath(QStringLiteral("saved18.hex"));
        t.dialogAnswers << saved;
        t.w->mnuFileSave_Click();
        QCOMPARE(readAll(saved), readAll(example));
    }

    // A file of a million lines that are no records: the status line names the first few and
    // counts the rest, and says that nothing was loaded.
    void aMillionBadLinesGiveAShortStatusLine() {
        Window t(*tmp, sourcePath("tests/mainwindow/data/small_parts.ini"));
        t.select(QStringLiteral("PIC16F84A"));
        const QString bad = tmp->filePath(QStringLiteral("bad.hex"));
        QFile file(bad);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray("no record here\r\n").repeated(1000000));
        file.close();
        t.dialogAnswers << bad;
        t.w->mnuFileOpen_Click();
        QCOMPARE(t.session.run.HexLoadResult, QStringLiteral("NG"));
        const QString status = t.find<QLabel>("LabelCmt")->text();
        QCOMPARE(status,
                 QStringLiteral("<<注意>>ロードできるデータがなかったので、何もロードしません"
                                "でした。 1、2、3、4、5、6、7、8、9、10行目ほか999990行は"
                                "ＨＥＸデータでないので読み飛ばしました。"));
        QCOMPARE(t.find<QLabel>("LabelCmt")->palette().color(QPalette::WindowText),
                 QColor(255, 0, 0));
    }

    // A file far larger than any HEX file is refused before the buffer is erased for it.
    void aFileTooLargeForHexLeavesTheBufferAsItWas() {
        Window t(*tmp, sourcePath("tests/mainwindow/data/small_parts.ini"));
        const QString example = openExample14(t);
        QCOMPARE(t.session.run.HexLoadResult, QStringLiteral("OK"));
        const QStringList program = t.programLines();

        const QString big = tmp->filePath(QStringLiteral("big.hex"));
        QFile file(big);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.resize(qint64(200) << 20)); // sparse: nothing is written
        file.close();
        t.dialogAnswers << big;
        t.w->mnuFileOpen_Click();
        QCOMPARE(t.session.run.HexLoadResult, QStringLiteral("NG"));
        QCOMPARE(t.find<QLabel>("LabelCmt")->text(),
                 QStringLiteral("ファイルをロードできませんでした。 "
                                "ＨＥＸファイルとしては大きすぎます（64MBまで）。"));
        QCOMPARE(t.programLines(), program);
        QCOMPARE(int(t.session.buffer.ProgramImage[0]), 0x28);
        QCOMPARE(t.find<QLineEdit>("Text_ID")->text(), QStringLiteral("1234"));
        QCOMPARE(t.w->windowTitle(), QStringLiteral("TW - ") + example);
    }

    void historySurvivesARestart() {
        const QString folder = tmp->filePath(QStringLiteral("Work Dir"));
        QVERIFY(QDir().mkpath(folder));
        const QString file = folder + QStringLiteral("/Example.hex");
        QVERIFY(QFile::copy(sourcePath("tests/hex/data/example14.hex"), file));
        {
            Window first(*tmp, sourcePath("tests/mainwindow/data/small_parts.ini"));
            first.select(QStringLiteral("PIC16F84A"));
            first.dialogAnswers << file;
            first.w->mnuFileOpen_Click();
            auto* entry = first.find<QAction>("nmuFile1");
            QCOMPARE(entry->text(), folder + QStringLiteral("    PIC16F84A"));
            QVERIFY(entry->isVisible());
            first.w->close();
        }
        Window second(*tmp, sourcePath("tests/mainwindow/data/small_parts.ini"));
        second.select(QStringLiteral("PIC18F452"));
        auto* entry = second.find<QAction>("nmuFile1");
        QCOMPARE(entry->text(), folder + QStringLiteral("    PIC16F84A"));
        QVERIFY(entry->isVisible());
        QVERIFY(!second.find<QAction>("nmuFile2")->isVisible());
        second.dialogAnswers << file;
        entry->trigger();
        QCOMPARE(second.session.device.SelectedDevice, QStringLiteral("PIC16F84A"));
        QCOMPARE(second.find<QComboBox>("Combo_device")->currentText(),
                 QStringLiteral("PIC16F84A"));
        QCOMPARE(second.dialogs.last().initialDir, folder);
        QCOMPARE(second.session.app.HexFilePath, file);

        second.find<QAction>("nmuHistryClear")->trigger();
        QVERIFY(!second.find<QAction>("nmuFile1")->isVisible());
    }

    void statusLineColoursAndGeometry() {
        {
            Window t(*tmp, sourcePath("tests/mainwindow/data/small_parts.ini"));
            ShowStatusMessage(*t.w, QStringLiteral("REDベリファイエラー"), QStringLiteral("0010"));
            auto* line = t.find<QLabel>("LabelCmt");
            QCOMPARE(line->text(), QStringLiteral("ベリファイエラー 0010"));
            QCOMPARE(line->palette().color(QPalette::WindowText), QColor(255, 0, 0));
            ShowStatusMessage(*t.w, QStringLiteral("完了"), QString());
            QCOMPARE(line->palette().color(QPalette::WindowText), QColor(0, 0, 0));
            ShowProgress(*t.w, ProgressMode::On, 0, 1000, 290);
            QCOMPARE(t.find<QLabel>("Lbl_Persent")->text(), QStringLiteral("28%"));
            QVERIFY(t.find<QWidget>("P_Bar")->isVisible());
            ShowProgress(*t.w, ProgressMode::Off, 0, 1000, 290);
            QVERIFY(!t.find<QWidget>("P_Bar")->isVisible());
            t.w->move(40, 50);
            t.w->resize(t.w->width(), 600);
            t.w->close();
        }
        QtSettingsStore store(tmp->filePath(QStringLiteral("settings.ini")));
        QCOMPARE(store.value(QStringLiteral("MainHeight"), QString()), QStringLiteral("9000"));
        QVERIFY(store.contains(QStringLiteral("MainLeft")));
        Window again(*tmp, sourcePath("tests/mainwindow/data/small_parts.ini"));
        QCOMPARE(again.w->height(), 600);
    }

    void idBoxStoresOnlyAnEdit() {
        Window t(*tmp, sourcePath("tests/mainwindow/data/small_parts.ini"));
        openExample14(t);
        auto* id = t.find<QLineEdit>("Text_ID");
        t.w->Text_ID_LostFocus(); // no edit: the loaded words stay
        QCOMPARE(int(t.session.buffer.ConfigIdImage[1]), 0xF1);

        id->selectAll();
        QTest::keyClicks(id, QStringLiteral("1ag-"));
        QCOMPARE(id->text(), QStringLiteral("1A"));
        t.w->Text_ID_LostFocus();
        QCOMPARE(id->text(), QStringLiteral("001A"));
        const std::uint8_t expected[8] = {0x3F, 0xF0, 0x3F, 0xF0, 0x3F, 0xF1, 0x3F, 0xFA};
        for (int i = 0; i < 8; ++i)
            QCOMPARE(int(t.session.buffer.ConfigIdImage[i]), int(expected[i]));
    }

    void boardWindowFollowsItsMenuEntry() {
        Window t(*tmp, sourcePath("tests/mainwindow/data/small_parts.ini"));
        t.select(QStringLiteral("PIC16F84A"));
        QVERIFY(t.w->boardWindow()->isVisible());
        QVERIFY(t.w->boardWindow()->markVisible(QStringLiteral("Shape_18P")));
        QVERIFY(t.w->boardWindow()->markVisible(QStringLiteral("Label_sel")));
        t.w->boardWindow()->close();
        QVERIFY(!t.find<QAction>("mnuBoardInfomation")->isChecked());
        t.find<QAction>("mnuBoardInfomation")->trigger();
        QVERIFY(t.w->boardWindow()->isVisible());
        QCOMPARE(t.settings->value(QStringLiteral("mnuBoardInfomation"), QString()),
                 QStringLiteral("True"));
    }

    // A box asked for while another of the program's windows is in front opens over that window,
    // never behind it.
    void messageBoxOpensOverTheWindowInFront() {
        Window t(*tmp, sourcePath("tests/mainwindow/data/small_parts.ini"));
        t.w->setMessageBoxAnswer({});
        auto* modal = new QDialog(t.w.get());
        modal->setObjectName(QStringLiteral("modalWindow"));
        auto* tool = new QWidget(t.w.get(), Qt::Tool);
        tool->setObjectName(QStringLiteral("toolWindow"));
        struct Case {
            const char* inFront;
            const char* owner;
        };
        for (const Case& c : {Case{"frmMain", "frmMain"}, Case{"modalWindow", "modalWindow"},
                              Case{"toolWindow", "toolWindow"}}) {
            QString owner;
            auto ask = [&] {
                QTimer::singleShot(0, [&] {
                    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                    if (!box) return;
                    owner = box->parentWidget() ? box->parentWidget()->objectName() : QString();
                    box->close();
                });
                t.w->messageBox(MessageIcon::Information, MessageButtons::Ok, QStringLiteral("t"),
                                QStringLiteral("x"));
            };
            const QString front = QString::fromLatin1(c.inFront);
            if (front == QLatin1String("modalWindow")) {
                QTimer::singleShot(0, [&] {
                    ask();
                    modal->reject();
                });
                modal->exec();
            } else {
                QWidget* window = front == QLatin1String("toolWindow") ? tool : t.w.get();
                window->show();
                window->activateWindow();
                QVERIFY(QTest::qWaitForWindowActive(window));
                ask();
            }
            QCOMPARE(owner, QString::fromLatin1(c.owner));
        }
    }

  private:
    std::unique_ptr<QTemporaryDir> tmp;
};

QTEST_MAIN(FrmMainTest)
#include "frm_main_qtest.moc"
