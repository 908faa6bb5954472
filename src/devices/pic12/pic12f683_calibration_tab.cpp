// The calibration tab of the main window for this part: three lists that show the fields of the
// calibration word, filled when the part is chosen and set when a chip is read.
#include "calibration_fields.h"
#include "pic12f683.h"

#include "core/operator_ui.h"
#include "devices/common/module_context.h"

namespace tavrin::pic12 {

namespace {
constexpr Control kLists[] = {Control::Cmb_BOD_Calib, Control::Cmb_POR_Calib,
                              Control::Cmb_FCAL_Calib};
} // namespace

void Pic12F683::SetupCalibrationTab() {
    OperatorUi& ui = ctx_.ui;
    for (Control c : kLists)
        ui.setControlEnabled(c, true);
    ui.setControlEnabled(Control::Chk_12F_CalibData_Select, true);
    ui.setControlVisible(Control::Text_ID, true);
    ui.setControlVisible(Control::Chk_12F_CalibData_Select, true);
    const CalibrationIndexes top;
    ui.setControlItems(Control::Cmb_BOD_Calib, bodCalibrationItems(), top.bod);
    ui.setControlItems(Control::Cmb_POR_Calib, porCalibrationItems(), top.por);
    ui.setControlItems(Control::Cmb_FCAL_Calib, fcalCalibrationItems(), top.fcal);
    // Shown, not chosen: the values come from the chip.
    for (Control c : kLists)
        ui.setControlEnabled(c, false);
    ui.setControlEnabled(Control::Chk_12F_CalibData_Select, false);
    ui.pumpEvents();
}

void Pic12F683::showCalibrationWord(std::uint16_t word) {
    const CalibrationIndexes ix = calibrationIndexes(word);
    OperatorUi& ui = ctx_.ui;
    ui.setControlItems(Control::Cmb_BOD_Calib, bodCalibrationItems(), ix.bod);
    ui.setControlItems(Control::Cmb_POR_Calib, porCalibrationItems(), ix.por);
    ui.setControlItems(Control::Cmb_FCAL_Calib, fcalCalibrationItems(), ix.fcal);
}

} // namespace tavrin::pic12
