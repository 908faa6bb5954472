// How the main window looks for the selected part: which configuration tabs are shown, which
// information tab, the calibration fields, the parity switch and the ID box. One row of a table
// per programming type.
#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <optional>

namespace tavrin {

inline constexpr std::uint32_t kDisabledFieldColor = 0xE0E0E0;
inline constexpr std::uint32_t kEnabledFieldColor = 0xFFFFFF;

struct DeviceLayout {
    std::array<bool, 7> configTabShown{}; // tab k-1 for configuration word k
    std::array<bool, 10> infoTabShown{};  // tabs of SSTab_MCU_Infomatin
    int infoTabSelected = 3;

    // Calibration fields (tab 0) and the check box beside them.
    bool calibChoiceShown = false; // Chk_12F_CalibData_Select
    bool calibChoiceEnabled = false;
    bool calibChoiceChecked = false;
    QString calibText = QStringLiteral("--"); // Text_Calib_Data
    bool calibTextEnabled = false;
    std::uint32_t calibTextColor = kDisabledFieldColor;
    bool calibLabelsEnabled = false; // Label_Calib, Label_CalibInfo
    QString calibReadWriteText = QStringLiteral("--");
    std::optional<QString> bandgapText; // Text_BG; unset: unchanged
    bool bandgapTextEnabled = false;
    std::uint32_t bandgapTextColor = kDisabledFieldColor;
    bool bandgapLabelEnabled = false; // Label_BG

    bool parityEnabled = false; // Check_Parity_Disp; its check mark is always cleared

    // The ID box and the PIC18 identification labels.
    int idMaxLength = 4;
    std::optional<QString> idText;           // unset: keeps what the buffer fill showed
    std::optional<QString> deviceIdLabels;   // Label_DEV_id / Label_DEV_rev
    std::optional<bool> frame2Visible;       // unset: as before
    std::optional<bool> idDevRevLabelsShown; // Lbl_div, Lbl_rev, Lbl_ID_Dev, Lbl_ID_Rev
};

// The layout for a programming type and the configuration words the part defines
// (ConfigWordDefined, element k = 1 for word k).
DeviceLayout deviceLayoutFor(const QString& programType,
                             const std::array<std::int16_t, 21>& configWordDefined);

// A part whose module asks for it (the PIC12F683) shows its calibration tab (4) alone, with the
// ID box and the calibration check box beside it, the latter not to be changed.
void showCalibrationTabAlone(DeviceLayout& layout);

} // namespace tavrin
