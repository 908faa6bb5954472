// What the main window's logic asks of the window beyond OperatorUi: the device-dependent
// layout, the board window, the caption, the history menu, the device list position, the
// configuration tabs and the file dialogs.
#pragma once

#include "mainwindow/logic/device_layout.h"

#include <QString>
#include <QStringList>

namespace tavrin {

struct FileDialogRequest {
    QString title;
    QString initialDir;
    QString filter; // Qt filter text: "Hexファイル (*.HEX *.hex);;全てのファイル (*)"
    QString defaultSuffix; // without the dot
    QString fileName;      // offered file name or path
};

class MainWindowView {
  public:
    virtual ~MainWindowView() = default;

    virtual void applyDeviceLayout(const DeviceLayout& layout) = 0;
    virtual void showBoardWindow(bool shown) = 0;
    // Unloads the extended per-area window when it is open.
    virtual void closeExtendedWindow() {}
    // Hides the EEPROM editor and the extended per-area window where they are shown.
    virtual void hideEditingWindows() {}
    virtual void setWindowCaption(const QString& caption) = 0;
    // The five history entries, newest first; an empty caption hides its entry.
    virtual void showFolderHistory(const QStringList& captions) = 0;
    // Moves the device list to the entry without running the device selection.
    virtual void selectDeviceInList(int index) = 0;
    // The configuration tab shown (0-based) and selecting one.
    virtual int configTabShown() const = 0;
    virtual void selectConfigTab(int index) = 0;
    // The file dialogs; an empty result means the person cancelled.
    virtual QString chooseOpenFile(const FileDialogRequest& request) = 0;
    virtual QString chooseSaveFile(const FileDialogRequest& request) = 0;
};

} // namespace tavrin
