// What a device module adds to the main window when its part is chosen. The window lays its tabs
// out for the part's programming type; a module with controls of its own says so here, so that
// the window logic reaches the module without knowing it.
#pragma once

#include <functional>

namespace tavrin {

struct PartSelectionHook {
    // The part shows its calibration tab alone, with the ID box and the calibration check box
    // beside it, in place of its programming type's information tab.
    bool calibrationTabAlone = false;
    // Runs once the window is laid out for the part: the module fills its own controls.
    std::function<void()> setUp;
};

} // namespace tavrin
