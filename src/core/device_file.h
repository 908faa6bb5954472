// Reading device6.ini: the device list at start-up and one device's definition at each selection.
#pragma once

#include "app_paths.h"
#include "operator_ui.h"
#include "session.h"

namespace tavrin {

// Reads the device names (file order, names beginning "PIC" or "QZ-") and the VERSION into
// s.device.DeviceNames / DeviceFileVersion; writes Support_PIC_List.txt into paths.dataDir (one
// name per line, CR LF); calls ui.setDeviceList(names). On failure: s.device.DeviceFileError = 1,
// the specified critical message box, returns false.
bool LoadDeviceList(Session& s, OperatorUi& ui, const AppPaths& paths);

// Loads the block of s.device.SelectedDevice into a FRESH device record (the list fields
// DeviceNames/DeviceFileVersion and SelectedDevice kept; nothing inherited from the previous part).
// Returns true when loaded. On failure shows the specified message and returns false, leaving
// the previous record in place and clearing SelectedDevice (so no wrong part stays selected).
bool LoadDeviceDefinition(Session& s, OperatorUi& ui, const AppPaths& paths);

} // namespace tavrin
