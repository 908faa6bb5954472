// The real main window driving the board emulator on a pseudo-terminal through QSerialPort, for
// each of the four names of the PIC16F877 family: Program, Verify, Read and Blank pressed as a
// person presses them, and the chip the emulator dumps compared with the HEX by srec_cat. Then
// the chip of another kind, and the module of the other kind.
#include "operations/hex_oracle.h"

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
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace tavrin;
using namespace tavrin::test;

namespace {

QString dataPath(const char* name) {
    return QStringLiteral(TAVRIN_SOURCE_DIR "/tests/devices/pic16f87x/data/") +
           QString::fromLatin1(name);
}

struct Box {
    QString title;
    QString text;
};

// The emulator with a chip in place and the program's window on it; message boxes answered from
// a queue (OK when it is empty) and recorded.
class Bench {
  public:
    Bench(const char* part, const char* hex) : hex_(dataPath(hex)) {
        dump_ = EmulatorProcess::uniquePath("tavrin-dump") + ".hex";
        emu = std::make_unique<EmulatorProcess>(
            std::vector<std::string>{"--part", part, "--baud", "0", "--dump", dump_});
        std::string error;
        started = emu->start(&error);
        if (!started) qWarning("emulator: %s", error.c_str());
        settings = std::make_unique<QtSettingsStore>(dir.filePath(QStringLiteral("settings.ini")));
        paths = AppPaths{QStringLiteral(TAVRIN_SOURCE_DIR "/data/device6.ini"), dir.path()};
        session.link.ComPortName = QString::fromStdString(emu->portPath());
        window = std::make_unique<frmMain>(session, *settings, realCoreServices(paths));
        link = std::make_unique<BoardLink>(session, *window, port, clock);
        window->attachOperations(*link, clock, dir.path());
        window->setAppPaths(paths);
        window->setFileDialogAnswer([this](const FileDialogRequest&, bool) { return hex_; });
        window->setMessageBoxAnswer(
            [this](MessageIcon, MessageButtons, const QString& title, const QString& text) {
                boxes.push_back({title, text});
                if (answers.isEmpty()) return MessageAnswer::Ok;
                return answers.takeFirst();
            });
        window->show();
        LoadDeviceList(session, *window, paths);
    }
    ~Bench() {
        window.reset();
        if (emu->running()) emu->stop();
        QFile::remove(QString::fromStdString(dump_));
    }

    template <class T> T* find(const char* name) const {
        return window->findChild<T*>(QString::fromLatin1(name));
    }
    void select(const char* device) {
        window->selectDeviceByIndex(
            int(session.device.DeviceNames.indexOf(QString::fromLatin1(device))));
    }
    void click(const char* button) { QTest::mouseClick(find<QPushButton>(button), Qt::LeftButton); }
    // The status line without the blank that separates it from an empty detail.
    QString status() const {
        const QString text = find<QLabel>("LabelCmt")->text();
        return text.endsWith(QLatin1Char(' ')) ? text.chopped(1) : text;
    }
    QString log() const {
        QFile f(QDir(dir.path()).filePath(QStringLiteral("LOG_NEW0.txt")));
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }
    bool controlsBack() const {
        return find<QPushButton>("Command_pogram")->isEnabled() &&
               find<QComboBox>("Combo_device")->isEnabled() && !port.isOpen();
    }
    // Stops the emulator; the words [first, first + count) of its dump and of the HEX.
    void stop() { emu->stop(); }
    std::vector<std::uint16_t> chipWords(std::uint32_t first, std::uint32_t count) const {
        return hexWordsBySrecCat(QString::fromStdString(dump_), first, count);
    }
    std::vector<std::uint16_t> hexWords(std::uint32_t first, std::uint32_t count) const {
        auto words = hexWordsBySrecCat(hex_, first, count);
        for (auto& w : words)
            w &= 0x3FFF;
        return words;
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
    QList<MessageAnswer> answers;

  private:
    QString hex_;
    std::string dump_;
};

} // namespace

class FamilyWindow : public QObject {
    Q_OBJECT
  private slots:
    void everyNameEndToEnd_data();
    void everyNameEndToEnd();
    void anotherKindAsksBeforeGoingOn();
    void anotherModuleStops();
};

void FamilyWindow::everyNameEndToEnd_data() {
    QTest::addColumn<QString>("device");
    QTest::addColumn<QString>("hex");
    QTest::newRow("PIC16F877") << "PIC16F877"
                               << "blink16f877.hex";
    QTest::newRow("PIC16F877A") << "PIC16F877A"
                                << "blink16f877a.hex";
    QTest::newRow("QZ-WRT400") << "QZ-WRT400"
                               << "blink16f877.hex";
    QTest::newRow("QZ-WRT400A") << "QZ-WRT400A"
                                << "blink16f877a.hex";
}

void FamilyWindow::everyNameEndToEnd() {
    QFETCH(QString, device);
    QFETCH(QString, hex);
    const QByteArray name = device.toLatin1();
    Bench bench(name.constData(), hex.toLatin1().constData());
    QVERIFY(bench.started);
    bench.select(name.constData());
    QCOMPARE(bench.session.device.SelectedDevice, device);
    bench.click("Cmd_open");

    bench.click("Command_pogram");
    QVERIFY2(bench.status().startsWith(QStringLiteral("プログラミング成功。")),
             qPrintable(bench.status()));
    QVERIFY2(bench.status().endsWith(QStringLiteral("Pass = 1    Fail = 0")),
             qPrintable(bench.status()));
    QVERIFY(bench.boxes.empty());
    QVERIFY(bench.log().startsWith(bench.session.run.LastResultText + QStringLiteral("  ") +
                                   device + QStringLiteral("  ID:")));
    QVERIFY(bench.controlsBack());

    bench.click("Command_Vrify");
    QCOMPARE(bench.status(), QStringLiteral("ベリファイは正常終了しました。"));
    bench.click("Command_read");
    QCOMPARE(bench.status(), QStringLiteral("読み出し完了。"));
    QVERIFY(bench.log().contains(QStringLiteral("\tリード 操作終了\t")));
    bench.click("Command_blank");
    QVERIFY(bench.status().startsWith(QStringLiteral("デバイスは消去されてません。。")));
    QCOMPARE(bench.boxes.size(), size_t(1));
    QCOMPARE(bench.boxes[0].title, QStringLiteral("ブランクチェック"));
    QVERIFY(bench.controlsBack());

    bench.stop();
    QCOMPARE(bench.chipWords(0, 8192), bench.hexWords(0, 8192));
    // The ID field keeps the low four bits of each ID word (the rest read as erased).
    auto ids = bench.hexWords(0x2000, 4);
    for (auto& w : ids)
        w = std::uint16_t(0x3FF0 | (w & 0x0F));
    QCOMPARE(bench.chipWords(0x2000, 4), ids);
    QCOMPARE(bench.chipWords(0x2007, 1), bench.hexWords(0x2007, 1));
    // EEPROM: one data byte per location.
    auto eeprom = bench.hexWords(0x2100, 256), chipEeprom = bench.chipWords(0x2100, 256);
    for (auto* words : {&eeprom, &chipEeprom})
        for (auto& w : *words)
            w &= 0xFF;
    QCOMPARE(chipEeprom, eeprom);
}

void FamilyWindow::anotherKindAsksBeforeGoingOn() {
    Bench bench("PIC16F877A", "blink16f877.hex");
    QVERIFY(bench.started);
    bench.select("PIC16F877");
    bench.click("Cmd_open");
    bench.answers = {MessageAnswer::Cancel};
    bench.click("Command_pogram");
    QCOMPARE(bench.boxes.size(), size_t(1));
    QCOMPARE(bench.boxes[0].title, QStringLiteral("書込みマイコンの種類の確認"));
    QCOMPARE(bench.session.run.AttemptCount, 0);
    QVERIFY(bench.controlsBack());

    bench.click("Command_read"); // OK: read the chip that is there
    QCOMPARE(bench.boxes.size(), size_t(2));
    QCOMPARE(bench.status(), QStringLiteral("読み出し完了。　デバイスは消去されています。"));
}

void FamilyWindow::anotherModuleStops() {
    Bench bench("QZ-WRT400", "blink16f877a.hex");
    QVERIFY(bench.started);
    bench.select("QZ-WRT400A");
    bench.click("Cmd_open");
    bench.click("Command_pogram");
    QCOMPARE(bench.status(), QStringLiteral("モジュールが違います。"));
    QCOMPARE(bench.boxes.size(), size_t(1));
    QCOMPARE(bench.boxes[0].title, QStringLiteral("モジュールチェック"));
    QVERIFY(bench.boxes[0].text.startsWith(QStringLiteral("『ＱＺ－ＷＲＴ４００』モジュール")));
    QCOMPARE(bench.session.run.AttemptCount, 0);
    QVERIFY(bench.controlsBack());
}

QTEST_MAIN(FamilyWindow)
#include "family_window_qtest.moc"
