// The PC buffer fills on every PIC18 part, then Program and Verify against the emulated board:
// the configuration words a fill leaves are words the part can hold, so Program passes, the chip
// then holds exactly the words of the buffer (the words the grids and labels show), and Verify
// gives its verdict on them. The 16K-byte parts keep CONFIG5L/6L/7L bits 3:2 set and the
// PIC18F8720 CONFIG3H bit 1: no setting selects them, and the chip reads them as 1 whatever was
// written.
#include "operation_bench.h"

#include "core/program_type.h"
#include "core/utilities.h"
#include "mainwindow/logic/buffer_commands.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace tavrin;
using namespace tavrin::test;

namespace {

const char* const kPic18Parts[] = {"PIC18F242", "PIC18F252", "PIC18F442", "PIC18F452", "PIC18F248",
                                   "PIC18F258", "PIC18F448", "PIC18F458", "PIC18F8720"};

struct FillCase {
    const char* name;
    BufferFill fill;
    // What Verify then says: the zeros protect program memory and EEPROM, so Verify skips them.
    const char* verifySays;
};

const FillCase kFills[] = {
    {"Ones", BufferFill::Erased, "ベリファイは正常終了しました。"},
    {"Zeros", BufferFill::Zero, "コードプロテクトされています。"},
};

// The configuration word k as the chip reads it (CONFIGkH << 8 | CONFIGkL).
int chipWord(OperationBench& bench, int k) {
    const auto at = std::uint32_t(0x300000 + 2 * (k - 1));
    return bench.chip().readByte18(at + 1) << 8 | bench.chip().readByte18(at);
}

class Pic18Fill : public ::testing::TestWithParam<std::tuple<const char*, FillCase>> {};

TEST_P(Pic18Fill, TheChipHoldsTheBuffersWords) {
    const QString part = QString::fromLatin1(std::get<0>(GetParam()));
    const FillCase& fill = std::get<1>(GetParam());
    OperationBench bench(part);
    ASSERT_TRUE(isPic18Type(bench.s.device.ProgramType));
    FillPcBuffer(bench.ctx, fill.fill);

    bench.ops.Command_pogram_Click();
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^プログラミング成功。"))
                    .match(bench.ui.statusText)
                    .hasMatch())
        << bench.ui.statusText.toStdString();

    const DeviceRecord& d = bench.s.device;
    QStringList buffer, chip;
    for (int k = 1; k <= limits::ConfigWords; ++k) {
        if (!d.ConfigWordDefined[k]) continue;
        buffer << hex4(d.ConfigValue[k]);
        chip << hex4(chipWord(bench, k));
    }
    EXPECT_EQ(buffer.join(u' ').toStdString(), chip.join(u' ').toStdString());

    bench.ops.Command_Vrify_Click();
    EXPECT_TRUE(bench.ui.statusText.contains(QString::fromUtf8(fill.verifySays)))
        << bench.ui.statusText.toStdString();
}

INSTANTIATE_TEST_SUITE_P(EveryPart, Pic18Fill,
                         ::testing::Combine(::testing::ValuesIn(kPic18Parts),
                                            ::testing::ValuesIn(kFills)),
                         [](const ::testing::TestParamInfo<Pic18Fill::ParamType>& info) {
                             return std::string(std::get<0>(info.param)) + "_" +
                                    std::get<1>(info.param).name;
                         });

} // namespace
