// The EEPROM editor's decisions: what a typed value stores, where a part's data bytes sit in the
// PC buffer (by programming type, from the shipped device file), the grid with a partial last
// row, the characters shown, the work file and the window's place.
#include "mainwindow/logic/eeprom_editor.h"

#include "core/app_paths.h"
#include "core/device_file.h"
#include "core/session.h"
#include "core/settings_store.h"
#include "support/recording_ui.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

using namespace tavrin;
using tavrin::test::RecordingUi;

namespace {

// A part of the shipped device file, its EEPROM image filled with a pattern.
std::unique_ptr<Session> shippedPart(const char* name) {
    auto s = std::make_unique<Session>();
    QTemporaryDir dir;
    const AppPaths paths{QStringLiteral(TAVRIN_SOURCE_DIR "/data/device6.ini"), dir.path()};
    RecordingUi ui;
    EXPECT_TRUE(LoadDeviceList(*s, ui, paths));
    s->device.SelectedDevice = QString::fromLatin1(name);
    EXPECT_TRUE(LoadDeviceDefinition(*s, ui, paths)) << name;
    for (std::size_t i = 0; i < s->buffer.EepromImage.size(); ++i)
        s->buffer.EepromImage[i] = std::uint8_t(i * 13 + 1);
    return s;
}

Session sizedPart(const char* type, int eepromBytes) {
    Session s;
    s.device.ProgramType = QString::fromLatin1(type);
    s.device.EepromByteCount = eepromBytes;
    return s;
}

} // namespace

TEST(EepromEditor, TypedInputsStoreTheByteOrLeaveIt) {
    enum Box { Dec, Hex };
    struct Case {
        Box box;
        const char* text;
        int stored; // -1: the byte keeps 0x5A
        const char* boxText;
    } cases[] = {
        {Dec, "0", 0, nullptr},     {Dec, "255", 255, nullptr},  {Dec, "300", 255, "255"},
        {Dec, "256", 255, "255"},   {Dec, "300abc", 255, "255"}, {Dec, "12.5", 12, nullptr},
        {Dec, "13.5", 14, nullptr}, {Dec, "", -1, nullptr},      {Dec, "abc", -1, nullptr},
        {Dec, "-1", -1, nullptr},   {Dec, "12x", -1, nullptr},   {Hex, "a5", 0xA5, nullptr},
        {Hex, "A5", 0xA5, nullptr}, {Hex, "1FF", -1, nullptr},   {Hex, "00FF", 0xFF, nullptr},
        {Hex, "G5", 0x05, nullptr}, {Hex, "12345", -1, nullptr}, {Hex, "1200A5", 0xA5, nullptr},
        {Hex, "", 0x00, nullptr},   {Hex, "zz", 0x00, nullptr},
    };
    for (const Case& c : cases) {
        Session s = sizedPart("FLASH4", 16);
        s.buffer.EepromImage[2 * 3 + 1] = 0x5A;
        EepromEditor editor(s);
        editor.select(3);
        const QString text = QString::fromLatin1(c.text);
        const TypedValue t = c.box == Dec ? editor.typeDecimal(text) : editor.typeHex(text);
        EXPECT_EQ(int(editor.byteAt(3)), c.stored < 0 ? 0x5A : c.stored) << c.text;
        EXPECT_EQ(t.boxText.has_value(), c.boxText != nullptr) << c.text;
        if (c.boxText) {
            EXPECT_EQ(*t.boxText, QString::fromLatin1(c.boxText));
        }
        for (int i : {2, 4})
            EXPECT_EQ(editor.byteAt(i), s.buffer.EepromImage[std::size_t(2 * i + 1)]);
    }

    Session s = sizedPart("FLASH4", 16);
    EepromEditor editor(s);
    editor.select(7);
    editor.setBits({true, false, true, false, false, false, false, true});
    EXPECT_EQ(int(editor.byteAt(7)), 0x85);
    const ByteEditors shown = byteEditors(0x85, ByteCharRule::AfterEdit);
    EXPECT_EQ(shown.decimal, QStringLiteral("133"));
    EXPECT_EQ(shown.hex, QStringLiteral("85"));
    EXPECT_EQ(byteFromBits(shown.bits), 0x85);
}

// Every PIC18 type keeps one byte per location, every other type the second byte of a word: the
// PIC18F242 and PIC18F452 alike, whatever their names.
TEST(EepromEditor, LayoutFollowsTheProgrammingTypeAndWriteBackKeepsTheOtherBytes) {
    struct Case {
        const char* part;
        int bytesPerLocation;
        int locations;
    } cases[] = {{"PIC18F242", 1, 256},
                 {"PIC18F452", 1, 256},
                 {"PIC16F877A", 2, 256},
                 {"PIC12F683", 2, 256}};
    for (const Case& c : cases) {
        auto s = shippedPart(c.part);
        EepromEditor editor(*s);
        EXPECT_EQ(editor.layout().bytesPerLocation, c.bytesPerLocation) << c.part;
        ASSERT_EQ(editor.size(), c.locations) << c.part;
        const auto before = s->buffer.EepromImage;
        for (int i = 0; i < editor.size(); ++i)
            EXPECT_EQ(editor.byteAt(i),
                      before[std::size_t(i * c.bytesPerLocation + c.bytesPerLocation - 1)]);

        for (int i : {0, 1, 17, editor.size() - 1}) {
            editor.select(i);
            editor.typeHex(QStringLiteral("%1").arg(0xC0 + i % 64, 2, 16));
        }
        editor.writeBack();
        const auto& after = s->buffer.EepromImage;
        for (std::size_t b = 0; b < after.size(); ++b) {
            const int location = int(b) / c.bytesPerLocation;
            const bool dataByte = int(b) % c.bytesPerLocation == c.bytesPerLocation - 1;
            const bool edited = dataByte && (location == 0 || location == 1 || location == 17 ||
                                             location == c.locations - 1);
            EXPECT_EQ(int(after[b]), edited ? 0xC0 + location % 64 : int(before[b]))
                << c.part << " byte " << b;
        }
    }
}

TEST(EepromEditor, GridShowsEveryLocationAPartialLastRowIncluded) {
    struct Case {
        const char* type;
        int size;
        int rows;
    } cases[] = {{"FLASH4", 256, 16}, {"FLASH4", 1024, 64}, {"18F_00", 2048, 128},
                 {"FLASH4", 20, 2},   {"18F_00", 1, 1},     {"FLASH4", 0, 0}};
    for (const Case& c : cases) {
        Session s = sizedPart(c.type, c.size);
        EXPECT_EQ(hasEditableEeprom(s), c.size > 0);
        EepromEditor editor(s);
        EXPECT_EQ(editor.rowCount(), c.rows) << c.type << " " << c.size;
    }

    Session s = sizedPart("FLASH4", 20);
    for (int i = 0; i < 20; ++i)
        s.buffer.EepromImage[std::size_t(2 * i + 1)] = std::uint8_t(0x41 + i);
    EepromEditor editor(s);
    EXPECT_EQ(editor.addressCell(1), QStringLiteral("0x000010"));
    EXPECT_EQ(editor.byteCell(1, 4), QStringLiteral("0x54"));
    EXPECT_EQ(editor.byteCell(1, 5), QString());
    EXPECT_EQ(editor.asciiCell(1, ByteCharRule::GridFill), QStringLiteral("QRST"));
    // Index mapping: the ASCII column edits the row's last byte, the address column its first,
    // an empty cell of the last row the last location.
    EXPECT_EQ(editor.indexAt(0, 17), 15);
    EXPECT_EQ(editor.indexAt(0, 0), 0);
    EXPECT_EQ(editor.indexAt(1, 3), 18);
    EXPECT_EQ(editor.indexAt(1, 17), 19);
    EXPECT_EQ(editor.indexAt(2, 1), -1);

    EXPECT_EQ(fillPercent(0, 0), 100); // one location: nothing to divide by
    EXPECT_EQ(fillPercent(15, 255), 6);
    EXPECT_EQ(fillPercent(255, 255), 100);
    EXPECT_EQ(eepromEditorHeaders().size(), kEepromEditorColumns);
    EXPECT_EQ(eepromEditorHeaders().first(), QStringLiteral("　Adr."));
    EXPECT_EQ(eepromEditorHeaders()[16], QStringLiteral("0x0F"));
}

TEST(EepromEditor, ThreeCharacterRules) {
    const QChar dot(0xFF65);
    struct Case {
        int byte;
        QChar grid, edited, clicked;
    } cases[] = {
        {0x41, u'A', u'A', u'A'},
        {0x20, dot, u' ', u' '},
        {0x2C, dot, u',', u','},
        {0x22, dot, u'"', u'"'},
        {0x7E, u'~', u'~', u'~'},
        {0x7F, QChar(0x7F), QChar(0x7F), dot},
        {0xB1, QChar(0xFF71), QChar(0xFF71), dot},
        {0xDF, QChar(0xFF9F), QChar(0xFF9F), dot},
        {0xE0, dot, dot, dot},
        {0x1F, dot, dot, dot},
        {0x80, dot, dot, dot},
    };
    for (const Case& c : cases) {
        const auto b = std::uint8_t(c.byte);
        EXPECT_EQ(byteChar(b, ByteCharRule::GridFill), c.grid) << c.byte;
        EXPECT_EQ(byteChar(b, ByteCharRule::AfterEdit), c.edited) << c.byte;
        EXPECT_EQ(byteChar(b, ByteCharRule::OnClick), c.clicked) << c.byte;
    }
}

TEST(EepromEditor, WorkFileHoldsTheGridRows) {
    Session s = sizedPart("18F_00", 18);
    for (int i = 0; i < 18; ++i)
        s.buffer.EepromImage[std::size_t(i)] = std::uint8_t(i == 1 ? 0x20 : 0x30 + i);
    EepromEditor editor(s);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("temp.txt"));
    ASSERT_TRUE(editor.writeWorkFile(path));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(f.readAll());
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 3); // two rows and what follows the last line end
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("0x000000\t0x30\t0x20\t0x32\t")));
    EXPECT_TRUE(lines[0].endsWith(QStringLiteral("0x3F\t0") + QChar(0xFF65) +
                                  QStringLiteral("23456789:;<=>?")));
    EXPECT_EQ(lines[1], QStringLiteral("0x000010\t0x40\t0x41") + QString(14, QLatin1Char('\t')) +
                            QStringLiteral("\t@A"));
    EXPECT_TRUE(lines[2].isEmpty());
}

TEST(EepromEditor, PositionIsKeptInTwips) {
    MemorySettingsStore settings;
    EXPECT_FALSE(loadEepromEditorPosition(settings));
    saveEepromEditorPosition(settings, QPoint(10, 20));
    EXPECT_EQ(settings.value(QStringLiteral("EepromDataModifyLeft"), {}), QStringLiteral("150"));
    EXPECT_EQ(settings.value(QStringLiteral("EepromDataModifyTop"), {}), QStringLiteral("300"));
    EXPECT_EQ(loadEepromEditorPosition(settings), QPoint(10, 20));
    settings.setValue(QStringLiteral("EepromDataModifyTop"), QStringLiteral("x"));
    EXPECT_FALSE(loadEepromEditorPosition(settings));
}
