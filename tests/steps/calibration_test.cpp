// The calibration word and the configuration area kept across an erase: read, erased on the
// chip, written back; what is refused when nothing valid was read; the failure texts.
#include "core/utilities.h"
#include "step_bench.h"
#include "steps/calibration_word.h"
#include "steps/config_area_keep.h"
#include "steps/erase.h"

#include <gtest/gtest.h>

namespace tavrin::test {
namespace {

const QString ReadFailed = QStringLiteral("指定プログラムメモリのデータリード失敗。");
const QString WriteFailed = QStringLiteral("指定プログラムメモリのデータライト失敗。");

struct CalibratedPart {
    const char* device;
    int words;
    char power; // "n" for a VPP part
};

class CalibrationWord : public ::testing::TestWithParam<CalibratedPart> {};

TEST_P(CalibrationWord, SurvivesAChipEraseThroughReadAndWriteBack) {
    const CalibratedPart& p = GetParam();
    StepBench bench(QString::fromLatin1(p.device));
    auto& chip = bench.chip();
    const std::uint16_t factory = chip.program[p.words - 1];
    ASSERT_EQ(factory >> 8, 0x34);

    bench.recordFromHere();
    QString result;
    ReadCalibrationWord(bench.channel(), result);
    EXPECT_EQ(result, result::OK);
    EXPECT_EQ(bench.ui.statusText,
              shown(QStringLiteral("指定プログラムメモリのデータリード成功。")));
    EXPECT_EQ(bench.sentSinceRecord(), bytesOf({p.power, 'b', 'r', p.words >> 8, p.words & 0xFF}));
    EXPECT_EQ(bench.s.run.CalibWordHigh, 0x34);
    EXPECT_EQ(bench.s.run.CalibWordLow, factory & 0xFF);
    EXPECT_TRUE(bench.s.run.CalibWordRead);

    // The word is lost on the chip (an erase of a flash part, a blank OTP part's cell of one
    // that was never calibrated reads the same), then written back.
    chip.program[p.words - 1] = 0x3FFF;
    bench.recordFromHere();
    WriteCalibrationWord(bench.channel(), result);
    EXPECT_EQ(result, result::OK);
    EXPECT_EQ(bench.ui.statusText,
              shown(QStringLiteral("指定プログラムメモリのデータライト成功。")));
    EXPECT_EQ(bench.sentSinceRecord(),
              bytesOf({p.power, 'b', 'w', p.words >> 8, p.words & 0xFF, 0x34, factory & 0xFF}));
    EXPECT_EQ(chip.program[p.words - 1], factory);
}

INSTANTIATE_TEST_SUITE_P(Parts, CalibrationWord,
                         ::testing::Values(CalibratedPart{"PIC12F675", 1024, 'n'},
                                           CalibratedPart{"PIC12C672", 2048, 'N'}));

TEST(CalibrationWord, WriteSendsRetlwWhateverTheHighByteHolds) {
    StepBench bench(QStringLiteral("PIC12F629"));
    bench.chip().program[1023] = 0x3FFF;
    bench.s.run.CalibWordHigh = 0x0C;
    bench.s.run.CalibWordLow = 0x5C;
    bench.s.run.CalibWordRead = true;
    QString result;
    WriteCalibrationWord(bench.channel(), result);
    EXPECT_EQ(result, result::OK);
    EXPECT_EQ(bench.chip().program[1023], 0x345C);
}

TEST(CalibrationWord, AWordNotReadFromThisChipIsNeverWrittenAsTheChipsOwn) {
    StepBench bench(QStringLiteral("PIC12F675"));
    bench.s.run.CalibWordLow = 0x12; // held from some earlier run
    bench.s.run.CalibWordRead = false;
    const auto before = bench.chip().program[1023];
    bench.recordFromHere();
    QString result;
    WriteCalibrationWord(bench.channel(), result);
    EXPECT_EQ(result, result::ER);
    EXPECT_EQ(bench.ui.statusText, shown(WriteFailed));
    EXPECT_TRUE(bench.sentSinceRecord().isEmpty());
    EXPECT_EQ(bench.chip().program[1023], before);
}

TEST(CalibrationWord, ATypedValueIsWrittenAsItStands) {
    StepBench bench(QStringLiteral("PIC12F675"));
    bench.chip().program[1023] = 0x3FFF;
    bench.s.run.CalibWordLow = 0xA0;
    QString result;
    WriteCalibrationWord(bench.channel(), result, CalibrationSource::Typed);
    EXPECT_EQ(result, result::OK);
    EXPECT_EQ(bench.chip().program[1023], 0x34A0);
}

TEST(CalibrationWord, AFailedReadDropsTheWordHeldFromBefore) {
    StepBench bench(QStringLiteral("PIC12F675"));
    bench.s.run.CalibWordLow = 0x12;
    bench.s.run.CalibWordRead = true;
    bench.addFault("end-code@br");
    QString result;
    ReadCalibrationWord(bench.channel(), result);
    EXPECT_EQ(result, result::ER);
    EXPECT_EQ(bench.ui.statusText, shown(ReadFailed));
    EXPECT_EQ(bench.s.run.CalibWordLow, 0x12);
    EXPECT_FALSE(bench.s.run.CalibWordRead);
    WriteCalibrationWord(bench.channel(), result);
    EXPECT_EQ(result, result::ER);
}

TEST(CalibrationWord, ReadOfATypeWithoutTheWordSendsThePowerLetterOnly) {
    StepBench bench(QStringLiteral("PIC16F628A")); // a VPP part
    bench.recordFromHere();
    QString result = QStringLiteral("OK");
    ReadCalibrationWord(bench.channel(), result);
    EXPECT_EQ(result, result::OK); // the caller's, untouched
    EXPECT_EQ(bench.ui.statusText, shown(ReadFailed));
    EXPECT_EQ(bench.sentSinceRecord(), QByteArray("n"));
}

TEST(CalibrationWord, WriteOfATypeOutsideItsListSendsThePowerLetterOnly) {
    // "b w" without arguments would turn the next "***?" into a chip write.
    for (const char* device : {"PIC16C56", "PIC12C509A", "PIC18F242", "QZ-WRT400A"}) {
        StepBench bench(QString::fromLatin1(device));
        bench.s.run.CalibWordRead = true;
        bench.recordFromHere();
        QString result = QStringLiteral("OK");
        WriteCalibrationWord(bench.channel(), result);
        EXPECT_EQ(result, QString()) << device;
        EXPECT_EQ(bench.ui.statusText, shown(WriteFailed)) << device;
        EXPECT_EQ(bench.sentSinceRecord(), QByteArray("N")) << device;
        QString check;
        bench.link.CheckProgrammer(check);
        EXPECT_EQ(check, result::OK) << device;
    }
}

TEST(CalibrationWord, SilentBoardEndsEachWaitAfterThreeSeconds) {
    StepBench bench(QStringLiteral("PIC12C672"));
    bench.addFault("silent");
    QString result;
    bench.recordFromHere();
    ReadCalibrationWord(bench.channel(), result);
    EXPECT_EQ(result, result::ER);
    EXPECT_NEAR(bench.msSinceRecord(), 3000, 100);
    bench.s.run.CalibWordRead = true;
    bench.recordFromHere();
    WriteCalibrationWord(bench.channel(), result);
    EXPECT_EQ(result, result::ER);
    EXPECT_EQ(bench.ui.statusText, shown(WriteFailed));
    EXPECT_NEAR(bench.msSinceRecord(), 3000, 100);
}

TEST(CalibrationWord, WriteRefusedByTheBoardFails) {
    StepBench bench(QStringLiteral("PIC12F675"));
    bench.s.run.CalibWordRead = true;
    bench.addFault("end-code=0x2A@bw");
    QString result;
    WriteCalibrationWord(bench.channel(), result);
    EXPECT_EQ(result, result::ER);
    EXPECT_EQ(bench.ui.statusText, shown(WriteFailed));
}

// --- band-gap bits and the configuration area ------------------------------------------------

TEST(ConfigArea, BandgapBitsAndTheAreaSurviveAChipErase) {
    StepBench bench(QStringLiteral("PIC12F675"));
    auto& chip = bench.chip();
    chip.ids = {0x0001, 0x0002, 0x0003, 0x0004};
    const std::uint16_t configBefore = chip.readConfig(0);
    ASSERT_EQ(configBefore >> 12 & 3, 2); // the factory's band-gap value

    bench.recordFromHere();
    QString result;
    ReadBandgapBits(bench.channel(), result);
    EXPECT_EQ(result, result::OK);
    EXPECT_EQ(bench.s.run.BandgapBits, 2);
    EXPECT_EQ(bench.sentSinceRecord(), bytesOf({'n', 'r', 's', 'c', 0x00, 0x08, '@'})); // VPP
    EXPECT_EQ(bench.s.link.ConfigAreaReply[16], '@');
    EXPECT_EQ(bench.s.link.ConfigAreaReply[7], 0x04);

    EraseChip(bench.link, result);
    ASSERT_EQ(result, result::OK);
    ASSERT_NE(chip.readConfig(0), configBefore);

    WriteConfigAreaWords(bench.channel(), result);
    EXPECT_EQ(result, result::OK);
    EXPECT_EQ(
        bench.ui.statusText,
        shown(QStringLiteral("コンフィギュレーションワードのプログラミングに成功しました。")));
    EXPECT_EQ(chip.readConfig(0), configBefore);
    EXPECT_EQ(chip.ids, (std::array<std::uint16_t, 4>{1, 2, 3, 4}));
}

TEST(ConfigArea, BandgapBitsAreBits13And12OfTheConfigurationWord) {
    for (int bandgap = 0; bandgap < 4; ++bandgap) {
        StepBench bench(QStringLiteral("PIC12F629"));
        bench.chip().config[0] = std::uint16_t(bandgap << 12 | 0x01FF);
        QString result;
        ReadBandgapBits(bench.channel(), result);
        EXPECT_EQ(result, result::OK);
        EXPECT_EQ(bench.s.run.BandgapBits, bandgap);
    }
}

TEST(ConfigArea, AnAreaNeverReadIsNotWrittenBack) {
    // Zeros written back would clear the IDs, switch protection on and lose the band-gap bits.
    StepBench bench(QStringLiteral("PIC12F675"));
    const auto config = bench.chip().readConfig(0);
    bench.recordFromHere();
    QString result;
    WriteConfigAreaWords(bench.channel(), result);
    EXPECT_EQ(result, result::NG);
    EXPECT_TRUE(bench.sentSinceRecord().isEmpty());
    EXPECT_EQ(bench.chip().readConfig(0), config);
    EXPECT_TRUE(bench.ui.statusText.startsWith(
        QStringLiteral("コンフィギュレーションワードのプログラミングに失敗しました。")));
}

TEST(ConfigArea, AReadWithoutItsEndCodeKeepsTheReplyButIsNotWrittenBack) {
    StepBench bench(QStringLiteral("PIC12F675"));
    bench.s.run.BandgapBits = 1;
    bench.addFault("end-code@rsc");
    QString result;
    ReadBandgapBits(bench.channel(), result);
    EXPECT_EQ(result, result::NG);
    EXPECT_EQ(
        bench.ui.statusText,
        shown(QStringLiteral(
            "コンフィギュレーションワード読み出し失敗。　　終了コードを受信できませんでした。")));
    EXPECT_EQ(bench.s.run.BandgapBits, 1);
    EXPECT_NE(bench.s.link.ConfigAreaReply[16], 0); // the reply is kept whole
    WriteConfigAreaWords(bench.channel(), result);
    EXPECT_EQ(result, result::NG);
}

TEST(ConfigArea, ShortReplyFailsAfterTenSecondsWithoutAnAcknowledgement) {
    StepBench bench(QStringLiteral("PIC12F675"));
    bench.addFault("stall=15@rsc");
    bench.recordFromHere();
    QString result;
    ReadBandgapBits(bench.channel(), result);
    EXPECT_EQ(result, result::NG);
    EXPECT_EQ(bench.ui.statusText,
              shown(QStringLiteral(
                  "コンフィギュレーションワード読み出し失敗。　　読み出しデータ不足。")));
    EXPECT_EQ(bench.sentSinceRecord(), bytesOf({'n', 'r', 's', 'c', 0x00, 0x08})); // VPP
    EXPECT_GT(bench.msSinceRecord(), 10000);
    EXPECT_LT(bench.msSinceRecord(), 10200);
}

TEST(ConfigArea, MissingSeventeenthByteEndsTooAfterItsLimit) {
    StepBench bench(QStringLiteral("PIC12F675"));
    bench.addFault("stall=16@rsc");
    QString result;
    ReadBandgapBits(bench.channel(), result);
    EXPECT_EQ(result, result::NG);
    EXPECT_EQ(bench.ui.statusText,
              shown(QStringLiteral(
                  "コンフィギュレーションワード読み出し失敗。　　読み出しデータ不足。")));
}

TEST(ConfigArea, RefusedWordIsNamedWithTheWordSent) {
    StepBench bench(QStringLiteral("PIC12F675"));
    QString result;
    ReadBandgapBits(bench.channel(), result);
    ASSERT_EQ(result, result::OK);
    bench.s.link.ConfigAreaReply[4] = 0x00; // ID word 2 = 0x0005: the low byte keeps its zero
    bench.s.link.ConfigAreaReply[5] = 0x05;
    bench.addFault("fail-at=2@wec");
    WriteConfigAreaWords(bench.channel(), result);
    EXPECT_EQ(result, result::NG);
    EXPECT_EQ(
        bench.ui.statusText,
        shown(QStringLiteral("コンフィギュレーションワードのプログラミングに失敗しました。　　"),
              QStringLiteral("\r\n( Address =  2  Read = ????  Write = 0005 )")));
}

TEST(ConfigArea, ReportArrivingInPiecesIsStillAReport) {
    StepBench bench(QStringLiteral("PIC12F675"));
    QString result;
    ReadBandgapBits(bench.channel(), result);
    bench.addFault("fail-at=0@wec");
    bench.addFault("split=1:5");
    WriteConfigAreaWords(bench.channel(), result);
    EXPECT_EQ(result, result::NG);
    EXPECT_TRUE(
        bench.ui.statusText.endsWith(QStringLiteral("( Address =  0  Read = ????  Write = ") +
                                     hex2(bench.s.link.ConfigAreaReply[0]) +
                                     hex2(bench.s.link.ConfigAreaReply[1]) + QStringLiteral(" )")));
}

TEST(ConfigArea, SilentBoardDuringTheRewriteEndsWithTheFailure) {
    StepBench bench(QStringLiteral("PIC12F675"));
    QString result;
    ReadBandgapBits(bench.channel(), result);
    bench.addFault("stall=3@wec"); // three requests, then nothing
    bench.recordFromHere();
    WriteConfigAreaWords(bench.channel(), result);
    EXPECT_EQ(result, result::NG);
    EXPECT_TRUE(bench.ui.statusText.contains(QStringLiteral("( Address =  2")));
    EXPECT_LT(bench.msSinceRecord(), 11000);
}

} // namespace
} // namespace tavrin::test
