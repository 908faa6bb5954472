// StartupWindow over frmMain: what start-up asks of the main window, done the way the window's
// own handlers do it.
#pragma once

#include "core/startup_window.h"

namespace tavrin {

class frmMain;
class AboutBoxModel;

class MainWindowStartup final : public StartupWindow {
  public:
    MainWindowStartup(frmMain& window, AboutBoxModel& about) : window_(window), about_(about) {}

    void setStartupLock(bool locked) override;
    void setWindowCaption(const QString& caption) override;
    void restoreFolderHistory() override;
    void restoreMenuToggle(MenuToggle toggle) override;
    void resetConfigUi() override;
    int selectedDeviceIndex() const override;
    void selectDeviceByIndex(int index) override;
    void selectDeviceByName(const QString& name) override;
    void directOpenCommandLineFile() override;
    void fillAboutBox(const AboutBoxTexts& texts) override;

  private:
    frmMain& window_;
    AboutBoxModel& about_;
    bool locked_ = false;
};

} // namespace tavrin
