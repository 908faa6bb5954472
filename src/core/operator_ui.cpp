#include "operator_ui.h"

namespace tavrin {

std::vector<MessageAnswer> messageButtonsInOrder(MessageButtons buttons) {
    switch (buttons) {
    case MessageButtons::Ok:
        return {MessageAnswer::Ok};
    case MessageButtons::OkCancel:
        return {MessageAnswer::Ok, MessageAnswer::Cancel};
    case MessageButtons::YesNo:
        return {MessageAnswer::Yes, MessageAnswer::No};
    case MessageButtons::YesNoCancel:
        return {MessageAnswer::Yes, MessageAnswer::No, MessageAnswer::Cancel};
    case MessageButtons::RetryCancel:
        return {MessageAnswer::Retry, MessageAnswer::Cancel};
    }
    return {MessageAnswer::Ok};
}

MessageAnswer defaultAnswer(MessageButtons buttons, MessageDefault defaultButton) {
    const std::vector<MessageAnswer> order = messageButtonsInOrder(buttons);
    const auto index = std::size_t(defaultButton);
    return index < order.size() ? order[index] : order.front();
}

MessageAnswer NullOperatorUi::messageBox(MessageIcon, MessageButtons buttons, const QString&,
                                         const QString&, MessageDefault defaultButton) {
    return defaultAnswer(buttons, defaultButton);
}

const char* controlName(Control c) {
    switch (c) {
#define TAVRIN_CONTROL_NAME(x)                                                                     \
    case Control::x:                                                                               \
        return #x;
        TAVRIN_CONTROL_NAME(Label_pm_size)
        TAVRIN_CONTROL_NAME(Label_ed_size)
        TAVRIN_CONTROL_NAME(Label_Debug)
        TAVRIN_CONTROL_NAME(LblCheckSUM)
        TAVRIN_CONTROL_NAME(Label_Ver)
        TAVRIN_CONTROL_NAME(Label_FirmwareVersion)
        TAVRIN_CONTROL_NAME(Text_ID)
        TAVRIN_CONTROL_NAME(Text_Config1)
        TAVRIN_CONTROL_NAME(Text_Config2)
        TAVRIN_CONTROL_NAME(Text_Calib_Data)
        TAVRIN_CONTROL_NAME(Text_BG)
        TAVRIN_CONTROL_NAME(Lbl_ID_Dev)
        TAVRIN_CONTROL_NAME(Lbl_ID_Rev)
        TAVRIN_CONTROL_NAME(Label_DEV_id)
        TAVRIN_CONTROL_NAME(Label_DEV_rev)
        TAVRIN_CONTROL_NAME(Label4)
        TAVRIN_CONTROL_NAME(RichTxtPgmMem)
        TAVRIN_CONTROL_NAME(rText_EepromMem)
        TAVRIN_CONTROL_NAME(Combo_device)
        TAVRIN_CONTROL_NAME(Command_pogram)
        TAVRIN_CONTROL_NAME(Command_read)
        TAVRIN_CONTROL_NAME(Command_Vrify)
        TAVRIN_CONTROL_NAME(Command_blank)
        TAVRIN_CONTROL_NAME(Cmd_Extend_Program)
        TAVRIN_CONTROL_NAME(Command3)
        TAVRIN_CONTROL_NAME(Cmd_open)
        TAVRIN_CONTROL_NAME(Cmd_save)
        TAVRIN_CONTROL_NAME(Command_com)
        TAVRIN_CONTROL_NAME(SSTab_Config)
        TAVRIN_CONTROL_NAME(SSTab_MCU_Infomatin)
        TAVRIN_CONTROL_NAME(mnuFirmwareUpdate)
        TAVRIN_CONTROL_NAME(mnuBlankSkip)
        TAVRIN_CONTROL_NAME(frmMain)
        TAVRIN_CONTROL_NAME(HFGrid)
        TAVRIN_CONTROL_NAME(CmbInit)
        TAVRIN_CONTROL_NAME(TxtInit)
        TAVRIN_CONTROL_NAME(file)
        TAVRIN_CONTROL_NAME(mnuAsmC)
        TAVRIN_CONTROL_NAME(mnuRELOAD)
        TAVRIN_CONTROL_NAME(mnuASMwithRELOAD)
        TAVRIN_CONTROL_NAME(mnuAsmReloadProgram)
        TAVRIN_CONTROL_NAME(mnuHelp)
        TAVRIN_CONTROL_NAME(mnuPcBufferMemoryClear)
        TAVRIN_CONTROL_NAME(Lbl_Calib_ReadWrite_Data)
        TAVRIN_CONTROL_NAME(Chk_12F_CalibData_Select)
        TAVRIN_CONTROL_NAME(Cmb_BOD_Calib)
        TAVRIN_CONTROL_NAME(Cmb_POR_Calib)
        TAVRIN_CONTROL_NAME(Cmb_FCAL_Calib)
        TAVRIN_CONTROL_NAME(mnuLock)
        TAVRIN_CONTROL_NAME(frmExtend_Program_Cmd_Chip_Erace)
        TAVRIN_CONTROL_NAME(frmExtend_Program_Cmd_PGM_Read)
        TAVRIN_CONTROL_NAME(frmExtend_Program_Cmd_PGM_Program)
        TAVRIN_CONTROL_NAME(frmExtend_Program_Cmd_PGM_Erase)
        TAVRIN_CONTROL_NAME(frmExtend_Program_Cmd_PGM_PcbufferClear)
        TAVRIN_CONTROL_NAME(frmExtend_Program_Cmd_DATA_Read)
        TAVRIN_CONTROL_NAME(frmExtend_Program_Cmd_DATA_Program)
        TAVRIN_CONTROL_NAME(frmExtend_Program_Cmd_DATA_Erase)
        TAVRIN_CONTROL_NAME(frmExtend_Program_Cmd_DATA_PcbufferClear)
        TAVRIN_CONTROL_NAME(frmExtend_Program_Cmd_EEDATA_modify)
        TAVRIN_CONTROL_NAME(frmAbout_Label_ID_Word)
        TAVRIN_CONTROL_NAME(frmBoard_Shape_8P)
        TAVRIN_CONTROL_NAME(frmBoard_Shape_18P)
        TAVRIN_CONTROL_NAME(frmBoard_Shape_28P)
        TAVRIN_CONTROL_NAME(frmBoard_Shape_28AP)
        TAVRIN_CONTROL_NAME(frmBoard_Shape_40P)
        TAVRIN_CONTROL_NAME(frmBoard_Shape_12)
        TAVRIN_CONTROL_NAME(frmBoard_Shape_23)
        TAVRIN_CONTROL_NAME(frmBoard_Label_sel)
#undef TAVRIN_CONTROL_NAME
    }
    return "?";
}

} // namespace tavrin
