// Every part of the shipped device file held against what gputils knows of it: memory sizes,
// where the ID, configuration and EEPROM words sit, the configuration words, each setting's
// options, and the erased value of each word.

#include "gpasm_report.h"
#include "support/shipped_parts.h"

#include "core/program_type.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

using namespace tavrin;
using namespace tavrin::test;

namespace {

// Our names for parts that gputils knows under another one.
QString gputilsNameOf(const QString& deviceName) {
    static const std::map<QString, QString> aliases = {
        {"PIC12C518", "12ce518"},
        {"PIC12C519", "12ce519"},
        {"QZ-WRT400", "16f877"},   // the board's own PIC16F877 module
        {"QZ-WRT400A", "16f877a"}, // and its PIC16F877A module
    };
    const auto it = aliases.find(deviceName);
    if (it != aliases.end()) return it->second;
    return deviceName.startsWith(QLatin1String("PIC")) ? deviceName.mid(3).toLower()
                                                       : deviceName.toLower();
}

struct ExpectedOption {
    std::int32_t mask = 0;
    std::int32_t value = 0;
};

struct WordFromGputils {
    std::int32_t gputilsMask = 0; // bits gpasm's directives may change
    std::int32_t erased = 0;      // gpasm's default, cut to the word width
    std::map<QString, std::map<QString, ExpectedOption>> settings;
};

class EveryPartAgainstGputils : public testing::TestWithParam<QString> {};

TEST_P(EveryPartAgainstGputils, MatchesGpasm) {
    const LoadedPart* part = shippedParts().find(GetParam());
    ASSERT_NE(part, nullptr);
    ASSERT_TRUE(part->loaded) << part->error.toStdString();
    const DeviceRecord& d = part->device;

    const GpasmQuery q = queryGpasm(gputilsNameOf(part->name));
    if (q.outcome == GpasmOutcome::NotInstalled) GTEST_SKIP() << "gpasm is not installed";
    if (q.outcome == GpasmOutcome::UnknownPart)
        GTEST_SKIP() << part->name.toStdString() << ": gputils does not know "
                     << gputilsNameOf(part->name).toStdString();
    ASSERT_EQ(q.outcome, GpasmOutcome::Found) << "gpasm failed";
    const GpasmReport& r = q.report;

    EXPECT_EQ(d.ProgramWordCount, r.programWords);
    const std::int64_t eepromBytes = r.eeprom ? r.eeprom->second - r.eeprom->first + 1 : 0;
    EXPECT_EQ(d.EepromByteCount, eepromBytes);

    // Where the words sit decides the HEX addresses the loaders and writers use.
    const CoreGroup group = coreGroupOf(d.ProgramType);
    const std::int32_t width = configWordWidth(d.ProgramType);
    std::map<int, WordFromGputils> words;
    for (const GpasmConfigCell& cell : r.cells) {
        int k = 0, shift = 0;
        switch (group) {
        case CoreGroup::Bit12:
            ASSERT_EQ(cell.address, 0xFFF);
            k = 1;
            break;
        case CoreGroup::Bit14:
            ASSERT_TRUE(cell.address == 0x2007 || cell.address == 0x2008) << cell.address;
            k = int(cell.address - 0x2006);
            break;
        case CoreGroup::Pic18:
            ASSERT_TRUE(cell.address >= 0x300000 && cell.address <= 0x30000D) << cell.address;
            k = int(cell.address - 0x300000) / 2 + 1;
            shift = int(cell.address % 2) * 8;
            break;
        case CoreGroup::None:
            FAIL() << "unknown programming type";
        }
        WordFromGputils& w = words[k];
        w.gputilsMask |= cell.mask << shift;
        w.erased |= group == CoreGroup::Pic18 ? (cell.defaultValue & 0xFF) << shift
                                              : cell.defaultValue & width;
        for (const GpasmDirective& dir : cell.directives)
            for (const auto& [name, value] : dir.options)
                w.settings[dir.name][name] = {dir.mask() << shift, value << shift};
    }
    switch (group) {
    case CoreGroup::Bit12:
        EXPECT_EQ(r.idFirst, d.ProgramWordCount) << "12-bit ID words follow program memory";
        break;
    case CoreGroup::Bit14:
        EXPECT_EQ(r.idFirst, 0x2000);
        if (r.eeprom) {
            EXPECT_EQ(r.eeprom->first, 0x2100);
        }
        break;
    case CoreGroup::Pic18:
        EXPECT_EQ(r.idFirst, 0x200000);
        if (r.eeprom) {
            EXPECT_EQ(r.eeprom->first, 0xF00000);
        }
        break;
    case CoreGroup::None:
        break;
    }

    for (int k = 1; k <= 7; ++k) {
        const auto i = std::size_t(k);
        SCOPED_TRACE(k);
        const auto found = words.find(k);
        if (found == words.end()) {
            EXPECT_FALSE(d.ConfigWordDefined[i]) << "a word gputils does not know";
            continue;
        }
        ASSERT_TRUE(d.ConfigWordDefined[i]) << "a word gputils knows is missing";
        const WordFromGputils& w = found->second;
        EXPECT_EQ(w.gputilsMask & ~d.ConfigMask[i], 0) << "settable bits left out of the mask";
        EXPECT_EQ(d.ConfigValue[i], w.erased) << "erased value differs from gputils'";
        if (group == CoreGroup::Pic18) {
            EXPECT_EQ(d.ConfigMask[i], w.erased);
            EXPECT_EQ(d.ConfigFixed[i], 0);
        }

        std::set<QString> ours;
        for (const ConfigSetting& s : d.ConfigSettings[i]) {
            SCOPED_TRACE(s.name.toStdString());
            ours.insert(s.name);
            const auto expected = w.settings.find(s.name);
            ASSERT_NE(expected, w.settings.end()) << "a setting gputils does not know";
            std::set<QString> options;
            for (const ConfigOption& o : s.options) {
                options.insert(o.name);
                const auto e = expected->second.find(o.name);
                ASSERT_NE(e, expected->second.end()) << "option " << o.name.toStdString();
                EXPECT_EQ(o.mask, e->second.mask) << o.name.toStdString();
                EXPECT_EQ(o.value, e->second.value) << o.name.toStdString();
                EXPECT_EQ(o.mask & ~d.ConfigMask[i], 0) << "option outside the implemented bits";
            }
            EXPECT_EQ(options.size(), expected->second.size()) << "options left out";
        }
        EXPECT_EQ(ours.size(), w.settings.size()) << "settings left out";
    }
}

INSTANTIATE_TEST_SUITE_P(ShippedDeviceFile, EveryPartAgainstGputils,
                         testing::ValuesIn(shippedDeviceNames()),
                         [](const testing::TestParamInfo<QString>& info) {
                             return testNameOf(info.param);
                         });

TEST(GpasmReport, RefusesTheListGpasmPrintsForAnUnknownPart) {
    const QString two = QStringLiteral("Names          : pic10f200, p10f200, 10f200\n"
                                       "Program Size   : 256 words\n\n"
                                       "Names          : pic10f202, p10f202, 10f202\n");
    EXPECT_FALSE(parseGpasmReport(QStringLiteral("16c58"), two));
    EXPECT_FALSE(parseGpasmReport(QStringLiteral("10f202"), two));
    const QString one = QStringLiteral("Names          : pic10f202, p10f202, 10f202\n"
                                       "Class          : PIC12\n"
                                       "Program Size   : 512 words\n"
                                       "  Config Word  : address = 0xFFF, mask = 0x01D, "
                                       "default = 0xFFFF\n"
                                       "      Directive: WDTE\n"
                                       "         Option:   OFF   = 0x000\n"
                                       "         Option:   ON    = 0x004 (default)\n");
    const auto r = parseGpasmReport(QStringLiteral("10f202"), one);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->programWords, 512);
    ASSERT_EQ(r->cells.size(), 1u);
    EXPECT_EQ(r->cells[0].mask, 0x01D);
    ASSERT_EQ(r->cells[0].directives.size(), 1u);
    EXPECT_EQ(r->cells[0].directives[0].mask(), 0x004);
}

} // namespace
