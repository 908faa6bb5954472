// The socket check: the DEVICE ID of the part in the emulator's socket against the part chosen,
// for every type that reads it; the person's choice on a wrong part; empty socket; failures.
#include "step_bench.h"
#include "steps/socket_check.h"

#include <gtest/gtest.h>

namespace tavrin::test {
namespace {

const QString Done = QStringLiteral("ソケット確認終了。");
const QString OtherKind =
    QStringLiteral("指定しているマイコンとソケットにセットしているマイコンの種類が違います。");

QString check(StepBench& bench) {
    QString result = QStringLiteral("??");
    CheckDeviceId(bench.channel(), result);
    return result;
}

class SocketCheckOfType : public ::testing::TestWithParam<TypeSample> {};

TEST_P(SocketCheckOfType, RightPartPasses) {
    StepBench bench(QString::fromLatin1(GetParam().part));
    bench.recordFromHere();
    EXPECT_EQ(check(bench), result::OK);
    EXPECT_TRUE(bench.ui.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(AllTypes, SocketCheckOfType, ::testing::ValuesIn(TypeSamples),
                         [](const auto& info) {
                             QString name = QString::fromLatin1(info.param.programType);
                             return name.replace('.', '_').toStdString();
                         });

TEST(SocketCheck, ReadsTheAreaAndAcknowledgesAfterSixteenBytes) {
    struct Case {
        const char* device;
        QByteArray sent;
    };
    const Case cases[] = {
        {"PIC16F877A", bytesOf({'N', 'r', 's', 'c', 0, 8, '@'})},
        {"PIC16C715", bytesOf({'N', 'r', 'S', 'c', 0, 8, '@'})},
        {"QZ-WRT400", bytesOf({'N', 'r', '8', 'c', 0, 8, '@'})},
        {"PIC16F88", bytesOf({'n', 'r', 's', 'c', 0, 8, '@'})}, // VPP part; eight words here too
        // Passed unread: nothing is sent, not even a power letter, which would only stand in
        // front of the next step's own.
        {"PIC16C56", QByteArray()},
        {"PIC12C509A", QByteArray()},
        {"PIC18F242", QByteArray()},
    };
    for (const Case& c : cases) {
        StepBench bench(QString::fromLatin1(c.device));
        bench.recordFromHere();
        EXPECT_EQ(check(bench), result::OK) << c.device;
        EXPECT_EQ(bench.sentSinceRecord(), c.sent) << c.device;
        EXPECT_EQ(bench.ui.statusText,
                  shown(bench.sentSinceRecord().size() > 1 ? Done
                                                           : QStringLiteral("ソケット確認中.....")))
            << c.device;
    }
}

TEST(SocketCheck, AnotherPartAsksThePersonWhoMayGoOn) {
    StepBench bench(QStringLiteral("PIC16F877"), "PIC16F877A");
    bench.ui.answers = {MessageAnswer::Ok};
    EXPECT_EQ(check(bench), result::OK);
    ASSERT_EQ(bench.ui.messages.size(), 1u);
    const auto& box = bench.ui.messages.front();
    EXPECT_EQ(box.title, QStringLiteral("書込みマイコンの種類の確認"));
    EXPECT_EQ(box.buttons, MessageButtons::OkCancel);
    EXPECT_EQ(box.defaultButton, MessageDefault::Second); // Cancel
    EXPECT_EQ(box.text,
              OtherKind + QStringLiteral("\r\n\r\n　継続する時は、　　『ＯＫ』　　 を押して"
                                         "ください。\r\n　中止する時は、『キャンセル』　を"
                                         "押してください。"));
    EXPECT_EQ(bench.ui.statusText, shown(OtherKind));
}

TEST(SocketCheck, AnotherPartStopsWhenThePersonPressesEnter) {
    StepBench bench(QStringLiteral("PIC12F629"), "PIC12F675");
    EXPECT_EQ(check(bench), result::NG);
    ASSERT_EQ(bench.ui.messages.size(), 1u);
    EXPECT_EQ(bench.ui.messages.front().answer, MessageAnswer::Cancel);
}

TEST(SocketCheck, AnotherPartStopsWhenThePersonCancels) {
    StepBench bench(QStringLiteral("PIC12F629"), "PIC12F675");
    bench.ui.answers = {MessageAnswer::Cancel};
    EXPECT_EQ(check(bench), result::NG);
    EXPECT_EQ(bench.ui.messages.size(), 1u);
}

TEST(SocketCheck, EmptySocketIsABadlySeatedPartShownRed) {
    StepBench bench(QStringLiteral("PIC16F877A"), "none");
    EXPECT_EQ(check(bench), result::NG);
    EXPECT_TRUE(bench.ui.messages.empty());
    EXPECT_EQ(bench.ui.statusColor, StatusColor::Red);
    EXPECT_EQ(
        bench.ui.statusText,
        shown(QStringLiteral("マイコンがソケットに正しくセットされていません。"),
              QStringLiteral("キットの組立て直後の場合は、製作にミスがある可能性があります。"
                             "メニューバー ⇒ ヘルプ ⇒ 製作確認資料をご覧になり確認を行ってくだ"
                             "さい。")));
}

TEST(SocketCheck, PartsWithoutADeviceIdReadErasedAndPass) {
    // 0x3FFF shifted right by five is 511; the 16-bit cells of the EPROM2 parts read 0xFFFF,
    // whose top two bits are dropped.
    for (const char* device : {"PIC16F84", "PIC16C715"}) {
        StepBench bench(QString::fromLatin1(device));
        EXPECT_EQ(check(bench), result::OK) << device;
        EXPECT_TRUE(bench.ui.messages.empty()) << device;
    }
}

TEST(SocketCheck, PartsTheTableDoesNotKnowPassWithAnyId) {
    StepBench bench(QStringLiteral("PIC16F627"), "PIC16F877A");
    EXPECT_EQ(check(bench), result::OK);
    EXPECT_TRUE(bench.ui.messages.empty());
}

TEST(SocketCheck, TypesTheGenericStepsDoNotServeStopBeforeAnyRead) {
    StepBench bench(QStringLiteral("QZ-WRT400A"));
    bench.recordFromHere();
    EXPECT_EQ(check(bench), result::NG);
    EXPECT_TRUE(bench.sentSinceRecord().isEmpty());
    EXPECT_LT(bench.msSinceRecord(), 100);
    QString again;
    bench.link.CheckProgrammer(again);
    EXPECT_EQ(again, result::OK);
}

struct FailureCase {
    const char* fault;
    const char* status;
};

class SocketCheckFailure : public ::testing::TestWithParam<FailureCase> {};

TEST_P(SocketCheckFailure, EndsWithNgAndItsText) {
    StepBench bench(QStringLiteral("PIC16F628A"));
    bench.addFault(GetParam().fault);
    bench.recordFromHere();
    EXPECT_EQ(check(bench), result::NG);
    EXPECT_EQ(bench.ui.statusText, shown(QString::fromUtf8(GetParam().status)));
    EXPECT_TRUE(bench.ui.messages.empty());
    EXPECT_LT(bench.msSinceRecord(), 21000);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, SocketCheckFailure,
    ::testing::Values(FailureCase{"silent", "ソケット確認失敗。　　読み出しデータ不足。"},
                      FailureCase{"stall=15", "ソケット確認失敗。　　読み出しデータ不足。"},
                      FailureCase{"stall=16", "ソケット確認失敗。　　読み出しデータ不足。"},
                      FailureCase{"end-code",
                                  "ソケット確認失敗。　　終了コードを受信できませんでした。"}));

TEST(SocketCheck, TenSecondLimitOnTheFirstSixteenBytes) {
    // The board's idle reset counts from when its delayed block has left, not from the command.
    StepBench bench(QStringLiteral("PIC16F628A"));
    bench.addFault("delay=9900");
    EXPECT_EQ(check(bench), result::OK);
    StepBench late(QStringLiteral("PIC16F628A"));
    late.addFault("delay=10100");
    EXPECT_EQ(check(late), result::NG);
}

TEST(SocketCheck, TableHoldsFiftyPartsWithTheirValues) {
    EXPECT_EQ(expectedDeviceId(QStringLiteral("PIC16F877A")), 113);
    EXPECT_EQ(expectedDeviceId(QStringLiteral("PIC16C622A")), 39);
    EXPECT_EQ(expectedDeviceId(QStringLiteral("PIC16F819")), 39);
    EXPECT_EQ(expectedDeviceId(QStringLiteral("PIC16F84")), 511);
    EXPECT_EQ(expectedDeviceId(QStringLiteral("PIC16F77")), 0x0660 >> 5);
    EXPECT_EQ(expectedDeviceId(QStringLiteral("pic16f877a")), std::nullopt);
}

} // namespace
} // namespace tavrin::test
