// How the engine reaches the person at the bench. The main window implements this; tests use a
// scripted fake. Engine code never touches a widget: everything it shows goes through here.
#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

namespace tavrin {

// Controls of the main window and its companions that the engine sets directly. The names are
// the windows' own object names.
enum class Control {
    // main window labels and fields
    Label_pm_size,
    Label_ed_size,
    Label_Debug,
    LblCheckSUM,
    Label_Ver,
    Label_FirmwareVersion,
    Text_ID,
    Text_Config1,
    Text_Config2,
    Text_Calib_Data,
    Text_BG,
    Lbl_ID_Dev,
    Lbl_ID_Rev,
    Label_DEV_id,
    Label_DEV_rev,
    Label4,          // caption of the EEPROM view
    RichTxtPgmMem,   // program memory view
    rText_EepromMem, // EEPROM view
    Combo_device,
    Command_pogram,
    Command_read,
    Command_Vrify,
    Command_blank,
    Cmd_Extend_Program,
    Command3, // opens the EEPROM editor
    Cmd_open,
    Cmd_save,
    Command_com,
    SSTab_Config,
    SSTab_MCU_Infomatin,
    mnuFirmwareUpdate,
    mnuBlankSkip,
    // main window: the window itself (focus), the grid overlays and the menus that the operation
    // controls switch. Setting the text of HFGrid resets all seven grids to the empty layout.
    frmMain,
    HFGrid,
    CmbInit,
    TxtInit,
    file,
    mnuAsmC,
    mnuRELOAD,
    mnuASMwithRELOAD,
    mnuAsmReloadProgram,
    mnuHelp,
    mnuPcBufferMemoryClear,
    // main window: the calibration word read from the chip and written back ("R:xxxx,W:xxxx")
    Lbl_Calib_ReadWrite_Data,
    // main window: keep the chip's own calibration; the PIC12F683 calibration fields (lists
    // filled with setControlItems, a choice made by its text); continuous programming mode
    Chk_12F_CalibData_Select,
    Cmb_BOD_Calib,
    Cmb_POR_Calib,
    Cmb_FCAL_Calib,
    mnuLock,
    // extended per-area operations window, whether it is open or not
    frmExtend_Program_Cmd_Chip_Erace,
    frmExtend_Program_Cmd_PGM_Read,
    frmExtend_Program_Cmd_PGM_Program,
    frmExtend_Program_Cmd_PGM_Erase,
    frmExtend_Program_Cmd_PGM_PcbufferClear,
    frmExtend_Program_Cmd_DATA_Read,
    frmExtend_Program_Cmd_DATA_Program,
    frmExtend_Program_Cmd_DATA_Erase,
    frmExtend_Program_Cmd_DATA_PcbufferClear,
    frmExtend_Program_Cmd_EEDATA_modify,
    // about box
    frmAbout_Label_ID_Word,
    // board window: socket outlines, jumper marks and the "either" label
    frmBoard_Shape_8P,
    frmBoard_Shape_18P,
    frmBoard_Shape_28P,
    frmBoard_Shape_28AP,
    frmBoard_Shape_40P,
    frmBoard_Shape_12,
    frmBoard_Shape_23,
    frmBoard_Label_sel,
};

enum class StatusColor { Black, Red };

// Not an RGB value for setControlBackground: the top bit marks a system colour, index 15 the face
// of buttons. The window shows its palette's button colour for it.
constexpr std::uint32_t SystemButtonFaceColor = 0x8000000F;

enum class MessageIcon { None, Information, Exclamation, Critical, Question };

enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };

enum class MessageAnswer { Ok, Cancel, Yes, No, Retry };

// The button Enter presses: the first, second or third of the set, in the order listed above.
enum class MessageDefault { First, Second, Third };

// Which buffer views must be redrawn from the session. The ID/configuration labels and the
// configuration grids show the same words: naming either redraws both.
enum ViewFlag : unsigned {
    ViewProgram = 1u << 0,
    ViewEeprom = 1u << 1,
    ViewIdConfig = 1u << 2,
    ViewConfigGrids = 1u << 3,
    ViewAll = 0xFu,
};

class OperatorUi {
  public:
    virtual ~OperatorUi() = default;

    // The status line: the text already stripped of its colour prefix, and its colour.
    virtual void showStatusLine(const QString& text, StatusColor color) = 0;

    // The progress bar and its percentage label ("28%"); visible = false hides both.
    virtual void showProgressBar(bool visible, double minimum, double maximum, double value,
                                 const QString& percentText) = 0;

    // A modal message box; returns the button the person chose (closing it counts as Cancel or
    // No, whichever the box offers, or Ok for a single button).
    virtual MessageAnswer messageBox(MessageIcon icon, MessageButtons buttons, const QString& title,
                                     const QString& text,
                                     MessageDefault defaultButton = MessageDefault::First) = 0;

    // Texts, visibility, enabled state and focus of named controls.
    virtual void setControlText(Control control, const QString& text) = 0;
    virtual void setControlVisible(Control control, bool visible) = 0;
    virtual void setControlEnabled(Control control, bool enabled) = 0;
    virtual void setControlBackground(Control control, std::uint32_t rgb) = 0;
    virtual void focusControl(Control control) = 0;

    // The entries of a choice list, and the one selected (-1: none).
    virtual void setControlItems(Control control, const QStringList& items, int selected) = 0;

    // A verify mismatch line appended to the program or EEPROM view, after what it shows.
    virtual void appendProgramViewLine(const QString& line) = 0;
    virtual void appendEepromViewLine(const QString& line) = 0;

    // Redraw the named buffer views from the session.
    virtual void refreshViews(unsigned viewFlags) = 0;

    // The device list of the main window.
    virtual void setDeviceList(const QStringList& names) = 0;

    // The busy pointer around long work.
    virtual void setBusy(bool busy) = 0;

    // Lets pending window events run during a long wait (a no-op when the engine runs on a
    // thread of its own).
    virtual void pumpEvents() = 0;

    // What ShowStatusMessage last put on the status line, without its colour prefix and detail:
    // a program run that stops names in its log line what the person was last told.
    const QString& lastStatusMessage() const { return lastStatusMessage_; }
    void keepStatusMessage(const QString& message) { lastStatusMessage_ = message; }

  private:
    QString lastStatusMessage_;
};

// An OperatorUi that shows nothing and answers every question with its default button.
class NullOperatorUi : public OperatorUi {
  public:
    void showStatusLine(const QString&, StatusColor) override {}
    void showProgressBar(bool, double, double, double, const QString&) override {}
    MessageAnswer messageBox(MessageIcon, MessageButtons buttons, const QString&, const QString&,
                             MessageDefault defaultButton = MessageDefault::First) override;
    void setControlText(Control, const QString&) override {}
    void setControlVisible(Control, bool) override {}
    void setControlEnabled(Control, bool) override {}
    void setControlBackground(Control, std::uint32_t) override {}
    void focusControl(Control) override {}
    void setControlItems(Control, const QStringList&, int) override {}
    void appendProgramViewLine(const QString&) override {}
    void appendEepromViewLine(const QString&) override {}
    void refreshViews(unsigned) override {}
    void setDeviceList(const QStringList&) override {}
    void setBusy(bool) override {}
    void pumpEvents() override {}
};

const char* controlName(Control control);

// The buttons of a set in the order the box shows them.
std::vector<MessageAnswer> messageButtonsInOrder(MessageButtons buttons);

// The answer Enter gives: the default button, or the first when the set has no such button.
MessageAnswer defaultAnswer(MessageButtons buttons, MessageDefault defaultButton);

} // namespace tavrin
