#include "startup_sequence.h"

#include "assembler_defaults.h"
#include "command_line.h"
#include "device_file.h"
#include "log_files.h"
#include "operator_ui.h"
#include "port_setting.h"
#include "session.h"
#include "settings_store.h"
#include "startup_window.h"
#include "status.h"
#include "utilities.h"
#include "work_files.h"

#include <QDir>
#include <QFileInfo>

namespace tavrin {

namespace {
const QString kNewline = QStringLiteral("\n");
const QString kOpenFailed = QStringLiteral("ファイルをオープンできませんでした。");

QStringList namesUpToFirstEmpty(const QStringList& names) {
    QStringList listed;
    for (const QString& name : names) {
        if (name.isEmpty()) break;
        listed << name;
    }
    return listed;
}
} // namespace

StartupSequence::StartupSequence(Session& session, OperatorUi& ui, SettingsStore& settings,
                                 StartupWindow& window, StartupServices& services)
    : s_(session), ui_(ui), settings_(settings), window_(window), services_(services) {}

QString StartupSequence::waitText() {
    return kNewline + kNewline + QStringLiteral("\u3000").repeated(10) +
           QStringLiteral("しばらくお待ちください.....");
}

StartupOutcome StartupSequence::run(const StartupInput& in) {
    window_.setStartupLock(true);
    programView_ = waitText();
    ui_.setControlText(Control::RichTxtPgmMem, programView_);
    ui_.pumpEvents();

    // A second instance never gets this far: the program takes its lock before any window.
    takeCommandLine(in.arguments);

    window_.fillAboutBox(aboutTextsAtStartup(in.version));

    if (refuseUnwritableFiles(in.paths)) return StartupOutcome::UnwritableFiles;

    ui_.pumpEvents();
    const AboutBoxTexts about = aboutTextsOnceStarted(in.version);
    window_.fillAboutBox(about);
    ui_.pumpEvents();

    s_.app.MainTitle =
        in.version.displayTitle + QLatin1Char(' ') + about.version + QStringLiteral("  ");
    window_.setWindowCaption(s_.app.MainTitle + s_.app.CommandLine);

    window_.restoreFolderHistory();
    ui_.pumpEvents();
    ui_.pumpEvents();
    window_.restoreMenuToggle(MenuToggle::BoardInformation);

    s_.device.DeviceFileError = 0;
    if (!LoadDeviceList(s_, ui_, in.paths) || s_.device.DeviceFileError == 1)
        return StartupOutcome::DeviceFileMissing;

    window_.resetConfigUi();
    ui_.setControlText(Control::Label_Ver,
                       QStringLiteral("device6.ini : Ver ") + s_.device.DeviceFileVersion);
    ui_.pumpEvents();
    ui_.pumpEvents();

    // The serial mode decides the RTS line at detection, so it is restored before the board is
    // looked for.
    window_.restoreMenuToggle(MenuToggle::ComMode1);
    connectBoard(in.fallbackPort);
    restoreLastDevice(in.fallbackDevice);
    ui_.setControlText(Control::LblCheckSUM, CalcProgramChecksum(s_));
    window_.restoreMenuToggle(MenuToggle::BlankSkip);

    const RotationResult rotation = EnsureAndRotateLogs(in.paths.dataDir);
    s_.app.AsmToolPath = AssemblerToolInEffect(settings_);
    openCommandLineFile();

    window_.setStartupLock(false);
    ui_.pumpEvents();
    ui_.pumpEvents();
    // Said last: the part chosen and the file opened for the command line write the status line
    // too, and would replace the warning before anyone could read it.
    warnOfFailedRotation(rotation);
    ui_.setControlText(Control::frmAbout_Label_ID_Word,
                       idWordLine(QStringLiteral("NEW :"), s_.buffer.ConfigIdImage));
    return StartupOutcome::Ready;
}

void StartupSequence::takeCommandLine(const QStringList& arguments) {
    const QString field = commandLineText(arguments);
    if (!field.isEmpty()) {
        s_.app.CommandLine = field;
        programView_ += kNewline + QStringLiteral("i:") + field;
    }
    CommandLineArgs args = ParseCommandLine(arguments);
    // Said again where the file would have been opened: the board search in between writes the
    // status line, and a refusal shown only before it would go unseen.
    commandLineRefused_ = args.refusedUnopenable;
    if (args.refusedUnopenable) ShowStatusMessage(ui_, kOpenFailed, QString());
    // A path typed relative to the shell's folder is kept whole: it goes into the window title,
    // the folder setting and the history, which outlive that folder.
    if (!args.hexPath.isEmpty()) args.hexPath = QFileInfo(args.hexPath).absoluteFilePath();
    s_.app.CommandLineHexPath = args.hexPath;
    s_.app.CommandLineOption1 = args.option1;
    s_.app.CommandLineOption2 = args.option2;
    if (!args.hexPath.isEmpty()) {
        programView_ += kNewline + kNewline + QStringLiteral("1:") + args.hexPath + kNewline +
                        QStringLiteral("2:") + args.option1 + kNewline + QStringLiteral("3:") +
                        args.option2;
    }
    if (!field.isEmpty()) ui_.setControlText(Control::RichTxtPgmMem, programView_);
    s_.app.CommandLine = args.hexPath;
}

bool StartupSequence::refuseUnwritableFiles(const AppPaths& paths) {
    if (unwritableStartupFiles(paths.dataDir).isEmpty()) return false;
    const QString folder = QDir::toNativeSeparators(paths.dataDir) + QDir::separator();
    ui_.messageBox(MessageIcon::Critical, MessageButtons::Ok, QLatin1String(kSettingsApplication),
                   unwritableFilesMessage(folder));
    return true;
}

void StartupSequence::connectBoard(const QString& fallbackPort) {
    s_.link.ComPortName = savedPortName(settings_, fallbackPort);
    if (s_.link.ComPortName.isEmpty()) {
        services_.choosePort();
        return;
    }
    ui_.setControlText(Control::Label_FirmwareVersion,
                       s_.link.ComPortName + QStringLiteral(" ライター未接続"));
    services_.detectBoard();
}

void StartupSequence::restoreLastDevice(const QString& fallbackDevice) {
    const QStringList& names = s_.device.DeviceNames;
    const QString deviceName = QStringLiteral("deviceNewName");
    const QString deviceIndex = QStringLiteral("deviceNew");
    // The name is preferred: an edited device file moves the indices. A saved name that is no
    // longer listed selects nothing rather than whichever part took its place.
    const QString name = settings_.value(deviceName, QString());
    int index = -1;
    if (!name.isEmpty()) {
        index = int(names.indexOf(name));
    } else if (settings_.contains(deviceIndex)) {
        bool number = false;
        const int saved = settings_.value(deviceIndex, QString()).trimmed().toInt(&number);
        if (number && saved >= 0 && saved < names.size()) index = saved;
    } else {
        // Nothing saved: the part asked for in its place, else the first of the list.
        const qsizetype at = namesUpToFirstEmpty(names).indexOf(fallbackDevice.trimmed());
        index = at >= 0 ? int(at) : names.isEmpty() ? -1 : 0;
    }
    if (index >= 0) window_.selectDeviceByIndex(index);
}

void StartupSequence::warnOfFailedRotation(const RotationResult& rotation) {
    if (!rotation.error.isEmpty())
        ShowStatusMessage(ui_, QStringLiteral("<<注意>>ログファイルを更新できませんでした。"),
                          rotation.error);
}

void StartupSequence::openCommandLineFile() {
    if (commandLineRefused_) ShowStatusMessage(ui_, kOpenFailed, QString());
    if (s_.app.CommandLine.isEmpty()) {
        window_.setWindowCaption(s_.app.MainTitle +
                                 settings_.value(QStringLiteral("OPEN_DIR0"), QString()));
        return;
    }
    const QString folder = commandLineFolder(s_.app.CommandLine);
    window_.setWindowCaption(s_.app.MainTitle + folder);

    const std::optional<QString> device = chooseStartupDevice(
        s_.device.DeviceNames, window_.selectedDeviceIndex(), s_.app.CommandLineOption1, services_);
    if (!device) {
        s_.app.CommandLine.clear();
        return;
    }
    s_.app.StartupDeviceName = *device;
    window_.selectDeviceByName(*device);
    if (s_.device.SelectedDevice.isEmpty()) {
        // The part could not be loaded and the reader has said why; a file read without a part
        // would be placed by no part's rules.
        s_.app.CommandLine.clear();
        return;
    }
    s_.app.CommandLineFolder = folder;
    settings_.setValue(QStringLiteral("OPEN_DIR0"), folder);
    window_.directOpenCommandLineFile();
}

std::optional<QString> chooseStartupDevice(const QStringList& names, int currentIndex,
                                           const QString& option1, StartupServices& services) {
    const QStringList listed = namesUpToFirstEmpty(names);
    if (!option1.isEmpty() && listed.contains(option1)) return option1;
    return services.askDevice(listed, currentIndex);
}

QString commandLineFolder(const QString& path) {
    const qsizetype cut =
        std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    return cut < 0 ? QString() : path.left(cut);
}

} // namespace tavrin
