// The main window's small commands with the real windows offscreen: the about box's icon, the
// serial-number and index windows, continuous programming hiding the editing windows, and the
// documents (help, assembly check) found or missing, opened through a recording viewer.
#include "core/operation_guard.h"
#include "core/session.h"
#include "support/app_bench.h"
#include "tools/widgets/frm_about.h"
#include "tools/widgets/frm_index.h"
#include "tools/widgets/frm_serial_pgm_setting.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include <functional>

using namespace tavrin;

namespace {

struct Bench : test::AppBench {
    // `seed` writes settings the program finds at its start.
    explicit Bench(const std::function<void(SettingsStore&)>& seed = {}) {
        if (seed) seedSettings(seed);
        open().setDocumentOpener([this](const QString& path) {
            opened << path;
            return true;
        });
        window().show();
    }
    QAction* item(const char* name) { return window().findChild<QAction*>(QLatin1String(name)); }

    QStringList opened;
};

frmSerialPgmSetting* serialWindow(frmMain& window) {
    return window.findChild<frmSerialPgmSetting*>(QStringLiteral("frmSerialPgmSetting"));
}

} // namespace

class ToolMenusTest : public QObject {
    Q_OBJECT
  private slots:
    void aboutIconRevealsTheSerialSettings();
    void serialSettingsKeepOnlyTheirPosition();
    void serialWindowSaysItsValuesAreNotWritten();
    void indexPictureIsModalAndCloses();
    void continuousProgrammingHidesTheEditingWindows();
    void helpOpensTheDocumentFoundOrSaysItIsMissing();
    void assemblyCheckDocumentMissingIsSaid();
    void everyCommandIsOffered();
    void nothingWaitsForThePersonDuringAnOperation();
    void windowsOpenWithinTheScreen();
    void everyMenuEntryDoesSomethingVisible();
};

void ToolMenusTest::aboutIconRevealsTheSerialSettings() {
    Bench bench;
    QAction* serial = bench.item("mnuSerialPgmSetting");
    QAction* separator = bench.item("nmuI");
    QVERIFY(serial && separator);
    QVERIFY(!serial->isVisible());
    QVERIFY(!separator->isVisible());

    bench.item("version")->trigger();
    auto* about = bench.window().findChild<frmAbout*>();
    QVERIFY(about && about->isVisible());
    QTest::mouseClick(about->icon(), Qt::LeftButton);

    QVERIFY(serial->isVisible() && serial->isEnabled());
    QVERIFY(separator->isVisible());
    frmSerialPgmSetting* window = serialWindow(bench.window());
    QVERIFY(window && window->isVisible());
    QVERIFY(!window->isModal());
    QTRY_VERIFY(!bench.window().findChild<frmAbout*>() ||
                !bench.window().findChild<frmAbout*>()->isVisible());

    // The menu entry brings the open window forward rather than opening a second one.
    serial->trigger();
    QCOMPARE(bench.window().findChildren<frmSerialPgmSetting*>().size(), 1);
}

void ToolMenusTest::serialSettingsKeepOnlyTheirPosition() {
    Bench bench;
    bench.item("mnuSerialPgmSetting")->trigger();
    frmSerialPgmSetting* window = serialWindow(bench.window());
    QVERIFY(window);
    auto* quantity = window->findChild<QLineEdit*>(QStringLiteral("TxtDataFinsh"));
    auto* enable = window->findChild<QCheckBox*>(QStringLiteral("ChkSettingEnable"));
    auto* label = window->findChild<QLabel*>(QStringLiteral("Label2"));
    QTest::keyClicks(quantity, QStringLiteral("5x"));
    QCOMPARE(quantity->text(), QStringLiteral("05"));

    // No HEX file loaded: the box falls back with the reason.
    QTest::mouseClick(enable, Qt::LeftButton);
    QVERIFY(!enable->isChecked());
    QVERIFY(label->text().startsWith(QStringLiteral("HEXファイルが開かれていません。")));
    QVERIFY(quantity->isEnabled());

    window->move(300, 200);
    window->findChild<QPushButton*>(QStringLiteral("OKButton"))->click();
    QTRY_VERIFY(!serialWindow(bench.window()));
    bench.app.reset();
    QSettings stored(bench.dir.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat);
    const QStringList keys = stored.allKeys();
    QVERIFY2(std::any_of(keys.begin(), keys.end(),
                         [](const QString& k) { return k.endsWith(QLatin1String("SPSLeft")); }),
             qPrintable(keys.join(',')));
    QVERIFY(!std::any_of(keys.begin(), keys.end(),
                         [](const QString& k) { return k.contains(QLatin1String("TxtData")); }));
}

// Nothing writes the serial values into a chip: the window says so beside its enable box and in
// every message on the way through a run, and the README lists it among what the program does
// not do.
void ToolMenusTest::serialWindowSaysItsValuesAreNotWritten() {
    const QString notWritten = QStringLiteral("ICには書き込まれません");
    Bench bench;
    bench.showWithParts();
    bench.select("PIC16F877A");
    bench.app->session().app.HexFilePath =
        QStringLiteral(TAVRIN_SOURCE_DIR "/tests/mainwindow/data/blink877a.hex");
    bench.item("version")->trigger();
    auto* about = bench.window().findChild<frmAbout*>();
    QVERIFY(about);
    QTest::mouseClick(about->icon(), Qt::LeftButton);
    frmSerialPgmSetting* window = serialWindow(bench.window());
    QVERIFY(window && window->isVisible());

    auto* enable = window->findChild<QCheckBox*>(QStringLiteral("ChkSettingEnable"));
    auto* note = window->findChild<QLabel*>(QStringLiteral("LabelNotWritten"));
    QVERIFY2(note, "no note beside the enable box");
    QVERIFY(note->isVisible() && note->text().contains(notWritten));
    // Right under the box, in its frame.
    QCOMPARE(note->parentWidget(), enable->parentWidget());
    const int gap = note->geometry().top() - enable->geometry().bottom();
    QVERIFY2(gap >= 0 && gap < enable->height(), qPrintable(QString::number(gap)));

    auto* label = window->findChild<QLabel*>(QStringLiteral("Label2"));
    QStringList said{label->text()};
    QTest::keyClicks(window->findChild<QLineEdit*>(QStringLiteral("TxtDataFinsh")),
                     QStringLiteral("2"));
    QTest::mouseClick(enable, Qt::LeftButton);
    QVERIFY(enable->isChecked());
    said << label->text();
    auto* step = window->findChild<QPushButton*>(QStringLiteral("Command1"));
    for (int i = 0; i < 3; ++i)
        QTest::mouseClick(step, Qt::LeftButton);
    said << label->text();
    QTest::mouseClick(enable, Qt::LeftButton);
    said << label->text();
    QVERIFY2(said[0].contains(notWritten) && said[1].contains(notWritten),
             qPrintable(said.join(QLatin1Char('|'))));
    QStringList everything = said;
    for (const QLabel* l : window->findChildren<QLabel*>())
        everything << l->text();
    for (const QString& text : everything)
        for (const char* promise : {"プログラミング", "書き込み数量", "書込み済"})
            QVERIFY2(!text.contains(QString::fromUtf8(promise)), qPrintable(text));

    QFile readme(QStringLiteral(TAVRIN_SOURCE_DIR "/README.md"));
    QVERIFY(readme.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(readme.readAll());
    const qsizetype section = text.indexOf(QLatin1String("\n## What the program does not do\n"));
    QVERIFY2(section >= 0, "README: no list of what the program does not do");
    const QString list = text.mid(section + 1).section(QLatin1String("\n## "), 0, 0);
    QVERIFY2(list.contains(QLatin1String("\n- Serial numbers are not written into the chips.")),
             qPrintable(list));
}

void ToolMenusTest::indexPictureIsModalAndCloses() {
    Bench bench;
    QAction* index = bench.item("nmuindex");
    QVERIFY(index->isEnabled());
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* shown = qobject_cast<frmIndex*>(QApplication::activeModalWidget());
        seen = shown && shown->windowTitle() == QStringLiteral("インデックス") &&
               shown->parentWidget() == &bench.window();
        if (shown) shown->findChild<QPushButton*>(QStringLiteral("Command1"))->click();
    });
    index->trigger();
    QVERIFY(seen);
    QVERIFY(frmIndex::labelTexts().contains(
        QStringLiteral("20ピン デバイス用のソケットは用意されていません。")));
}

void ToolMenusTest::continuousProgrammingHidesTheEditingWindows() {
    Bench bench;
    // The two windows as they are created: owned by the main window, shown beside it.
    QList<QDialog*> editing;
    for (const char* name : {"frmEepromDataModify", "frmExtend_Program"}) {
        auto* w = new QDialog(&bench.window());
        w->setObjectName(QLatin1String(name));
        w->show();
        editing << w;
    }
    auto* other = new QDialog(&bench.window());
    other->setObjectName(QStringLiteral("frmMemStatus"));
    other->show();

    bench.item("mnuLock")->trigger();
    QVERIFY(bench.item("mnuLock")->isChecked());
    for (QDialog* w : editing)
        QVERIFY2(!w->isVisible(), qPrintable(w->objectName()));
    QVERIFY(other->isVisible());

    for (QDialog* w : editing)
        w->show();
    bench.item("mnuLock")->trigger();
    QVERIFY(!bench.item("mnuLock")->isChecked());
    for (QDialog* w : editing)
        QVERIFY(!w->isVisible());
}

void ToolMenusTest::helpOpensTheDocumentFoundOrSaysItIsMissing() {
    Bench bench;
    QAction* help = bench.item("mnuHelpContents");
    // The program's own help beside device6.ini.
    help->trigger();
    QCOMPARE(bench.opened.size(), 1);
    QVERIFY(bench.opened[0].endsWith(QLatin1String("/data/tavrin-help.html")));
    QVERIFY(QFile::exists(bench.opened[0]));
    QVERIFY(bench.boxes.isEmpty());

    // The maker's help file, whatever the case of its name, is preferred.
    QTemporaryDir folder;
    QFile chm(folder.filePath(QStringLiteral("TAVRIN6.CHM")));
    QVERIFY(chm.open(QIODevice::WriteOnly));
    chm.close();
    bench.window().setDocumentFolders({folder.path()});
    help->trigger();
    QCOMPARE(bench.opened.last(), folder.filePath(QStringLiteral("TAVRIN6.CHM")));

    // Neither: nothing is opened and the person is told.
    QVERIFY(chm.remove());
    bench.opened.clear();
    help->trigger();
    QVERIFY(bench.opened.isEmpty());
    QCOMPARE(bench.boxes, QStringList{QStringLiteral(
                              "ﾌｧｲﾙ 開く失敗|　tavrin-help.htmlが見つかりませんでした。　　　")});
}

void ToolMenusTest::assemblyCheckDocumentMissingIsSaid() {
    Bench bench;
    QTemporaryDir folder;
    bench.window().setDocumentFolders({folder.path()});
    bench.item("mnuBoardAmend")->trigger();
    QVERIFY(bench.opened.isEmpty());
    QCOMPARE(bench.boxes, QStringList{QStringLiteral(
                              "ﾌｧｲﾙ 開く失敗|　製作確認資料.PDFが見つかりませんでした。　　　")});

    QFile pdf(folder.filePath(QStringLiteral("製作確認資料.pdf")));
    QVERIFY(pdf.open(QIODevice::WriteOnly));
    pdf.close();
    bench.item("mnuBoardAmend")->trigger();
    QCOMPARE(bench.opened, QStringList{pdf.fileName()});
}

// Every menu item and button the main window holds for a later window is taken up by the
// program: none stays greyed out for want of its window.
void ToolMenusTest::everyCommandIsOffered() {
    Bench bench;
    QStringList waiting;
    for (QObject* o : bench.window().findChildren<QObject*>())
        if (o->property("pendingFeature").toBool()) waiting << o->objectName();
    QVERIFY2(waiting.isEmpty(), qPrintable(waiting.join(QLatin1Char(' '))));
}

// An operation's waits for the board are bounded and run window events: a message box or a
// modal window opened from a menu meanwhile would hold the operation until its waits ran out.
// Each such command is refused with the reason on the status line, and works once the operation
// has ended.
void ToolMenusTest::nothingWaitsForThePersonDuringAnOperation() {
    struct Case {
        const char* item;
        const char* modalWhenIdle; // the window it opens when no operation runs
        bool boxWhenIdle;
        bool documentWhenIdle;
    };
    const Case cases[] = {
        {"nmuindex", "frmIndex", false, false},
        {"info", nullptr, true, false},
        {"mnuHelpContents", nullptr, false, true},
        {"mnuBoardAmend", nullptr, true, false}, // the document is not shipped: said so
    };
    Bench bench;
    auto* status = bench.window().findChild<QLabel*>(QStringLiteral("LabelCmt"));
    for (bool running : {true, false}) {
        bench.app->session().run.OperationRunning = running;
        for (const Case& c : cases) {
            bench.boxes.clear();
            bench.opened.clear();
            status->clear();
            QString modal;
            QTimer::singleShot(0, [&] {
                if (QWidget* w = QApplication::activeModalWidget()) {
                    modal = w->objectName();
                    w->close();
                }
            });
            bench.item(c.item)->trigger();
            QTest::qWait(0);
            if (running) {
                QVERIFY2(modal.isEmpty() && bench.boxes.isEmpty() && bench.opened.isEmpty(),
                         c.item);
                QCOMPARE(status->text(), kOperationRunningText + QLatin1Char(' '));
            } else {
                QCOMPARE(modal, QString::fromLatin1(c.modalWhenIdle ? c.modalWhenIdle : ""));
                QVERIFY2(bench.boxes.isEmpty() != c.boxWhenIdle, c.item);
                QVERIFY2(bench.opened.isEmpty() != c.documentWhenIdle, c.item);
            }
        }
    }
}

// Places saved on a screen that has gone (a second monitor unplugged), and windows placed beside
// a main window at the screen's edge: every window opens where the person can reach it.
void ToolMenusTest::windowsOpenWithinTheScreen() {
    Bench bench([](SettingsStore& s) {
        for (const char* key : {"MainLeft", "MainTop", "SPSLeft", "SPSTop"})
            s.setValue(QLatin1String(key), QStringLiteral("150000")); // twips: 10000 pixels
        for (const char* key : {"ExtPgmLeft", "ExtPgmTop", "BoardLeft", "BoardTop"})
            s.setValue(QLatin1String(key), QStringLiteral("10000")); // pixels
    });
    frmMain& main = bench.window();
    const QRect room = main.screen()->availableGeometry();
    QVERIFY(room.contains(main.frameGeometry().topLeft()));

    // Beside the main window pushed to the screen's right end.
    main.move(room.right() + 1 - main.frameGeometry().width(), room.top());
    struct Case {
        const char* window;
        std::function<void()> open;
    };
    const Case cases[] = {
        {"frmSerch", [&] { bench.item("mnuSerch")->trigger(); }},
        {"frmMemStatus", [&] { bench.item("nmuMemStatus")->trigger(); }},
        {"frmSerialPgmSetting", [&] { bench.item("mnuSerialPgmSetting")->trigger(); }},
        {"frmExtend_Program", [&] { main.Cmd_Extend_Program_Click(); }},
        {"frmBoard", [&] { main.showBoardWindow(true); }},
    };
    for (const Case& c : cases) {
        c.open();
        auto* w = main.findChild<QWidget*>(QLatin1String(c.window));
        QVERIFY2(w && w->isVisible(), c.window);
        const QRect frame = w->frameGeometry();
        QVERIFY2(frame.width() > room.width() ? room.contains(frame.topLeft())
                                              : room.contains(frame),
                 qPrintable(QStringLiteral("%1 at %2,%3 %4x%5")
                                .arg(QLatin1String(c.window))
                                .arg(frame.x())
                                .arg(frame.y())
                                .arg(frame.width())
                                .arg(frame.height())));
        w->close();
    }
}

namespace {
// What the person can see of the program at one moment, for telling whether a command did
// anything at all.
QStringList visibleState(frmMain& w) {
    QStringList state;
    state << w.findChild<QLabel*>(QStringLiteral("LabelCmt"))->text() << w.windowTitle()
          << QString::number(w.height())
          << w.findChild<QPlainTextEdit*>(QStringLiteral("RichTxtPgmMem"))->toPlainText();
    for (QAction* a : w.findChildren<QAction*>())
        state << a->objectName() + QString::number(a->isChecked()) +
                     QString::number(a->isVisible());
    for (QWidget* t : QApplication::topLevelWidgets())
        if (t->isVisible() && !qobject_cast<QMenu*>(t)) state << t->objectName();
    return state;
}
} // namespace

// Every entry of every menu, chosen with a part selected and a file loaded, shows something: a
// window, a box, a document, a file dialog, a check mark, a status text, a changed view. None is
// offered that does nothing.
void ToolMenusTest::everyMenuEntryDoesSomethingVisible() {
    Bench bench([](SettingsStore& s) {
        s.setValue(QStringLiteral("OPEN_DIR0"), QStringLiteral(TAVRIN_SOURCE_DIR "/tests/hex"));
    });
    frmMain& w = bench.window();
    int fileDialogs = 0;
    w.setFileDialogAnswer([&](const FileDialogRequest&, bool save) {
        ++fileDialogs;
        return save ? QString()
                    : QStringLiteral(TAVRIN_SOURCE_DIR "/tests/mainwindow/data/blink877a.hex");
    });
    QVERIFY(LoadDeviceList(bench.app->session(), w, bench.app->paths()));
    bench.select("PIC16F877A");
    QCOMPARE(bench.app->session().device.SelectedDevice, QStringLiteral("PIC16F877A"));
    QStringList windows;
    std::function<void()> closeModal = [&] {
        if (QWidget* m = QApplication::activeModalWidget()) {
            windows << m->objectName();
            m->close();
        }
        QTimer::singleShot(10, &w, closeModal);
    };
    QTimer::singleShot(10, &w, closeModal);

    QStringList silent;
    int tried = 0;
    for (QAction* top : w.menuBar()->actions()) {
        for (QAction* a : top->menu()->actions()) {
            if (a->isSeparator() || !a->isVisible() || !a->isEnabled() ||
                a->objectName() == QLatin1String("exit"))
                continue;
            ++tried;
            const QStringList before = visibleState(w);
            bench.boxes.clear();
            bench.opened.clear();
            windows.clear();
            fileDialogs = 0;
            a->trigger();
            QTest::qWait(20);
            const bool shown = visibleState(w) != before || !bench.boxes.isEmpty() ||
                               !bench.opened.isEmpty() || !windows.isEmpty() || fileDialogs > 0;
            if (!shown) silent << a->objectName();
            // Modeless windows are closed again; the board picture belongs to the main window.
            for (QWidget* t : QApplication::topLevelWidgets())
                if (t != &w && t->objectName() != QLatin1String("frmBoard") && t->isVisible() &&
                    !qobject_cast<QMenu*>(t))
                    t->close();
            QTest::qWait(0);
        }
    }
    QVERIFY(tried > 20);
    QVERIFY2(silent.isEmpty(), qPrintable(silent.join(QLatin1Char(' '))));
}

QTEST_MAIN(ToolMenusTest)
#include "tool_menus_test.moc"
