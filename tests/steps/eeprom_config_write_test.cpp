// The EEPROM write and the configuration merge and write on a scripted board: commands, the
// failure reports and what they name, the skip marks, and the types each does not serve.
#include "step_fixture.h"
#include "steps/config_write.h"
#include "steps/eeprom_write.h"

using namespace tavrin;
using namespace tavrin::test;

namespace {

const QString kEepromFailed =
    QStringLiteral("ＥＥＰＲＯＭデータメモリのプログラミングに失敗しました。　　");

TEST_F(StepFixture, EepromWriteOfFourteenBitPartSendsLocationPairs) {
    part("FLASH4", 128, 128);
    auto& image = session.buffer.EepromImage;
    for (int k = 0; k < 128; ++k) {
        image[2 * k] = 0x3F;
        image[2 * k + 1] = std::uint8_t(k);
    }
    board.expectPaced(6, {128, 2});
    WriteEepromMemory(channel, result);
    EXPECT_EQ(board.commands.at(0), "NwId" + bytes({0x00, 0x80}));
    ASSERT_EQ(board.items.size(), 128u);
    EXPECT_EQ(board.items[5], bytes({0x3F, 0x05}));
    EXPECT_EQ(result, "OK");
    EXPECT_EQ(status(),
              QStringLiteral("ＥＥＰＲＯＭデータメモリのプログラミングに成功しました。 "));
}

TEST_F(StepFixture, EepromWriteOfPic18PartSendsOneBytePerLocation) {
    part("18F_00", 16384, 256, "PIC18F452");
    session.buffer.EepromImage[3] = 0xA5;
    board.expectPaced(11, {256, 1});
    WriteEepromMemory(channel, result);
    EXPECT_EQ(board.commands.at(0), "NXwed" + bytes({0, 0, 1, 0, 1, 0}));
    ASSERT_EQ(board.items.size(), 256u);
    EXPECT_EQ(board.items[3], bytes({0xA5}));
    EXPECT_EQ(result, "OK");
}

TEST_F(StepFixture, EepromReportNamesTheLocationWrittenLast) {
    part("FLASH8", 8192, 256);
    auto& image = session.buffer.EepromImage;
    image[8] = 0x3F;
    image[9] = 0x07; // location 4
    board.expectPaced(6, {256, 2, "R", {{5, "*" + bytes({0x06, 0x3F, 0x04})}}});
    WriteEepromMemory(channel, result);
    EXPECT_EQ(result, "NG");
    EXPECT_EQ(status(), kEepromFailed + " ( Address =  4  Write = 3F06  Read = 073F )");
}

TEST_F(StepFixture, Pic18EepromReportNamesTheLocationWrittenLastWithItsByte) {
    part("18F_00", 16384, 256, "PIC18F452");
    session.buffer.EepromImage[0x1E] = 0x5C;
    board.expectPaced(11, {256, 1, "R", {{0x1F, "*" + bytes({1, 2, 3})}}});
    WriteEepromMemory(channel, result);
    EXPECT_EQ(result, "NG");
    EXPECT_EQ(status(), kEepromFailed + " ( Address = 001E  Write = 5C )");
}

TEST_F(StepFixture, EepromReportBeforeTheFirstLocationSaysNoneWasWritten) {
    part("FLASH8", 8192, 256);
    board.expectPaced(6, {256, 2, "R", {{0, "*" + bytes({1, 2, 3})}}});
    WriteEepromMemory(channel, result);
    EXPECT_EQ(result, "NG");
    EXPECT_EQ(status(), kEepromFailed + " ( Address = -1  Write = 0201  Read = ???? )");
}

TEST_F(StepFixture, EepromWriteFailuresEndInTime) {
    struct Case {
        std::map<int, QByteArray> answers;
        QString status;
    } cases[] = {
        {{{3, ""}},
         QStringLiteral("ＥＥＰＲＯＭデータメモリのプログラミングに失敗しました。  "
                        "受信タイムアウトが発生しました。 ")},
        {{{16, "X"}},
         QStringLiteral("ＥＥＰＲＯＭデータメモリのプログラミングに失敗しました。  "
                        "終了コードを受信できませんでした。 ")},
    };
    for (const Case& c : cases) {
        part("12F6", 1024, 16, "PIC12F675");
        board.expectPaced(6, {16, 2, "R", c.answers});
        WriteEepromMemory(channel, result);
        EXPECT_EQ(result, "NG");
        EXPECT_EQ(status(), c.status);
        EXPECT_LT(seconds(), 30);
    }
}

TEST_F(StepFixture, EepromWriteOfPartWithoutEepromSendsNothing) {
    part("FLASH8", 8192, 0);
    WriteEepromMemory(channel, result);
    EXPECT_TRUE(wire().isEmpty());
    EXPECT_EQ(result, "--");
    EXPECT_EQ(status(),
              QStringLiteral("このデバイスは、ＥＥＰＲＯＭデータメモリを内蔵していません。 "));
}

TEST_F(StepFixture, EepromWriteOfUnservedTypeSendsThePowerLetterOnly) {
    for (const char* type : {"12C6", "EPROM", "FLASH2", "WRT400A", "18F_01"}) {
        part(type, 1024, 64);
        port.writes.clear();
        result = QStringLiteral("preset");
        WriteEepromMemory(channel, result);
        EXPECT_EQ(wire(), "N") << type;
        EXPECT_EQ(result, "preset") << type;
    }
}

// 16 bytes of the area 0x2000-0x2007 and the end code.
QByteArray area(std::uint8_t deviceIdHigh, std::uint8_t deviceIdLow) {
    QByteArray a;
    for (int w = 0; w < 8; ++w) {
        a += char(w == 6 ? deviceIdHigh : 0x3F);
        a += char(w == 6 ? deviceIdLow : 0x10 + w);
    }
    return a;
}

TEST_F(StepFixture, MergeTakesTheChipsWords2004To2006AndTheBufferForTheRest) {
    part("FLASH1", 4096, 256, "PIC16F88");
    auto& config = session.buffer.ConfigIdImage;
    for (int i = 0; i < 28; ++i)
        config[i] = std::uint8_t(0x80 + i);
    board.expectRead(6, {area(0x07, 0x65), "@"});
    ReadConfigForMerge(channel, result);
    EXPECT_EQ(board.commands.at(0), "Nrsc" + bytes({0, 8}));
    EXPECT_EQ(board.acknowledgements, 1);
    EXPECT_EQ(result, "OK");
    const auto& merged = session.buffer.MergedConfigIdImage;
    for (int i = 0; i < 28; ++i) {
        if (i >= 8 && i < 14) continue;
        EXPECT_EQ(merged[i], config[i]) << i;
    }
    EXPECT_EQ(merged[8], 0x3F);
    EXPECT_EQ(merged[9], 0x14);
    EXPECT_EQ(merged[12], 0x07);
    EXPECT_EQ(merged[13], 0x65);
}

TEST_F(StepFixture, MergeFailuresLeaveTheMergedCopyAlone) {
    part("WRT400", 8192, 256, "QZ-WRT400");
    session.buffer.MergedConfigIdImage.fill(0x11);
    board.expectRead(6, {area(0, 0), "X"});
    ReadConfigForMerge(channel, result);
    EXPECT_EQ(board.commands.at(0), "Nr8c" + bytes({0, 8}));
    EXPECT_EQ(result, "NG");
    EXPECT_EQ(status(), QStringLiteral("コンフィギュレーションワード修正失敗。　　"
                                       "終了コードを受信できませんでした。 "));
    EXPECT_EQ(session.buffer.MergedConfigIdImage[12], 0x11);

    result = QStringLiteral("preset");
    board.expectRead(6, {area(0, 0).left(10), {}});
    ReadConfigForMerge(channel, result);
    EXPECT_EQ(result, "NG");
    EXPECT_EQ(status(),
              QStringLiteral("コンフィギュレーションワード修正失敗。　　読み出しデータ不足。 "));
    EXPECT_LT(seconds(), 30);
}

TEST_F(StepFixture, AreaWriteMarksTheChipsWordsWhileTheySendAndClearsTheMarksAfter) {
    part("FLASH8", 8192, 256);
    auto& merged = session.buffer.MergedConfigIdImage;
    for (int i = 0; i < 16; ++i)
        merged[i] = std::uint8_t(i % 2 ? 0x30 + i : 0x3F);
    board.expectPaced(6, {8, 2});
    WriteConfigWords(channel, result);
    EXPECT_EQ(board.commands.at(0), "NwFc" + bytes({0, 8}));
    ASSERT_EQ(board.items.size(), 8u);
    EXPECT_EQ(board.items[3], bytes({0x3F, 0x37}));
    EXPECT_EQ(board.items[4], bytes({0xBF, 0x39}));
    EXPECT_EQ(board.items[6], bytes({0xBF, 0x3D}));
    EXPECT_EQ(board.items[7], bytes({0x3F, 0x3F}));
    EXPECT_EQ(merged[8], 0x3F);
    EXPECT_EQ(merged[12], 0x3F);
    EXPECT_EQ(result, "OK");
    EXPECT_EQ(status(),
              QStringLiteral("コンフィギュレーションワードのプログラミングに成功しました。 "));
}

TEST_F(StepFixture, AreaWriteOfEprom2SendsNoMarksAndFlash49SendsNineWords) {
    part("EPROM2", 4096, 0, "PIC16C74B");
    session.buffer.MergedConfigIdImage[8] = 0x3F;
    board.expectPaced(6, {8, 2});
    WriteConfigWords(channel, result);
    EXPECT_EQ(board.commands.at(0), "NwSc" + bytes({0, 8}));
    EXPECT_EQ(board.items.at(4).at(0), char(0x3F));

    part("FLASH4.9", 4096, 256, "PIC16F88");
    board.items.clear();
    board.expectPaced(6, {9, 2});
    WriteConfigWords(channel, result);
    EXPECT_EQ(board.commands.at(1), "NwJc" + bytes({0, 9}));
    EXPECT_EQ(board.items.size(), 9u);
    EXPECT_EQ(result, "OK");
}

TEST_F(StepFixture, AreaWriteReportNamesTheWordSentLast) {
    part("12F6", 1024, 128, "PIC12F675");
    auto& merged = session.buffer.MergedConfigIdImage;
    merged[4] = 0x3F;
    merged[5] = 0x05;
    board.expectPaced(6, {8, 2, "R", {{3, "*" + bytes({1, 2, 3})}}});
    WriteConfigWords(channel, result);
    EXPECT_EQ(board.commands.at(0), "Nwec" + bytes({0, 8}));
    EXPECT_EQ(result, "NG");
    EXPECT_EQ(status(),
              QStringLiteral("コンフィギュレーションワードのプログラミングに失敗しました。　　"
                             " \r\n( Address =  2  Read = ????  Write = 3F05 )"));
    EXPECT_EQ(merged[8] & 0x80, 0); // marks cleared on failure too
}

TEST_F(StepFixture, TwelveBitConfigurationWriteReadsBackTheWordOnFailure) {
    struct Case {
        QByteArray answer;
        const char* result;
        QString detail;
    } cases[] = {
        {"@", "OK", {}},
        // Bits the part lacks above the low nibble read 0: a pass, with the failure text shown.
        {bytes({0x00, 0x0B}), "OK", QStringLiteral("( Read = 000B  Write = 0FFB )")},
        {bytes({0x00, 0x0A}), "NG", QStringLiteral("( Read = 000A  Write = 0FFB )")},
        {bytes({0x21}), "NG", QStringLiteral("( Read = ????  Write = 0FFB )")},
    };
    for (const Case& c : cases) {
        part("12C5", 1024, 0, "PIC12C509A");
        session.buffer.ConfigIdImage[14] = 0x0F;
        session.buffer.ConfigIdImage[15] = 0xFB;
        board.items.clear();
        board.expectPaced(6, {1, 2, "R", {{1, c.answer}}});
        WriteConfigWords(channel, result);
        EXPECT_EQ(board.commands.back(), "Nwsc" + bytes({0, 1}));
        EXPECT_EQ(board.items.at(0), bytes({0x0F, 0xFB}));
        EXPECT_EQ(result, c.result) << c.answer.toHex().toStdString();
        if (!c.detail.isEmpty()) {
            EXPECT_EQ(status(),
                      QStringLiteral("コンフィギュレーションワードのプログラミングに失敗しました。"
                                     "　　\r\n ") +
                          c.detail);
        }
    }
}

TEST_F(StepFixture, Pic18ConfigurationWriteSendsIdsAndSevenWordsLowByteFirst) {
    part("18F_00", 16384, 256, "PIC18F452");
    for (int i = 0; i < 8; ++i)
        session.buffer.Id18Image[i] = std::uint8_t(0xF0 + i);
    session.device.ConfigValue[1] = 0x2700;
    session.device.ConfigValue[7] = 0x40FF;
    board.expectPaced(11, {11, 2});
    WriteConfigWords(channel, result);
    EXPECT_EQ(board.commands.at(0), "NXwec" + bytes({0, 0, 11, 0, 0, 11}));
    ASSERT_EQ(board.items.size(), 11u);
    EXPECT_EQ(board.items[0], bytes({0xF0, 0xF1}));
    EXPECT_EQ(board.items[4], bytes({0x00, 0x27}));
    EXPECT_EQ(board.items[10], bytes({0xFF, 0x40}));
    EXPECT_EQ(result, "OK");
    EXPECT_EQ(status(), QStringLiteral("ＩＤ・ＣＯＮＦＩＧのプログラミングに成功しました。 "));

    board.expectPaced(11, {11, 2, "R", {{6, "*" + bytes({1, 2, 3})}}});
    WriteConfigWords(channel, result);
    EXPECT_EQ(result, "NG");
    EXPECT_EQ(status(), QStringLiteral("ＩＤ・コンフィグのプログラミングに失敗しました。　　 "));
}

TEST_F(StepFixture, ConfigurationWriteOfUnservedTypeSendsThePowerLetterOnly) {
    for (const char* type : {"WRT400A", "18F_01"}) {
        part(type, 1024);
        port.writes.clear();
        result = QStringLiteral("preset");
        WriteConfigWords(channel, result);
        EXPECT_EQ(wire(), "N") << type;
        EXPECT_EQ(result, "preset") << type;
    }
}

} // namespace
