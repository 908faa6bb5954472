// The calibration tab of the main window for this part: three lists that show the fields of the
// calibration word, filled when the part is chosen and set when a chip is read.
#include "calibration_fields.h"
#include "pic12f683.h"

#include "core/operator_ui.h"

namespace tavrin::pic12 {

void Pic12F683::SetupCalibrationTab() {
    // Filled in with the calibration controls of the window.
}

void Pic12F683::showCalibrationWord(std::uint16_t word) {
    (void)calibrationIndexes(word);
}

} // namespace tavrin::pic12
