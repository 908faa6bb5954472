// The real main window driving the board emulator on a pseudo-terminal through QSerialPort, wired
// as the program wires it, with the emulated board's port named only by TAVRIN_DEFAULT_PORT: a
// part picked, a HEX file opened, the operation buttons pressed, the overwrite question answered
// in frmHint and every message box recorded and answered. The window tests and bench-operations
// share it.
#pragma once

#include "hex_oracle.h"

#include "core/app_paths.h"
#include "core/clock.h"
#include "core/device_file.h"
#include "core/operation_guard.h"
#include "core/session.h"
#include "core/settings_store.h"
#include "emusupport/emulator_process.h"
#include "link/board_link.h"
#include "link/qt_serial_port.h"
#include "mainwindow/logic/real_core_services.h"
#include "mainwindow/widgets/frm_main.h"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <algorithm>
#include <functional>
#include <memory>

namespace tavrin::test {

struct Box {
    QString title;
    QString text;
};

// What a bench may change of the usual wiring.
struct BenchOptions {
    // What the File menu opens.
    QString hexFile = testDataPath(QStringLiteral("counter84a.hex"));
    EmulatorProcess::Strictness strictness = EmulatorProcess::Strictness::Strict;
    // The port and clock the link uses instead of the bench's own (a benchmark counts through
    // them); the bench's QtSerialPort stays closed then.
    SerialPort* port = nullptr;
    Clock* clock = nullptr;
    // The device file the program reads; empty: the one we ship.
    QString deviceFile = {};
};

// The emulator with a part in its socket and the program's window on it. The emulator runs
// unpaced unless the arguments give a --baud.
class Bench {
  public:
    explicit Bench(std::vector<std::string> emulatorArgs,
                   QString hexFile = testDataPath(QStringLiteral("counter84a.hex")))
        : Bench(std::move(emulatorArgs), BenchOptions{std::move(hexFile)}) {}
    Bench(std::vector<std::string> emulatorArgs, BenchOptions options)
        : hex(std::move(options.hexFile)), linkPort(options.port ? *options.port : port),
          linkClock(options.clock ? *options.clock : clock) {
        link_ = EmulatorProcess::uniquePath("tavrin-board");
        dump_ = EmulatorProcess::uniquePath("tavrin-dump") + ".hex";
        if (std::find(emulatorArgs.begin(), emulatorArgs.end(), "--baud") == emulatorArgs.end())
            emulatorArgs.insert(emulatorArgs.end(), {"--baud", "0"});
        emulatorArgs.insert(emulatorArgs.end(), {"--link", link_, "--dump", dump_});
        emu = std::make_unique<EmulatorProcess>(emulatorArgs, options.strictness);
        std::string error;
        started = emu->start(&error);
        if (!started) qWarning("emulator: %s", error.c_str());
        qputenv("TAVRIN_DEFAULT_PORT", QByteArray::fromStdString(emu->portPath()));

        settings = std::make_unique<QtSettingsStore>(dir.filePath(QStringLiteral("settings.ini")));
        paths = AppPaths{options.deviceFile.isEmpty()
                             ? QStringLiteral(TAVRIN_SOURCE_DIR "/data/device6.ini")
                             : options.deviceFile,
                         dir.path()};
        session.app.MainTitle = QStringLiteral("TW - ");
        // As the program does: no port saved, the run command's board stands in.
        session.link.ComPortName = qEnvironmentVariable("TAVRIN_DEFAULT_PORT");
        window = std::make_unique<frmMain>(session, *settings, realCoreServices(paths));
        link = std::make_unique<BoardLink>(session, *window, linkPort, linkClock);
        window->attachOperations(*link, linkClock, dir.path());
        window->setAppPaths(paths);
        window->setFileDialogAnswer([this](const FileDialogRequest&, bool save) {
            return save && !saveAs.isEmpty() ? saveAs : hex;
        });
        window->setMessageBoxAnswer(
            [this](MessageIcon, MessageButtons, const QString& title, const QString& text) {
                boxes.push_back({title, text});
                if (answers.isEmpty()) return boxAnswer;
                return answers.takeFirst();
            });
        window->setDocumentOpener([this](const QString& path) {
            documents << path;
            return false;
        });
        window->show();
        LoadDeviceList(session, *window, paths);
    }
    ~Bench() {
        window.reset();
        if (emu->running()) emu->stop();
        QFile::remove(QString::fromStdString(dump_));
        qunsetenv("TAVRIN_DEFAULT_PORT");
    }

    template <class T> T* find(const char* name) const {
        return window->findChild<T*>(QString::fromLatin1(name));
    }
    void select(const QString& device) {
        window->selectDeviceByIndex(int(session.device.DeviceNames.indexOf(device)));
    }
    void click(const char* button) { QTest::mouseClick(find<QPushButton>(button), Qt::LeftButton); }
    QString status() const { return find<QLabel>("LabelCmt")->text(); }
    // The buttons and the part list are usable again and the port is closed.
    bool controlsBack() const {
        return find<QPushButton>("Command_pogram")->isEnabled() &&
               find<QComboBox>("Combo_device")->isEnabled() && !linkPort.isOpen();
    }
    QString programView() const { return find<QPlainTextEdit>("RichTxtPgmMem")->toPlainText(); }
    QString log() const {
        QFile f(QDir(dir.path()).filePath(QStringLiteral("LOG_NEW0.txt")));
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }
    // Stops the emulator (when it runs); the chip's words [first, first + count) as it dumped
    // them.
    std::vector<std::uint16_t> chipWords(std::uint32_t first, std::uint32_t count) {
        if (emu->running()) emu->stop();
        return hexWordsBySrecCat(QString::fromStdString(dump_), first, count);
    }
    std::vector<std::uint16_t> chipProgram(std::uint32_t words) { return chipWords(0, words); }
    // Where the emulator writes the chip's memories when it stops.
    const std::string& dumpPath() const { return dump_; }
    // Answers the next frmHint with the named buttons, pressed in this order.
    void answerHint(QStringList buttons) {
        QTimer::singleShot(0, [this, buttons] { pressInHint(buttons); });
    }

    QString hex;
    // What a save dialog answers; empty: the same file as `hex`.
    QString saveAs;
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
    SerialPort& linkPort;
    Clock& linkClock;
    std::vector<Box> boxes;
    // Answers for the next message boxes, in order; boxAnswer once they are used up.
    QList<MessageAnswer> answers;
    MessageAnswer boxAnswer = MessageAnswer::Ok;
    QStringList documents;
    QStringList hintsSeen;

  private:
    void pressInHint(QStringList buttons) {
        auto* hint = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!hint || hint->objectName() != QLatin1String("frmHint")) {
            QTimer::singleShot(10, [this, buttons] { pressInHint(buttons); });
            return;
        }
        hintsSeen << hint->findChild<QLabel*>(QStringLiteral("Label1_0"))->text() +
                         QLatin1Char('|') +
                         hint->findChild<QLabel*>(QStringLiteral("Label1_1"))->text();
        for (const QString& name : buttons) {
            if (name == QLatin1String("close"))
                hint->close();
            else
                QTest::mouseClick(hint->findChild<QPushButton*>(name), Qt::LeftButton);
        }
    }

    std::string link_;
    std::string dump_;
};

} // namespace tavrin::test
