// The check-mark toggles of the main window's menus and the settings they are kept in.
#pragma once

namespace tavrin {

class SettingsStore;

struct MenuToggles {
    bool blankSkip = false;       // mnuBlankSkip, "SkipMode" "1"/"0"
    bool comMode1 = false;        // mnuComMode1, "mnuComMode1" "1"/"0"
    bool boardInformation = true; // mnuBoardInfomation, "mnuBoardInfomation" "True"/"False"
    bool lock = false;            // mnuLock, not kept

    void load(const SettingsStore& settings);
};

void saveBlankSkip(SettingsStore& settings, bool checked);
void saveComMode1(SettingsStore& settings, bool checked);
void saveBoardInformation(SettingsStore& settings, bool checked);

} // namespace tavrin
