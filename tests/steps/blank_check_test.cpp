// Blank check of every programming type the generic steps serve, on an erased chip and on one
// with something written in each area; the code-protect flag; the 12C5 calibration scan; and
// every way the board's reply can fail.
#include "step_bench.h"
#include "steps/blank_check.h"

#include <gtest/gtest.h>

namespace tavrin::test {
namespace {

const QString ProgramStatus = QStringLiteral("ブランクチェック中..........プログラムメモリー");
const QString EepromStatus = QStringLiteral("ブランクチェック中..........ＥＥＰＲＯＭメモリ");
const QString ConfigStatus = QStringLiteral("ブランクチェック中..........コンフィグ・ＩＤワード");

struct BlankResults {
    QString program = result::Skipped;
    QString eeprom = result::Skipped;
    QString config = result::Skipped;
    QString cpFlag = result::Skipped;
};

BlankResults runAll(StepBench& bench) {
    BlankResults r;
    BlankCheckProgramMemory(bench.channel(), r.program);
    BlankCheckEepromMemory(bench.channel(), r.eeprom);
    BlankCheckConfigWords(bench.channel(), r.cpFlag, r.config);
    return r;
}

bool isPic18(const StepBench& bench) {
    return bench.s.device.ProgramType == QLatin1String("18F_00");
}

// Something programmed in program memory, data EEPROM and an ID word.
void writeSomething(StepBench& bench) {
    auto& chip = bench.chip();
    if (isPic18(bench)) {
        chip.program18[10] = 0x00;
        if (!chip.eeprom.empty()) chip.eeprom[3] = 0x00;
        chip.id18[2] = 0x00;
        return;
    }
    chip.program[5] = 0x0000;
    if (!chip.eeprom.empty()) chip.eeprom[3] = 0x00;
    chip.ids[1] = 0x0000;
    // The 12-bit configuration check reads the configuration word alone: watchdog off.
    if (chip.is(emu::Core::Bit12)) chip.config[0] = 0x0FFB;
}

class BlankCheckOfType : public ::testing::TestWithParam<TypeSample> {};

TEST_P(BlankCheckOfType, ErasedChipIsBlankInEveryArea) {
    StepBench bench(QString::fromLatin1(GetParam().part));
    const BlankResults r = runAll(bench);
    EXPECT_EQ(r.program, result::OK);
    EXPECT_EQ(r.eeprom, bench.s.device.EepromByteCount ? result::OK : result::Skipped);
    EXPECT_EQ(r.config, result::OK);
    EXPECT_EQ(r.cpFlag, result::Skipped);
    EXPECT_EQ(bench.ui.statusText, shown(ConfigStatus));
    EXPECT_TRUE(bench.ui.statusHistory.contains(shown(ProgramStatus)));
    EXPECT_EQ(bench.ui.statusHistory.contains(shown(EepromStatus)),
              bench.s.device.EepromByteCount != 0);
}

TEST_P(BlankCheckOfType, WrittenChipIsNotBlankInAnyArea) {
    StepBench bench(QString::fromLatin1(GetParam().part));
    writeSomething(bench);
    const BlankResults r = runAll(bench);
    EXPECT_EQ(r.program, result::NG);
    EXPECT_EQ(r.eeprom, bench.s.device.EepromByteCount ? result::NG : result::Skipped);
    EXPECT_EQ(r.config, result::NG);
    if (bench.s.device.EepromByteCount) {
        EXPECT_EQ(bench.s.run.EepromAndLow, 0x00);
    }
}

INSTANTIATE_TEST_SUITE_P(AllTypes, BlankCheckOfType, ::testing::ValuesIn(TypeSamples),
                         [](const auto& info) {
                             QString name = QString::fromLatin1(info.param.programType);
                             return name.replace('.', '_').toStdString();
                         });

TEST(BlankCheck, CountsAndLettersFollowTheType) {
    struct Case {
        const char* device;
        QByteArray command; // the program-memory summary request after the power letter
    };
    const Case cases[] = {
        {"PIC16C56", bytesOf({'b', 'p', 's', 0x04, 0x05})}, // W + 5
        {"PIC16C57", bytesOf({'b', 'p', 'l', 0x08, 0x05})},
        {"PIC12C672", bytesOf({'b', 's', 0x07, 0xFF})}, // W - 1
        {"PIC16C715", bytesOf({'b', 'S', 0x08, 0x00})},
        {"QZ-WRT400", bytesOf({'b', '8', 0x20, 0x00})},
        {"PIC18F242", bytesOf({'X', 'b', 's', 0, 0, 1, 0, 0x20, 0})}, // start 1, W words
    };
    for (const Case& c : cases) {
        StepBench bench(QString::fromLatin1(c.device));
        bench.recordFromHere();
        QString result;
        BlankCheckProgramMemory(bench.channel(), result);
        EXPECT_EQ(bench.sentSinceRecord(), QByteArray("N") + c.command) << c.device;
        EXPECT_EQ(result, result::OK) << c.device;
    }
}

TEST(BlankCheck, SixteenC5xSummaryCarriesTheConfigurationWordLowByteFirst) {
    StepBench bench(QStringLiteral("PIC16C57"));
    bench.chip().config[0] = 0x0FF9; // XT oscillator, protection off
    QString result;
    BlankCheckProgramMemory(bench.channel(), result);
    EXPECT_EQ(result, result::OK);
    EXPECT_EQ(bench.s.run.ConfigAndLow, 0xF9);
    EXPECT_EQ(bench.s.run.ConfigAndHigh, 0x0F);
    EXPECT_EQ(bench.s.run.ProgramAndHigh, 0x0F);
    EXPECT_EQ(bench.s.run.ProgramAndLow, 0xFF);
}

TEST(BlankCheck, TwelveC5KeepsTheCalibrationWordOutOfTheScanAndReadsIt) {
    StepBench bench(QStringLiteral("PIC12C509A"));
    bench.recordFromHere();
    QString result;
    BlankCheckProgramMemory(bench.channel(), result);
    EXPECT_EQ(result, result::OK);
    EXPECT_EQ(bench.s.run.CalibWordHigh, 0x0C);
    EXPECT_EQ(bench.s.run.CalibWordLow, 0x5A);
    EXPECT_TRUE(bench.s.run.CalibWordRead);
    // One power letter to each of the three requests.
    EXPECT_EQ(bench.sentSinceRecord(), bytesOf({'N', 'b', 's', 0x04, 0x00, 'N', 'b', 's', 0x04,
                                                0x01, 'N', 'b', 's', 0x04, 0x05}));
}

TEST(BlankCheck, TwelveC5WithAnIdWordWrittenIsNotBlank) {
    StepBench bench(QStringLiteral("PIC12C509A"));
    bench.chip().ids[3] = 0x0003;
    QString result;
    BlankCheckProgramMemory(bench.channel(), result);
    EXPECT_EQ(result, result::NG);
    EXPECT_TRUE(bench.s.run.CalibWordRead); // the calibration word itself was read
}

TEST(BlankCheck, TwelveC5WrittenProgramStopsBeforeTheCalibrationScan) {
    StepBench bench(QStringLiteral("PIC12C509A"));
    bench.chip().program[0] = 0x0A05;
    bench.recordFromHere();
    QString result;
    BlankCheckProgramMemory(bench.channel(), result);
    EXPECT_EQ(result, result::NG);
    EXPECT_FALSE(bench.s.run.CalibWordRead);
    EXPECT_EQ(bench.s.run.ProgramAndHigh, 0x0A);
    EXPECT_EQ(bench.s.run.ProgramAndLow, 0x05);
    EXPECT_EQ(bench.sentSinceRecord().count('b'), 1);
}

TEST(BlankCheck, SixteenC54To57IgnoreTheLowConfigurationBits) {
    for (const char* device : {"PIC16C54", "PIC16C57"}) {
        StepBench bench(QString::fromLatin1(device));
        bench.chip().config[0] = 0x0FFD;
        QString cp, result;
        BlankCheckConfigWords(bench.channel(), cp, result);
        EXPECT_EQ(result, result::OK) << device;
        EXPECT_EQ(bench.s.run.ConfigAndLow, 0xFD) << device;
    }
    StepBench other(QStringLiteral("PIC12C509A"));
    other.chip().config[0] = 0x0FFD;
    QString cp, result;
    BlankCheckConfigWords(other.channel(), cp, result);
    EXPECT_EQ(result, result::NG);
}

TEST(BlankCheck, ProtectedChipRaisesTheFlag) {
    for (const char* device : {"PIC16C56", "PIC16F877A", "PIC16F88"}) {
        StepBench bench(QString::fromLatin1(device));
        bench.chip().config[0] = 0x0000;
        QString cp = QStringLiteral("??"), result;
        BlankCheckConfigWords(bench.channel(), cp, result);
        EXPECT_EQ(cp, result::CP) << device;
        EXPECT_EQ(result, result::NG) << device;
        EXPECT_TRUE(bench.ui.statusHistory.contains(
            shown(QStringLiteral("このデバイスはコードプロテクトされています。"))))
            << device;
    }
}

TEST(BlankCheck, ConfigurationAreaIsAcknowledgedBeforeItsData) {
    StepBench bench(QStringLiteral("PIC16F628A")); // a VPP part
    bench.recordFromHere();
    QString cp, result;
    BlankCheckConfigWords(bench.channel(), cp, result);
    EXPECT_EQ(bench.sentSinceRecord(), bytesOf({'n', 'r', 's', 'c', 0x00, 0x08, '@'}));
    EXPECT_EQ(result, result::OK);
}

TEST(BlankCheck, DeviceIdWordsDoNotCount) {
    StepBench bench(QStringLiteral("PIC16F877A")); // 0x2006 holds the ID, everything else erased
    QString cp, result;
    BlankCheckConfigWords(bench.channel(), cp, result);
    EXPECT_EQ(result, result::OK);
}

TEST(BlankCheck, SecondConfigurationWordCounts) {
    StepBench bench(QStringLiteral("PIC16F88"));
    bench.chip().config[1] = 0x0002;
    QString cp, result;
    BlankCheckConfigWords(bench.channel(), cp, result);
    EXPECT_EQ(result, result::NG);
}

TEST(BlankCheck, BandgapBitsNeverCountAsProgrammed) {
    StepBench bench(QStringLiteral("PIC12F675"));
    bench.chip().config[0] = 0x01FF | 0x0000; // band-gap 0, the rest erased
    QString cp, result;
    BlankCheckConfigWords(bench.channel(), cp, result);
    EXPECT_EQ(result, result::OK);
}

TEST(BlankCheck, Pic18UndefinedConfigurationWordsAreNotJudged) {
    StepBench bench(QStringLiteral("PIC18F242"));
    bench.s.device.ConfigWordDefined[7] = 0;
    bench.s.device.ConfigMask[7] = 0x7FFF; // left over from another part
    QString cp = QStringLiteral("??"), result;
    BlankCheckConfigWords(bench.channel(), cp, result);
    EXPECT_EQ(result, result::OK);
    EXPECT_EQ(cp, QStringLiteral("??"));
}

TEST(BlankCheck, Pic18ProgrammedConfigurationWordIsNotBlank) {
    StepBench bench(QStringLiteral("PIC18F242"));
    bench.chip().config18[3] = 0x0E; // CONFIG2H: watchdog off
    QString cp, result;
    BlankCheckConfigWords(bench.channel(), cp, result);
    EXPECT_EQ(result, result::NG);
}

TEST(BlankCheck, PartWithoutEepromSendsNothingForIt) {
    StepBench bench(QStringLiteral("PIC16F74"));
    bench.recordFromHere();
    QString result = QStringLiteral("??");
    BlankCheckEepromMemory(bench.channel(), result);
    EXPECT_EQ(result, result::Skipped);
    EXPECT_TRUE(bench.sentSinceRecord().isEmpty());
    EXPECT_TRUE(bench.ui.statusHistory.isEmpty());
}

TEST(BlankCheck, EepromFillerBytesDoNotCount) {
    StepBench bench(QStringLiteral("PIC16F84A"));
    QString result;
    BlankCheckEepromMemory(bench.channel(), result);
    EXPECT_EQ(result, result::OK);
    EXPECT_EQ(bench.s.run.EepromAndHigh, 0x3F);
    EXPECT_EQ(bench.s.run.EepromAndLow, 0xFF);
}

TEST(BlankCheck, UnservedTypesSendThePowerLetterAndKeepThePreset) {
    StepBench bench(QStringLiteral("QZ-WRT400A"));
    bench.recordFromHere();
    const BlankResults r = runAll(bench);
    EXPECT_EQ(r.program, result::Skipped);
    EXPECT_EQ(r.eeprom, result::Skipped);
    EXPECT_EQ(r.config, result::Skipped);
    EXPECT_EQ(bench.sentSinceRecord(), QByteArray("NNN"));
}

// --- failures ---------------------------------------------------------------------------------

enum class Area { Program, Eeprom, Config };

struct FailureCase {
    const char* device;
    Area area;
    const char* fault;
    const char* result;
    const char* status;
};

class BlankCheckFailure : public ::testing::TestWithParam<FailureCase> {};

TEST_P(BlankCheckFailure, EndsWithItsResultAndText) {
    const FailureCase& c = GetParam();
    StepBench bench(QString::fromLatin1(c.device));
    bench.addFault(c.fault);
    bench.recordFromHere();
    QString result = result::Skipped, cp = QStringLiteral("??");
    switch (c.area) {
    case Area::Program:
        BlankCheckProgramMemory(bench.channel(), result);
        break;
    case Area::Eeprom:
        BlankCheckEepromMemory(bench.channel(), result);
        break;
    case Area::Config:
        BlankCheckConfigWords(bench.channel(), cp, result);
        EXPECT_EQ(cp, QStringLiteral("??")); // no complete reply, no verdict on protection
        break;
    }
    EXPECT_EQ(result, QString::fromLatin1(c.result));
    EXPECT_EQ(bench.ui.statusText, shown(QString::fromUtf8(c.status)));
    EXPECT_LT(bench.msSinceRecord(), 25000); // every wait is bounded
}

const char* const ProgramShort = "プログラムメモリブランクチェック失敗。　　読み出しデータ不足。";
const char* const ProgramEnd =
    "プログラムメモリブランクチェック失敗。　　終了コードを受信できませんでした。";
const char* const EepromShort =
    "ＥＥＰＲＯＭデータメモリブランクチェック失敗。　　読み出しデータ不足。";
const char* const EepromEnd =
    "ＥＥＰＲＯＭデータメモリブランクチェック失敗。　　終了コードを受信できませんでした。";
const char* const Eeprom18End =
    "ＥＥＰＲＯＭデータメモリ読み出し失敗。　　終了コードを受信できませんでした。";
const char* const ConfigShort =
    "コンフィギュレーションワードブランクチェック失敗。　　読み出しデータ不足。";
const char* const ConfigEnd =
    "コンフィギュレーションワードブランクチェック失敗。　　終了コードを受信できませんでした。";
const char* const Config16Short =
    "コンフィギュレーションワードブランクチェック読み出し失敗。　　読み出しデータ不足。";

INSTANTIATE_TEST_SUITE_P(
    Faults, BlankCheckFailure,
    ::testing::Values(
        FailureCase{"PIC16F84A", Area::Program, "silent", "ER", ProgramShort},
        FailureCase{"PIC16F84A", Area::Program, "end-code", "ER", ProgramEnd},
        FailureCase{"PIC16C57", Area::Program, "stall=3", "ER", ProgramShort},
        FailureCase{"PIC16C57", Area::Program, "end-code", "ER", ProgramEnd},
        FailureCase{"PIC12C509A", Area::Program, "silent", "ER", ProgramShort},
        FailureCase{"PIC18F242", Area::Program, "end-code", "ER", ProgramEnd},
        FailureCase{"PIC16F84A", Area::Eeprom, "stall=40", "ER", EepromShort},
        FailureCase{"PIC16F84A", Area::Eeprom, "end-code", "ER", EepromEnd},
        FailureCase{"QZ-WRT400", Area::Eeprom, "silent", "ER", EepromShort},
        FailureCase{"PIC18F242", Area::Eeprom, "stall=100", "ER", EepromShort},
        // A PIC18 reply without its end code says nothing about the chip: not "not blank".
        FailureCase{"PIC18F242", Area::Eeprom, "end-code", "ER", Eeprom18End},
        FailureCase{"PIC16C56", Area::Config, "silent", "ER", ConfigShort},
        FailureCase{"PIC16C56", Area::Config, "end-code", "ER", ConfigEnd},
        FailureCase{"PIC16F877A", Area::Config, "stall=16", "ER", ConfigShort},
        FailureCase{"PIC16F877A", Area::Config, "end-code", "ER", ConfigEnd},
        FailureCase{"PIC16F88", Area::Config, "stall=20", "ER", Config16Short},
        FailureCase{"PIC16F88", Area::Config, "end-code", "ER", ConfigEnd},
        FailureCase{"PIC18F242", Area::Config, "stall=4", "ER", ConfigShort},
        FailureCase{"PIC18F242", Area::Config, "end-code@Xrsp", "ER", ConfigEnd}));

} // namespace
} // namespace tavrin::test
