// Both configuration verifies against the emulator: a chip programmed like the buffer passes for
// every type, a changed word fails with the words read back shown, the per-type comparison rules,
// code protection, and the reply failures.
#include "core/utilities.h"
#include "step_bench.h"
#include "steps/config_verify.h"

#include <gtest/gtest.h>

namespace tavrin::test {
namespace {

const QString Mismatch = QStringLiteral("コンフィギュレーションワードのベリファイエラー");
const QString ProgrammedData =
    QStringLiteral("デバイスにプログラミングされているデータ。ＣＯＮＦＩＧ：");
const QString EndCodeMissing = QStringLiteral(
    "コンフィギュレーションワードのベリファイに失敗しました。  終了コードを受信できませんでした。");
const QString ReplyShort =
    QStringLiteral("コンフィギュレーションワードベリファイ失敗。　　読み出しデータ不足。");
const QString Protected = QStringLiteral("このデバイスはコードプロテクトされています。");

enum class Check { Verify, Written };

struct Outcome {
    QString cpFlag = QStringLiteral("??");
    QString result = result::OK; // both callers preset "OK"
};

Outcome run(StepBench& bench, Check check) {
    Outcome o;
    if (check == Check::Verify)
        VerifyConfigWords(bench.channel(), o.cpFlag, o.result);
    else
        VerifyWrittenConfigWords(bench.channel(), o.cpFlag, o.result);
    return o;
}

bool isPic18(const StepBench& bench) {
    return bench.s.device.ProgramType == QLatin1String("18F_00");
}

// PIC18 configuration word k as the chip reads it: CONFIGkH << 8 | CONFIGkL.
std::int32_t config18Word(const emu::Chip& chip, int k) {
    const std::uint32_t low = 0x300000 + std::uint32_t(2 * k - 2);
    return chip.readByte18(low + 1) << 8 | chip.readByte18(low);
}

void putWord(std::uint8_t* image, std::size_t at, std::uint16_t word) {
    image[at] = std::uint8_t(word >> 8);
    image[at + 1] = std::uint8_t(word & 0xFF);
}

// Programs IDs and configuration into the chip and the same into the buffer, and into the
// merged copy the Program sequence sends: as they would stand after a good programming run.
void programLikeTheBuffer(StepBench& bench) {
    auto& chip = bench.chip();
    auto& buffer = bench.s.buffer;
    if (isPic18(bench)) {
        for (int i = 0; i < 8; ++i) {
            // Whole bytes on both sides, as a HEX file's ID record and a read leave them.
            chip.id18[i] = std::uint8_t(0xF0 | i);
            buffer.Id18Image[i] = std::uint8_t(0xF0 | i);
        }
        chip.config18[3] = 0x0E; // CONFIG2H: watchdog off
        // The words as a read of the chip gives them, bits that read 1 included.
        for (int k = 1; k <= 7; ++k)
            bench.s.device.ConfigValue[k] = config18Word(chip, k);
        return;
    }
    std::uint8_t* image = buffer.ConfigIdImage.data();
    if (chip.is(emu::Core::Bit12)) {
        chip.config[0] = 0x0FF9;
        putWord(image, 14, chip.readConfig(0));
    } else {
        chip.ids = {0x000A, 0x000B, 0x000C, 0x000D};
        for (int i = 0; i < 4; ++i)
            putWord(image, 2 * i, chip.ids[i]);
        chip.config[0] = 0x3FF9 & ~0x0004; // oscillator and watchdog bits changed
        putWord(image, 14, chip.readConfig(0));
        putWord(image, 16, chip.readConfig(1));
    }
    std::copy_n(buffer.ConfigIdImage.begin(), buffer.MergedConfigIdImage.size(),
                buffer.MergedConfigIdImage.begin());
}

struct TypeAndCheck {
    TypeSample type;
    Check check;
};

std::vector<TypeAndCheck> everyTypeWithBothChecks() {
    std::vector<TypeAndCheck> all;
    for (const TypeSample& t : TypeSamples) {
        all.push_back({t, Check::Verify});
        all.push_back({t, Check::Written});
    }
    return all;
}

std::string nameOf(const ::testing::TestParamInfo<TypeAndCheck>& info) {
    QString name = QString::fromLatin1(info.param.type.programType).replace('.', '_');
    return name.toStdString() + (info.param.check == Check::Verify ? "_Verify" : "_Written");
}

class ConfigVerifyOfType : public ::testing::TestWithParam<TypeAndCheck> {};

TEST_P(ConfigVerifyOfType, ChipProgrammedLikeTheBufferPasses) {
    StepBench bench(QString::fromLatin1(GetParam().type.part));
    programLikeTheBuffer(bench);
    const Outcome o = run(bench, GetParam().check);
    EXPECT_EQ(o.result, result::OK);
    EXPECT_EQ(o.cpFlag, result::Skipped);
    if (bench.chip().is(emu::Core::Bit12)) {
        EXPECT_EQ(bench.s.run.ConfigVerifyText, QStringLiteral("0FF9"));
    }
}

TEST_P(ConfigVerifyOfType, ChangedConfigurationWordFails) {
    StepBench bench(QString::fromLatin1(GetParam().type.part));
    programLikeTheBuffer(bench);
    auto& buffer = bench.s.buffer;
    if (isPic18(bench)) {
        bench.s.device.ConfigValue[2] ^= 0x0100; // watchdog on in the buffer
    } else {
        buffer.ConfigIdImage[15] ^= 0x01;
        buffer.MergedConfigIdImage[15] ^= 0x01;
    }
    const Outcome o = run(bench, GetParam().check);
    EXPECT_EQ(o.result, result::NG);
    EXPECT_TRUE(bench.ui.statusText.startsWith(Mismatch));
}

INSTANTIATE_TEST_SUITE_P(AllTypes, ConfigVerifyOfType,
                         ::testing::ValuesIn(everyTypeWithBothChecks()), nameOf);

TEST(ConfigVerify, TwelveBitMismatchShowsTheWordRead) {
    for (Check check : {Check::Verify, Check::Written}) {
        StepBench bench(QStringLiteral("PIC16C56"));
        programLikeTheBuffer(bench);
        putWord(bench.s.buffer.ConfigIdImage.data(), 14, 0x0FFD);
        bench.recordFromHere();
        const Outcome o = run(bench, check);
        EXPECT_EQ(o.result, result::NG);
        EXPECT_EQ(bench.s.run.ConfigVerifyText, QStringLiteral("0FF9"));
        EXPECT_EQ(bench.ui.statusText, shown(Mismatch + QStringLiteral("\r\n") + ProgrammedData +
                                             QStringLiteral("0x0FF9")));
        EXPECT_EQ(bench.sentSinceRecord(), bytesOf({'N', 'r', 'p', 's', 0, 1}));
    }
}

TEST(ConfigVerify, FourteenBitMismatchShowsConfigurationAndIdDigits) {
    StepBench bench(QStringLiteral("PIC16F628A"));
    programLikeTheBuffer(bench);
    bench.s.buffer.ConfigIdImage[3] = 0x0E; // ID word 1: digit E in the buffer, B in the chip
    const Outcome o = run(bench, Check::Verify);
    EXPECT_EQ(o.result, result::NG);
    const QString config = hex4(bench.chip().readConfig(0));
    EXPECT_EQ(bench.s.run.ConfigVerifyText, config);
    EXPECT_EQ(bench.s.run.IdVerifyText, QStringLiteral("ABCD"));
    EXPECT_EQ(bench.ui.statusText, shown(Mismatch + QStringLiteral("\r\n") + ProgrammedData +
                                         config + QStringLiteral("ＩＤ：ABCD")));
}

TEST(ConfigVerify, WrittenCheckShowsTheShortTextOnly) {
    StepBench bench(QStringLiteral("PIC16F628A"));
    programLikeTheBuffer(bench);
    bench.s.buffer.MergedConfigIdImage[3] = 0x0E;
    const Outcome o = run(bench, Check::Written);
    EXPECT_EQ(o.result, result::NG);
    EXPECT_EQ(bench.ui.statusText, shown(Mismatch));
}

TEST(ConfigVerify, IdWordsCountByTheirDigitOnly) {
    // Read 0x35, buffer 0x05: the same digit. "12F6" keeps its ID words whole on the Verify
    // button; the written-configuration check treats it like every 14-bit part.
    struct Case {
        const char* device;
        Check check;
        const char* expected;
    };
    for (const Case& c :
         {Case{"PIC16F84A", Check::Verify, "OK"}, Case{"PIC16F84A", Check::Written, "OK"},
          Case{"PIC12F675", Check::Verify, "NG"}, Case{"PIC12F675", Check::Written, "OK"}}) {
        StepBench bench(QString::fromLatin1(c.device));
        programLikeTheBuffer(bench);
        bench.chip().ids[2] = 0x0035;
        bench.s.buffer.ConfigIdImage[5] = 0x05;
        bench.s.buffer.MergedConfigIdImage[5] = 0x05;
        EXPECT_EQ(run(bench, c.check).result, QString::fromLatin1(c.expected)) << c.device;
    }
}

TEST(ConfigVerify, TwelveF6BandgapBitsAreTheChipsAndShowInTheWordText) {
    StepBench bench(QStringLiteral("PIC12F675"));
    programLikeTheBuffer(bench);
    auto& chip = bench.chip();
    chip.config[0] = std::uint16_t((chip.config[0] & ~0x3000) | 0x2000); // band-gap 2 in the chip
    auto& image = bench.s.buffer.ConfigIdImage;
    image[14] = std::uint8_t((image[14] & 0x0F) | 0x30); // and 3 in the buffer
    const Outcome o = run(bench, Check::Verify);
    EXPECT_EQ(o.result, result::OK);
    EXPECT_EQ(bench.s.run.ConfigWordText, hex4(bench.chip().readConfig(0)));
    EXPECT_EQ(bench.s.run.ConfigVerifyText, result::OK);
    EXPECT_EQ(bench.s.run.IdVerifyText, result::OK);
}

TEST(ConfigVerify, DeviceIdWordsNeverCount) {
    for (Check check : {Check::Verify, Check::Written}) {
        StepBench bench(QStringLiteral("PIC16F877A"));
        programLikeTheBuffer(bench);
        for (std::size_t i = 8; i < 14; ++i) {
            bench.s.buffer.ConfigIdImage[i] = 0x55;
            bench.s.buffer.MergedConfigIdImage[i] = 0x55;
        }
        EXPECT_EQ(run(bench, check).result, result::OK);
    }
}

TEST(ConfigVerify, SecondConfigurationWordCounts) {
    StepBench bench(QStringLiteral("PIC16F88"));
    programLikeTheBuffer(bench);
    bench.chip().config[1] = 0x0002;
    const QString word1 = hex4(bench.chip().readConfig(0));
    const QString word2 = hex4(bench.chip().readConfig(1));
    EXPECT_EQ(run(bench, Check::Verify).result, result::NG);
    EXPECT_EQ(bench.s.run.ConfigVerifyText,
              QStringLiteral("CF1:") + word1 + QStringLiteral(",CF2:") + word2);
    StepBench written(QStringLiteral("PIC16F88"));
    programLikeTheBuffer(written);
    written.chip().config[1] = 0x0002;
    EXPECT_EQ(run(written, Check::Written).result, result::NG);
}

TEST(ConfigVerify, ProtectedChipIsFlaggedAndStillCompared) {
    for (const char* device : {"PIC16C56", "PIC16F628A", "PIC16F88"}) {
        StepBench bench(QString::fromLatin1(device));
        programLikeTheBuffer(bench);
        bench.chip().config[0] = 0x0000;
        putWord(bench.s.buffer.ConfigIdImage.data(), 14, bench.chip().readConfig(0));
        const Outcome o = run(bench, Check::Verify);
        EXPECT_EQ(o.cpFlag, result::CP) << device;
        EXPECT_EQ(o.result, result::OK) << device;
        EXPECT_EQ(bench.ui.statusText, shown(Protected)) << device;
    }
}

TEST(ConfigVerify, ProtectionIsDecidedBeforeAMissingEndCode) {
    for (Check check : {Check::Verify, Check::Written}) {
        StepBench bench(QStringLiteral("PIC16F877A"));
        bench.chip().config[0] = 0x0000;
        bench.addFault("end-code@rsc");
        const Outcome o = run(bench, check);
        EXPECT_EQ(o.cpFlag, result::CP);
        EXPECT_EQ(o.result, result::ER);
        EXPECT_EQ(bench.ui.statusText, shown(EndCodeMissing));
    }
}

struct FailureCase {
    const char* device;
    const char* fault;
    const QString& status;
};

class ConfigVerifyFailure : public ::testing::TestWithParam<FailureCase> {};

// A reply that came short or without its end code compared nothing: a failed exchange ("ER").
TEST_P(ConfigVerifyFailure, EndsWithErAndItsTextWithinItsLimit) {
    for (Check check : {Check::Verify, Check::Written}) {
        StepBench bench(QString::fromLatin1(GetParam().device));
        programLikeTheBuffer(bench);
        bench.addFault(GetParam().fault);
        bench.recordFromHere();
        const Outcome o = run(bench, check);
        EXPECT_EQ(o.result, result::ER);
        EXPECT_EQ(bench.ui.statusText, shown(GetParam().status));
        EXPECT_LT(bench.msSinceRecord(), 21000);
    }
}

INSTANTIATE_TEST_SUITE_P(Faults, ConfigVerifyFailure,
                         ::testing::Values(FailureCase{"PIC16C57", "silent", ReplyShort},
                                           FailureCase{"PIC16C57", "end-code", EndCodeMissing},
                                           FailureCase{"PIC16F628A", "stall=10", ReplyShort},
                                           FailureCase{"PIC16F628A", "stall=16", ReplyShort},
                                           FailureCase{"PIC16F88", "stall=20", ReplyShort},
                                           FailureCase{"PIC16F88", "end-code", EndCodeMissing},
                                           FailureCase{"PIC18F242", "stall=200@Xrsp", ReplyShort}));

// --- PIC18 ------------------------------------------------------------------------------------

TEST(ConfigVerify, Pic18IdDifferenceFails) {
    StepBench bench(QStringLiteral("PIC18F242"));
    programLikeTheBuffer(bench);
    bench.s.buffer.Id18Image[6] = 0x0C;
    const Outcome o = run(bench, Check::Verify);
    EXPECT_EQ(o.result, result::NG);
    EXPECT_EQ(bench.s.run.IdVerifyText, result::NG);
    EXPECT_EQ(bench.ui.statusText, shown(Mismatch));
    EXPECT_TRUE(
        bench.ui.statusHistory.contains(shown(QStringLiteral("ＩＤワードのベリファイエラー"))));
}

TEST(ConfigVerify, Pic18ComparesTheImplementedBitsOfTheDefinedWords) {
    StepBench bench(QStringLiteral("PIC18F242"));
    programLikeTheBuffer(bench);
    bench.s.device.ConfigValue[1] |= 0x00FF; // CONFIG1L is not implemented
    bench.s.device.ConfigFixed[3] = 0x0001;  // fixed bits never make a difference
    bench.s.device.ConfigValue[20] = 0x1234; // no such word
    EXPECT_EQ(run(bench, Check::Verify).result, result::OK);
    EXPECT_EQ(bench.s.run.ConfigVerifyText, result::OK);
}

TEST(ConfigVerify, Pic18ProtectionComesFromTheProgramBitsOfConfig5) {
    struct Case {
        std::uint8_t config5l, config5h;
        const char* cpFlag;
    };
    for (const Case& c : {Case{0x02, 0xC0, "CP"}, Case{0x03, 0x80, "CP"}, Case{0x03, 0x40, "--"}}) {
        StepBench bench(QStringLiteral("PIC18F242"));
        programLikeTheBuffer(bench);
        bench.chip().config18[8] = c.config5l;
        bench.chip().config18[9] = c.config5h;
        bench.s.device.ConfigValue[5] = config18Word(bench.chip(), 5);
        const Outcome o = run(bench, Check::Verify);
        EXPECT_EQ(o.cpFlag, QString::fromLatin1(c.cpFlag))
            << int(c.config5l) << " " << int(c.config5h);
        EXPECT_EQ(o.result, result::OK);
    }
}

TEST(ConfigVerify, Pic18IdReplyWithoutEndCodeIsNotASuccess) {
    StepBench bench(QStringLiteral("PIC18F242"));
    programLikeTheBuffer(bench);
    bench.addFault("end-code@Xrsp");
    const Outcome o = run(bench, Check::Verify);
    EXPECT_EQ(o.result, result::ER);
    EXPECT_EQ(o.cpFlag, QStringLiteral("??"));
    EXPECT_EQ(bench.s.run.IdVerifyText, result::NG);
    EXPECT_EQ(bench.ui.statusText,
              shown(QStringLiteral(
                  "ＩＤワードのベリファイに失敗しました。  終了コードを受信できませんでした。")));
}

TEST(ConfigVerify, Pic18ReadsIdsAndConfigurationByAddress) {
    StepBench bench(QStringLiteral("PIC18F242"));
    programLikeTheBuffer(bench);
    bench.recordFromHere();
    run(bench, Check::Written);
    const QByteArray sent = bench.sentSinceRecord();
    EXPECT_TRUE(sent.startsWith(bytesOf({'N', 'X', 'r', 's', 'p', 0x20, 0, 1, 0, 0, 8})));
    // The second read goes on with the procedure: "X" alone, no second power letter.
    EXPECT_TRUE(sent.contains(bytesOf({'X', 'r', 's', 'p', 0x30, 0, 1, 0, 1, 0})));
    EXPECT_FALSE(sent.contains(bytesOf({'N', 'X', 'r', 's', 'p', 0x30})));
}

TEST(ConfigVerify, TypesNeitherCheckServesFailWithoutSending) {
    for (Check check : {Check::Verify, Check::Written}) {
        StepBench bench(QStringLiteral("QZ-WRT400A"));
        bench.recordFromHere();
        const Outcome o = run(bench, check);
        EXPECT_EQ(o.result, result::NG);
        EXPECT_EQ(o.cpFlag, QStringLiteral("??"));
        EXPECT_TRUE(bench.sentSinceRecord().isEmpty());
    }
}

} // namespace
} // namespace tavrin::test
