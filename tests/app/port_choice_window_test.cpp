// The port choice window from the main window's menu and COM button, with the board emulator on
// a pseudo-terminal: a port that does not open, then CANCEL, leaves the program on the port it
// used before, for the board port given at start (as the run command gives it) and for a saved
// one alike; the window opens again and takes a good port.
#include "emusupport/linked_emulator.h"
#include "support/app_bench.h"
#include "tools/widgets/frm_option.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>

using namespace tavrin;
using test::LinkedEmulator;

namespace {

// What the person does in the port window, one step each time it is in front: the port typed
// and the button pressed.
struct PortWindowStep {
    QString typed;
    bool ok = true;
};

// Answers the port window as it comes up, step by step; records the port it offered each time
// it opened.
class PortWindowAnswers {
  public:
    explicit PortWindowAnswers(QList<PortWindowStep> steps) : steps_(std::move(steps)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] { answer(); });
        timer_.start(10);
    }
    bool done() const { return steps_.isEmpty(); }
    const QStringList& offered() const { return offered_; }

  private:
    void answer() {
        auto* window = qobject_cast<frmOption*>(QApplication::activeModalWidget());
        if (!window || steps_.isEmpty()) return;
        if (window != last_) offered_ << window->portList()->currentText();
        last_ = window;
        const PortWindowStep step = steps_.takeFirst();
        window->portList()->setCurrentText(step.typed);
        QTest::mouseClick(step.ok ? window->okButton() : window->cancelButton(), Qt::LeftButton);
    }

    QList<PortWindowStep> steps_;
    QStringList offered_;
    QPointer<frmOption> last_;
    QTimer timer_;
};

} // namespace

class PortChoiceWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void aFailedChoiceCancelledKeepsThePortInUse_data();
    void aFailedChoiceCancelledKeepsThePortInUse();
};

void PortChoiceWindowTest::aFailedChoiceCancelledKeepsThePortInUse_data() {
    QTest::addColumn<bool>("saved");
    QTest::newRow("port given at start") << false;
    QTest::newRow("saved port") << true;
}

void PortChoiceWindowTest::aFailedChoiceCancelledKeepsThePortInUse() {
    QFETCH(bool, saved);
    QTemporaryDir dir;
    LinkedEmulator board;
    LinkedEmulator other;
    QVERIFY(board.started && other.started);
    const QString settingsFile = dir.filePath(QStringLiteral("settings.ini"));
    if (saved)
        QSettings(settingsFile, QSettings::IniFormat)
            .setValue(QStringLiteral("Settings6/ComNo"), board.path());
    Application app(test::appOptionsIn(dir, saved ? QString() : board.path()));
    QStringList boxes;
    test::answerBoxesOk(app.window(), [&](const QString&, const QString& text) { boxes << text; });
    QCOMPARE(app.start(), StartupOutcome::Ready);
    QVERIFY(app.session().link.ProgrammerDetected);
    frmMain& window = app.window();
    auto* firmware = window.findChild<QLabel*>(QStringLiteral("Label_FirmwareVersion"));
    auto* status = window.findChild<QLabel*>(QStringLiteral("LabelCmt"));
    const QString boardLabel = board.path() + QStringLiteral(" : QZ-WRT400  V6.50");
    QCOMPARE(firmware->text(), boardLabel);
    const QString missing = dir.filePath(QStringLiteral("no-such-tty"));

    // Both ways to the window: the menu entry and the COM button.
    const std::function<void()> openers[] = {
        [&] { window.findChild<QAction*>(QStringLiteral("confirm"))->trigger(); },
        [&] {
            QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("Command_com")),
                              Qt::LeftButton);
        },
    };
    for (const auto& open : openers) {
        boxes.clear();
        PortWindowAnswers answers({{missing, true}, {missing, false}});
        open();
        QVERIFY(answers.done());
        QCOMPARE(answers.offered(), QStringList{board.path()});
        // The open failure is said once; the board is back on the port it was found on.
        QCOMPARE(boxes.size(), 1);
        QVERIFY2(boxes[0].contains(QStringLiteral("オープンに失敗しました。")),
                 qPrintable(boxes[0]));
        QCOMPARE(app.session().link.ComPortName, board.path());
        QVERIFY(app.session().link.ProgrammerDetected);
        QCOMPARE(firmware->text(), boardLabel);
        QCOMPARE(QSettings(settingsFile, QSettings::IniFormat)
                     .value(QStringLiteral("Settings6/ComNo"))
                     .toString(),
                 saved ? board.path() : QString());
    }

    // An operation runs on that port.
    window.selectDeviceByIndex(
        int(app.session().device.DeviceNames.indexOf(QStringLiteral("PIC16F877A"))));
    boxes.clear();
    window.Command_blank_Click();
    QVERIFY2(!status->text().contains(QStringLiteral("通信ポート")), qPrintable(status->text()));
    for (const QString& box : boxes)
        QVERIFY2(!box.contains(QStringLiteral("通信ポートを選んでください。")), qPrintable(box));
    QCOMPARE(app.session().run.OperationResult, QStringLiteral("OK"));

    // The window opens again and takes a good port, which is kept.
    boxes.clear();
    PortWindowAnswers answers({{other.path(), true}});
    window.findChild<QAction*>(QStringLiteral("confirm"))->trigger();
    QVERIFY(answers.done());
    QCOMPARE(answers.offered(), QStringList{board.path()});
    QVERIFY(boxes.isEmpty());
    QCOMPARE(app.session().link.ComPortName, other.path());
    QVERIFY(app.session().link.ProgrammerDetected);
    QCOMPARE(firmware->text(), other.path() + QStringLiteral(" : QZ-WRT400  V6.50"));
    QCOMPARE(QSettings(settingsFile, QSettings::IniFormat)
                 .value(QStringLiteral("Settings6/ComNo"))
                 .toString(),
             other.path());
    app.shutdown();
}

QTEST_MAIN(PortChoiceWindowTest)
#include "port_choice_window_test.moc"
