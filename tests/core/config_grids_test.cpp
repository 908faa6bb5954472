#include "core/config_grids.h"
#include "core/session.h"
#include "support/device_fixtures.h"
#include "support/recording_ui.h"

#include <gtest/gtest.h>

using namespace tavrin;
using tavrin::test::RecordingUi;

namespace {

// Word 1 as the buffer holds it: the configuration image, which the grids take it from.
void holdWord(Session& s, std::int32_t word) {
    s.buffer.ConfigIdImage[14] = std::uint8_t(word >> 8);
    s.buffer.ConfigIdImage[15] = std::uint8_t(word);
    s.device.ConfigValue[1] = word;
}

QStringList optionsShown(const ConfigGrid& g) {
    QStringList out;
    for (const auto& r : g.rows)
        out << r.setting + QLatin1Char('=') + r.option;
    return out;
}

TEST(ConfigGrids, GridShowsTheOptionsInEffectAndTheHeaderValue) {
    Session s;
    test::fillPic16F84A(s.device);
    holdWord(s, 0x3FF9); // XT, WDT off, PWRT off, CP off
    RefreshConfigGrids(s);
    const ConfigGrid g = configGrid(s, 1);
    EXPECT_EQ(g.title, QStringLiteral("ｺﾝﾌｨｸﾞ1"));
    EXPECT_EQ(g.header, QStringLiteral("0x3FF9"));
    EXPECT_EQ(optionsShown(g), (QStringList{"FOSC=XT", "WDTE=OFF", "PWRTE=OFF", "CP=OFF"}));
    EXPECT_FALSE(s.device.CodeProtectOn);
}

TEST(ConfigGrids, RefreshNormalisesUnlessTheValuesCameFromTheChip) {
    Session s;
    test::fillPic12C508A(s.device); // implemented 0x001F, fixed 0x0FE0
    holdWord(s, 0x0003);
    RefreshConfigGrids(s);
    EXPECT_EQ(s.device.ConfigValue[1], 0x0FE3);

    holdWord(s, 0x0003);
    s.device.ConfigFromDevice = true;
    RefreshConfigGrids(s);
    EXPECT_EQ(s.device.ConfigValue[1], 0x0003);
    EXPECT_EQ(configGrid(s, 1).header, QStringLiteral("0x0003"));
}

TEST(ConfigGrids, ChoosingAnOptionRebuildsTheWordFromTheStartValue) {
    Session s;
    test::fillPic16F84A(s.device);
    holdWord(s, 0x3FFF);
    RecordingUi ui;
    RefreshConfigGrids(s);
    ASSERT_EQ(s.device.ConfigValue[1], 0x3FFF);
    ChooseConfigOption(s, ui, 1, 0, 1); // FOSC XT: mask 3, value 1
    EXPECT_EQ(s.device.ConfigValue[1], 0x3FFD);
    EXPECT_EQ(s.buffer.ConfigIdImage[14], 0x3F);
    EXPECT_EQ(s.buffer.ConfigIdImage[15], 0xFD);
    EXPECT_EQ(ui.texts.at(Control::Text_Config1), QStringLiteral("3FFD"));
    EXPECT_EQ(configGrid(s, 1).header, QStringLiteral("0x3FFD"));
    EXPECT_TRUE(ui.refreshedViews & ViewConfigGrids);

    ChooseConfigOption(s, ui, 1, 3, 1); // CP ON
    EXPECT_EQ(s.device.ConfigValue[1], 0x000D);
    EXPECT_TRUE((RefreshConfigGrids(s), s.device.CodeProtectOn));
    EXPECT_EQ(optionsShown(configGrid(s, 1)),
              (QStringList{"FOSC=XT", "WDTE=ON", "PWRTE=OFF", "CP=ON"}));
}

TEST(ConfigGrids, AnEmptyChoiceStillRecomputes) {
    Session s;
    test::fillPic16F84A(s.device);
    RecordingUi ui;
    holdWord(s, 0x3FF9);
    ChooseConfigOption(s, ui, 1, 0, -1);
    EXPECT_EQ(s.device.ConfigValue[1], 0x3FF9);
    EXPECT_EQ(s.buffer.ConfigIdImage[15], 0xF9);
}

TEST(ConfigGrids, BitsThatSelectNoOptionSurviveAnEditOfAnotherSetting) {
    Session s;
    test::fillPic16F877A(s.device);
    RecordingUi ui;
    // A setting that lists only one of its two states, as a loaded file may hold the other.
    s.device.ConfigSettings[1].push_back(
        {QStringLiteral("DEBUG"), {{QStringLiteral("OFF"), 0x0800, 0x0800}}});
    holdWord(s, 0x37FF); // DEBUG bit clear: no option of DEBUG matches
    ASSERT_EQ(configGrid(s, 1).rows.back().option, QString());
    ChooseConfigOption(s, ui, 1, 1, 0); // WDTE OFF
    EXPECT_EQ(s.device.ConfigValue[1], 0x37FB);
}

TEST(ConfigGrids, CodeProtectVerdictDoesNotDependOnTheOrderOfTheOptionRows) {
    for (bool protectedFirst : {false, true}) {
        Session s;
        test::fillPic16F84A(s.device);
        auto& options = s.device.ConfigSettings[1][3].options;
        if (protectedFirst) std::swap(options[0], options[1]);
        holdWord(s, 0x3FFF);
        RefreshConfigGrids(s);
        EXPECT_FALSE(s.device.CodeProtectOn) << protectedFirst;
        holdWord(s, 0x000F);
        RefreshConfigGrids(s);
        EXPECT_TRUE(s.device.CodeProtectOn) << protectedFirst;
    }
}

TEST(ConfigGrids, Eprom2KeepsTheParityBitsOfWordOne) {
    Session s;
    test::fillPic16F84A(s.device);
    s.device.ProgramType = QStringLiteral("EPROM2");
    RecordingUi ui;
    RecomputeConfigFromGrid(s, ui, 1);
    EXPECT_EQ(s.buffer.ConfigIdImage[14], 0xFF);
    EXPECT_EQ(ui.texts.at(Control::Text_Config1), QStringLiteral("3FFF"));
}

TEST(ConfigGrids, ChooserOffersEveryOptionOfTheRowEvenWhenNoneMatches) {
    Session s;
    test::fillPic16F877A(s.device);
    s.device.ConfigSettings[1].push_back(
        {QStringLiteral("DEBUG"), {{QStringLiteral("OFF"), 0x0800, 0x0800}}});
    const int lastRow = int(s.device.ConfigSettings[1].size()) - 1;
    holdWord(s, 0x37FF);
    auto choice = configOptionChoice(s, 1, lastRow);
    ASSERT_TRUE(choice);
    EXPECT_EQ(choice->options, QStringList{"OFF"});
    EXPECT_EQ(choice->current, -1);
    choice = configOptionChoice(s, 1, 0);
    ASSERT_TRUE(choice);
    EXPECT_EQ(choice->options, (QStringList{"LP", "XT", "HS", "EXTRC"}));
    EXPECT_EQ(choice->current, 3);
    EXPECT_FALSE(configOptionChoice(s, 1, lastRow + 1));
    s.device.SelectedDevice.clear();
    EXPECT_FALSE(configOptionChoice(s, 1, 0));
    EXPECT_TRUE(configGrid(s, 1).rows.empty());
}

TEST(ConfigGrids, SettingCommentIsTheLastLineNamingTheSetting) {
    Session s;
    test::fillPic16F84A(s.device);
    // The shipped file has a line for every setting of the part: one is taken away.
    std::erase_if(s.device.SettingComments,
                  [](const SettingComment& c) { return c.setting == QLatin1String("WDTE"); });
    s.device.SettingComments.push_back({"FOSC", "後", "の"});
    auto c = settingComment(s, QStringLiteral("FOSC"));
    ASSERT_TRUE(c);
    EXPECT_EQ(c->first, QStringLiteral("後"));
    EXPECT_FALSE(settingComment(s, QStringLiteral("WDTE")));
}

} // namespace
