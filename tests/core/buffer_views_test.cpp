#include "core/buffer_fills.h"
#include "core/buffer_views.h"
#include "core/session.h"
#include "core/utilities.h"
#include "support/device_fixtures.h"
#include "support/recording_ui.h"

#include <gtest/gtest.h>

using namespace tavrin;

namespace {

const QString dot = QString(QChar(0xFF65));

QString dots(int n) {
    return dot.repeated(n);
}

TEST(BufferViews, ErasedFourteenBitProgramDump) {
    Session s;
    test::fillPic16F877A(s.device);
    FillProgramErased(s);
    const QStringList lines = programDumpLines(s, false);
    ASSERT_EQ(lines.size(), 1024);
    EXPECT_EQ(lines.first(),
              QStringLiteral("0000:3FFF 3FFF 3FFF 3FFF 3FFF 3FFF 3FFF 3FFF ") + dots(16));
    EXPECT_TRUE(lines.last().startsWith(QStringLiteral("1FF8:")));
}

TEST(BufferViews, ProgramDumpCharactersAndAPartialLastGroup) {
    Session s;
    s.device.ProgramType = QStringLiteral("FLASH0");
    s.device.ProgramWordCount = 12; // the last four words are not shown
    auto& p = s.buffer.ProgramImage;
    const std::uint8_t words[8][2] = {{0x30, 0x41}, {0x00, 0x7F}, {0x12, 0x20}, {0x00, 0x7E},
                                      {0x3F, 0xFF}, {0x00, 0x00}, {0x34, 0x5A}, {0x20, 0x1F}};
    for (int w = 0; w < 8; ++w) {
        p[2 * w] = words[w][0];
        p[2 * w + 1] = words[w][1];
    }
    const QStringList lines = programDumpLines(s, false);
    ASSERT_EQ(lines.size(), 1);
    EXPECT_EQ(lines[0], QStringLiteral("0000:3041 007F 1220 007E 3FFF 0000 345A 201F ") + dot +
                            "A" + dots(2) + dot + " " + dot + "~" + dots(4) + dot + "Z" + dots(2));

    s.device.ProgramType = QStringLiteral("18F_00"); // each byte a character, even byte first
    EXPECT_EQ(programDumpLines(s, false)[0].mid(45),
              QStringLiteral("0A") + dot + dot + dot + " " + dot + "~?" + dots(3) + "4Z " + dot);
}

TEST(BufferViews, ParityViewShowsBitsFifteenAndFourteen) {
    Session s;
    s.device.ProgramType = QStringLiteral("EPROM2");
    s.device.ProgramWordCount = 8;
    FillProgramErased(s);
    const QString line = programDumpLines(s, true)[0];
    EXPECT_EQ(line.left(5 + 5 * 8), QStringLiteral("0000:") + QStringLiteral("---1 ").repeated(8));
}

TEST(BufferViews, DumpAddressesShowOnlyTheLowSixteenBits) {
    Session s;
    s.device.ProgramType = QStringLiteral("18F_00");
    s.device.ProgramWordCount = 0x10008;
    const QStringList lines = programDumpLines(s, false);
    ASSERT_EQ(lines.size(), 0x2001);
    EXPECT_TRUE(lines.last().startsWith(QStringLiteral("0000:")));
}

// The views show the dumps as one text; it must read as the lines joined, for every layout.
TEST(BufferViews, ViewTextsAreTheLinesJoined) {
    struct Case {
        const char* type;
        std::int32_t programWords, eepromBytes;
        bool parity;
    };
    const Case cases[] = {
        {"FLASH0", 8192, 256, false}, {"FLASH0", 8192, 256, true}, {"18F_00", 16384, 256, false},
        {"18F_00", 12, 17, false},    {"EPROM2", 5, 0, false},     {"18F_00", 0, 1, true},
    };
    for (const Case& c : cases) {
        Session s;
        s.device.ProgramType = QString::fromLatin1(c.type);
        s.device.ProgramWordCount = c.programWords;
        s.device.EepromByteCount = c.eepromBytes;
        for (std::size_t k = 0; k < s.buffer.ProgramImage.size(); ++k)
            s.buffer.ProgramImage[k] = std::uint8_t(k * 37 + k / 256);
        for (std::size_t k = 0; k < s.buffer.EepromImage.size(); ++k)
            s.buffer.EepromImage[k] = std::uint8_t(k * 11 + 3);
        SCOPED_TRACE(std::string(c.type) + " words " + std::to_string(c.programWords));
        EXPECT_EQ(programDumpText(s, c.parity), programDumpLines(s, c.parity).join('\n'));
        EXPECT_EQ(eepromDumpTextForDevice(s), eepromDumpLinesForDevice(s).join('\n'));

        // A view that finds its source unchanged keeps its text: no byte past the source may
        // show in it.
        const QString program = programDumpText(s, c.parity);
        const QString eeprom = eepromDumpTextForDevice(s);
        s.buffer.ProgramImage[programDumpSource(s, c.parity).bytes.size()] ^= 0xFF;
        s.buffer.EepromImage[eepromDumpSourceForDevice(s).bytes.size()] ^= 0xFF;
        EXPECT_EQ(programDumpText(s, c.parity), program);
        EXPECT_EQ(eepromDumpTextForDevice(s), eeprom);
    }
}

TEST(BufferViews, EepromDumpsBothLayouts) {
    Session s;
    test::fillPic16F84A(s.device);
    s.device.EepromByteCount = 20;
    FillEepromErased(s);
    s.buffer.EepromImage[1] = 0x41;
    s.buffer.EepromImage[3] = 0x7F;
    QStringList lines = eepromDumpLines(s);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0],
              QStringLiteral("0000:41 7F ") + QStringLiteral("FF ").repeated(14) + "A" + dots(15));
    EXPECT_EQ(lines[1], QStringLiteral("0010:FF FF FF FF ") + dots(4));

    test::fillPic18F452(s.device);
    s.device.EepromByteCount = 17;
    for (int i = 0; i < 17; ++i)
        s.buffer.EepromImage[i] = std::uint8_t(0x40 + i);
    lines = eepromDumpLinesForDevice(s);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0].left(11), QStringLiteral("0000:40 41 "));
    EXPECT_TRUE(lines[0].endsWith(QStringLiteral("@ABCDEFGHIJKLMNO")));
    EXPECT_EQ(lines[1], QStringLiteral("0010:50 P"));

    s.device.EepromByteCount = 0;
    EXPECT_TRUE(eepromDumpLinesForDevice(s).isEmpty());
}

TEST(BufferViews, IdAndConfigurationTexts) {
    Session s;
    test::fillPic16F84A(s.device);
    FillIdConfigErased(s);
    auto& c = s.buffer.ConfigIdImage;
    for (int k = 0; k < 4; ++k) {
        c[2 * k] = 0x00;
        c[2 * k + 1] = std::uint8_t(k + 1);
    }
    c[14] = 0xFF; // parity bits of an EPROM2 word are not shown
    c[15] = 0xF1;
    test::RecordingUi ui;
    ShowIdAndConfig(s, ui);
    EXPECT_EQ(ui.texts.at(Control::Text_ID), QStringLiteral("1234"));
    EXPECT_EQ(ui.texts.at(Control::Text_Config1), QStringLiteral("3FF1"));
    EXPECT_EQ(ui.texts.at(Control::Text_Config2), QStringLiteral("3FFF"));
    EXPECT_EQ(ui.texts.count(Control::LblCheckSUM), 1u);
}

TEST(BufferViews, Pic18IdShowsTheLoadedIdNotAFixedText) {
    Session s;
    test::fillPic18F452(s.device);
    const std::uint8_t id[8] = {0x01, 0x02, 0x03, 0x04, 0x0A, 0x0B, 0x0C, 0x1D};
    std::copy(id, id + 8, s.buffer.Id18Image.begin());
    s.device.ConfigValue[1] = 0x2200;
    s.device.ConfigValue[2] = 0x0E0D;
    test::RecordingUi ui;
    ui.texts[Control::Text_Config1] = QStringLiteral("keep");
    ShowIdAndConfig(s, ui);
    EXPECT_EQ(ui.texts.at(Control::Text_ID), QStringLiteral("1234ABCD"));
    EXPECT_EQ(s.buffer.IdText, QStringLiteral("1234ABCD"));
    // The labels show the words the chip gets, as the grids do (masked to the implemented bits).
    EXPECT_EQ(ui.texts.at(Control::Text_Config1), hex4(s.device.ConfigValue[1]));
    EXPECT_EQ(ui.texts.at(Control::Text_Config1), QStringLiteral("2200"));
    EXPECT_EQ(ui.texts.at(Control::Text_Config2), QStringLiteral("0E0D"));
    EXPECT_TRUE(ui.refreshedViews & ViewConfigGrids);
}

} // namespace
