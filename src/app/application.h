// The whole program: the settings, the session, the serial port and board link, the main window
// with its tool windows, start-up in its order and the clean-up when the program ends.
#pragma once

#include "core/app_paths.h"
#include "core/clock.h"
#include "core/session.h"
#include "core/startup_sequence.h"
#include "tools/logic/about_box_model.h"

#include <QPointer>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

namespace tavrin {

class BoardLink;
class frmAbout;
class frmMain;
class MainWindowStartup;
class QtSerialPort;
class SettingsStore;
class StartupDialogs;
class ToolMenus;
class UnsavedSettingsNotice;

struct ApplicationOptions {
    QStringList arguments; // the command line after the program name
    QString fallbackPort;  // the port to use while none is saved (the run command's board)
    // Tests put the files elsewhere; the program finds them by itself.
    std::optional<AppPaths> paths;
    QString settingsFile; // an INI file instead of the user's settings
    // The part to open on while none is saved (the run command's emulated socket).
    QString fallbackDevice = {};
};

class Application {
  public:
    explicit Application(ApplicationOptions options);
    ~Application();

    // Shows the main window and runs start-up. Anything but Ready ends the program.
    StartupOutcome start();
    // The end of the program: the work files removed and the port closed. The window has
    // saved its place when it closed.
    void shutdown();

    // What ends the program once the main window has closed for good (the event loop's end).
    void whenMainWindowCloses(std::function<void()> end) { mainWindowClosed_ = std::move(end); }

    frmMain& window() { return *window_; }
    Session& session() { return *session_; }
    BoardLink& link() { return *link_; }
    AboutBoxModel& aboutBox() { return about_; }
    const AppPaths& paths() const { return paths_; }

  private:
    void wireMenus();
    // confirm_Click and Command_com_Click: the port choice, then the board on the port.
    void choosePort();
    // Label_FirmwareVersion_DblClick.
    void detectBoard();
    void showAboutBox();
    void showAssemblerSettings();
    // mnuFirmwareUpdate_Click.
    void showFirmwareUpdate();

    ApplicationOptions options_;
    AppPaths paths_;
    std::unique_ptr<SettingsStore> settings_;
    std::unique_ptr<Session> session_;
    SteadyClock clock_;
    std::unique_ptr<QtSerialPort> port_;
    std::unique_ptr<frmMain> window_;
    std::unique_ptr<UnsavedSettingsNotice> unsavedSettings_;
    std::unique_ptr<BoardLink> link_;
    AboutBoxModel about_;
    QPointer<frmAbout> aboutWindow_;
    std::unique_ptr<MainWindowStartup> startupWindow_;
    std::unique_ptr<StartupDialogs> dialogs_;
    std::unique_ptr<ToolMenus> toolMenus_;
    std::function<void()> mainWindowClosed_;
};

} // namespace tavrin
