// The extended-programming window's buttons: one memory area erased, programmed or read, the
// chip erase, and the two image clears. A part served by a device module of its own runs that
// module's per-area procedure; every other part runs the generic sequences chosen by its
// programming type. Every button holds the operation guard, takes the controls of both windows
// away while it runs and closes the port at its end.
#pragma once

#include "core/operator_ui.h"
#include "devices/common/area_procedures.h"

#include <QString>

namespace tavrin {

class CalibrationPreservingErase;
class MainOperations;

enum class DeviceGroup { Pic12F683, Pic16F87x, Pic18, Generic };

// By exact device name, case and every character.
DeviceGroup deviceGroupFor(const QString& deviceName);

// The group whose procedure serves the button: the PIC12F683 programs its program memory through
// the main window's program run.
DeviceGroup dispatchGroupFor(const QString& deviceName, Area area);

// Whether the nine area buttons are usable for the device (the chip erase always is).
bool areaButtonsEnabled(const QString& deviceName);

class ExtendedOperations {
  public:
    explicit ExtendedOperations(MainOperations& main) : main_(main) {}

    void Cmd_Chip_Erace_Click();
    void Cmd_PGM_Erase_Click();
    void Cmd_DATA_Erase_Click();
    void Cmd_DATA_Program_Click();
    void Cmd_PGM_Program_Click();
    void Cmd_PGM_Read_Click();
    void Cmd_DATA_Read_Click();
    void Cmd_DATA_PcbufferClear_Click();
    void Cmd_PGM_PcbufferClear_Click();

    // Whether the module procedure the button needs exists for the selected device.
    bool available(Area area) const;
    // Whether a button of the window is usable for the selected device.
    bool buttonEnabled(Control button) const;
    // Every button of the window as the device allows.
    void restoreButtons();

  private:
    void run(Area area);
    // calibration: the save and restore around a generic erase of a part that keeps them.
    void runGeneric(Area area, CalibrationPreservingErase* calibration);

    MainOperations& main_;
};

} // namespace tavrin
