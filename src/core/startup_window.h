// What start-up needs of the main window and of the windows and board around it. The program
// binds these to frmMain, the port and device choice windows and the board link; tests bind them
// to fakes, so the start-up order runs without a window.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace tavrin {

struct AboutBoxTexts;

// The check-mark menu items whose state is kept in the settings.
enum class MenuToggle {
    BoardInformation, // mnuBoardInfomation
    BlankSkip,        // mnuBlankSkip; restoring it also updates the program button
    ComMode1,         // mnuComMode1; restoring it also sets the RTS choice used at detection
};

class StartupWindow {
  public:
    virtual ~StartupWindow() = default;

    // true: the window takes no input and shows the busy pointer; false: the reverse.
    virtual void setStartupLock(bool locked) = 0;
    virtual void setWindowCaption(const QString& caption) = 0;
    // The recent-folder and recent-device menu entries from their settings.
    virtual void restoreFolderHistory() = 0;
    virtual void restoreMenuToggle(MenuToggle toggle) = 0;
    // The configuration grids and the option chooser back to their empty state.
    virtual void resetConfigUi() = 0;
    // The device list: its selected index (-1 none), and selecting an entry as a person would,
    // which loads that part. Selecting an index out of range or an unknown name does nothing.
    virtual int selectedDeviceIndex() const = 0;
    virtual void selectDeviceByIndex(int index) = 0;
    virtual void selectDeviceByName(const QString& name) = 0;
    // Opens the HEX file named by Session::app.CommandLine without a dialog.
    virtual void directOpenCommandLineFile() = 0;
    virtual void fillAboutBox(const AboutBoxTexts& texts) = 0;
};

class StartupServices {
  public:
    virtual ~StartupServices() = default;

    // Looks for the board on Session::link.ComPortName and closes the port again.
    virtual void detectBoard() = 0;
    // The port choice window, modal; the chosen port is left in Session::link.ComPortName
    // (empty when none was chosen).
    virtual void choosePort() = 0;
    // The device choice window, modal, with the names listed and the entry at currentIndex
    // preselected; nothing when the person cancelled.
    virtual std::optional<QString> askDevice(const QStringList& names, int currentIndex) = 0;
};

} // namespace tavrin
