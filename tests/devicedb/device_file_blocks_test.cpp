// The shipped device file read by the program's own reader: every block loads, carries what its
// programming type needs, and gives the configuration grids a consistent word to work on.

#include "support/shipped_parts.h"

#include "core/device_definition.h"
#include "core/program_type.h"

#include <QRegularExpression>
#include <QStringDecoder>

#include <gtest/gtest.h>

#include <set>

using namespace tavrin;
using namespace tavrin::test;

namespace {

const QStringList AllProgramTypes = {"5X28",   "5X18",   "12C5",    "12C6",   "12F6",   "EPROM",
                                     "EPROM2", "FLASH0", "FLASH1",  "FLASH2", "FLASH4", "FLASH4.9",
                                     "FLASH8", "WRT400", "WRT400A", "18F_00", "18F_01"};

const QStringList ModuleNames = {"PIC12C508",  "PIC12C508A", "PIC12C509", "PIC12C509A", "PIC12C518",
                                 "PIC12C519",  "PIC12F683",  "PIC16F877", "PIC16F877A", "QZ-WRT400",
                                 "QZ-WRT400A", "PIC18F8720", "PIC18F452", "PIC18F252"};

// Types whose parts carry data EEPROM that the board programs.
const QStringList EepromTypes = {"12F6",   "FLASH0", "FLASH1",  "FLASH4", "FLASH4.9",
                                 "FLASH8", "WRT400", "WRT400A", "18F_00", "18F_01"};

TEST(ShippedDeviceFile, IsUtf8WithCrLfLinesWithinTheReaderLimits) {
    const ShippedParts& f = shippedParts();
    ASSERT_FALSE(f.bytes.isEmpty()) << f.path.toStdString();
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(f.bytes);
    EXPECT_FALSE(utf8.hasError());
    EXPECT_TRUE(f.bytes.endsWith("\r\n"));
    EXPECT_FALSE(f.bytes.contains('\t'));
    const QList<QByteArray> lines = f.bytes.split('\n');
    for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
        ASSERT_TRUE(lines[i].endsWith('\r')) << "line " << i + 1 << " ends without CR LF";
        const QString line = QString::fromUtf8(lines[i]).trimmed();
        EXPECT_LE(line.split(QLatin1Char(' '), Qt::SkipEmptyParts).size(), 65) << "line " << i + 1;
    }
}

TEST(ShippedDeviceFile, ListsEveryPartOnceWithTheModuleNamesAndEveryProgrammingType) {
    const ShippedParts& f = shippedParts();
    ASSERT_TRUE(f.listLoaded);
    EXPECT_EQ(f.version, QStringLiteral("1.00"));
    EXPECT_GE(f.names.size(), 60);
    EXPECT_EQ(f.names.size(), f.bytes.count("#BEGIN\r\n")) << "a block whose name is not listed";
    EXPECT_EQ(QSet<QString>(f.names.begin(), f.names.end()).size(), f.names.size())
        << "a name listed twice loads only its first block";
    EXPECT_EQ(f.partListFile, (f.names.join(QStringLiteral("\r\n")) + "\r\n").toUtf8());
    for (const QString& name : ModuleNames)
        EXPECT_TRUE(f.names.contains(name)) << name.toStdString();
    std::set<QString> types;
    for (const LoadedPart& p : f.parts)
        types.insert(p.device.ProgramType);
    for (const QString& t : AllProgramTypes)
        EXPECT_TRUE(types.count(t)) << "no part of type " << t.toStdString();
}

// Sizes and words of the parts that have modules of their own and one part of each further
// type, from the parts' datasheets.
TEST(ShippedDeviceFile, KnownPartsHaveTheirSizesWordsAndCalibration) {
    struct Expected {
        const char* name;
        const char* type;
        int programWords;
        int eepromBytes;
        int configWords;
        const char* calibration; // instruction prefix, "" for none
    };
    const Expected table[] = {
        {"PIC12C508", "12C5", 512, 0, 1, "movlw 0x"},
        {"PIC12C508A", "12C5", 512, 0, 1, "movlw 0x"},
        {"PIC12C509", "12C5", 1024, 0, 1, "movlw 0x"},
        {"PIC12C509A", "12C5", 1024, 0, 1, "movlw 0x"},
        {"PIC12C518", "12C5", 512, 0, 1, "movlw 0x"},
        {"PIC12C519", "12C5", 1024, 0, 1, "movlw 0x"},
        {"PIC12F683", "FLASH1", 2048, 256, 1, ""},
        {"PIC16F877", "FLASH0", 8192, 256, 1, ""},
        {"PIC16F877A", "FLASH8", 8192, 256, 1, ""},
        {"QZ-WRT400", "WRT400", 8192, 256, 1, ""},
        {"QZ-WRT400A", "WRT400A", 8192, 256, 1, ""},
        {"PIC18F8720", "18F_01", 65536, 1024, 7, ""},
        {"PIC18F452", "18F_00", 16384, 256, 7, ""},
        {"PIC18F252", "18F_00", 16384, 256, 7, ""},
        {"PIC18F258", "18F_00", 16384, 256, 6, ""}, // no CONFIG3
        {"PIC16C54", "5X18", 512, 0, 1, ""},
        {"PIC16C57", "5X28", 2048, 0, 1, ""},
        {"PIC12C672", "12C6", 2048, 0, 1, "retlw 0x"},
        {"PIC12F675", "12F6", 1024, 128, 1, "retlw 0x"},
        {"PIC16C74B", "EPROM", 4096, 0, 1, ""},
        {"PIC16C715", "EPROM2", 2048, 0, 1, ""},
        {"PIC16F628A", "FLASH1", 2048, 128, 1, ""},
        {"PIC16F73", "FLASH2", 4096, 0, 1, ""},
        {"PIC16F819", "FLASH4", 2048, 256, 1, ""},
        {"PIC16F88", "FLASH4.9", 4096, 256, 2, ""},
        {"PIC16F84A", "FLASH0", 1024, 64, 1, ""},
    };
    for (const Expected& e : table) {
        SCOPED_TRACE(e.name);
        const LoadedPart* p = shippedParts().find(QString::fromLatin1(e.name));
        ASSERT_NE(p, nullptr);
        ASSERT_TRUE(p->loaded) << p->error.toStdString();
        const DeviceRecord& d = p->device;
        EXPECT_EQ(d.ProgramType, QLatin1String(e.type));
        EXPECT_EQ(d.ProgramWordCount, e.programWords);
        EXPECT_EQ(d.EepromByteCount, e.eepromBytes);
        int defined = 0;
        for (int k = 1; k <= 7; ++k)
            defined += d.ConfigWordDefined[std::size_t(k)] ? 1 : 0;
        EXPECT_EQ(defined, e.configWords);
        EXPECT_EQ(d.CalibrationInstruction.left(8), QLatin1String(e.calibration));
    }
}

class EveryPart : public testing::TestWithParam<QString> {
  protected:
    const LoadedPart& part() const { return *shippedParts().find(GetParam()); }
};

TEST_P(EveryPart, LoadsWithTheKeysItsTypeNeeds) {
    const LoadedPart& p = part();
    ASSERT_TRUE(p.loaded) << p.error.toStdString();
    const DeviceRecord& d = p.device;
    const QString& t = d.ProgramType;
    const CoreGroup group = coreGroupOf(t);
    ASSERT_TRUE(AllProgramTypes.contains(t)) << t.toStdString();
    EXPECT_GT(d.ProgramWordCount, 0);

    std::set<int> words;
    for (int k = 1; k <= 7; ++k)
        if (d.ConfigWordDefined[std::size_t(k)]) words.insert(k);
    if (group == CoreGroup::Pic18) {
        // Which PIC18 words exist varies by part (gputils test); CONFIG5 carries the protection.
        EXPECT_TRUE(words.count(1) && words.count(5));
    } else {
        const std::set<int> expected = t == "FLASH4.9" ? std::set<int>{1, 2} : std::set<int>{1};
        EXPECT_EQ(words, expected);
    }

    EXPECT_EQ(d.EepromByteCount > 0, EepromTypes.contains(t)) << d.EepromByteCount;
    static const QRegularExpression calib(QStringLiteral("^(movlw|retlw) 0x[0-9A-F]{2}$"));
    QString calibration;
    if (t == "12C5") calibration = QStringLiteral("movlw");
    if (t == "12C6" || t == "12F6") calibration = QStringLiteral("retlw");
    EXPECT_EQ(d.CalibrationInstruction.left(5), calibration);
    if (!calibration.isEmpty()) {
        EXPECT_TRUE(calib.match(d.CalibrationInstruction).hasMatch());
    }

    if (group == CoreGroup::Pic18) {
        EXPECT_NE(d.CpMaskCf5, 0);
        EXPECT_EQ(d.CpMaskCf5 & ~d.ConfigMask[5], 0) << "protect bits outside CONFIG5";
    } else {
        EXPECT_NE(d.CodeProtectMask, 0) << "no CP setting";
    }

    EXPECT_TRUE(QStringList({"8", "18", "28", "28A", "40"}).contains(d.PackageType));
    EXPECT_TRUE(QStringList({"1-2", "2-3", "NON"}).contains(d.Jumper2));
    EXPECT_TRUE(d.PowerMode == "VPP" || d.PowerMode == "VDD");
    EXPECT_GT(d.RequiredFirmware, 0.0f);
    const QStringList comment = d.DeviceComment.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    EXPECT_EQ(comment.size(), 5);
    EXPECT_EQ(comment.value(0), p.name);
}

// The grids show, for every setting, the option the word selects; recomputing the word from the
// options shown must give the same word back (the start value and the xor are the word width).
TEST_P(EveryPart, GridsShowOneOptionPerSettingAndRebuildTheWord) {
    const LoadedPart& p = part();
    ASSERT_TRUE(p.loaded);
    const DeviceRecord& d = p.device;
    const std::int32_t width = configWordWidth(d.ProgramType);
    std::set<QString> settingNames;
    for (int k = 1; k <= 7; ++k) {
        const auto i = std::size_t(k);
        const auto& settings = d.ConfigSettings[i];
        if (!d.ConfigWordDefined[i]) {
            EXPECT_TRUE(settings.empty()) << "options for an undefined word " << k;
            continue;
        }
        SCOPED_TRACE(k);
        EXPECT_EQ(d.ConfigXor[i], width);
        EXPECT_EQ(d.ConfigMask[i] & ~width, 0);
        EXPECT_EQ(d.ConfigFixed[i] & d.ConfigMask[i], 0);
        ASSERT_FALSE(settings.empty());
        const std::int32_t word = d.ConfigValue[i];
        std::int32_t rebuilt = (d.ConfigMask[i] & d.ConfigXor[i]) | d.ConfigFixed[i];
        for (const ConfigSetting& s : settings) {
            SCOPED_TRACE(s.name.toStdString());
            EXPECT_TRUE(settingNames.insert(s.name).second) << "setting name used twice";
            const bool commented = std::any_of(
                d.SettingComments.begin(), d.SettingComments.end(),
                [&](const SettingComment& c) { return c.setting == s.name && !c.text1.isEmpty(); });
            EXPECT_TRUE(commented) << "no CMT for the setting";
            int matching = 0;
            for (const ConfigOption& o : s.options) {
                EXPECT_EQ(o.mask & ~d.ConfigMask[i], 0) << o.name.toStdString();
                EXPECT_EQ(o.value & ~o.mask, 0) << o.name.toStdString();
                if ((word & o.mask) == o.value) {
                    ++matching;
                    rebuilt &= o.value | (o.mask ^ d.ConfigXor[i]);
                }
            }
            EXPECT_EQ(matching, 1);
            if (s.name == QLatin1String("CP")) {
                EXPECT_EQ(s.options.front().value, s.options.front().mask)
                    << "the unprotected option comes first";
                EXPECT_EQ(d.CodeProtectMask, s.options.front().mask);
            }
        }
        EXPECT_EQ(rebuilt, word);
    }
}

// The part's own block with each keyed row left out in turn: it is refused, naming that key,
// unless the row only describes the board set-up or the part (socket, jumper, firmware, power
// mode, comment), is a PIC18 CONFIG3 (not every PIC18 part has one), or states the EEPROM size of
// a type without data EEPROM.
TEST_P(EveryPart, IsRefusedWithoutEachKeyItsTypeNeeds) {
    const LoadedPart& p = part();
    ASSERT_TRUE(p.loaded);
    const DeviceRecord& d = p.device;
    const QStringList describing = {"PACKAGE", "JP2", "FIRM", "POWER_MODE", "COMMENT"};
    DeviceRecord current;
    current.SelectedDevice = p.name;
    for (std::size_t left = 0; left < d.DeviceBlock.size(); ++left) {
        const BlockKey kind = blockKeyOf(d.DeviceBlock[left][0]);
        if (kind == BlockKey::Option || kind == BlockKey::SettingComment) continue;
        const QString key = d.DeviceBlock[left][0];
        QByteArray block = "#BEGIN\r\n" + p.name.toUtf8() + "\r\n";
        for (std::size_t i = 0; i < d.DeviceBlock.size(); ++i) {
            if (i == left) continue;
            QStringList tokens;
            for (const QString& token : d.DeviceBlock[i])
                if (!token.isEmpty()) tokens << token;
            block += tokens.join(QLatin1Char(' ')).toUtf8() + "\r\n";
        }
        block += "#END\r\n";
        const bool needed =
            !describing.contains(key) &&
            !(key == QLatin1String("CONFIG3") && isPic18Type(d.ProgramType)) &&
            !(key == QLatin1String("EEPROM") && !EepromTypes.contains(d.ProgramType));
        const DeviceDefinition definition = readDeviceDefinition(block, current);
        if (!needed) {
            EXPECT_EQ(definition.outcome, DeviceDefinition::Outcome::Loaded) << key.toStdString();
            continue;
        }
        EXPECT_EQ(definition.outcome, DeviceDefinition::Outcome::Faulty) << key.toStdString();
        EXPECT_TRUE(definition.errorText.contains(QLatin1Char(' ') + key + QLatin1Char(' ')))
            << definition.errorText.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(ShippedDeviceFile, EveryPart, testing::ValuesIn(shippedDeviceNames()),
                         [](const testing::TestParamInfo<QString>& info) {
                             return testNameOf(info.param);
                         });

} // namespace
