// Everything a main-window command works on: the session, the seams to the person and the
// window, the settings, the core services and the window's own state.
#pragma once

#include "core/command_line.h"
#include "core/operator_ui.h"
#include "core/part_selection_hook.h"
#include "core/session.h"
#include "core/settings_store.h"
#include "mainwindow/logic/core_services.h"
#include "mainwindow/logic/folder_history.h"
#include "mainwindow/logic/main_window_view.h"
#include "mainwindow/logic/menu_toggles.h"

#include <functional>

namespace tavrin {

struct MainContext {
    Session& s;
    OperatorUi& ui;
    MainWindowView& view;
    SettingsStore& settings;
    CoreServices services;
    MenuToggles toggles;
    FolderHistory history;
    int deviceIndex = -1;   // list index of the selected part
    QString lastDialogPath; // the path the file dialogs offer next (shared by open and save)
    // What the device module serving a part adds when the part is chosen, bound to the modules
    // of the operations; unbound, every part gets its programming type's layout alone.
    std::function<PartSelectionHook(const QString& deviceName)> partSelectionHook = {};
};

// The folder of a file path, without a trailing separator.
QString folderOfPath(const QString& path);

} // namespace tavrin
