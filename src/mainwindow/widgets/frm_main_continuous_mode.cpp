// Continuous programming: between runs only Program, Blank check and Verify are offered. Whatever
// would change the buffer, the part, the port or the board stays held off until the mode is
// left, whichever command asks to offer it again meanwhile.
#include "frm_main.h"

#include "core/operation_controls.h"

#include <QAction>
#include <QMenu>

namespace tavrin {

namespace {

// The window's entries the operation controls do not cover. The tool menu goes as a whole: its
// windows read the buffer or, for the serial-number settings, load a file into it.
constexpr const char* kHeldMenuEntries[] = {"confirm", "mnuPcBufferMemory_0", "mnuFirmwareUpdate"};
constexpr const char* kHeldMenus[] = {"mnuTool"};

} // namespace

bool frmMain::heldByContinuousMode(Control c) const {
    if (!ctx_.toggles.lock || isContinuousModeButton(c)) return false;
    return isOperationControl(c) || c == Control::mnuFirmwareUpdate;
}

void frmMain::holdMenusForContinuousMode() {
    const bool held = ctx_.toggles.lock;
    auto hold = [held](QAction* a) {
        if (a) a->setEnabled(!held && !a->property("pendingFeature").toBool());
    };
    for (const char* name : kHeldMenuEntries)
        hold(findChild<QAction*>(QLatin1String(name)));
    for (const char* name : kHeldMenus)
        if (auto* menu = findChild<QMenu*>(QLatin1String(name))) hold(menu->menuAction());
}

} // namespace tavrin
