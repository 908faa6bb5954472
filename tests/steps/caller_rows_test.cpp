// The steps driven with a row of the caller's own, as a device module drives them: the letters
// of the row go out exactly, with the generic framing around them, and the board's answer is
// judged as on the generic path.
#include "step_bench.h"
#include "steps/blank_check.h"
#include "steps/config_area_read.h"
#include "steps/erase_command.h"
#include "steps/memory_verify.h"
#include "steps/program_write.h"
#include "steps/read.h"
#include "steps/read_commands.h"
#include "steps/socket_check.h"

#include "core/session.h"
#include "core/status.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tavrin::test {
namespace {

// The board's own module chip is addressed with the family letter "8" in place of "s".
constexpr ReadCommands kFamily8{"FLASH8", CoreGroup::Bit14, "r8p", "r8d", "r8c"};

QByteArray power(const StepBench& bench) {
    return bench.s.device.PowerMode == QLatin1String("VPP") ? "n" : "N";
}

TEST(CallerRows, ScansWithTheFamilyLetterOfTheRow) {
    StepBench bench(QStringLiteral("PIC16F877"), "QZ-WRT400"); // the module slot
    const ProgramBlankRow row{"FLASH8", "b8", ScanCount::AllWords, false, 0x3FFF};
    bench.recordFromHere();
    QString result = QStringLiteral("--");
    BlankCheckProgramMemoryWith(bench.channel(), row, result);
    EXPECT_EQ(result, result::OK);
    EXPECT_EQ(bench.sentSinceRecord(), power(bench) + bytesOf({'b', '8', 0x20, 0x00}));

    const ConfigAreaCommand area{"FLASH8", "r8c", ConfigAreaLayout::Words14};
    bench.recordFromHere();
    QString cp = QStringLiteral("??");
    result = QStringLiteral("--");
    BlankCheckConfigWordsWith(bench.channel(), area, cp, result);
    EXPECT_EQ(result, result::OK);
    EXPECT_EQ(cp, QStringLiteral("--"));
    EXPECT_EQ(bench.sentSinceRecord(), power(bench) + bytesOf({'r', '8', 'c', 0x00, 0x08, '@'}));
}

TEST(CallerRows, ReadsAndVerifiesWithTheLettersOfTheRow) {
    StepBench bench(QStringLiteral("PIC16F877"), "QZ-WRT400"); // the module slot
    for (std::size_t a = 0; a < bench.chip().program.size(); ++a)
        bench.chip().program[a] = std::uint16_t((a * 7 + 1) & 0x3FFF);
    bench.recordFromHere();
    QString result;
    ReadProgramMemoryWith(bench.channel(), kFamily8, result);
    ASSERT_EQ(result, result::OK);
    EXPECT_TRUE(
        bench.sentSinceRecord().startsWith(power(bench) + bytesOf({'r', '8', 'p', 0x20, 0x00})));
    const auto& image = bench.s.buffer.ProgramImage;
    EXPECT_EQ(image[2 * 5] * 256 + image[2 * 5 + 1], 36);

    bench.recordFromHere();
    result.clear();
    VerifyProgramMemoryWith(bench.channel(), kFamily8, result);
    EXPECT_EQ(result, result::OK);
    EXPECT_TRUE(bench.sentSinceRecord().startsWith(power(bench) + "r8p"));
}

TEST(CallerRows, WritesWithTheLettersOfTheRow) {
    StepBench bench(QStringLiteral("PIC16F877"), "QZ-WRT400"); // the module slot
    auto& image = bench.s.buffer.ProgramImage;
    std::fill(image.begin(), image.end(), 0x3F);
    image[0] = 0x12;
    image[1] = 0x34;
    bench.recordFromHere();
    QString result;
    WriteProgramMemoryWith(bench.channel(), {"WRT400", "w84", WriteStream::Bit14}, result);
    EXPECT_EQ(result, result::OK);
    EXPECT_TRUE(
        bench.sentSinceRecord().startsWith(power(bench) + bytesOf({'w', '8', '4', 0x20, 0x00})));
    EXPECT_EQ(bench.chip().program[0], 0x1234);
}

TEST(CallerRows, ErasesWithTheCallersCode) {
    StepBench bench(QStringLiteral("PIC16F877"));
    std::fill(bench.chip().program.begin(), bench.chip().program.end(), 0x0123);
    bench.recordFromHere();
    QString result;
    sendEraseCode(bench.channel(), {"bd", 0x02}, QStringLiteral("done"), QStringLiteral("failed"),
                  result);
    EXPECT_EQ(result, result::OK);
    EXPECT_EQ(bench.ui.statusText, shown(QStringLiteral("done")));
    EXPECT_EQ(bench.sentSinceRecord(), power(bench) + bytesOf({'b', 'd', 0x02}));
    EXPECT_TRUE(std::all_of(bench.chip().program.begin(), bench.chip().program.end(),
                            [](std::uint16_t w) { return w == 0x3FFF; }));
}

// The check reads with the row's letters and judges the kind the caller expects; a part of
// another kind goes to the caller's answer, which sees the kind read.
TEST(CallerRows, ChecksTheDeviceKindTheCallerExpects) {
    StepBench bench(QStringLiteral("PIC16F877"), "QZ-WRT400"); // the module slot
    DeviceIdCheck check;
    check.letters = "r8c";
    check.expectedKind = 77;
    check.passed = QStringLiteral("module found");
    bench.recordFromHere();
    QString result;
    CheckDeviceIdWith(bench.channel(), check, result);
    EXPECT_EQ(result, result::OK);
    EXPECT_EQ(bench.ui.statusText, shown(QStringLiteral("module found")));
    EXPECT_EQ(bench.sentSinceRecord(), power(bench) + bytesOf({'r', '8', 'c', 0x00, 0x08, '@'}));

    int kindSeen = -1;
    check.expectedKind = 113;
    check.otherKindGoesOn = [&](OperatorUi&, int kind) {
        kindSeen = kind;
        return false;
    };
    CheckDeviceIdWith(bench.channel(), check, result);
    EXPECT_EQ(result, result::NG);
    EXPECT_EQ(kindSeen, 77);
    EXPECT_TRUE(bench.ui.messages.empty());
}

} // namespace
} // namespace tavrin::test
