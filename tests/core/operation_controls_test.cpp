#include "core/operation_controls.h"
#include "core/session.h"
#include "support/recording_ui.h"

#include <gtest/gtest.h>

using namespace tavrin;
using tavrin::test::RecordingUi;

namespace {

const Control kSwitched[] = {
    Control::Text_ID,          Control::Command_pogram,
    Control::Command_read,     Control::Command_Vrify,
    Control::Command_blank,    Control::Cmd_open,
    Control::Cmd_save,         Control::Command_com,
    Control::SSTab_Config,     Control::SSTab_MCU_Infomatin,
    Control::Combo_device,     Control::file,
    Control::mnuAsmC,          Control::mnuRELOAD,
    Control::mnuASMwithRELOAD, Control::mnuAsmReloadProgram,
    Control::mnuHelp,          Control::mnuPcBufferMemoryClear,
};

TEST(OperationControls, DisableSwitchesEverythingOffAndFocusesTheWindow) {
    RecordingUi ui;
    DisableOperationControls(ui);
    for (Control c : kSwitched)
        EXPECT_FALSE(ui.enabled.at(c)) << controlName(c);
    EXPECT_FALSE(ui.enabled.at(Control::Cmd_Extend_Program));
    ASSERT_EQ(ui.focus.size(), 1u);
    EXPECT_EQ(ui.focus.back(), Control::frmMain);
}

TEST(OperationControls, EnableLeavesTheExtendedButtonOffForOneTimeProgrammableTypes) {
    struct Case {
        const char* type;
        bool extended;
    } cases[] = {{"5X28", false},  {"5X18", false},  {"12C5", false},
                 {"12C6", false},  {"EPROM", false}, {"EPROM2", false},
                 {"FLASH2", true}, {"18F_00", true}, {"12F6", true}};
    for (const Case& c : cases) {
        Session s;
        s.device.ProgramType = QString::fromLatin1(c.type);
        RecordingUi ui;
        EnableOperationControls(s, ui);
        for (Control k : kSwitched)
            EXPECT_TRUE(ui.enabled.at(k)) << controlName(k);
        EXPECT_EQ(ui.enabled.at(Control::Cmd_Extend_Program), c.extended) << c.type;
        EXPECT_TRUE(ui.focus.empty());
    }
}

TEST(OperationControls, CheckDeviceSelectedRefusesWithoutAPart) {
    Session s;
    RecordingUi ui;
    QString result = QStringLiteral("??");
    EXPECT_FALSE(CheckDeviceSelected(s, ui, result));
    EXPECT_EQ(result, QStringLiteral("NG"));
    EXPECT_EQ(ui.statusText, QStringLiteral("MCUを選んでください。 "));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].title, QStringLiteral("ｲﾝﾌｫﾒｰｼｮﾝ"));
    EXPECT_EQ(ui.messages[0].text, QStringLiteral("MCUを選んでください。"));
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(ui.focus.back(), Control::Combo_device);

    s.device.SelectedDevice = QStringLiteral("PIC16F84A");
    RecordingUi quiet;
    EXPECT_TRUE(CheckDeviceSelected(s, quiet, result));
    EXPECT_EQ(result, QStringLiteral("OK"));
    EXPECT_TRUE(quiet.calls.isEmpty());
    EXPECT_TRUE(quiet.messages.empty());
}

TEST(OperationControls, ProgramButtonFollowsBlankSkipAndTheDeviceFamily) {
    const QString plain = QStringLiteral("プログラム(&P)");
    const QString skip = plain + QStringLiteral("\nﾌﾞﾗﾝｸﾁｪｯｸ ｽｷｯﾌﾟ");
    struct Case {
        const char* device;
        bool checked;
        QString caption;
        bool offered;
    } cases[] = {
        {"PIC16F877A", true, skip, true},    {"PIC16F877A", false, plain, true},
        {"PIC12F675", true, skip, true},     {"QZ-WRT400", true, skip, true},
        {"PIC18F452", true, skip, true},     {"PIC16C622A", true, plain, false},
        {"PIC12C508A", false, plain, false}, {"", true, plain, false},
    };
    for (const Case& c : cases) {
        Session s;
        s.device.SelectedDevice = QString::fromLatin1(c.device);
        RecordingUi ui;
        UpdateProgramButton(s, ui, c.checked);
        EXPECT_EQ(ui.texts.at(Control::Command_pogram), c.caption) << c.device;
        EXPECT_EQ(ui.enabled.at(Control::mnuBlankSkip), c.offered) << c.device;
        EXPECT_EQ(ui.enabled.at(Control::Cmd_Extend_Program), c.offered) << c.device;
    }
}

TEST(OperationControls, ClearDeviceInfoDisplayEmptiesViewsLabelsAndGrids) {
    RecordingUi ui;
    ClearDeviceInfoDisplay(ui);
    for (Control c :
         {Control::RichTxtPgmMem, Control::rText_EepromMem, Control::Text_ID, Control::Text_Config1,
          Control::Text_Config2, Control::HFGrid, Control::Label_pm_size, Control::Label_ed_size})
        EXPECT_EQ(ui.texts.at(c), QString()) << controlName(c);
    EXPECT_TRUE(ui.enabled.at(Control::RichTxtPgmMem));
}

} // namespace
