// What the person has set in the main window that the operations read when they start: the menu
// toggles and the calibration and ID fields. The window fills it at the moment of the click.
#pragma once

#include <QString>

#include <optional>

namespace tavrin {

struct OperationSettings {
    bool skipBlankCheck = false;                    // mnuBlankSkip both enabled and checked
    bool continuousMode = false;                    // mnuLock
    bool keepChipCalibration = true;                // Chk_12F_CalibData_Select
    QString calibrationText = QStringLiteral("FF"); // Text_Calib_Data, two hex digits
    QString bandgapText = QStringLiteral("3");      // Text_BG, 0 to 3
    std::optional<QString> idText; // Text_ID as shown; unset: the ID text of the buffer
};

} // namespace tavrin
