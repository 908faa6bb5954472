#include "logic_fixture.h"

#include "mainwindow/logic/device_selection.h"
#include "mainwindow/logic/folder_history.h"
#include "mainwindow/logic/menu_commands.h"
#include "mainwindow/logic/window_geometry.h"

#include <gtest/gtest.h>

using namespace tavrin;

namespace {

TEST(WindowGeometry, DefaultsAndRoundTripInTwips) {
    MemorySettingsStore settings;
    WindowGeometry g = loadWindowGeometry(settings);
    EXPECT_EQ(g.left, 7);
    EXPECT_EQ(g.top, 7);
    EXPECT_EQ(g.height, 524);
    saveWindowGeometry(settings, {20, 30, 600});
    EXPECT_EQ(settings.value("MainLeft", ""), QStringLiteral("300"));
    EXPECT_EQ(settings.value("MainHeight", ""), QStringLiteral("9000"));
    g = loadWindowGeometry(settings);
    EXPECT_EQ(g.left, 20);
    EXPECT_EQ(g.top, 30);
    EXPECT_EQ(g.height, 600);
}

TEST(MenuToggles, EachToggleWritesItsSettingAndFollowsUp) {
    test::LogicFixture f;
    SelectDevice(f.ctx, QStringLiteral("PIC16F84A"), 1);
    const QString caption = f.ui.texts.at(Control::Command_pogram);
    ToggleBlankSkip(f.ctx);
    EXPECT_EQ(f.settings.value("SkipMode", ""), "1");
    EXPECT_TRUE(f.ui.texts.at(Control::Command_pogram).endsWith(QStringLiteral("ﾌﾞﾗﾝｸﾁｪｯｸ ｽｷｯﾌﾟ")));
    ToggleBlankSkip(f.ctx);
    EXPECT_EQ(f.settings.value("SkipMode", ""), "0");
    EXPECT_EQ(f.ui.texts.at(Control::Command_pogram), caption);

    ToggleComMode1(f.ctx);
    EXPECT_EQ(f.settings.value("mnuComMode1", ""), "1");
    EXPECT_EQ(f.ui.statusText, kComMode1Hint + " ");
    EXPECT_TRUE(f.ctx.s.app.ComMode1Checked); // the link's next detection keeps RTS low

    ToggleBoardInformation(f.ctx);
    EXPECT_EQ(f.settings.value("mnuBoardInfomation", ""), "False");
    EXPECT_EQ(f.view.boardShown, std::optional<bool>(false));
    ToggleBoardInformation(f.ctx);
    EXPECT_EQ(f.settings.value("mnuBoardInfomation", ""), "True");
    EXPECT_EQ(f.view.boardShown, std::optional<bool>(true));

    MenuToggles t;
    t.load(f.settings);
    EXPECT_FALSE(t.blankSkip);
    EXPECT_TRUE(t.comMode1);
    EXPECT_TRUE(t.boardInformation);

    ToggleLock(f.ctx);
    EXPECT_TRUE(f.ui.enabled.at(Control::Command_pogram));
    EXPECT_TRUE(f.ui.enabled.at(Control::Command_blank));
    EXPECT_TRUE(f.ui.enabled.at(Control::Command_Vrify));
    EXPECT_FALSE(f.ui.enabled.at(Control::Command_read));
    EXPECT_FALSE(f.ui.enabled.at(Control::Combo_device));
    EXPECT_EQ(f.ui.focus.back(), Control::Command_pogram);
    ToggleLock(f.ctx);
    EXPECT_TRUE(f.ui.enabled.at(Control::Command_read));
}

TEST(FolderHistory, EntryTextsSplitAtTheLastFourBlanks) {
    EXPECT_EQ(FolderHistory::entryText("/home/A B", "PIC16F84A"), "/home/A B    PIC16F84A");
    using P = std::pair<QString, QString>;
    EXPECT_EQ(FolderHistory::splitEntry("/a    b    PIC16F84A"), P("/a    b", "PIC16F84A"));
    EXPECT_EQ(FolderHistory::splitEntry("c:\\work"), P("c:\\work", ""));
}

} // namespace
