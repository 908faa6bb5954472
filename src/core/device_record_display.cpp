#include "device_record_display.h"

#include "operator_ui.h"
#include "session.h"
#include "utilities.h"

namespace tavrin {

namespace {

struct Mark {
    const char* value;
    Control control;
};

constexpr Mark SocketOutlines[] = {
    {"8", Control::frmBoard_Shape_8P},   {"18", Control::frmBoard_Shape_18P},
    {"28", Control::frmBoard_Shape_28P}, {"28A", Control::frmBoard_Shape_28AP},
    {"40", Control::frmBoard_Shape_40P},
};

constexpr Mark JumperMarks[] = {
    {"1-2", Control::frmBoard_Shape_12},
    {"2-3", Control::frmBoard_Shape_23},
    {"NON", Control::frmBoard_Label_sel}, // "どちらでも可"
};

template <std::size_t N>
void showMatching(OperatorUi& ui, const Mark (&group)[N], const QString& v) {
    for (const Mark& m : group)
        ui.setControlVisible(m.control, v == QLatin1String(m.value));
}

const ConfigSetting* codeProtectSetting(const DeviceRecord& d) {
    const ConfigSetting* last = nullptr;
    for (const auto& settings : d.ConfigSettings)
        for (const auto& setting : settings)
            if (setting.name == QLatin1String("CP")) last = &setting;
    return last;
}

} // namespace

void showDeviceRecord(OperatorUi& ui, const DeviceRecord& d) {
    ui.setControlText(Control::Label_pm_size,
                      d.ProgramWordCount > 0 ? QStringLiteral("= %1 word").arg(d.ProgramWordCount)
                                             : QString());

    const bool hasEeprom = d.EepromByteCount > 0;
    if (!hasEeprom) ui.setControlText(Control::rText_EepromMem, QString());
    ui.setControlVisible(Control::Label4, hasEeprom);
    ui.setControlVisible(Control::Label_ed_size, hasEeprom);
    ui.setControlVisible(Control::rText_EepromMem, hasEeprom);
    if (hasEeprom)
        ui.setControlText(Control::Label_ed_size,
                          QStringLiteral("= %1 byte").arg(d.EepromByteCount));

    ui.setControlText(
        Control::Label_Debug,
        codeProtectSetting(d)
            ? QStringLiteral("dec:%1 , hex:%2").arg(d.CodeProtectMask).arg(hex4(d.CodeProtectMask))
            : QString());

    // "retlw 0x" / "movlw 0x" and the value as written in the file.
    if (!d.CalibrationInstruction.isEmpty())
        ui.setControlText(Control::Text_Calib_Data, d.CalibrationInstruction.mid(8));
    if (d.ConfigWordDefined[1]) ui.setControlText(Control::Text_Config1, hex4(d.ConfigValue[1]));

    showMatching(ui, SocketOutlines, d.PackageType);
    showMatching(ui, JumperMarks, d.Jumper2);
}

} // namespace tavrin
