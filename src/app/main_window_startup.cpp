#include "main_window_startup.h"

#include "core/operation_controls.h"
#include "mainwindow/logic/hex_file_commands.h"
#include "mainwindow/widgets/frm_main.h"
#include "tools/logic/about_box_model.h"

#include <QAction>

namespace tavrin {

namespace {
QAction* menuItem(frmMain& window, const char* name) {
    return window.findChild<QAction*>(QLatin1String(name));
}
} // namespace

void MainWindowStartup::setStartupLock(bool locked) {
    window_.setEnabled(!locked);
    if (locked != locked_) window_.setBusy(locked);
    locked_ = locked;
}

void MainWindowStartup::setWindowCaption(const QString& caption) {
    window_.setWindowCaption(caption);
}

void MainWindowStartup::restoreFolderHistory() {
    LoadFolderHistory(window_.context());
}

void MainWindowStartup::restoreMenuToggle(MenuToggle toggle) {
    MainContext& ctx = window_.context();
    MenuToggles saved;
    saved.load(ctx.settings);
    switch (toggle) {
    case MenuToggle::BoardInformation:
        ctx.toggles.boardInformation = saved.boardInformation;
        if (QAction* a = menuItem(window_, "mnuBoardInfomation"))
            a->setChecked(saved.boardInformation);
        break;
    case MenuToggle::BlankSkip:
        ctx.toggles.blankSkip = saved.blankSkip;
        if (QAction* a = menuItem(window_, "mnuBlankSkip")) a->setChecked(saved.blankSkip);
        UpdateProgramButton(ctx.s, ctx.ui, saved.blankSkip);
        break;
    case MenuToggle::ComMode1:
        ctx.toggles.comMode1 = saved.comMode1;
        ctx.s.app.ComMode1Checked = saved.comMode1;
        if (QAction* a = menuItem(window_, "mnuComMode1")) a->setChecked(saved.comMode1);
        break;
    }
}

void MainWindowStartup::resetConfigUi() {
    window_.setControlText(Control::HFGrid, QString());
    window_.setControlText(Control::TxtInit, QString());
    window_.setControlVisible(Control::TxtInit, false);
    window_.setControlVisible(Control::CmbInit, false);
}

int MainWindowStartup::selectedDeviceIndex() const {
    return window_.context().deviceIndex;
}

void MainWindowStartup::selectDeviceByIndex(int index) {
    if (index < 0 || index >= window_.context().s.device.DeviceNames.size()) return;
    window_.selectDeviceByIndex(index);
}

void MainWindowStartup::selectDeviceByName(const QString& name) {
    selectDeviceByIndex(int(window_.context().s.device.DeviceNames.indexOf(name)));
}

void MainWindowStartup::directOpenCommandLineFile() {
    DirectOpenHexFile(window_.context(), QString());
}

void MainWindowStartup::fillAboutBox(const AboutBoxTexts& texts) {
    about_.fill(texts);
}

} // namespace tavrin
