#include "logic_fixture.h"

#include "mainwindow/logic/device_layout.h"
#include "mainwindow/logic/device_selection.h"

#include "core/utilities.h"

#include <gtest/gtest.h>

using namespace tavrin;
using tavrin::test::LogicFixture;

namespace {

void select(LogicFixture& f, const QString& name) {
    SelectDevice(f.ctx, name, f.indexOf(name));
}

TEST(DeviceSelection, FourteenBitPartGetsItsGridTabErasedBufferAndIdBox) {
    LogicFixture f;
    select(f, QStringLiteral("PIC16F877A"));
    const Session& s = f.s;
    EXPECT_EQ(s.device.SelectedDevice, QStringLiteral("PIC16F877A"));
    EXPECT_EQ(s.buffer.ProgramImage[0], 0x3F);
    EXPECT_EQ(s.buffer.ProgramImage[2 * 8191 + 1], 0xFF);
    EXPECT_EQ(s.buffer.EepromImage[511], 0xFF);
    EXPECT_EQ(s.buffer.ConfigIdImage[14], 0x3F); // word 1 rebuilt from the grid
    EXPECT_EQ(s.buffer.ConfigIdImage[15], 0xFF);
    EXPECT_EQ(f.ui.texts.at(Control::Text_ID), QStringLiteral("FFFF"));
    EXPECT_EQ(f.ui.texts.at(Control::Text_Config1), QStringLiteral("3FFF"));
    EXPECT_EQ(s.buffer.IdText, QStringLiteral("FFFF"));
    EXPECT_EQ(f.ui.texts.at(Control::LblCheckSUM), CalcProgramChecksum(s));
    EXPECT_EQ(f.settings.value("deviceNew", ""), QString::number(f.indexOf("PIC16F877A")));
    EXPECT_EQ(f.settings.value("deviceNewName", ""), QStringLiteral("PIC16F877A"));
    EXPECT_EQ(f.view.boardShown, std::optional<bool>(true));
    ASSERT_TRUE(f.view.layout);
    const DeviceLayout& l = *f.view.layout;
    EXPECT_EQ(l.configTabShown,
              (std::array<bool, 7>{true, false, false, false, false, false, false}));
    EXPECT_EQ(l.infoTabShown, (std::array<bool, 10>{}));
    EXPECT_EQ(l.idMaxLength, 4);
    EXPECT_EQ(l.idText, std::optional<QString>("FFFF"));
    EXPECT_EQ(l.idDevRevLabelsShown, std::optional<bool>(true));
}

TEST(DeviceSelection, Pic18PartShowsSevenTabsAndAnEightDigitId) {
    LogicFixture f;
    select(f, QStringLiteral("PIC18F452"));
    ASSERT_TRUE(f.view.layout);
    const DeviceLayout& l = *f.view.layout;
    EXPECT_EQ(l.configTabShown, (std::array<bool, 7>{true, true, true, true, true, true, true}));
    EXPECT_EQ(l.infoTabSelected, 2);
    EXPECT_TRUE(l.infoTabShown[2]);
    EXPECT_EQ(l.idMaxLength, 8);
    EXPECT_EQ(l.idText, std::optional<QString>("FFFFFFFF"));
    EXPECT_EQ(l.idDevRevLabelsShown, std::optional<bool>(false));
    EXPECT_EQ(f.s.buffer.IdText, QStringLiteral("FFFFFFFF"));
    EXPECT_EQ(f.s.buffer.Id18Image[7], 0x0F);
    EXPECT_EQ(f.ui.texts.at(Control::Label_DEV_id), QStringLiteral("--"));
    EXPECT_EQ(f.s.buffer.ProgramImage[0], 0xFF);

    // Back to a 14-bit part: the ID box is limited to four digits again.
    select(f, QStringLiteral("PIC16F84A"));
    EXPECT_EQ(f.view.layout->idMaxLength, 4);
    EXPECT_EQ(f.view.layout->idText, std::optional<QString>("FFFF"));
}

// What the part's device module adds comes through the hook, by the name chosen: the calibration
// tab alone, and the module's own set-up once the window is laid out.
TEST(DeviceSelection, ThePartsModuleAddsItsTabOnceTheWindowIsLaidOut) {
    LogicFixture f;
    QStringList asked;
    std::optional<bool> calibrationTabShownAtSetUp;
    f.ctx.partSelectionHook = [&](const QString& deviceName) {
        asked << deviceName;
        PartSelectionHook hook;
        if (deviceName != QLatin1String("PIC16F877A")) return hook;
        hook.calibrationTabAlone = true;
        hook.setUp = [&] {
            calibrationTabShownAtSetUp = f.view.layout && f.view.layout->infoTabShown[4];
        };
        return hook;
    };
    select(f, QStringLiteral("PIC16F877A"));
    EXPECT_EQ(calibrationTabShownAtSetUp, std::optional<bool>(true));
    ASSERT_TRUE(f.view.layout);
    EXPECT_EQ(f.view.layout->infoTabSelected, 4);
    EXPECT_TRUE(f.view.layout->calibChoiceShown);

    select(f, QStringLiteral("PIC16F84A"));
    EXPECT_FALSE(f.view.layout->infoTabShown[4]);
    EXPECT_EQ(asked, (QStringList{QStringLiteral("PIC16F877A"), QStringLiteral("PIC16F84A")}));
}

TEST(DeviceSelection, LayoutPerProgrammingType) {
    std::array<std::int16_t, 21> words{};
    words[1] = words[2] = 1;
    struct Case {
        const char* type;
        int tab;
        bool calibrated;
        bool bandgapLabel;
        bool parity;
        int idMax;
        bool idTextSet;
    } cases[] = {
        {"12C5", 0, true, false, false, 4, false},    {"12C6", 0, true, false, false, 4, false},
        {"12F6", 0, true, true, false, 4, false},     {"EPROM2", 1, false, false, true, 4, false},
        {"18F_00", 2, false, false, false, 8, true},  {"18F_01", 2, false, false, false, 8, true},
        {"FLASH0", -1, false, false, false, 4, true}, {"12c5", -1, false, false, false, 4, true},
    };
    for (const Case& c : cases) {
        const DeviceLayout l = deviceLayoutFor(QString::fromLatin1(c.type), words);
        SCOPED_TRACE(c.type);
        EXPECT_TRUE(l.configTabShown[0] && l.configTabShown[1] && !l.configTabShown[2]);
        for (int t = 0; t < 10; ++t)
            EXPECT_EQ(l.infoTabShown[t], t == c.tab);
        EXPECT_EQ(l.infoTabSelected, c.tab < 0 ? 3 : c.tab);
        EXPECT_EQ(l.calibChoiceShown && l.calibChoiceChecked, c.calibrated);
        EXPECT_EQ(l.calibText, c.calibrated ? QStringLiteral("FF") : QStringLiteral("--"));
        EXPECT_FALSE(l.calibTextEnabled);
        EXPECT_FALSE(l.bandgapTextEnabled);
        EXPECT_EQ(l.bandgapText.has_value(), c.calibrated);
        EXPECT_EQ(l.bandgapLabelEnabled, c.bandgapLabel);
        EXPECT_EQ(l.parityEnabled, c.parity);
        EXPECT_EQ(l.idMaxLength, c.idMax);
        EXPECT_EQ(l.idText.has_value(), c.idTextSet);
    }
}

TEST(DeviceSelection, CountersSurviveReselectingTheSamePartOnly) {
    LogicFixture f;
    select(f, QStringLiteral("PIC16F84A"));
    f.s.run.PassCount = 3;
    f.s.run.FailCount = 1;
    f.s.run.AttemptCount = 4;
    select(f, QStringLiteral("PIC16F84A"));
    EXPECT_EQ(f.s.run.PassCount, 3);
    EXPECT_EQ(f.s.run.AttemptCount, 4);
    select(f, QStringLiteral("PIC16F877A"));
    EXPECT_EQ(f.s.run.PassCount, 0);
    EXPECT_EQ(f.s.run.FailCount, 0);
    EXPECT_EQ(f.s.run.AttemptCount, 0);

    f.s.run.PassCount = 2;
    SelectDevice(f.ctx, QString(), -1); // no list text: nothing at all
    EXPECT_EQ(f.s.run.PassCount, 2);
    f.s.app.DeviceListBusy = true;
    SelectDevice(f.ctx, QStringLiteral("PIC16F84A"), 1);
    EXPECT_EQ(f.s.device.SelectedDevice, QStringLiteral("PIC16F877A"));
}

TEST(DeviceSelection, FirmwareTest) {
    // What the status line shows of a part the board serves: its comment from the device file.
    DeviceRecord pic16F877A;
    test::fillPic16F877A(pic16F877A);
    const QString comment = pic16F877A.DeviceComment + QLatin1Char(' ');
    struct Case {
        bool chosenBefore;
        bool detected;
        const char* firmwareId;
        float required;
        QString status; // "" = nothing shown
    } cases[] = {
        {false, false, "", 6.5f, ""},
        {true, false, "", 7.0f,
         "指定したＰＩＣマイコンは、ファームウエアバージョン QZ-WRT400 V7.00 "
         "以降でサポートしています。 "},
        {false, true, "QZ-WRT400   6.50", 6.5f, comment},
        {true, true, "QZ-WRT400   6.50", 7.0f,
         "指定したＰＩＣマイコンは、ファームウエアバージョン QZ-WRT400 V7.00 "
         "以降でサポートしています。 "},
        {true, true, "QZ-WRT400A  6.5x", 6.5f, comment},
    };
    for (const Case& c : cases) {
        LogicFixture f;
        f.s.app.DeviceChosenOnce = c.chosenBefore;
        f.s.link.ProgrammerDetected = c.detected;
        f.s.link.FirmwareId = QString::fromLatin1(c.firmwareId);
        f.loadedRequired = c.required;
        select(f, QStringLiteral("PIC16F877A"));
        SCOPED_TRACE(c.firmwareId);
        if (c.status.isEmpty())
            EXPECT_TRUE(f.ui.statusHistory.isEmpty()) << f.ui.statusHistory.join('|').toStdString();
        else
            EXPECT_EQ(f.ui.statusHistory.last(), c.status);
        EXPECT_EQ(f.ui.statusColor == StatusColor::Red,
                  c.status.startsWith(QStringLiteral("指定")));
        EXPECT_TRUE(f.s.app.DeviceChosenOnce);
    }
    EXPECT_FLOAT_EQ(leadingFirmwareVersion(QStringLiteral("QZ-WRT400   6.50")), 6.5f);
    EXPECT_FLOAT_EQ(leadingFirmwareVersion(QStringLiteral("QZ-WRT400")), 0.0f);
    EXPECT_EQ(formatFirmwareVersion(0.5f), QStringLiteral(".50"));
    EXPECT_EQ(formatFirmwareVersion(12.0f), QStringLiteral("12.00"));
}

TEST(DeviceSelection, APartThatFailsToLoadLeavesNoPartSelected) {
    LogicFixture f;
    f.s.device.DeviceNames << QStringLiteral("PIC99X1");
    select(f, QStringLiteral("PIC16F84A"));
    select(f, QStringLiteral("PIC99X1"));
    EXPECT_TRUE(f.s.device.SelectedDevice.isEmpty());
    EXPECT_TRUE(f.ui.messages.empty()); // no "choose a part" box on top of the reader's report
    ASSERT_TRUE(f.view.layout);
    EXPECT_EQ(f.view.layout->configTabShown, (std::array<bool, 7>{}));
    EXPECT_FALSE(f.ui.enabled.at(Control::Cmd_Extend_Program));
}

} // namespace
