// The calibration word and band-gap bits through the Program button: the chip's own values kept
// across the erase, typed values written, typed text that cannot be used, and a chip whose
// values could not be read.
#include "operation_bench.h"

#include <gtest/gtest.h>

using namespace tavrin;
using namespace tavrin::test;

namespace {

constexpr std::uint16_t kFactory675 = 0x3480; // the emulated PIC12F675's RETLW 0x80
constexpr int kFactoryBandgap675 = 2;

int bandgapOf(std::uint16_t configWord) {
    return (configWord >> 12) & 3;
}

class Calibration675 : public ::testing::Test {
  protected:
    OperationBench bench{QStringLiteral("PIC12F675")};
    std::uint16_t lastWord() { return bench.chip().program.back(); }
};

TEST_F(Calibration675, TheChipsOwnValuesSurviveTheEraseAndAreLogged) {
    bench.ops.Command_pogram_Click();
    ASSERT_EQ(bench.s.run.PassCount, 1) << bench.ui.statusText.toStdString();
    EXPECT_EQ(lastWord(), kFactory675);
    EXPECT_EQ(bandgapOf(bench.chip().readConfig(0)), kFactoryBandgap675);
    EXPECT_EQ(bench.ops.calibrationLabel(), QStringLiteral("R:3480,W:3480"));
    EXPECT_EQ(bench.ui.texts[Control::Lbl_Calib_ReadWrite_Data], QStringLiteral("R:3480,W:3480"));
    EXPECT_EQ(bench.ui.texts[Control::Text_Calib_Data], QStringLiteral("80"));
    EXPECT_EQ(bench.ui.texts[Control::Text_BG], QStringLiteral("2"));
    EXPECT_TRUE(bench.logText().contains(QStringLiteral("  PIC12F675  ID:FFFF  R:3480,W:3480  \t")))
        << bench.logText().toStdString();
}

TEST_F(Calibration675, TypedValuesAreWrittenAsRetlwAndBandgapBits) {
    bench.settings.keepChipCalibration = false;
    bench.settings.calibrationText = QStringLiteral("4A");
    bench.settings.bandgapText = QStringLiteral("1");
    bench.ops.Command_pogram_Click();
    ASSERT_EQ(bench.s.run.PassCount, 1) << bench.ui.statusText.toStdString();
    EXPECT_EQ(lastWord(), 0x344A);
    EXPECT_EQ(bandgapOf(bench.chip().readConfig(0)), 1);
    EXPECT_EQ(bench.ops.calibrationLabel(), QStringLiteral("R:3480,W:344A"));
}

TEST_F(Calibration675, TypedTextThatCannotBeUsedStopsBeforeTheChipIsTouched) {
    struct Case {
        const char* value;
        const char* bandgap;
        const char* problem;
    };
    const Case cases[] = {
        {"G1", "3", "キャリブレーションデータは、２桁の16進数で入力してください。"},
        {"", "3", "キャリブレーションデータは、２桁の16進数で入力してください。"},
        {"123", "3", "キャリブレーションデータは、２桁の16進数で入力してください。"},
        {"4A", "4", "BGデータは、０～３の数値で入力してください。"},
        {"4A", "1.5", "BGデータは、０～３の数値で入力してください。"},
    };
    bench.settings.keepChipCalibration = false;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.value) + " / " + c.bandgap);
        bench.ui.messages.clear();
        bench.settings.calibrationText = QString::fromUtf8(c.value);
        bench.settings.bandgapText = QString::fromUtf8(c.bandgap);
        bench.recordFromHere();
        bench.ops.Command_pogram_Click();
        ASSERT_EQ(bench.ui.messages.size(), 1u);
        EXPECT_EQ(bench.ui.messages[0].text, QString::fromUtf8(c.problem));
        EXPECT_EQ(bench.ui.statusColor, StatusColor::Red);
        // Only the board check went out: nothing was read, erased or written.
        EXPECT_EQ(bench.sentSinceRecord(), QByteArrayLiteral("***?"));
        EXPECT_EQ(lastWord(), kFactory675);
        EXPECT_EQ(bench.s.run.AttemptCount, 0);
        EXPECT_FALSE(bench.emu.port.isOpen());
    }
}

TEST_F(Calibration675, AChipWhoseCalibrationCannotBeReadIsNotErased) {
    bench.settings.skipBlankCheck = true;
    bench.addFault("stall=0@br");
    bench.ops.Command_pogram_Click();
    ASSERT_FALSE(bench.ui.messages.empty());
    EXPECT_EQ(bench.ui.messages.back().text,
              QStringLiteral("ＰＩＣ内部のキャリブレーションデータを読み出せませんでした。"
                             "書込みを中止しました。"));
    EXPECT_EQ(lastWord(), kFactory675);
    EXPECT_EQ(bench.s.run.AttemptCount, 0);
    // The run went to the chip: its line tells why it stopped.
    EXPECT_TRUE(bench.logText().startsWith(
        QStringLiteral("ＰＩＣ内部のキャリブレーションデータを読み出せませんでした。"
                       "書込みを中止しました。  PIC12F675  ID:")))
        << bench.logText().toStdString();
}

TEST(Calibration12C5, TheBlankCheckSuppliesTheWordThatIsKept) {
    OperationBench bench(QStringLiteral("PIC12C509A"));
    bench.ops.Command_pogram_Click();
    ASSERT_EQ(bench.s.run.PassCount, 1) << bench.ui.statusText.toStdString();
    EXPECT_EQ(bench.chip().program.back(), 0x0C5A);
    EXPECT_EQ(bench.ops.calibrationLabel(), QStringLiteral("R:0C5A,W:0C5A"));
}

} // namespace
