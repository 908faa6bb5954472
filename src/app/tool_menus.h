// The main window's menu entries for the serial-number settings and the index picture, and the
// hidden entries the about box reveals.
#pragma once

#include <QPointer>

namespace tavrin {

class frmMain;
class frmSerialPgmSetting;
class Session;
class SettingsStore;

class ToolMenus {
  public:
    ToolMenus(Session& session, frmMain& window, SettingsStore& settings);
    // The serial-number window is unloaded with the main window, keeping its position.
    ~ToolMenus();

    void wire();
    // The about box's icon: mnuSerialPgmSetting and nmuI become visible and the window opens.
    void revealSerialSettings();
    // mnuSerialPgmSetting_Click: modeless; a second request brings the open one forward.
    void showSerialSettings();
    // nmuindex_Click: the index picture, modal.
    void showIndex();

  private:
    Session& session_;
    frmMain& window_;
    SettingsStore& settings_;
    QPointer<frmSerialPgmSetting> serial_;
};

} // namespace tavrin
