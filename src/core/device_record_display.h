// What the main window and the board window show of a loaded device record.
#pragma once

namespace tavrin {

class OperatorUi;
struct DeviceRecord;

// Size labels, the EEPROM view and its caption, the code-protect debug label, the calibration
// value, configuration word 1 and the board window's socket outline and jumper mark. Everything
// is set from the record alone, so a part without EEPROM or without a package never keeps what
// the previous part showed.
void showDeviceRecord(OperatorUi& ui, const DeviceRecord& record);

} // namespace tavrin
