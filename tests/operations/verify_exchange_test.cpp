// Verify with a board whose reply comes short or without its end code, on the generic sequence
// and in every device module: a communication failure, said as one, never a difference between
// the chip and the buffer.
#include "operation_bench.h"

#include <gtest/gtest.h>

using namespace tavrin;
using namespace tavrin::test;

namespace {

struct ExchangeCase {
    const char* device;
    const char* fault;
    const char* unread; // letters of an area after the failed one, never asked for ("" = none)
};

class VerifyExchange : public ::testing::TestWithParam<ExchangeCase> {};

TEST_P(VerifyExchange, IsReportedAsACommunicationFailure) {
    const ExchangeCase& c = GetParam();
    OperationBench bench{QString::fromLatin1(c.device)};
    bench.addFault(c.fault);
    bench.recordFromHere();
    bench.ops.Command_Vrify_Click();

    EXPECT_EQ(bench.ui.statusText, QStringLiteral("ベリファイ中に通信エラーが発生しました。 "));
    EXPECT_EQ(bench.ui.statusColor, StatusColor::Red);
    ASSERT_EQ(bench.ui.messages.size(), 1u);
    EXPECT_EQ(bench.ui.messages[0].title, QStringLiteral("ベリファイ"));
    EXPECT_EQ(bench.ui.messages[0].text, QStringLiteral("ベリファイ中に通信エラーが発生しました。\r"
                                                        "ベリファイを完了できませんでした。"));
    EXPECT_TRUE(bench.ui.programViewLines.isEmpty());
    EXPECT_TRUE(bench.logText().contains(QStringLiteral("ﾍﾞﾘﾌｧｲ 操作終了")));
    if (*c.unread) {
        EXPECT_FALSE(bench.sentSinceRecord().contains(c.unread));
    }
    EXPECT_FALSE(bench.emu.port.isOpen());
    EXPECT_TRUE(bench.ui.enabled[Control::Command_Vrify]);
}

INSTANTIATE_TEST_SUITE_P(GenericAndModules, VerifyExchange,
                         ::testing::Values(ExchangeCase{"PIC16F84A", "stall=100@rsp", "rsd"},
                                           ExchangeCase{"PIC18F242", "stall=4@Xrsp", "Xrsd"},
                                           ExchangeCase{"PIC16F84A", "end-code=0x21@rsd", ""},
                                           ExchangeCase{"PIC12C509A", "stall=100@rsp", ""},
                                           ExchangeCase{"PIC12C509A", "end-code=0x21@rsc", "rsp"},
                                           ExchangeCase{"PIC12F683", "stall=100@rsp", "rsd"},
                                           ExchangeCase{"PIC12F683", "end-code=0x21@rsd", ""},
                                           ExchangeCase{"PIC16F877A", "stall=100@rsp", "rsd"},
                                           ExchangeCase{"QZ-WRT400", "end-code=0x21@r8c", "r8p"},
                                           ExchangeCase{"PIC18F452", "stall=100@Xrsp", "Xrsd"},
                                           ExchangeCase{"PIC18F452", "end-code=0x21@Xrsd", ""}),
                         [](const auto& info) {
                             std::string name =
                                 std::string(info.param.device) + "_" + info.param.fault;
                             for (char& ch : name)
                                 if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
                             return name;
                         });

} // namespace
