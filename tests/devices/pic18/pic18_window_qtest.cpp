// The real main window driving the board emulator on a pseudo-terminal through QSerialPort, for
// the PIC18F452 and the PIC18F8720 (64K words): Blank, Program, Verify and Read pressed as a
// person presses them, the chip compared with the HEX file and the saved buffer by srec_cmp, a
// protected chip, the wrong part in the socket and a board that stops answering.
#include "pic18_bench.h"

#include "core/app_paths.h"
#include "core/clock.h"
#include "core/device_file.h"
#include "core/session.h"
#include "core/settings_store.h"
#include "emusupport/emulator_process.h"
#include "link/board_link.h"
#include "link/qt_serial_port.h"
#include "mainwindow/logic/real_core_services.h"
#include "mainwindow/widgets/frm_main.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace tavrin;
using namespace tavrin::test;

namespace {

struct Box {
    QString title;
    QString text;
};

class WindowBench {
  public:
    explicit WindowBench(std::vector<std::string> emulatorArgs) {
        link_ = EmulatorProcess::uniquePath("tavrin-board18");
        dump_ = EmulatorProcess::uniquePath("tavrin-dump18") + ".hex";
        emulatorArgs.insert(emulatorArgs.end(), {"--baud", "0", "--link", link_, "--dump", dump_});
        emu = std::make_unique<EmulatorProcess>(emulatorArgs);
        std::string error;
        started = emu->start(&error);
        if (!started) qWarning("emulator: %s", error.c_str());
        settings = std::make_unique<QtSettingsStore>(dir.filePath(QStringLiteral("settings.ini")));
        paths = AppPaths{QStringLiteral(TAVRIN_SOURCE_DIR "/data/device6.ini"), dir.path()};
        session.app.MainTitle = QStringLiteral("TW - ");
        session.link.ComPortName = QString::fromStdString(emu->portPath());
        window = std::make_unique<frmMain>(session, *settings, realCoreServices(paths));
        link = std::make_unique<BoardLink>(session, *window, port, clock);
        window->attachOperations(*link, clock, dir.path());
        window->setAppPaths(paths);
        window->setFileDialogAnswer(
            [this](const FileDialogRequest&, bool save) { return save ? savePath() : hexPath(); });
        window->setMessageBoxAnswer(
            [this](MessageIcon, MessageButtons, const QString& title, const QString& text) {
                boxes.push_back({title, text});
                return boxAnswer;
            });
        window->show();
        LoadDeviceList(session, *window, paths);
    }
    ~WindowBench() {
        window.reset();
        if (emu->running()) emu->stop();
        QFile::remove(QString::fromStdString(dump_));
    }

    QString hexPath() const { return dir.filePath(QStringLiteral("image.hex")); }
    QString savePath() const { return dir.filePath(QStringLiteral("saved.hex")); }
    QString dumpPath() const { return QString::fromStdString(dump_); }
    template <class T> T* find(const char* name) const {
        return window->findChild<T*>(QString::fromLatin1(name));
    }
    void select(const QString& device) {
        window->selectDeviceByIndex(int(session.device.DeviceNames.indexOf(device)));
    }
    void click(const char* button) { QTest::mouseClick(find<QPushButton>(button), Qt::LeftButton); }
    QString status() const { return find<QLabel>("LabelCmt")->text(); }
    QString log() const {
        QFile f(QDir(dir.path()).filePath(QStringLiteral("LOG_NEW0.txt")));
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }
    bool controlsBack() const {
        return find<QPushButton>("Command_pogram")->isEnabled() &&
               find<QComboBox>("Combo_device")->isEnabled() && !port.isOpen();
    }

    QTemporaryDir dir;
    std::unique_ptr<EmulatorProcess> emu;
    bool started = false;
    std::unique_ptr<QtSettingsStore> settings;
    AppPaths paths;
    Session session;
    QtSerialPort port;
    SteadyClock clock;
    std::unique_ptr<frmMain> window;
    std::unique_ptr<BoardLink> link;
    std::vector<Box> boxes;
    MessageAnswer boxAnswer = MessageAnswer::Ok;

  private:
    std::string link_;
    std::string dump_;
};

// srec_cmp's verdict on two Intel HEX files over the chip's memories (the device ID, which no
// file holds, left out of the second).
bool srecEqual(const QString& a, const QString& b, QString* why) {
    QProcess cmp;
    cmp.start(QStringLiteral("srec_cmp"),
              {a, QStringLiteral("-intel"), b, QStringLiteral("-intel"), QStringLiteral("-exclude"),
               QStringLiteral("0x3FFFFE"), QStringLiteral("0x400000")});
    if (!cmp.waitForFinished(30000)) return false;
    *why = QString::fromUtf8(cmp.readAllStandardError() + cmp.readAllStandardOutput());
    return cmp.exitStatus() == QProcess::NormalExit && cmp.exitCode() == 0;
}

} // namespace

class Pic18Window : public QObject {
    Q_OBJECT
  private slots:
    void programVerifyReadAndSave_data();
    void programVerifyReadAndSave();
    void aProtectedChip();
    void theWrongPart();
    void aBoardThatStopsAnswering_data();
    void aBoardThatStopsAnswering();
};

void Pic18Window::programVerifyReadAndSave_data() {
    QTest::addColumn<QString>("device");
    QTest::newRow("PIC18F452") << QStringLiteral("PIC18F452");
    QTest::newRow("PIC18F8720") << QStringLiteral("PIC18F8720");
}

void Pic18Window::programVerifyReadAndSave() {
    QFETCH(QString, device);
    WindowBench bench({"--part", device.toStdString()});
    QVERIFY(bench.started);
    writePic18Hex(randomPic18Image(device.toStdString(), 452), bench.hexPath());
    bench.select(device);

    bench.click("Command_blank");
    QCOMPARE(bench.status(), QStringLiteral("デバイスは消去されています。\r\n "));
    QVERIFY(bench.boxes.empty());

    bench.click("Cmd_open");
    bench.click("Command_pogram");
    QVERIFY2(bench.status().startsWith(QStringLiteral("プログラミング成功。")),
             qPrintable(bench.status()));
    QVERIFY2(bench.status().endsWith(QStringLiteral("Pass = 1    Fail = 0 ")),
             qPrintable(bench.status()));
    QVERIFY(bench.controlsBack());

    // Read into a cleared buffer, then Verify the same chip against what was read.
    bench.window->findChild<QAction*>(QStringLiteral("mnuPcBufferMemory_0"))->trigger();
    bench.click("Command_read");
    QVERIFY2(bench.status().startsWith(QStringLiteral("リード..........リード終了。　")),
             qPrintable(bench.status()));
    QVERIFY(bench.find<QPlainTextEdit>("RichTxtPgmMem")->toPlainText().startsWith("0000:"));
    bench.click("Command_Vrify");
    QCOMPARE(bench.status(), QStringLiteral("ベリファイは正常終了しました。 "));
    bench.click("Cmd_save");
    QVERIFY(QFile::exists(bench.savePath()));

    const QStringList log = bench.log().split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    QCOMPARE(log.size(), 4);
    QVERIFY(log[1].startsWith(QStringLiteral("プログラミング成功。")));
    QVERIFY(log[2].startsWith(QStringLiteral("\tリード 操作終了\t")));

    QCOMPARE(bench.emu->stop(), 0);
    QString why;
    QVERIFY2(srecEqual(bench.hexPath(), bench.dumpPath(), &why), qPrintable(why));
    QVERIFY2(srecEqual(bench.savePath(), bench.dumpPath(), &why), qPrintable(why));
}

void Pic18Window::aProtectedChip() {
    QTemporaryDir files;
    Pic18Image image = randomPic18Image("PIC18F452", 5);
    image.config[8] = 0x0A; // CP0 and CP2 on
    image.config[9] = 0x40; // CPD on
    const QString protectedHex = files.filePath(QStringLiteral("protected.hex"));
    writePic18Hex(image, protectedHex);

    WindowBench bench({"--part", "PIC18F452", "--load", protectedHex.toStdString()});
    QVERIFY(bench.started);
    bench.select(QStringLiteral("PIC18F452"));
    bench.click("Command_read");
    QCOMPARE(
        bench.status(),
        QStringLiteral("リード..........リード終了。　プログラムメモリ＆ＥＥＰＲＯＭデータメモリが"
                       "コードプロテクトされています。（不適切なデータがコンフィグワードにセッ"
                       "トされています。） "));
    QCOMPARE(bench.find<QLabel>("LabelCmt")->palette().color(QPalette::WindowText),
             QColor(Qt::red));

    bench.click("Command_Vrify");
    QCOMPARE(bench.boxes.size(), std::size_t(1));
    QCOMPARE(bench.boxes[0].title, QStringLiteral("ベリファイ"));
    QVERIFY(bench.boxes[0].text.startsWith(
        QStringLiteral("プログラム＆ＥＥＰＲＯＭデータ メモリがコードプロテクトされています。\r")));
    // Read's end line only: a skipped verify writes none.
    QCOMPARE(bench.log().count(QStringLiteral("\r\n")), 1);
    QVERIFY(bench.controlsBack());
}

void Pic18Window::theWrongPart() {
    WindowBench bench({"--part", "PIC18F452"});
    QVERIFY(bench.started);
    bench.select(QStringLiteral("PIC18F8720"));
    bench.boxAnswer = MessageAnswer::Cancel;
    bench.click("Command_read");
    QCOMPARE(bench.status(), QStringLiteral("指定しているマイコンとソケットにセットしているマイコン"
                                            "の種類が違います。 "));
    QCOMPARE(bench.boxes.size(), std::size_t(1));
    QCOMPARE(bench.boxes[0].title, QStringLiteral("書込みマイコンの種類の確認"));
    QCOMPARE(bench.log(), QString());
    QVERIFY(bench.controlsBack());
}

void Pic18Window::aBoardThatStopsAnswering_data() {
    QTest::addColumn<QString>("device");
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("status");
    QTest::newRow("device ID") << QStringLiteral("PIC18F452") << QStringLiteral("stall=1@Xrsc")
                               << QStringLiteral("Command_read")
                               << QStringLiteral(
                                      "モジュールチェック失敗。　　読み出しデータ不足。 ");
    QTest::newRow("8720 program read")
        << QStringLiteral("PIC18F8720") << QStringLiteral("stall=100@Xrsp")
        << QStringLiteral("Command_read") << QStringLiteral("プログラムメモリ リードエラー。 ");
    QTest::newRow("erase") << QStringLiteral("PIC18F452") << QStringLiteral("stall=0@Xbd")
                           << QStringLiteral("Command_pogram")
                           << QStringLiteral(
                                  "プログラミング..........チップイレース(コードプロテクト"
                                  "解除)　失敗。 ");
}

void Pic18Window::aBoardThatStopsAnswering() {
    QFETCH(QString, device);
    QFETCH(QString, fault);
    QFETCH(QString, button);
    QFETCH(QString, status);
    WindowBench bench({"--part", device.toStdString(), "--fault", fault.toStdString()});
    QVERIFY(bench.started);
    writePic18Hex(randomPic18Image(device.toStdString(), 1), bench.hexPath());
    bench.select(device);
    bench.click("Cmd_open");
    bench.click(button.toLatin1().constData());
    QCOMPARE(bench.status(), status);
    QVERIFY(bench.controlsBack());
}

QTEST_MAIN(Pic18Window)
#include "pic18_window_qtest.moc"
