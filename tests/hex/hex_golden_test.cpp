// The two example files of the HEX format reproduced byte for byte, and read back into the
// images they were written from.
#include "hex_fixture.h"

#include "core/hex_export.h"
#include "core/hex_import.h"

#include <gtest/gtest.h>

using namespace tavrin;
using namespace tavrin::test;

namespace {

// A few words and EEPROM locations by hand, where no shipped part is that small: the golden
// files stay short enough to read.
constexpr Part kSmall14{"PIC16F84A", "FLASH4", 16, 8, 0x3FFF};
constexpr Part kSmall18{"PIC18F452", "18F_00", 8, 16, 0xFFFF};

std::unique_ptr<Session> example14() {
    auto s = erasedSession(kSmall14);
    setProgramWord(*s, 0, 0x2805);
    s->buffer.EepromImage[1] = 0x12;
    const std::uint8_t ids[8] = {0x3F, 0xF1, 0x3F, 0xF2, 0x3F, 0xF3, 0x3F, 0xF4};
    std::copy(std::begin(ids), std::end(ids), s->buffer.ConfigIdImage.begin());
    s->buffer.ConfigIdImage[14] = 0x3F;
    s->buffer.ConfigIdImage[15] = 0x72;
    return s;
}

std::unique_ptr<Session> example18() {
    auto s = erasedSession(kSmall18);
    setProgramWord(*s, 0, 0xEF04);
    setProgramWord(*s, 1, 0xF000);
    s->buffer.EepromImage[0] = 0x55;
    const std::int32_t config[7] = {0x27FF, 0x0F0F, 0x01FF, 0x0085, 0xC00F, 0xE00F, 0x400F};
    std::copy(std::begin(config), std::end(config), s->device.ConfigValue.begin() + 1);
    for (int i = 0; i < 8; ++i)
        s->buffer.Id18Image[std::size_t(i)] = std::uint8_t(0xF1 + i);
    return s;
}

} // namespace

TEST(HexGolden, FourteenBitExampleIsWrittenByteForByte) {
    QTemporaryDir dir;
    auto s = example14();
    RecordingUi ui;
    const QString path = dir.filePath(QStringLiteral("out.hex"));
    ASSERT_TRUE(SaveHexFile(*s, ui, path));
    EXPECT_EQ(readFile(path), readFile(dataPath(QStringLiteral("example14.hex"))));
    EXPECT_TRUE(ui.statusHistory.isEmpty()) << "the writer shows no status of its own";
}

TEST(HexGolden, Pic18ExampleIsWrittenByteForByte) {
    QTemporaryDir dir;
    auto s = example18();
    RecordingUi ui;
    const QString path = dir.filePath(QStringLiteral("out.hex"));
    ASSERT_TRUE(SaveHexFile18(*s, ui, path));
    EXPECT_EQ(readFile(path), readFile(dataPath(QStringLiteral("example18.hex"))));
    EXPECT_FALSE(ui.busy) << "the busy pointer is back";
    EXPECT_EQ(s->buffer.Config18Bytes[0], 0xFF);
    EXPECT_EQ(s->buffer.Config18Bytes[1], 0x27);
    EXPECT_EQ(s->buffer.Config18Bytes[13], 0x40);
}

TEST(HexGolden, FourteenBitExampleLoadsIntoTheImagesItWasWrittenFrom) {
    auto expected = example14();
    auto s = erasedSession(kSmall14);
    RecordingUi ui;
    LoadHexFile(*s, ui, dataPath(QStringLiteral("example14.hex")));
    EXPECT_EQ(s->run.HexLoadResult, QStringLiteral("OK"));
    EXPECT_EQ(ui.statusText, QStringLiteral("ファイルロード完了 "));
    EXPECT_EQ(imageDifferences(*s, *expected), "");
    EXPECT_EQ(s->device.ConfigValue[1], 0x3F72);
    EXPECT_EQ(s->buffer.IdText, QStringLiteral("1234"));
    EXPECT_EQ(ui.texts[Control::frmAbout_Label_ID_Word],
              QStringLiteral("OPEN:3FF1:3FF2:3FF3:3FF4"));
    EXPECT_EQ(ui.refreshedViews, unsigned(ViewAll));
}

TEST(HexGolden, Pic18ExampleLoadsIntoTheImagesItWasWrittenFrom) {
    auto expected = example18();
    auto s = erasedSession(kSmall18);
    RecordingUi ui;
    LoadHexFile18(*s, ui, dataPath(QStringLiteral("example18.hex")));
    EXPECT_EQ(s->run.HexLoadResult, QStringLiteral("OK"));
    EXPECT_EQ(ui.statusText, QStringLiteral("ファイルロード完了 "));
    EXPECT_EQ(imageDifferences(*s, *expected), "");
    for (int k = 1; k <= 7; ++k)
        EXPECT_EQ(s->device.ConfigValue[std::size_t(k)],
                  expected->device.ConfigValue[std::size_t(k)])
            << k;
    EXPECT_EQ(ui.texts[Control::Text_ID], QStringLiteral("12345678"));
    EXPECT_EQ(ui.refreshedViews, unsigned(ViewProgram | ViewEeprom | ViewConfigGrids));
}
