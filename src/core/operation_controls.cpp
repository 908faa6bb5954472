#include "operation_controls.h"

#include "eeprom_layout.h"
#include "operator_ui.h"
#include "program_type.h"
#include "session.h"
#include "status.h"

#include <algorithm>

namespace tavrin {

namespace {

// In the order the window has always switched them; Cmd_Extend_Program and Command3 follow rules
// of their own. Command3 is switched with them: the EEPROM editor must not change the buffer
// that an operation is writing.
constexpr std::array kOperationControls{
    Control::Text_ID,          Control::Command_pogram,
    Control::Command_read,     Control::Command_Vrify,
    Control::Command_blank,    Control::Cmd_Extend_Program,
    Control::Command3,         Control::Cmd_open,
    Control::Cmd_save,         Control::Command_com,
    Control::SSTab_Config,     Control::SSTab_MCU_Infomatin,
    Control::Combo_device,     Control::file,
    Control::mnuAsmC,          Control::mnuRELOAD,
    Control::mnuASMwithRELOAD, Control::mnuAsmReloadProgram,
    Control::mnuHelp,          Control::mnuPcBufferMemoryClear,
};

bool isFlashFamilyName(const QString& device) {
    const QString prefix = device.left(6);
    return prefix == QLatin1String("PIC12F") || prefix == QLatin1String("PIC16F") ||
           prefix == QLatin1String("QZ-WRT") || prefix == QLatin1String("PIC18F");
}

} // namespace

void EnableOperationControls(const Session& s, OperatorUi& ui) {
    for (Control c : kOperationControls) {
        bool on = true;
        if (c == Control::Cmd_Extend_Program) on = !isOtpOrEpromType(s.device.ProgramType);
        if (c == Control::Command3) on = hasEditableEeprom(s);
        ui.setControlEnabled(c, on);
    }
}

void DisableOperationControls(OperatorUi& ui) {
    for (Control c : kOperationControls)
        ui.setControlEnabled(c, false);
    ui.focusControl(Control::frmMain);
}

bool isOperationControl(Control c) {
    return std::find(kOperationControls.begin(), kOperationControls.end(), c) !=
           kOperationControls.end();
}

bool isContinuousModeButton(Control c) {
    return std::find(kContinuousModeButtons.begin(), kContinuousModeButtons.end(), c) !=
           kContinuousModeButtons.end();
}

bool CheckDeviceSelected(const Session& s, OperatorUi& ui, QString& result) {
    result = result::OK;
    if (!s.device.SelectedDevice.isEmpty()) return true;
    const QString text = QStringLiteral("MCUを選んでください。");
    ShowStatusMessage(ui, text, QString());
    ui.messageBox(MessageIcon::Exclamation, MessageButtons::Ok, QStringLiteral("ｲﾝﾌｫﾒｰｼｮﾝ"), text);
    result = result::NG;
    ui.focusControl(Control::Combo_device);
    return false;
}

void UpdateProgramButton(const Session& s, OperatorUi& ui, bool blankSkipChecked) {
    const bool flash = isFlashFamilyName(s.device.SelectedDevice);
    const bool showSkip = blankSkipChecked && flash;
    ui.setControlText(Control::Command_pogram,
                      showSkip ? kProgramButtonCaption + QLatin1Char('\n') + kBlankSkipCaptionLine
                               : kProgramButtonCaption);
    ui.setControlEnabled(Control::mnuBlankSkip, flash);
    ui.setControlEnabled(Control::Cmd_Extend_Program, flash);
}

void ClearDeviceInfoDisplay(OperatorUi& ui) {
    ui.setControlEnabled(Control::RichTxtPgmMem, true);
    ui.setControlText(Control::RichTxtPgmMem, QString());
    ui.setControlText(Control::rText_EepromMem, QString());
    ui.setControlText(Control::Text_ID, QString());
    ui.setControlText(Control::Text_Config1, QString());
    ui.setControlText(Control::Text_Config2, QString());
    ui.setControlText(Control::HFGrid, QString());
    ui.setControlText(Control::Label_pm_size, QString());
    ui.setControlText(Control::Label_ed_size, QString());
}

} // namespace tavrin
