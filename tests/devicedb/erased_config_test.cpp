// An erased chip must pass the blank checks of its programming type with the masks the device
// file gives, and must not be reported as code protected; the erased buffer (the CONFIGk
// defaults) must equal what such a chip reads. The checks are the program's own judgements,
// those the generic steps and the device modules call.

#include "support/shipped_parts.h"

#include "core/program_type.h"
#include "devices/common/device_modules.h"
#include "devices/pic18/pic18_module.h"
#include "devices/pic18/pic18_variant.h"
#include "steps/blank_judgement.h"
#include "steps/config_area_read.h"

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

// Configuration words as a chip reads them, index 1..7 (12/14-bit use 1, two-word parts also 2).
using ChipConfig = Pic18ConfigWords;

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

// A 14-bit area read: the ID words erased, the configuration words as given.
IdConfigWords14 erasedIdWith(const ChipConfig& words) {
    IdConfigWords14 area;
    area.id.fill(0x3FFF);
    area.config1 = words[1];
    area.config2 = words[2];
    return area;
}

// Runs every blank check that serves the part on the words: the generic check of its
// programming type and the check of the module that serves it; the failures as text.
std::string blankCheckFailures(const DeviceRecord& d, const ChipConfig& words) {
    std::string failures;
    const ConfigAreaCommand* generic = configAreaCommandOf(d.ProgramType);
    const bool moduleServed = !moduleNameFor(d.SelectedDevice).isEmpty();
    switch (coreGroupOf(d.ProgramType)) {
    case CoreGroup::Bit12:
        // The generic check and the 12-bit module judge alike.
        if (!configWord12Erased(d.SelectedDevice, words[1]))
            failures += " 12-bit check: not blank;";
        if (isCodeProtected(words[1], d.CodeProtectMask)) failures += " code protected;";
        break;
    case CoreGroup::Bit14: {
        const IdConfigWords14 area = erasedIdWith(words);
        if (generic &&
            !idConfigAnd14Erased(idConfigAnd14(area, idConfigRule14Of(*generic)), d.ConfigMask[1]))
            failures += " generic 14-bit check: not blank;";
        if (moduleServed &&
            !idConfigAnd14Erased(idConfigAnd14(area, IdConfigRule14{}), d.ConfigMask[1]))
            failures += " module 14-bit check: not blank;";
        if (isCodeProtected(words[1], d.CodeProtectMask)) failures += " code protected;";
        break;
    }
    case CoreGroup::Pic18: {
        if (generic && !pic18GenericConfigErased(d, words))
            failures += " generic PIC18 check: not blank;";
        if (const Pic18Variant* module = pic18VariantFor(d.SelectedDevice)) {
            if (!pic18ConfigWordsErased(kPic18BlankCheckTest, d, words))
                failures += " module blank check: not blank;";
            if (!pic18ConfigWordsErased(module->configErasedTest, d, words))
                failures += " module read: not blank;";
        }
        const QString protection = pic18ProtectionState(d.CpMaskCf5, words[5]);
        if (protection != QLatin1String("--"))
            failures += " protection " + protection.toStdString() + ";";
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

// The bits the factory sets and an erase keeps never make a chip read as written: the band-gap
// bits of a "12F6" part, the oscillator bits of a PIC16C54..57.
TEST(ErasedConfiguration, FactoryBitsNeverMakeAChipReadAsWritten) {
    const DeviceRecord& p675 = loaded("PIC12F675").device;
    const DeviceRecord& p54 = loaded("PIC16C54").device;
    for (std::int32_t factory = 0; factory < 4; ++factory) {
        EXPECT_EQ(blankCheckFailures(p675, chipWords({0x01FF | (factory << 12)})), "") << factory;
        EXPECT_EQ(blankCheckFailures(p54, chipWords({0x0FFC | factory})), "") << factory;
    }
}

// The checks are not fooled: a chip with code protection on, or an option programmed, is not
// blank.
TEST(ErasedConfiguration, AProgrammedWordFailsTheChecks) {
    const DeviceRecord& p12 = loaded("PIC12C508A").device;
    EXPECT_EQ(blankCheckFailures(p12, chipWords({0x0FF7})),
              " 12-bit check: not blank; code protected;");
    EXPECT_EQ(blankCheckFailures(p12, chipWords({0x0FFE})), " 12-bit check: not blank;");
    const DeviceRecord& p14 = loaded("PIC16F877A").device;
    EXPECT_EQ(blankCheckFailures(p14, chipWords({0x1FFF})),
              " generic 14-bit check: not blank; module 14-bit check: not blank; code protected;");
    EXPECT_EQ(blankCheckFailures(p14, chipWords({0x3FFB})),
              " generic 14-bit check: not blank; module 14-bit check: not blank;");
    // Bits 13:12 are the factory's only on the parts that keep their band-gap calibration there.
    const DeviceRecord& p628 = loaded("PIC16F628A").device;
    EXPECT_EQ(blankCheckFailures(p628, chipWords({0x2FFF})), " generic 14-bit check: not blank;");
    const DeviceRecord& p18 = loaded("PIC18F452").device;
    const ChipConfig cpOn = chipWords({0x2700, 0x0F0F, 0x0100, 0x0085, 0x400E, 0xE00F, 0x400F});
    EXPECT_EQ(blankCheckFailures(p18, cpOn), " generic PIC18 check: not blank; module blank check: "
                                             "not blank; module read: not blank; protection PD;");
    // The generic check and the covering test let bits beyond the implemented ones pass; the
    // exact test does not.
    const DeviceRecord& p242 = loaded("PIC18F242").device;
    EXPECT_EQ(blankCheckFailures(
                  p242, chipWords({0x2700, 0x0F0F, 0x0101, 0x0085, 0xC00F, 0xE00F, 0x400F})),
              "");
    const DeviceRecord& p8720 = loaded("PIC18F8720").device;
    const ChipConfig extraBit = chipWords({0x2700, 0x0F0F, 0x0387, 0x0085, 0xC0FF, 0xE0FF, 0x40FF});
    EXPECT_EQ(blankCheckFailures(p8720, extraBit), " module blank check: not blank;");
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
