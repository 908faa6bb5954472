// The program memory write on a scripted board: the command of every programming type, what
// travels in each stream, and every way the write can fail.
#include "step_fixture.h"
#include "steps/program_write.h"

using namespace tavrin;
using namespace tavrin::test;

namespace {

const QString kFailed = QStringLiteral("プログラムメモリのプログラミングに失敗しました。 ");

struct CommandCase {
    const char* type;
    const char* device;
    const char* power;
    QByteArray command; // what precedes the first item
    int items;
    int itemBytes;
};

void PrintTo(const CommandCase& c, std::ostream* os) {
    *os << c.type;
}

class ProgramWriteCommand : public StepFixture,
                            public ::testing::WithParamInterface<CommandCase> {};

TEST_P(ProgramWriteCommand, SendsTheTypesCommandAndOneItemPerRequest) {
    const CommandCase& c = GetParam();
    part(c.type, c.items * c.itemBytes == 8 * 1024 ? 4096 : 4, 0, c.device);
    session.device.PowerMode = QLatin1String(c.power);
    board.expectPaced(c.command.size(), {c.items, c.itemBytes});
    WriteProgramMemory(channel, result);
    ASSERT_EQ(board.commands.size(), 1u);
    EXPECT_EQ(board.commands[0], c.command);
    EXPECT_EQ(int(board.items.size()), c.items);
    EXPECT_EQ(result, "OK");
    EXPECT_EQ(status(), QStringLiteral("プログラムメモリのプログラミングに成功しました。 "));
    EXPECT_FALSE(ui.progressVisible);
}

INSTANTIATE_TEST_SUITE_P(
    Types, ProgramWriteCommand,
    ::testing::Values(CommandCase{"5X18", "PIC16C54", "VDD", "Nwps" + bytes({0, 9}), 9, 2},
                      CommandCase{"5X28", "PIC16C57", "VDD", "Nwpl" + bytes({0, 9}), 9, 2},
                      CommandCase{"12C5", "PIC12C509A", "VDD", "Nwsp" + bytes({0, 9}), 9, 2},
                      CommandCase{"12C6", "PIC12C671", "VDD", "Nwsp" + bytes({0, 4}), 4, 2},
                      CommandCase{"12F6", "PIC12F675", "VDD", "Nwe8" + bytes({0, 4}), 4, 2},
                      CommandCase{"EPROM", "PIC16C620", "VDD", "Nwsp" + bytes({0, 4}), 4, 2},
                      CommandCase{"EPROM2", "PIC16C74B", "VDD", "NwSp" + bytes({0, 4}), 4, 2},
                      CommandCase{"FLASH0", "PIC16F877A", "VDD", "Nwe8" + bytes({0, 4}), 4, 2},
                      CommandCase{"FLASH0", "PIC16F628A", "VDD", "Nwe5" + bytes({0, 4}), 4, 2},
                      CommandCase{"FLASH0", "PIC16F73", "VDD", "Nwe1" + bytes({0, 4}), 4, 2},
                      CommandCase{"FLASH0", "PIC16F84A", "VDD", "Nwef" + bytes({0, 4}), 4, 2},
                      CommandCase{"FLASH1", "PIC16F88", "VDD", "Nwe8" + bytes({0, 4}), 4, 2},
                      CommandCase{"FLASH2", "PIC16F72", "VDD", "NwEe" + bytes({0, 4}), 4, 2},
                      CommandCase{"FLASH4", "PIC16F648A", "VDD", "NwHe" + bytes({0, 4}), 4, 2},
                      CommandCase{"FLASH4.9", "PIC16F88", "VDD", "NwHe" + bytes({0, 4}), 4, 2},
                      CommandCase{"FLASH8", "PIC16F876A", "VPP", "nwGe" + bytes({0, 4}), 4, 2},
                      CommandCase{"WRT400", "QZ-WRT400", "vpp", "Nw84" + bytes({0, 4}), 4, 2},
                      // PIC18: start 0, panel count + 1; one 8-byte block per request.
                      CommandCase{"18F_00", "PIC18F4520", "VDD",
                                  "NXwep" + bytes({0, 0, 0, 0, 0, 2}), 1024, 8}));

TEST_F(StepFixture, UnservedTypeSendsThePowerLetterOnlyAndKeepsTheResult) {
    for (const char* type : {"WRT400A", "18F_01"}) {
        part(type, 4);
        port.writes.clear();
        result = QStringLiteral("preset");
        WriteProgramMemory(channel, result);
        EXPECT_EQ(wire(), "N") << type;
        EXPECT_EQ(result, "preset") << type;
    }
}

TEST_F(StepFixture, TwelveBitStreamCarriesConfigurationProgramAndIds) {
    part("12C5", 4, 0, "PIC12C509A");
    session.device.CodeProtectMask = 0x0008;
    session.device.CalibrationInstruction = QStringLiteral("movlw 0x5A");
    session.run.CalibWordHigh = 0x0F; // the part's calibration word was found erased
    session.run.CalibWordLow = 0xFF;
    auto& image = session.buffer.ProgramImage;
    for (int i = 0; i < 8; ++i)
        image[i] = std::uint8_t(0x01 + i);
    auto& config = session.buffer.ConfigIdImage;
    for (int i = 0; i < 8; ++i)
        config[i] = std::uint8_t(0x20 + i);
    config[14] = 0x0F;
    config[15] = 0xF2; // protection on in the buffer
    board.expectPaced(6, {9, 2});
    WriteProgramMemory(channel, result);
    ASSERT_EQ(board.items.size(), 9u);
    EXPECT_EQ(board.items[0], bytes({0x0F, 0xFA})); // protection forced off
    EXPECT_EQ(board.items[1], bytes({0x01, 0x02}));
    EXPECT_EQ(board.items[3], bytes({0x05, 0x06}));
    EXPECT_EQ(board.items[4], bytes({0x0C, 0x5A})); // calibration put back as MOVLW
    EXPECT_EQ(board.items[5], bytes({0x20, 0x21}));
    EXPECT_EQ(board.items[8], bytes({0x26, 0x27}));
    EXPECT_EQ(image[6], 0x0C);
    EXPECT_EQ(image[7], 0x5A);
    EXPECT_EQ(result, "OK");
}

TEST_F(StepFixture, TwelveBitCalibrationWordLeftAloneWhenThePartKeptIt) {
    part("12C5", 4, 0, "PIC12C509A");
    session.device.CalibrationInstruction = QStringLiteral("retlw 0x5A");
    session.run.CalibWordHigh = 0x0C;
    session.run.CalibWordLow = 0x40;
    session.buffer.ProgramImage[6] = 0x0F;
    session.buffer.ProgramImage[7] = 0xFF;
    board.expectPaced(6, {9, 2});
    WriteProgramMemory(channel, result);
    ASSERT_EQ(board.items.size(), 9u);
    EXPECT_EQ(board.items[4], bytes({0x0F, 0xFF}));
}

struct FailureCase {
    const char* name;
    const char* type;
    std::map<int, QByteArray> answers; // replaces the board's answer before item k
    int splitAfter;                    // the replaced answer arrives in two pieces
    QString status;
    double minSeconds; // virtual time the write must have waited before giving up
};

void PrintTo(const FailureCase& c, std::ostream* os) {
    *os << c.name;
}

class ProgramWriteFailure : public StepFixture,
                            public ::testing::WithParamInterface<FailureCase> {};

TEST_P(ProgramWriteFailure, EndsWithItsTextAndNg) {
    const FailureCase& c = GetParam();
    const bool pic18 = QLatin1String(c.type) == QLatin1String("18F_00");
    const bool bit12 = QLatin1String(c.type) == QLatin1String("12C5");
    part(c.type, pic18 ? 8192 : 8, 0, "PIC16F876A");
    const int items = pic18 ? 2048 : bit12 ? 13 : 8;
    board.expectPaced(pic18 ? 11 : 6, {items, pic18 ? 8 : 2, "R", c.answers, c.splitAfter});
    WriteProgramMemory(channel, result);
    EXPECT_EQ(result, "NG");
    EXPECT_EQ(status(), c.status);
    EXPECT_FALSE(ui.progressVisible);
    EXPECT_GE(seconds(), c.minSeconds);
    EXPECT_LT(seconds(), c.minSeconds + 1);
}

const QString kHint =
    QStringLiteral("\r\n念のためデバイスと書き込みのオシレータ設定を確認してください。");

INSTANTIATE_TEST_SUITE_P(
    Paths, ProgramWriteFailure,
    ::testing::Values(
        // 14-bit: the board's report names the word that failed, the last one sent.
        FailureCase{"Report14",
                    "FLASH8",
                    {{4, "*" + bytes({0x12, 0x30, 3})}},
                    0,
                    kFailed + " 0x3アドレスで書き込みに失敗しました。",
                    0},
        FailureCase{"ReportSplit14",
                    "FLASH8",
                    {{4, "*" + bytes({0x12, 0x30, 3})}},
                    1,
                    kFailed + " 0x3アドレスで書き込みに失敗しました。",
                    0},
        FailureCase{"Abort14",
                    "FLASH8",
                    {{2, "@A"}},
                    0,
                    QStringLiteral("プログラムメモリのプログラミングに失敗しました。  "
                                   "中断コードが返信されました。 "),
                    0},
        FailureCase{"Silent14",
                    "FLASH8",
                    {{5, ""}},
                    0,
                    kFailed + " 0x5アドレスでタイムアウトが発生しました。",
                    10},
        FailureCase{"SilentAtFirst14",
                    "FLASH8",
                    {{0, ""}},
                    0,
                    kFailed + " 0x0アドレスでタイムアウトが発生しました。",
                    10},
        FailureCase{"NoEnd14",
                    "FLASH8",
                    {{8, ""}},
                    0,
                    QStringLiteral("プログラムメモリのプログラミングに失敗しました。  "
                                   "受信タイムアウトが発生しました。 "),
                    10},
        FailureCase{"WrongEnd14",
                    "FLASH8",
                    {{8, "X"}},
                    0,
                    QStringLiteral("プログラムメモリのプログラミングに失敗しました。  "
                                   "終了コードを受信できませんでした。 "),
                    0},
        // 12-bit: stream word k + 1 is program word k.
        FailureCase{"Report12",
                    "12C5",
                    {{3, "*" + bytes({1, 2, 3})}},
                    0,
                    kFailed + " 0x1アドレスで書き込みに失敗しました。",
                    0},
        FailureCase{"ReportOnConfig12",
                    "12C5",
                    {{1, "*" + bytes({1, 2, 3})}},
                    0,
                    kFailed + " コンフィギュレーションワードの書き込みに失敗しました。",
                    0},
        FailureCase{"Abort12",
                    "12C5",
                    {{2, bytes({0x0F, 0xFF}) + "@"}},
                    0,
                    QStringLiteral("プログラムメモリのプログラミングに失敗しました。  (ABT) "
                                   "0x0アドレスで書き込みに失敗しました。 ( Read = 0FFF )"),
                    0},
        FailureCase{"AbortInPieces12",
                    "12C5",
                    {{2, bytes({0x0F, 0xFF}) + "@"}},
                    2,
                    QStringLiteral("プログラムメモリのプログラミングに失敗しました。  (ABT) "
                                   "0x0アドレスで書き込みに失敗しました。 ( Read = 0FFF )"),
                    0},
        FailureCase{"AbortAtOpening12",
                    "12C5",
                    {{0, bytes({0x00, 0x00}) + "@"}},
                    0,
                    QStringLiteral("プログラムメモリのプログラミングに失敗しました。  (ABT) "),
                    0},
        FailureCase{"Silent12",
                    "12C5",
                    {{4, ""}},
                    0,
                    QStringLiteral("プログラムメモリのプログラミングに失敗しました。  (TMO) ") +
                        kHint,
                    10},
        FailureCase{"NoEnd12",
                    "12C5",
                    {{13, ""}},
                    0,
                    QStringLiteral("プログラムメモリのプログラミングに失敗しました。  (RXO) ") +
                        kHint,
                    10},
        FailureCase{"WrongEnd12",
                    "12C5",
                    {{13, "X"}},
                    0,
                    QStringLiteral("プログラムメモリのプログラミングに失敗しました。  (EOF) "),
                    0},
        // PIC18: two panels; block k goes to panel k % 2, offset 8 * (k / 2).
        FailureCase{"SilentOpening18",
                    "18F_00",
                    {{0, ""}},
                    0,
                    QStringLiteral("プログラムメモリのプログラミングに失敗しました。 "
                                   "コマンド送信後、タイムアウトが発生しました。 "),
                    10},
        FailureCase{"AbortOpening18",
                    "18F_00",
                    {{0, "@A"}},
                    0,
                    QStringLiteral("プログラムメモリのプログラミングに失敗しました。  "
                                   "中断コードが返信されました。 "),
                    0},
        FailureCase{"SilentBlock18",
                    "18F_00",
                    {{4, ""}},
                    0,
                    kFailed + " 0x2008アドレスでタイムアウトが発生しました。",
                    10},
        FailureCase{"Report18",
                    "18F_00",
                    {{3, "*" + bytes({1, 2, 3})}},
                    0,
                    kFailed + " 0x0008アドレスで書き込みに失敗しました。",
                    0},
        FailureCase{"ReportOnPanel2",
                    "18F_00",
                    {{2, "*" + bytes({1, 2, 3})}},
                    0,
                    kFailed + " 0x2000アドレスで書き込みに失敗しました。",
                    0},
        FailureCase{"WrongEnd18",
                    "18F_00",
                    {{2048, "X"}},
                    0,
                    QStringLiteral("プログラムメモリのプログラミングに失敗しました。  "
                                   "終了コードを受信できませんでした。 "),
                    0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(StepFixture, Pic18PartSmallerThanHalfAPanelStillGetsItsPanelWritten) {
    part("18F_00", 1024, 0, "PIC18F1220");
    board.expectPaced(11, {1024, 8});
    WriteProgramMemory(channel, result);
    ASSERT_EQ(board.commands.size(), 1u);
    EXPECT_EQ(board.commands[0].right(3), bytes({0, 0, 2}));
    EXPECT_EQ(board.items.size(), 1024u);
    EXPECT_EQ(result, "OK");
}

TEST_F(StepFixture, Pic18BlocksTravelRoundByRoundWithEachPairSwapped) {
    part("18F_00", 8192, 0, "PIC18F4520");
    auto& image = session.buffer.ProgramImage;
    for (int i = 0; i < 16; ++i)
        image[i] = std::uint8_t(i);
    image[8192] = 0xA1;
    image[8193] = 0xB2;
    board.expectPaced(11, {2048, 8});
    WriteProgramMemory(channel, result);
    ASSERT_EQ(board.items.size(), 2048u);
    EXPECT_EQ(board.items[0], bytes({1, 0, 3, 2, 5, 4, 7, 6}));
    EXPECT_EQ(board.items[1].left(2), bytes({0xB2, 0xA1})); // panel 2, offset 0
    EXPECT_EQ(board.items[2], bytes({9, 8, 11, 10, 13, 12, 15, 14}));
}

} // namespace
