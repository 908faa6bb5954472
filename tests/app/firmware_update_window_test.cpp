// The firmware update from the main window's menu, end to end: the real windows and serial
// ports, the board emulator on a pseudo-terminal, a firmware built by gpasm at test time. The
// board's dumped firmware image is compared with the file by srec_cmp; the main link reads the
// chip before and after, and its log line survives the update.
#include "emusupport/emulator_process.h"
#include "support/app_bench.h"
#include "tools/widgets/dialog_update.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>

using namespace tavrin;

namespace {

// A firmware for the board's controller: code at the bottom, a word in the boot loader's range,
// code just above it, the last word and the configuration word.
const char* const kFirmwareSource = R"(        processor 16f877a
        org 0
        goto main
        org 4
        retfie
main    movlw 0x12
        movwf 0x20
loop    incf 0x20, f
        goto loop
        org 0x1F00
        dw 0x0123
        org 0x1FE0
        movlw 0x34
        return
        org 0x1FFF
        dw 0x0456
        __config 0x3F72
        end
)";

int run(const QString& program, const QStringList& arguments, QString* output = nullptr) {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, arguments);
    if (!p.waitForFinished(60000)) return -1;
    if (output) *output = QString::fromLocal8Bit(p.readAll());
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

struct Box {
    QString title;
    QString text;
};

// The program with its windows on the emulated board, the PIC16F877A selected.
struct Bench {
    explicit Bench(std::vector<std::string> faults = {}) {
        link = test::EmulatorProcess::uniquePath("tavrin-board");
        firmwareDump = QString::fromStdString(test::EmulatorProcess::uniquePath("tavrin-fw")) +
                       QStringLiteral(".hex");
        std::vector<std::string> args{"--part",          "PIC16F877A",
                                      "--baud",          "0",
                                      "--link",          link,
                                      "--updated-id",    "QZ-WRT400  V6.60",
                                      "--firmware-dump", firmwareDump.toStdString()};
        for (const auto& f : faults)
            args.insert(args.end(), {"--fault", f});
        emu = std::make_unique<test::EmulatorProcess>(args);
        std::string error;
        started = emu->start(&error);
        if (!started) qWarning("emulator: %s", error.c_str());

        const QString hex = dir.filePath(QStringLiteral("blink877a.hex"));
        QFile::copy(QStringLiteral(TAVRIN_SOURCE_DIR "/tests/mainwindow/data/blink877a.hex"), hex);
        app = std::make_unique<Application>(
            test::appOptionsIn(dir, port(), {hex, QStringLiteral("/PIC16F877A")}));
        test::answerBoxesOk(app->window(), [this](const QString& title, const QString& text) {
            boxes.push_back({title, text});
        });
        ready = started && app->start() == StartupOutcome::Ready;
    }
    ~Bench() {
        app.reset();
        if (emu->running()) emu->stop();
        QFile::remove(firmwareDump);
    }

    QString port() const { return QString::fromStdString(emu->portPath()); }
    QString status() const {
        return app->window().findChild<QLabel*>(QStringLiteral("LabelCmt"))->text();
    }
    QString firmwareLabel() const {
        return app->window().findChild<QLabel*>(QStringLiteral("Label_FirmwareVersion"))->text();
    }
    QString log() const {
        QFile f(app->paths().inData(QStringLiteral("LOG_NEW0.txt")));
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }
    void read() {
        QTest::mouseClick(app->window().findChild<QPushButton*>(QStringLiteral("Command_read")),
                          Qt::LeftButton);
    }
    // Opens the window from the menu and runs `inWindow` in it once its version read is done;
    // returns when the window has closed.
    void openUpdateWindow(std::function<void(Dialog_Update&)> inWindow) {
        std::function<void()> drive;
        drive = [&] {
            auto* w = qobject_cast<Dialog_Update*>(QApplication::activeModalWidget());
            auto* version =
                w ? w->findChild<QLineEdit*>(QStringLiteral("Text_FirmwareVersion")) : nullptr;
            if (!version || (version->text().isEmpty() && boxes.size() == boxesBefore)) {
                QTimer::singleShot(20, drive);
                return;
            }
            inWindow(*w);
        };
        boxesBefore = boxes.size();
        QTimer::singleShot(0, drive);
        app->window().findChild<QAction*>(QStringLiteral("mnuFirmwareUpdate"))->trigger();
    }

    QTemporaryDir dir;
    std::string link;
    QString firmwareDump;
    std::unique_ptr<test::EmulatorProcess> emu;
    std::unique_ptr<Application> app;
    bool started = false;
    bool ready = false;
    std::vector<Box> boxes;
    std::size_t boxesBefore = 0;
};

QString buildFirmware(const QTemporaryDir& dir) {
    const QString source = dir.filePath(QStringLiteral("fw.asm"));
    const QString hex = dir.filePath(QStringLiteral("fw.hex"));
    QFile f(source);
    if (!f.open(QIODevice::WriteOnly)) return {};
    f.write(kFirmwareSource);
    f.close();
    QString out;
    if (run(QStringLiteral("gpasm"),
            {QStringLiteral("-p"), QStringLiteral("p16f877a"), QStringLiteral("-o"), hex, source},
            &out) != 0) {
        qWarning("gpasm: %s", qPrintable(out));
        return {};
    }
    return hex;
}

QByteArray contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class FirmwareUpdateWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void updatesTheBoardFromTheMenu();
    void aFailedUpdateKeepsTheWindowWithItsRedText();
    void theBoardLostMidTransferEndsTheUpdateAtOnce();
};

void FirmwareUpdateWindowTest::updatesTheBoardFromTheMenu() {
    Bench bench;
    QVERIFY(bench.ready);
    const QString firmware = buildFirmware(bench.dir);
    QVERIFY(!firmware.isEmpty());
    const QByteArray firmwareText = contents(firmware);

    // A result logged before the update.
    bench.read();
    QVERIFY2(bench.status().startsWith(QStringLiteral("読み出し完了。")),
             qPrintable(bench.status()));
    const QString logBefore = bench.log();
    QVERIFY(!logBefore.isEmpty());

    QString identification, statusAfterUpdate, guidance;
    bench.openUpdateWindow([&](Dialog_Update& w) {
        identification = w.findChild<QLineEdit*>(QStringLiteral("Text_FirmwareVersion"))->text();
        QVERIFY(w.isModal());
        QCOMPARE(w.parentWidget(), &bench.app->window());
        QCOMPARE(w.portText(), bench.port());
        w.setFileChooser([&] { return firmware; });
        QTest::mouseClick(w.findChild<QPushButton*>(QStringLiteral("CmdOpen")), Qt::LeftButton);
        QTest::mouseClick(w.findChild<QPushButton*>(QStringLiteral("CmdUpdate")), Qt::LeftButton);
        statusAfterUpdate = w.findChild<QLabel*>(QStringLiteral("StatusPanel1"))->text();
    });
    QCOMPARE(identification, QStringLiteral("QZ-WRT400  V6.50"));
    QVERIFY2(statusAfterUpdate.startsWith(QStringLiteral("アップデート完了。  ")),
             qPrintable(statusAfterUpdate));
    QVERIFY(!QApplication::activeModalWidget());
    QCOMPARE(bench.boxes.size(), std::size_t(1));
    QCOMPARE(bench.boxes[0].text,
             QStringLiteral(
                 "　　　 ファームウエアアップデートが完了しました。    　　　　　　　\r\n　"));

    // The main link found the board again, with its new firmware, and works.
    QCOMPARE(bench.firmwareLabel(), bench.port() + QStringLiteral(" : QZ-WRT400  V6.60"));
    QVERIFY(bench.app->session().link.ProgrammerDetected);
    QVERIFY(bench.log().startsWith(logBefore));
    bench.read();
    QVERIFY2(bench.status().startsWith(QStringLiteral("読み出し完了。")),
             qPrintable(bench.status()));
    QVERIFY(bench.log().startsWith(logBefore));
    QVERIFY(bench.log().size() > logBefore.size());
    QCOMPARE(contents(firmware), firmwareText);

    // What the board received is the file below its boot loader and from 0x1FE0 to 0x1FFE, with
    // every gap below the boot loader erased (0x3FFF).
    QCOMPARE(bench.emu->stop(), 0);
    const QString expected = bench.dir.filePath(QStringLiteral("expected.hex"));
    QCOMPARE(run(QStringLiteral("srec_cat"), {firmware,
                                              QStringLiteral("-intel"),
                                              QStringLiteral("-crop"),
                                              QStringLiteral("0"),
                                              QStringLiteral("0x3E00"),
                                              QStringLiteral("0x3FC0"),
                                              QStringLiteral("0x3FFE"),
                                              QStringLiteral("-generate"),
                                              QStringLiteral("("),
                                              QStringLiteral("0"),
                                              QStringLiteral("0x3E00"),
                                              QStringLiteral("-minus"),
                                              QStringLiteral("-within"),
                                              firmware,
                                              QStringLiteral("-intel"),
                                              QStringLiteral(")"),
                                              QStringLiteral("-repeat-data"),
                                              QStringLiteral("0xFF"),
                                              QStringLiteral("0x3F"),
                                              QStringLiteral("-o"),
                                              expected,
                                              QStringLiteral("-intel")}),
             0);
    QString differences;
    QCOMPARE(run(QStringLiteral("srec_cmp"),
                 {expected, QStringLiteral("-intel"), bench.firmwareDump, QStringLiteral("-intel")},
                 &differences),
             0);
}

void FirmwareUpdateWindowTest::aFailedUpdateKeepsTheWindowWithItsRedText() {
    Bench bench({"boot-bad-ack=2"});
    QVERIFY(bench.ready);
    QTemporaryDir dir;
    const QString firmware = dir.filePath(QStringLiteral("small.hex"));
    QFile f(firmware);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(":020000040000FA\r\n:0800000005280000FF3F080085\r\n:00000001FF\r\n");
    f.close();

    QString status, guidance;
    bool stayedOpen = false, updateEnabled = false;
    bench.openUpdateWindow([&](Dialog_Update& w) {
        w.setFileChooser([&] { return firmware; });
        QTest::mouseClick(w.findChild<QPushButton*>(QStringLiteral("CmdOpen")), Qt::LeftButton);
        QTest::mouseClick(w.findChild<QPushButton*>(QStringLiteral("CmdUpdate")), Qt::LeftButton);
        stayedOpen = w.isVisible();
        updateEnabled = w.findChild<QPushButton*>(QStringLiteral("CmdUpdate"))->isEnabled();
        status = w.findChild<QLabel*>(QStringLiteral("StatusPanel1"))->text();
        auto* label = w.findChild<QLabel*>(QStringLiteral("Label3"));
        guidance = label->text();
        QCOMPARE(label->palette().color(QPalette::Window), QColor(Qt::red));
        QTest::mouseClick(w.findChild<QPushButton*>(QStringLiteral("OKButton")), Qt::LeftButton);
    });
    QVERIFY(stayedOpen);
    QVERIFY(updateEnabled);
    QCOMPARE(status, QStringLiteral("***　アップデート失敗　***"));
    QVERIFY2(guidance.contains(QStringLiteral("ブートローダーのまま")), qPrintable(guidance));
    QVERIFY(guidance.contains(QStringLiteral("error data = 0x")));
    QVERIFY(!QApplication::activeModalWidget());
    // The board waits in its boot loader, so the main link does not find it.
    QVERIFY(!bench.app->session().link.ProgrammerDetected);
    QVERIFY(bench.firmwareLabel().endsWith(QStringLiteral(" : ライター未接続")));
}

// The board goes away while its words go out, each acknowledged at once: the window ran its events
// meanwhile (a timer watching the progress bar fired while the transfer ran), the update ends there
// as failed instead of sending the rest of the image into a port that is gone, and once the board
// is back the main window works with it.
void FirmwareUpdateWindowTest::theBoardLostMidTransferEndsTheUpdateAtOnce() {
    Bench bench;
    QVERIFY(bench.ready);
    const QString firmware = buildFirmware(bench.dir);
    QVERIFY(!firmware.isEmpty());
    bool lostWhileRunning = false, stayedOpen = false, updateEnabled = false;
    QString status, guidance;
    bench.openUpdateWindow([&](Dialog_Update& w) {
        auto* update = w.findChild<QPushButton*>(QStringLiteral("CmdUpdate"));
        auto* statusPanel = w.findChild<QLabel*>(QStringLiteral("StatusPanel1"));
        w.setFileChooser([&] { return firmware; });
        QTest::mouseClick(w.findChild<QPushButton*>(QStringLiteral("CmdOpen")), Qt::LeftButton);
        // Pulled once the progress bar has moved, some hundred words into the image.
        auto* progress = w.findChild<QProgressBar*>(QStringLiteral("ProgressBar1"));
        QTimer pull;
        pull.setInterval(0);
        QObject::connect(&pull, &QTimer::timeout, [&] {
            if (progress->value() < 200) return;
            pull.stop();
            lostWhileRunning = !update->isEnabled() &&
                               statusPanel->text().startsWith(QStringLiteral("アップデート中"));
            bench.emu->stop();
        });
        pull.start();
        QTest::mouseClick(update, Qt::LeftButton);
        stayedOpen = w.isVisible();
        updateEnabled = update->isEnabled();
        status = statusPanel->text();
        guidance = w.findChild<QLabel*>(QStringLiteral("Label3"))->text();
        QTest::mouseClick(w.findChild<QPushButton*>(QStringLiteral("OKButton")), Qt::LeftButton);
    });
    QVERIFY(lostWhileRunning);
    QVERIFY(stayedOpen);
    QVERIFY(updateEnabled);
    QCOMPARE(status, QStringLiteral("***　アップデート失敗　***"));
    QVERIFY2(guidance.contains(QStringLiteral("ブートローダーのまま")), qPrintable(guidance));
    // Closing the window looked for the board on a port that was gone.
    QVERIFY(!bench.boxes.empty());
    QCOMPARE(bench.boxes.back().text.left(17),
             QStringLiteral("通信ポートが使用できませんでした。"));

    bench.emu = std::make_unique<test::EmulatorProcess>(
        std::vector<std::string>{"--part", "PIC16F877A", "--baud", "0", "--link", bench.link});
    QVERIFY(bench.emu->start());
    bench.read();
    QVERIFY2(bench.status().startsWith(QStringLiteral("読み出し完了。")),
             qPrintable(bench.status()));
}

QTEST_MAIN(FirmwareUpdateWindowTest)
#include "firmware_update_window_test.moc"
