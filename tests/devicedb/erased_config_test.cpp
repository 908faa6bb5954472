// An erased chip must pass the blank checks of its programming type with the masks the device
// file gives, and must not be reported as code protected; the erased buffer (the CONFIGk
// defaults) must equal what such a chip reads.

#include "blank_rules.h"
#include "support/shipped_parts.h"

#include "core/program_type.h"

#include <gtest/gtest.h>

#include <initializer_list>

using namespace tavrin;
using namespace tavrin::test;

namespace {

const LoadedPart& loaded(const char* name) {
    static const LoadedPart none;
    const LoadedPart* p = shippedParts().find(QString::fromLatin1(name));
    return p ? *p : none;
}

ChipConfig chipWords(std::initializer_list<std::int32_t> words) {
    ChipConfig c{};
    int k = 1;
    for (std::int32_t w : words)
        c[std::size_t(k++)] = w;
    return c;
}

// The configuration words an erased chip reads, from the parts' datasheets: every implemented
// bit 1; unimplemented bits as the datasheet gives them (PIC12F675: bits 11-9 read 0; PIC18:
// unimplemented bits and bytes read 0, except the protection bits 3:2 of the 16K-byte parts and
// CONFIG3H bit 1 of the PIC18F8720, which read 1). One or more parts of every programming type,
// and every part that has a module of its own.
struct ErasedChip {
    const char* name;
    ChipConfig words;
};

const ErasedChip ErasedChips[] = {
    {"PIC12C508A", chipWords({0x0FFF})},
    {"PIC12C519", chipWords({0x0FFF})},
    {"PIC16C54", chipWords({0x0FFF})},
    {"PIC16C57C", chipWords({0x0FFF})},
    {"PIC12C672", chipWords({0x3FFF})},
    {"PIC12F675", chipWords({0x31FF})},
    {"PIC12F683", chipWords({0x3FFF})},
    {"PIC16C74B", chipWords({0x3FFF})},
    {"PIC16C715", chipWords({0x3FFF})},
    {"PIC16F84A", chipWords({0x3FFF})},
    {"PIC16F628A", chipWords({0x3FFF})},
    {"PIC16F76", chipWords({0x3FFF})},
    {"PIC16F818", chipWords({0x3FFF})},
    {"PIC16F87", chipWords({0x3FFF, 0x3FFF})},
    {"PIC16F876A", chipWords({0x3FFF})},
    {"PIC16F877", chipWords({0x3FFF})},
    {"PIC16F877A", chipWords({0x3FFF})},
    {"QZ-WRT400", chipWords({0x3FFF})},
    {"QZ-WRT400A", chipWords({0x3FFF})},
    {"PIC18F242", chipWords({0x2700, 0x0F0F, 0x0100, 0x0085, 0xC00F, 0xE00F, 0x400F})},
    {"PIC18F252", chipWords({0x2700, 0x0F0F, 0x0100, 0x0085, 0xC00F, 0xE00F, 0x400F})},
    {"PIC18F452", chipWords({0x2700, 0x0F0F, 0x0100, 0x0085, 0xC00F, 0xE00F, 0x400F})},
    {"PIC18F8720", chipWords({0x2700, 0x0F0F, 0x0383, 0x0085, 0xC0FF, 0xE0FF, 0x40FF})},
};

// Runs every blank check that serves the part on the words; the failures as text.
std::string blankCheckFailures(const DeviceRecord& d, const ChipConfig& words) {
    std::string failures;
    switch (coreGroupOf(d.ProgramType)) {
    case CoreGroup::Bit12: {
        const BlankVerdict v = blankCheck12Bit(d, words[1]);
        if (!v.blank) failures += " 12-bit check: not blank;";
        if (v.codeProtected) failures += " 12-bit check: code protected;";
        break;
    }
    case CoreGroup::Bit14: {
        const BlankVerdict v = blankCheck14Bit(d, words);
        if (!v.blank) failures += " 14-bit check: not blank;";
        if (v.codeProtected) failures += " 14-bit check: code protected;";
        break;
    }
    case CoreGroup::Pic18: {
        const QString& name = d.SelectedDevice;
        if (d.ProgramType == QLatin1String("18F_00") && !blankCheckPic18Generic(d, words))
            failures += " generic PIC18 check: not blank;";
        if (name == QLatin1String("PIC18F452") || name == QLatin1String("PIC18F252")) {
            if (!blankCheckPic18Module(d, words, false)) failures += " exact check: not blank;";
        }
        if (name == QLatin1String("PIC18F8720") && !blankCheckPic18Module(d, words, true))
            failures += " covering check: not blank;";
        if (pic18Protection(d, words[5]) != QLatin1String("--"))
            failures += " protection " + pic18Protection(d, words[5]).toStdString() + ";";
        break;
    }
    case CoreGroup::None:
        failures += " unknown programming type;";
    }
    return failures;
}

TEST(ErasedConfiguration, AnErasedChipOfEachTypePassesItsBlankChecks) {
    for (const ErasedChip& chip : ErasedChips) {
        SCOPED_TRACE(chip.name);
        const LoadedPart& p = loaded(chip.name);
        ASSERT_TRUE(p.loaded) << p.error.toStdString();
        EXPECT_EQ(blankCheckFailures(p.device, chip.words), "");
    }
}

TEST(ErasedConfiguration, TheErasedBufferHoldsWhatAnErasedChipReads) {
    for (const ErasedChip& chip : ErasedChips) {
        SCOPED_TRACE(chip.name);
        const DeviceRecord& d = loaded(chip.name).device;
        // The band-gap bits of "12F6" parts are calibrated at the factory, not erased.
        const std::int32_t compared = d.ProgramType == QLatin1String("12F6") ? ~0x3000 : ~0;
        for (int k = 1; k <= 7; ++k) {
            const auto i = std::size_t(k);
            if (!d.ConfigWordDefined[i]) continue;
            EXPECT_EQ(d.ConfigValue[i] & compared, chip.words[i] & compared) << "CONFIG" << k;
        }
    }
}

// The band-gap bits a "12F6" chip keeps after an erase never make it read as written.
TEST(ErasedConfiguration, Pic12F675IsBlankWhateverItsBandGapBits) {
    const DeviceRecord& d = loaded("PIC12F675").device;
    for (std::int32_t bandGap = 0; bandGap < 4; ++bandGap)
        EXPECT_EQ(blankCheckFailures(d, chipWords({0x01FF | (bandGap << 12)})), "") << bandGap;
}

// The checks are not fooled: a chip with code protection on, or an option programmed, is not
// blank.
TEST(ErasedConfiguration, AProgrammedWordFailsTheChecks) {
    const DeviceRecord& p12 = loaded("PIC12C508A").device;
    EXPECT_TRUE(blankCheck12Bit(p12, 0x0FF7).codeProtected);
    EXPECT_FALSE(blankCheck12Bit(p12, 0x0FFE).blank);
    const DeviceRecord& p14 = loaded("PIC16F877A").device;
    EXPECT_TRUE(blankCheck14Bit(p14, chipWords({0x1FFF})).codeProtected);
    EXPECT_FALSE(blankCheck14Bit(p14, chipWords({0x3FFB})).blank);
    const DeviceRecord& p18 = loaded("PIC18F452").device;
    const ChipConfig cpOn = chipWords({0x2700, 0x0F0F, 0x0100, 0x0085, 0x400E, 0xE00F, 0x400F});
    EXPECT_FALSE(blankCheckPic18Generic(p18, cpOn));
    EXPECT_EQ(pic18Protection(p18, cpOn[5]), QStringLiteral("PD"));
}

// Every block states the erased word in its CONFIGk default; that word is what the buffer
// starts from and what the blank checks of the part's type accept.
class EveryPartErased : public testing::TestWithParam<QString> {};

TEST_P(EveryPartErased, StatedErasedWordPassesTheBlankChecks) {
    const LoadedPart* p = shippedParts().find(GetParam());
    ASSERT_TRUE(p && p->loaded);
    const DeviceRecord& d = p->device;
    ChipConfig words{};
    for (int k = 1; k <= 7; ++k) {
        const auto i = std::size_t(k);
        if (!d.ConfigWordDefined[i]) continue;
        const QStringList row = configRow(d, k);
        ASSERT_GE(row.size(), 5);
        bool ok = false;
        words[i] = row[1].mid(2).toInt(&ok, 16);
        ASSERT_TRUE(ok && row[1].startsWith(QLatin1String("0x"))) << row[1].toStdString();
        EXPECT_EQ(d.ConfigValue[i], words[i]) << "CONFIG" << k << " default outside mask and fixed";
    }
    EXPECT_EQ(blankCheckFailures(d, words), "");
}

INSTANTIATE_TEST_SUITE_P(ShippedDeviceFile, EveryPartErased,
                         testing::ValuesIn(shippedDeviceNames()),
                         [](const testing::TestParamInfo<QString>& info) {
                             return testNameOf(info.param);
                         });

} // namespace
