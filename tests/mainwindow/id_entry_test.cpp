#include "logic_fixture.h"

#include "mainwindow/logic/device_selection.h"
#include "mainwindow/logic/id_entry.h"

#include <gtest/gtest.h>

using namespace tavrin;

namespace {

TEST(IdEntry, KeyFilter) {
    struct Case {
        const char* text;
        int start, length;
        char key;
        const char* result;
        int cursor;
    } cases[] = {
        {"12", 2, 0, 'a', "12A", 3},    {"12", 2, 0, 'F', "12F", 3}, {"12", 1, 0, '9', "192", 2},
        {"1234", 1, 2, 'b', "1B4", 2},  {"12", 2, 0, 'g', "12", 2},  {"12", 2, 0, ' ', "12", 2},
        {"12", 2, 0, '.', "12", 2},     {"12", 2, 0, '\b', "1", 1},  {"12", 0, 0, '\b', "12", 0},
        {"1234", 2, 2, '\b', "134", 1},
    };
    for (const Case& c : cases) {
        const IdBoxEdit e =
            filterIdKey(QString::fromLatin1(c.text), c.start, c.length, QLatin1Char(c.key));
        EXPECT_EQ(e.text, QString::fromLatin1(c.result)) << c.text << " " << c.key;
        EXPECT_EQ(e.cursor, c.cursor) << c.text << " " << int(c.key);
    }
    EXPECT_EQ(hexDigitsOnly(QStringLiteral(" 1a-Z9 ")), QStringLiteral("1A9"));
}

std::array<int, 8> idBytes(const Session& s) {
    std::array<int, 8> out{};
    for (int i = 0; i < 8; ++i)
        out[i] = s.buffer.ConfigIdImage[i];
    return out;
}

TEST(IdEntry, StoredIdWordsPerFamily) {
    struct Case {
        const char* device;
        const char* typed;
        const char* shown;
        std::array<int, 8> bytes; // after an erased buffer
    } cases[] = {
        {"PIC16F84A", "", "0000", {0x3F, 0xF0, 0x3F, 0xF0, 0x3F, 0xF0, 0x3F, 0xF0}},
        {"PIC16F84A", "5", "0005", {0x3F, 0xF0, 0x3F, 0xF0, 0x3F, 0xF0, 0x3F, 0xF5}},
        {"PIC16F84A", "12AB", "12AB", {0x3F, 0xF1, 0x3F, 0xF2, 0x3F, 0xFA, 0x3F, 0xFB}},
        {"PIC16F84A", "FFFF", "FFFF", {0x3F, 0xFF, 0x3F, 0xFF, 0x3F, 0xFF, 0x3F, 0xFF}},
        {"PIC12C508A", "5", "0005", {0, 0, 0, 0, 0, 0, 0, 5}},
        {"PIC12C508A", "FFFF", "FFFF", {0x0F, 0xFF, 0x0F, 0xFF, 0x0F, 0xFF, 0x0F, 0xFF}},
    };
    for (const Case& c : cases) {
        test::LogicFixture f;
        SelectDevice(f.ctx, QString::fromLatin1(c.device), 0);
        EXPECT_EQ(StoreIdText(f.s, QString::fromLatin1(c.typed)), QString::fromLatin1(c.shown));
        EXPECT_EQ(idBytes(f.s), c.bytes) << c.device << " " << c.typed;
    }
}

TEST(IdEntry, Pic18IdIsPaddedToEightDigits) {
    test::LogicFixture f;
    SelectDevice(f.ctx, QStringLiteral("PIC18F452"), 3);
    EXPECT_EQ(StoreIdText(f.s, QStringLiteral("1A")), QStringLiteral("0000001A"));
    EXPECT_EQ(f.s.buffer.Id18Image, (std::array<std::uint8_t, 9>{0, 0, 0, 0, 0, 0, 1, 10, 0}));
    StoreIdText(f.s, QStringLiteral("FFFFFFFF"));
    EXPECT_EQ(f.s.buffer.Id18Image[0], 15);
}

TEST(IdEntry, ChoosingAGridOptionUpdatesTheWordAndHidesTheChooser) {
    test::LogicFixture f;
    SelectDevice(f.ctx, QStringLiteral("PIC18F452"), 3);
    StoreIdText(f.s, QStringLiteral("12345678"));
    ChooseGridOption(f.ctx, 0, 0, 2); // word 1, OSC HS
    EXPECT_EQ(f.s.device.ConfigValue[1], 0x2200);
    EXPECT_FALSE(f.ui.visible.at(Control::CmbInit));
    // The ID box keeps showing the ID that was entered.
    EXPECT_EQ(f.ui.texts.at(Control::Text_ID), QStringLiteral("12345678"));
}

TEST(IdEntry, CalibrationFields) {
    EXPECT_FALSE(calibrationFieldsFor(QStringLiteral("12F6"), true).valueEnabled);
    EXPECT_FALSE(calibrationFieldsFor(QStringLiteral("12F6"), true).bandgapEnabled);
    EXPECT_TRUE(calibrationFieldsFor(QStringLiteral("12F6"), false).bandgapEnabled);
    EXPECT_TRUE(calibrationFieldsFor(QStringLiteral("12C5"), false).valueEnabled);
    EXPECT_FALSE(calibrationFieldsFor(QStringLiteral("12C5"), false).bandgapEnabled);
}

} // namespace
