// Making the part chosen in the device list the current one.
#pragma once

#include <QString>

namespace tavrin {

struct MainContext;

// The device list's selection handler: loads the part, resets the buffer to the erased state,
// shows the board picture, tests the board firmware, remembers the choice, rebuilds the
// configuration grids and lays out the tabs and the ID box for the part.
void SelectDevice(MainContext& ctx, const QString& listText, int listIndex);

// The leading decimal number of the board identification from its 13th character (at most six
// characters); 0 when there is none.
float leadingFirmwareVersion(const QString& firmwareId);
// "#.00": two decimals, no zero before the point.
QString formatFirmwareVersion(float version);

} // namespace tavrin
