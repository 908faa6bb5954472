#include "application.h"

#include "listing_windows.h"
#include "main_window_startup.h"
#include "program_version.h"
#include "startup_dialogs.h"
#include "tool_menus.h"
#include "unsaved_settings_notice.h"

#include "core/operation_guard.h"
#include "core/settings_store.h"
#include "core/work_files.h"
#include "link/board_link.h"
#include "link/qt_serial_port.h"
#include "mainwindow/logic/real_core_services.h"
#include "mainwindow/widgets/frm_main.h"
#include "tools/logic/assembler_settings.h"
#include "tools/logic/firmware_update.h"
#include "tools/widgets/dialog_update.h"
#include "tools/widgets/frm_about.h"
#include "tools/widgets/frm_mpasmwin.h"

#include <QAction>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QEvent>

#include <functional>
#include <QLabel>
#include <QPushButton>
#include <QUrl>

namespace tavrin {

namespace {
bool openWebPage(const QString& url) {
    return QDesktopServices::openUrl(QUrl(url));
}

std::unique_ptr<SettingsStore> settingsFor(const ApplicationOptions& options) {
    if (options.settingsFile.isEmpty()) return std::make_unique<QtSettingsStore>();
    return std::make_unique<QtSettingsStore>(options.settingsFile);
}

// A menu item or button the window shows disabled until the work behind it is wired.
template <typename Item> Item* offerMenuItem(frmMain& window, const char* name) {
    Item* item = window.findChild<Item*>(QLatin1String(name));
    if (!item) return nullptr;
    item->setProperty("pendingFeature", false);
    item->setEnabled(true);
    return item;
}

// Runs an action when the watched widget is double-clicked.
class DoubleClickAction final : public QObject {
  public:
    DoubleClickAction(QObject* parent, std::function<void()> action)
        : QObject(parent), action_(std::move(action)) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonDblClick) {
            action_();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    std::function<void()> action_;
};
} // namespace

Application::Application(ApplicationOptions options)
    : options_(std::move(options)),
      paths_(options_.paths ? *options_.paths
                            : locateAppPaths(QCoreApplication::applicationDirPath())),
      settings_(settingsFor(options_)), session_(std::make_unique<Session>()),
      port_(std::make_unique<QtSerialPort>()), about_(programVersion()) {
    window_ = std::make_unique<frmMain>(*session_, *settings_, realCoreServices(paths_));
    unsavedSettings_ = std::make_unique<UnsavedSettingsNotice>(*window_);
    settings_->setSaveFailedHandler([this] { unsavedSettings_->changeNotKept(); });
    // Closing the main window ends the program: shutdown() says at most once that the settings
    // could not be kept.
    window_->setClosingHandler([this] {
        unsavedSettings_->holdUntilEnd();
        if (mainWindowClosed_) mainWindowClosed_();
    });
    window_->setAppPaths(paths_);
    link_ = std::make_unique<BoardLink>(*session_, *window_, *port_, clock_, &openWebPage);
    window_->attachOperations(*link_, clock_, paths_.dataDir);
    startupWindow_ = std::make_unique<MainWindowStartup>(*window_, about_);
    dialogs_ =
        std::make_unique<StartupDialogs>(*session_, *window_, *settings_, *link_, window_.get());
    window_->setAboutIdWordSink([this](const QString& line) {
        about_.setIdWordLine(line);
        if (aboutWindow_) aboutWindow_->label("Label_ID_Word")->setText(line);
    });
    toolMenus_ = std::make_unique<ToolMenus>(*session_, *window_, *settings_);
    wireMenus();
    toolMenus_->wire();
}

Application::~Application() {
    // Windows closed from here on save their places for the next start, unheard.
    settings_->setSaveFailedHandler({});
    delete aboutWindow_.data();
}

StartupOutcome Application::start() {
    window_->show();
    StartupSequence startup(*session_, *window_, *settings_, *startupWindow_, *dialogs_);
    return startup.run({options_.arguments, about_.version(), paths_, options_.fallbackPort,
                        options_.fallbackDevice});
}

void Application::shutdown() {
    RemoveWorkFiles(paths_.dataDir);
    if (port_->isOpen()) link_->ClosePort();
    settings_->setSaveFailedHandler({});
    if (!settings_->sync()) unsavedSettings_->tellAtEnd();
}

void Application::choosePort() {
    // The port belongs to the operation that is waiting for the board.
    if (refuseDuringOperation(*session_, *window_)) return;
    // A chosen port has had its board looked for already; otherwise the board is looked for on
    // the port kept before.
    if (!showPortChoice(*session_, *window_, *settings_, *link_, window_.get()))
        link_->DetectProgrammer();
    if (port_->isOpen()) link_->ClosePort();
}

void Application::detectBoard() {
    if (refuseDuringOperation(*session_, *window_)) return;
    link_->DetectProgrammer();
    if (port_->isOpen()) link_->ClosePort();
}

void Application::wireMenus() {
    wireListingWindows(*window_, *session_, *settings_, paths_.dataDir);
    if (QAction* confirm = offerMenuItem<QAction>(*window_, "confirm"))
        QObject::connect(confirm, &QAction::triggered, window_.get(), [this] { choosePort(); });
    if (auto* button = offerMenuItem<QPushButton>(*window_, "Command_com"))
        QObject::connect(button, &QPushButton::clicked, window_.get(), [this] { choosePort(); });
    if (QAction* update = offerMenuItem<QAction>(*window_, "mnuFirmwareUpdate"))
        QObject::connect(update, &QAction::triggered, window_.get(),
                         [this] { showFirmwareUpdate(); });
    if (QAction* version = offerMenuItem<QAction>(*window_, "version"))
        QObject::connect(version, &QAction::triggered, window_.get(), [this] { showAboutBox(); });
    if (QAction* asmSettings = offerMenuItem<QAction>(*window_, "mnuMPASMsetting"))
        QObject::connect(asmSettings, &QAction::triggered, window_.get(),
                         [this] { showAssemblerSettings(); });
    if (auto* label = window_->findChild<QLabel*>(QStringLiteral("Label_FirmwareVersion")))
        label->installEventFilter(new DoubleClickAction(label, [this] {
            window_->setControlVisible(Control::CmbInit, false);
            detectBoard();
        }));
}

// mnuMPASMsetting_Click: the settings window, loaded afresh for each showing.
void Application::showAssemblerSettings() {
    if (refuseDuringOperation(*session_, *window_)) return;
    AssemblerSettings model(*session_, *settings_);
    frmMPASMWIN settingsWindow(model, window_.get());
    settingsWindow.exec();
}

// The update window owns the board's line for its whole life, so it runs as one operation.
void Application::showFirmwareUpdate() {
    OperationScope operation(*session_, *window_);
    if (!operation.held()) return;
    QtSerialPort port;
    FirmwareUpdate update(*session_, *window_, *settings_, *link_, port, clock_, paths_.dataDir);
    Dialog_Update window(update, window_.get());
    window.exec();
}

// The about box is shown without waiting; a second request brings the open one forward.
void Application::showAboutBox() {
    if (aboutWindow_) {
        aboutWindow_->raise();
        aboutWindow_->activateWindow();
        return;
    }
    aboutWindow_ = new frmAbout(about_, window_.get());
    aboutWindow_->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(aboutWindow_.data(), &frmAbout::serialSettingsRequested, window_.get(),
                     [this] { toolMenus_->revealSerialSettings(); });
    aboutWindow_->show();
}

} // namespace tavrin
