// The port choice, device choice and about windows offscreen, driven as a person would.
#include "core/about_texts.h"
#include "core/session.h"
#include "core/settings_store.h"
#include "link/board_link.h"
#include "scripted_port.h"
#include "support/recording_ui.h"
#include "tools/logic/about_box_model.h"
#include "tools/logic/port_choice.h"
#include "tools/widgets/frm_about.h"
#include "tools/widgets/frm_device_select.h"
#include "tools/widgets/frm_option.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

using namespace tavrin;
using namespace tavrin::test;

namespace {
const ProgramVersion kVersion{4,
                              0,
                              0,
                              QStringLiteral("Tavrin Writer v4"),
                              QStringLiteral("Tavrin Writer"),
                              QStringLiteral("PIC programmer"),
                              QStringLiteral("notes")};
} // namespace

class ToolsWindowsTest : public QObject {
    Q_OBJECT
  private slots:
    void portWindowListsPortsAndTakesATypedPath();
    void portWindowStaysOpenWhenThePortFails();
    void portWindowEscapeLeavesWithoutAPort();
    void deviceWindowPreselectsAndAnswers_data();
    void deviceWindowPreselectsAndAnswers();
    void aboutBoxFormsAndButtons();
};

namespace {
struct PortRig {
    Session s;
    RecordingUi ui;
    MemorySettingsStore settings;
    VirtualClock clock;
    ScriptedPort port{clock};
    BoardLink link{s, ui, port, clock};
    PortChoice choice{s, ui, settings, link};
};
} // namespace

void ToolsWindowsTest::portWindowListsPortsAndTakesATypedPath() {
    PortRig rig;
    rig.settings.setValue(QStringLiteral("ComNo"), QStringLiteral("/dev/ttyACM0"));
    rig.port.onWrite = [&rig](const QByteArray& bytes) {
        if (bytes == "?") rig.port.arrive("QZ-WRT400 V 6.50\r\n", 5);
    };
    frmOption window(rig.choice, [] {
        return QStringList{QStringLiteral("/dev/ttyACM0"), QStringLiteral("/dev/ttyUSB0")};
    });
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.windowTitle(), QStringLiteral("通信ポート選択して下さい。"));
    QCOMPARE(window.portList()->count(), 2);
    QCOMPARE(window.portList()->currentText(), QStringLiteral("/dev/ttyACM0"));

    // The emulated board's pseudo-terminal is typed in.
    window.portList()->setCurrentText(QStringLiteral("/run/user/0/tavrin-board"));
    QTest::mouseClick(window.okButton(), Qt::LeftButton);
    QCOMPARE(window.result(), int(QDialog::Accepted));
    QVERIFY(!window.isVisible());
    QCOMPARE(rig.settings.value(QStringLiteral("ComNo"), QString()),
             QStringLiteral("/run/user/0/tavrin-board"));
    QVERIFY(rig.s.link.ProgrammerDetected);
}

void ToolsWindowsTest::portWindowStaysOpenWhenThePortFails() {
    PortRig rig;
    rig.port.openResult = {PortError::PermissionDenied, QStringLiteral("Permission denied")};
    frmOption window(rig.choice, [] { return QStringList{QStringLiteral("/dev/ttyS0")}; });
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.portList()->setCurrentIndex(0);
    QTest::mouseClick(window.okButton(), Qt::LeftButton);
    QVERIFY(window.isVisible());
    QCOMPARE(window.statusLabel()->text(), QStringLiteral("Permission denied"));
    QCOMPARE(rig.ui.messages.size(), size_t(1));
    QVERIFY(!rig.settings.contains(QStringLiteral("ComNo")));

    QTest::mouseClick(window.cancelButton(), Qt::LeftButton);
    QCOMPARE(window.result(), int(QDialog::Rejected));
    QCOMPARE(rig.ui.statusText, QStringLiteral("通信ポートを選択しませんでした。 "));
}

void ToolsWindowsTest::portWindowEscapeLeavesWithoutAPort() {
    PortRig rig;
    frmOption window(rig.choice, [] { return QStringList(); });
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(&window, Qt::Key_Escape);
    QVERIFY(!window.isVisible());
    QCOMPARE(rig.ui.statusText, QStringLiteral("通信ポートを選択しませんでした。 "));
    QCOMPARE(rig.port.opens, 0);
}

void ToolsWindowsTest::deviceWindowPreselectsAndAnswers_data() {
    QTest::addColumn<int>("current");
    QTest::addColumn<int>("pick"); // -1: cancel
    QTest::newRow("keep the main window's part") << 1 << 1;
    QTest::newRow("pick another") << 1 << 2;
    QTest::newRow("cancel") << 0 << -1;
}

void ToolsWindowsTest::deviceWindowPreselectsAndAnswers() {
    QFETCH(int, current);
    QFETCH(int, pick);
    const QStringList names{QStringLiteral("PIC12F675"), QStringLiteral("PIC16F84A"),
                            QStringLiteral("PIC16F877A")};
    std::optional<QString> answer = QStringLiteral("<not asked>");
    int preselected = -2;
    QTimer::singleShot(0, [&] {
        auto* window = qobject_cast<frmDeviceSelect*>(QApplication::activeModalWidget());
        if (!window) return;
        preselected = window->deviceList()->currentIndex();
        if (pick < 0) {
            QTest::mouseClick(window->cancelButton(), Qt::LeftButton);
            return;
        }
        window->deviceList()->setCurrentIndex(pick);
        QTest::mouseClick(window->okButton(), Qt::LeftButton);
    });
    answer = frmDeviceSelect::ask(names, current);
    QCOMPARE(preselected, current);
    if (pick < 0) {
        QVERIFY(!answer.has_value());
    } else {
        QCOMPARE(answer.value_or(QString()), names[pick]);
    }
}

void ToolsWindowsTest::aboutBoxFormsAndButtons() {
    AboutBoxModel model(kVersion);
    AboutBoxTexts filled = aboutTextsAtStartup(kVersion);
    filled.disclaimer = supportPageLine();
    model.fill(filled);
    model.setIdWordLine(QStringLiteral("NEW :0000:0000:0000:0000"));
    QStringList opened;
    {
        frmAbout box(model, [&opened](const QString& url) {
            opened << url;
            return true;
        });
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        QCOMPARE(box.windowTitle(), QStringLiteral("Tavrin Writer v4のﾊﾞｰｼﾞｮﾝ情報"));
        QCOMPARE(box.label("lblVersion")->text(), QStringLiteral("V4.0.0"));
        QCOMPARE(box.label("lblTitle")->text(), QStringLiteral("Tavrin Writer v4"));
        QCOMPARE(box.label("lblDisclaimer")->text(), supportPageLine());
        QCOMPARE(box.label("Label_ID_Word")->text(), QStringLiteral("NEW :0000:0000:0000:0000"));
        QTest::mouseClick(box.supportButton(), Qt::LeftButton);
        QCOMPARE(opened, QStringList{QLatin1String(kSupportPageUrl)});
        QVERIFY(box.lastPageOpened());
        QTest::mouseClick(box.closeButton(), Qt::LeftButton);
        QVERIFY(!box.isVisible());
    }
    frmAbout again(model, [](const QString&) { return false; });
    QSignalSpy serial(&again, &frmAbout::serialSettingsRequested);
    again.show();
    QVERIFY(QTest::qWaitForWindowExposed(&again));
    QCOMPARE(again.label("lblVersion")->text(), QStringLiteral("ﾊﾞｰｼﾞｮﾝ 4.0.0"));
    QCOMPARE(again.label("lblDisclaimer")->text(), QStringLiteral("notes"));
    QTest::mouseClick(again.icon(), Qt::LeftButton);
    QCOMPARE(serial.count(), 1);
    QVERIFY(!again.isVisible());
}

QTEST_MAIN(ToolsWindowsTest)
#include "tools_windows_test.moc"
