// The program's start-up with its real windows, settings file and serial port, the board on a
// pseudo-terminal: as `tavrin-writer <file.hex> /PIC16F877A` would start it.
#include "core/log_files.h"
#include "core/work_files.h"
#include "emusupport/linked_emulator.h"
#include "mainwindow/widgets/frm_main.h"
#include "support/app_bench.h"
#include "tools/widgets/frm_about.h"
#include "tools/widgets/frm_device_select.h"
#include "tools/widgets/frm_option.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace tavrin;
using test::LinkedEmulator;

namespace {
struct Recorded {
    QString title;
    QString text;
};
} // namespace

class ApplicationTest : public QObject {
    Q_OBJECT
  private slots:
    void commandLineFileOpensWithItsPart();
    void withoutAListedPartThePersonChoosesIt();
    void commandLinePathsAsTheSystemHandsThemOver();
    void firstStartAsksForThePortAndFindsTheBoard();
    void missingDeviceFileEndsTheProgram();
    void shutdownRemovesWorkFilesAndKeepsLogs();
    void aFailedLogRotationIsTheLastWordOfStartup();

  private:
    QString copyHex(const QTemporaryDir& dir) const;
    static void recordBoxes(Application& app, QList<Recorded>& into);
};

// The test program in a folder whose name has a blank.
QString ApplicationTest::copyHex(const QTemporaryDir& dir) const {
    const QString folder = dir.filePath(QStringLiteral("My Code"));
    QDir().mkpath(folder);
    const QString path = folder + QStringLiteral("/blink877a.hex");
    QFile::copy(QStringLiteral(TAVRIN_SOURCE_DIR "/tests/mainwindow/data/blink877a.hex"), path);
    return path;
}

void ApplicationTest::recordBoxes(Application& app, QList<Recorded>& into) {
    test::answerBoxesOk(app.window(), [&into](const QString& title, const QString& text) {
        into.append({title, text});
    });
}

void ApplicationTest::commandLineFileOpensWithItsPart() {
    QTemporaryDir dir;
    LinkedEmulator board;
    QVERIFY(board.started);
    const QString hex = copyHex(dir);
    // The shell hands over the path split at its blank, then the part.
    const QStringList arguments = hex.split(QLatin1Char(' ')) << QStringLiteral("/PIC16F877A");
    QList<Recorded> boxes;
    Application app(test::appOptionsIn(dir, board.path(), arguments));
    recordBoxes(app, boxes);

    QCOMPARE(app.start(), StartupOutcome::Ready);
    frmMain& window = app.window();
    QVERIFY(window.isVisible());
    QVERIFY(window.isEnabled());
    QCOMPARE(window.windowTitle(), QStringLiteral("Tavrin Writer V4.0.0  ") + hex);
    QCOMPARE(window.findChild<QComboBox*>(QStringLiteral("Combo_device"))->currentText(),
             QStringLiteral("PIC16F877A"));
    QCOMPARE(app.session().device.SelectedDevice, QStringLiteral("PIC16F877A"));
    QCOMPARE(app.session().app.HexFilePath, hex);
    // The file's first record: word 0 = 0x2805 (goto 5).
    QCOMPARE(int(app.session().buffer.ProgramImage[0]), 0x28);
    QCOMPARE(int(app.session().buffer.ProgramImage[1]), 0x05);
    QVERIFY(app.session().link.ProgrammerDetected);
    QCOMPARE(window.findChild<QLabel*>(QStringLiteral("Label_FirmwareVersion"))->text(),
             board.path() + QStringLiteral(" : QZ-WRT400  V6.50"));
    QVERIFY(boxes.isEmpty());
    QCOMPARE(QSettings(dir.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat)
                 .value(QStringLiteral("Settings6/OPEN_DIR0"))
                 .toString(),
             dir.filePath(QStringLiteral("My Code")));
    for (const QString& name : logFileNames())
        QVERIFY(QFileInfo::exists(app.paths().inData(name)));
    QCOMPARE(app.aboutBox().texts().version, QStringLiteral("V4.0.0"));
    app.shutdown();
}

void ApplicationTest::commandLinePathsAsTheSystemHandsThemOver() {
    QTemporaryDir dir;
    // ".hex" in a folder name, a quote and a TAB in the file's own.
    const QString folder = dir.filePath(QStringLiteral("v1.hex builds"));
    QDir().mkpath(folder);
    const QString hex = folder + QStringLiteral("/Tom's \"blink\"\t877a.hex");
    QVERIFY(
        QFile::copy(QStringLiteral(TAVRIN_SOURCE_DIR "/tests/mainwindow/data/blink877a.hex"), hex));
    const QString missing = folder + QStringLiteral("/gone.hex");
    struct Case {
        QStringList arguments;
        QString opened;
    };
    const Case cases[] = {
        {{hex, QStringLiteral("/PIC16F877A")}, hex},
        {{missing, QStringLiteral("/PIC16F877A")}, {}},
    };
    for (const Case& c : cases) {
        LinkedEmulator board;
        QVERIFY(board.started);
        QList<Recorded> boxes;
        Application app(test::appOptionsIn(dir, board.path(), c.arguments));
        recordBoxes(app, boxes);
        QCOMPARE(app.start(), StartupOutcome::Ready);
        QCOMPARE(app.session().app.HexFilePath, c.opened);
        QVERIFY(app.session().link.ProgrammerDetected);
        // What the person sees once the window opens, after the board was found.
        const QString status = app.window().findChild<QLabel*>(QStringLiteral("LabelCmt"))->text();
        if (c.opened.isEmpty()) {
            QCOMPARE(status, QStringLiteral("ファイルをオープンできませんでした。 "));
        } else {
            QCOMPARE(app.session().device.SelectedDevice, QStringLiteral("PIC16F877A"));
            QCOMPARE(int(app.session().buffer.ProgramImage[0]), 0x28);
            QCOMPARE(int(app.session().buffer.ProgramImage[1]), 0x05);
        }
        QVERIFY(boxes.isEmpty());
        app.shutdown();
    }
}

void ApplicationTest::withoutAListedPartThePersonChoosesIt() {
    QTemporaryDir dir;
    LinkedEmulator board;
    QVERIFY(board.started);
    const QString hex = copyHex(dir);
    QList<Recorded> boxes;
    Application app(test::appOptionsIn(dir, board.path(), {hex}));
    recordBoxes(app, boxes);
    QString preselected = QStringLiteral("<not asked>");
    // The device choice comes up modal during start-up; answer it as a person would.
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        auto* chooser = qobject_cast<frmDeviceSelect*>(QApplication::activeModalWidget());
        if (!chooser) return;
        answer.stop();
        preselected = chooser->deviceList()->currentText();
        chooser->deviceList()->setCurrentText(QStringLiteral("PIC16F877"));
        QTest::mouseClick(chooser->okButton(), Qt::LeftButton);
    });
    answer.start(10);

    QCOMPARE(app.start(), StartupOutcome::Ready);
    // Nothing saved: the list stood on its first part.
    QCOMPARE(preselected, app.session().device.DeviceNames.first());
    QCOMPARE(app.session().device.SelectedDevice, QStringLiteral("PIC16F877"));
    QCOMPARE(app.session().app.HexFilePath, hex);
    QVERIFY(app.window().isEnabled());
    app.shutdown();
}

void ApplicationTest::firstStartAsksForThePortAndFindsTheBoard() {
    QTemporaryDir dir;
    LinkedEmulator board;
    QVERIFY(board.started);
    QList<Recorded> boxes;
    Application app(test::appOptionsIn(dir));
    recordBoxes(app, boxes);
    // The pseudo-terminal is not among the listed ports: it is typed in.
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        auto* chooser = qobject_cast<frmOption*>(QApplication::activeModalWidget());
        if (!chooser) return;
        answer.stop();
        chooser->portList()->setCurrentText(board.path());
        QTest::mouseClick(chooser->okButton(), Qt::LeftButton);
    });
    answer.start(10);

    QCOMPARE(app.start(), StartupOutcome::Ready);
    QVERIFY(!answer.isActive());
    QCOMPARE(QSettings(dir.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat)
                 .value(QStringLiteral("Settings6/ComNo"))
                 .toString(),
             board.path());
    QVERIFY(app.session().link.ProgrammerDetected);
    QCOMPARE(app.window().findChild<QLabel*>(QStringLiteral("Label_FirmwareVersion"))->text(),
             board.path() + QStringLiteral(" : QZ-WRT400  V6.50"));
    QVERIFY(boxes.isEmpty());

    // The about box from the Help menu: the start-up form and the ID words of the new buffer.
    app.window().findChild<QAction*>(QStringLiteral("version"))->trigger();
    auto* about = app.window().findChild<frmAbout*>();
    QVERIFY(about && about->isVisible());
    QCOMPARE(about->label("lblVersion")->text(), QStringLiteral("V4.0.0"));
    QVERIFY(about->label("Label_ID_Word")->text().startsWith(QStringLiteral("NEW :")));
    about->closeButton()->click();
    app.shutdown();
}

void ApplicationTest::missingDeviceFileEndsTheProgram() {
    QTemporaryDir dir;
    ApplicationOptions o = test::appOptionsIn(dir);
    o.paths->deviceFile = dir.filePath(QStringLiteral("nowhere/device6.ini"));
    QList<Recorded> boxes;
    Application app(o);
    recordBoxes(app, boxes);
    QCOMPARE(app.start(), StartupOutcome::DeviceFileMissing);
    QCOMPARE(boxes.size(), 1);
    QVERIFY(boxes[0].text.contains(QStringLiteral("device6.ini")));
    QVERIFY(!QFileInfo::exists(app.paths().inData(currentLogName())));
}

void ApplicationTest::shutdownRemovesWorkFilesAndKeepsLogs() {
    QTemporaryDir dir;
    LinkedEmulator board;
    QVERIFY(board.started);
    QList<Recorded> boxes;
    Application app(test::appOptionsIn(dir, board.path()));
    recordBoxes(app, boxes);
    QCOMPARE(app.start(), StartupOutcome::Ready);
    for (const QString& name : filesRemovedAtExit()) {
        QFile f(app.paths().inData(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    app.window().close();
    app.shutdown();
    for (const QString& name : filesRemovedAtExit())
        QVERIFY2(!QFileInfo::exists(app.paths().inData(name)), qPrintable(name));
    for (const QString& name : logFileNames())
        QVERIFY(QFileInfo::exists(app.paths().inData(name)));
    const QSettings saved(dir.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat);
    QVERIFY(saved.contains(QStringLiteral("Settings6/MainHeight")));
}

// The log folder cannot take a new generation (a folder stands where LOG_OLD1.txt belongs): the
// window opens with the part and the file of the command line, and the red warning is what the
// status line shows once the person can use it.
void ApplicationTest::aFailedLogRotationIsTheLastWordOfStartup() {
    QTemporaryDir dir;
    LinkedEmulator board;
    QVERIFY(board.started);
    const QString hex = copyHex(dir);
    ApplicationOptions o =
        test::appOptionsIn(dir, board.path(), {hex, QStringLiteral("/PIC16F877A")});
    const QDir data(o.paths->dataDir);
    QFile current(data.filePath(currentLogName()));
    QVERIFY(current.open(QIODevice::WriteOnly));
    current.write("OKOKOK  PIC16F877A\r\n");
    current.close();
    QVERIFY(data.mkpath(oldLogName(1) + QStringLiteral("/blocker")));
    QList<Recorded> boxes;
    Application app(o);
    recordBoxes(app, boxes);

    QCOMPARE(app.start(), StartupOutcome::Ready);
    QCOMPARE(app.session().device.SelectedDevice, QStringLiteral("PIC16F877A"));
    QCOMPARE(app.session().app.HexFilePath, hex);
    QTest::qWait(50); // whatever start-up left queued runs before the person looks
    auto* status = app.window().findChild<QLabel*>(QStringLiteral("LabelCmt"));
    QVERIFY2(
        status->text().startsWith(QStringLiteral("<<注意>>ログファイルを更新できませんでした。")),
        qPrintable(status->text()));
    QVERIFY(boxes.isEmpty());
    QVERIFY(current.open(QIODevice::ReadOnly));
    QCOMPARE(current.readAll(), QByteArray("OKOKOK  PIC16F877A\r\n"));
    current.close();
    app.shutdown();
}

QTEST_MAIN(ApplicationTest)
#include "application_test.moc"
