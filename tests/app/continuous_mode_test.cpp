// Continuous programming (連続プログラムモード) with the real windows and the board emulator on a
// pseudo-terminal: while it is on, of the menu entries and buttons only Program, Blank check and
// Verify stay usable, with the mode's own entry and the toggles beside it; nothing done in the
// mode gives another back, and leaving it gives everything back as it was.
#include "emusupport/linked_emulator.h"
#include "support/app_bench.h"

#include <QAction>
#include <QLabel>
#include <QMap>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

using namespace tavrin;
using test::LinkedEmulator;

namespace {

// Whether each menu entry and button of the window can be used: an entry only when its menu can
// be opened.
QMap<QString, bool> usableCommands(frmMain& w) {
    QMap<QString, bool> usable;
    for (QAction* top : w.menuBar()->actions())
        for (QAction* a : top->menu()->actions())
            if (!a->isSeparator()) usable[a->objectName()] = top->isEnabled() && a->isEnabled();
    for (QPushButton* b : w.findChildren<QPushButton*>())
        if (b->window() == &w) usable[b->objectName()] = b->isEnabled();
    return usable;
}

// What the mode leaves usable: the three operations, the mode's own entry, and the toggles that
// only change how an operation runs or what is shown.
const QStringList kUsableInContinuousMode = {
    QStringLiteral("Command_pogram"),     QStringLiteral("Command_blank"),
    QStringLiteral("Command_Vrify"),      QStringLiteral("mnuLock"),
    QStringLiteral("mnuBlankSkip"),       QStringLiteral("mnuComMode1"),
    QStringLiteral("mnuBoardInfomation"), QStringLiteral("mnuFrmmainHight"),
};

QStringList differences(const QMap<QString, bool>& actual, const QMap<QString, bool>& expected) {
    QStringList out;
    for (auto it = expected.begin(); it != expected.end(); ++it)
        if (actual.value(it.key(), !it.value()) != it.value())
            out << it.key() +
                       (it.value() ? QStringLiteral(" disabled") : QStringLiteral(" usable"));
    return out;
}

} // namespace

class ContinuousModeTest : public QObject {
    Q_OBJECT
  private slots:
    void onlyTheOperationsStayUsable();
};

void ContinuousModeTest::onlyTheOperationsStayUsable() {
    QTemporaryDir dir;
    LinkedEmulator board;
    QVERIFY(board.started);
    Application app(test::appOptionsIn(dir, board.path()));
    QStringList boxes;
    test::answerBoxesOk(app.window(), [&](const QString&, const QString& text) { boxes << text; });
    QCOMPARE(app.start(), StartupOutcome::Ready);
    frmMain& w = app.window();
    w.selectDeviceByIndex(
        int(app.session().device.DeviceNames.indexOf(QStringLiteral("PIC16F877A"))));
    QCOMPARE(app.session().device.SelectedDevice, QStringLiteral("PIC16F877A"));
    QTest::qWait(0);

    const QMap<QString, bool> before = usableCommands(w);
    QMap<QString, bool> locked;
    for (auto it = before.begin(); it != before.end(); ++it)
        locked[it.key()] = kUsableInContinuousMode.contains(it.key());
    // The window's own entries and buttons are all there and all usable before.
    for (const QString& name : kUsableInContinuousMode)
        QVERIFY2(before.value(name), qPrintable(name));
    for (const char* name :
         {"mnuPcBufferMemoryClear", "mnuPcBufferMemory_0", "confirm", "mnuFirmwareUpdate",
          "Command_read", "Cmd_Extend_Program", "Command_com", "Command3", "mnuSerch"})
        QVERIFY2(before.value(QLatin1String(name)), name);

    auto item = [&](const char* name) { return w.findChild<QAction*>(QLatin1String(name)); };
    item("mnuLock")->trigger();
    QVERIFY(item("mnuLock")->isChecked());
    QStringList wrong = differences(usableCommands(w), locked);
    QVERIFY2(wrong.isEmpty(), qPrintable(QStringLiteral("entering: ") + wrong.join(u',')));

    struct Case {
        const char* what;
        std::function<void()> run;
    };
    const Case cases[] = {
        {"blank-check skip toggled", [&] { item("mnuBlankSkip")->trigger(); }},
        {"blank-check skip toggled back", [&] { item("mnuBlankSkip")->trigger(); }},
        {"board picture toggled", [&] { item("mnuBoardInfomation")->trigger(); }},
        {"window height reset", [&] { item("mnuFrmmainHight")->trigger(); }},
        {"blank check run",
         [&] {
             QTest::mouseClick(w.findChild<QPushButton*>(QStringLiteral("Command_blank")),
                               Qt::LeftButton);
         }},
        {"verify run",
         [&] {
             QTest::mouseClick(w.findChild<QPushButton*>(QStringLiteral("Command_Vrify")),
                               Qt::LeftButton);
         }},
        {"board looked for again",
         [&] {
             app.session().link.ProgrammerDetected = false;
             auto* label = w.findChild<QLabel*>(QStringLiteral("Label_FirmwareVersion"));
             QTest::mouseDClick(label, Qt::LeftButton);
             QVERIFY(app.session().link.ProgrammerDetected);
         }},
        {"serial mode toggled", [&] { item("mnuComMode1")->trigger(); }},
        {"serial mode toggled back", [&] { item("mnuComMode1")->trigger(); }},
    };
    for (const Case& c : cases) {
        c.run();
        QTest::qWait(0);
        wrong = differences(usableCommands(w), locked);
        QVERIFY2(wrong.isEmpty(),
                 qPrintable(QLatin1String(c.what) + QStringLiteral(": ") + wrong.join(u',')));
    }
    QVERIFY2(boxes.isEmpty(), qPrintable(boxes.join(u'|')));

    item("mnuLock")->trigger();
    QVERIFY(!item("mnuLock")->isChecked());
    wrong = differences(usableCommands(w), before);
    QVERIFY2(wrong.isEmpty(), qPrintable(QStringLiteral("leaving: ") + wrong.join(u',')));
    app.shutdown();
}

QTEST_MAIN(ContinuousModeTest)
#include "continuous_mode_test.moc"
