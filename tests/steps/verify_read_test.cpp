// The program memory and EEPROM verify and the reads on a scripted board: what is compared, the
// mismatch lines and their limit, the end code, and where every received byte goes.
#include "step_fixture.h"
#include "steps/memory_verify.h"
#include "steps/read.h"

using namespace tavrin;
using namespace tavrin::test;

namespace {

// The read-back of `words` 14-bit words from the image, with the end code.
QByteArray readBackOf(const Session& s, int words, char end = '@') {
    QByteArray r(reinterpret_cast<const char*>(s.buffer.ProgramImage.data()), 2 * words);
    return r + end;
}

void fillProgram(Session& s, int words) {
    for (int w = 0; w < words; ++w) {
        s.buffer.ProgramImage[2 * w] = std::uint8_t((w >> 8) & 0x3F);
        s.buffer.ProgramImage[2 * w + 1] = std::uint8_t(w);
    }
}

TEST_F(StepFixture, VerifyListsEachDifferingWordInTheProgramView) {
    part("FLASH8", 64, 0);
    fillProgram(session, 64);
    QByteArray reply = readBackOf(session, 64);
    reply[2 * 0x21 + 1] = char(0x99);
    board.expectRead(6, {reply, {}});
    VerifyProgramMemory(channel, result);
    EXPECT_EQ(board.commands.at(0), "Nrsp" + bytes({0, 64}));
    EXPECT_EQ(result, "NG");
    ASSERT_EQ(ui.programViewLines.size(), 1);
    EXPECT_EQ(ui.programViewLines[0],
              QStringLiteral("Error　 アドレス:0x0021 , 正:0x0021 , 誤:0x0099\r\n"));
    EXPECT_EQ(session.run.LastVerifyIndex, 126); // the last word, compared like the others
}

TEST_F(StepFixture, VerifyListsAtMostOneHundredAndOneDifferences) {
    for (int differing : {100, 150}) {
        part("FLASH8", 256, 0);
        ui.programViewLines.clear();
        ui.statusText.clear();
        fillProgram(session, 256);
        QByteArray reply = readBackOf(session, 256);
        for (int w = 0; w < differing; ++w)
            reply[2 * w] = char(0x20);
        board.expectRead(6, {reply, {}});
        result = QStringLiteral("preset");
        VerifyProgramMemory(channel, result);
        EXPECT_EQ(result, "NG");
        if (differing == 100) {
            EXPECT_EQ(ui.programViewLines.size(), 100);
            EXPECT_TRUE(ui.statusText.isEmpty());
            EXPECT_EQ(session.run.LastVerifyIndex, 510);
        } else {
            ASSERT_EQ(ui.programViewLines.size(), 102);
            EXPECT_EQ(ui.programViewLines.last(),
                      QStringLiteral("これ以降もエラーがある可能性があります。\r\n\r\n"));
            EXPECT_EQ(status(), QStringLiteral("プログラムメモリ ベリファイエラー。 "));
            EXPECT_EQ(session.run.LastVerifyIndex, 198); // the word before the 101st difference
        }
    }
}

TEST_F(StepFixture, VerifyWithoutEndCodeIsNeverAPass) {
    part("FLASH1", 32, 0, "PIC16F88");
    fillProgram(session, 32);
    board.expectRead(6, {readBackOf(session, 32, 'X'), {}});
    VerifyProgramMemory(channel, result);
    EXPECT_EQ(result, "ER"); // a failed exchange, not a difference
    EXPECT_EQ(status(), QStringLiteral("プログラムメモリ読み出し失敗。　　"
                                       "終了コードを受信できませんでした。 "));
}

TEST_F(StepFixture, VerifyOf12F6LeavesTheCalibrationWordOutAndShowsIt) {
    part("12F6", 16, 0, "PIC12F675");
    fillProgram(session, 16);
    QByteArray reply = readBackOf(session, 16);
    reply[30] = 0x34;
    reply[31] = char(0x7C);
    board.expectRead(6, {reply, {}});
    VerifyProgramMemory(channel, result);
    EXPECT_EQ(result, "OK");
    EXPECT_EQ(session.run.OscCalWordText, "347C");
    // The program sequence reads the calibration word back two bytes after the last compared.
    EXPECT_EQ(session.link.ReceiveBuffer.at(session.run.LastVerifyIndex + 2), 0x34);
}

TEST_F(StepFixture, TwelveBitVerifyComparesProgramAndIdsButNotTheConfigurationWord) {
    part("5X18", 8, 0, "PIC16C54");
    fillProgram(session, 8);
    auto& config = session.buffer.ConfigIdImage;
    for (int i = 0; i < 8; ++i)
        config[i] = std::uint8_t(i % 2 ? i : 0x0F);
    QByteArray reply = bytes({0x00, 0x00}); // configuration word, differs, not compared
    reply += QByteArray(reinterpret_cast<const char*>(session.buffer.ProgramImage.data()), 16);
    reply += QByteArray(reinterpret_cast<const char*>(config.data()), 8);
    reply[2 + 16 + 5] = 0x0A; // ID word 2
    reply += '@';
    board.expectRead(6, {reply, {}});
    VerifyProgramMemory(channel, result);
    EXPECT_EQ(board.commands.at(0), "Nrps" + bytes({0, 13}));
    EXPECT_EQ(result, "NG");
    ASSERT_EQ(ui.programViewLines.size(), 1);
    EXPECT_EQ(ui.programViewLines[0],
              QStringLiteral("Error　 アドレス:0x000A , 正:0x0F05 , 誤:0x0F0A\r\n"));
    EXPECT_EQ(session.run.LastVerifyIndex, 24);
}

TEST_F(StepFixture, Pic18VerifyComparesTheLastWordToo) {
    part("18F_00", 4096, 0, "PIC18F1320");
    auto& image = session.buffer.ProgramImage;
    for (int i = 0; i < 8192; ++i)
        image[i] = std::uint8_t(i * 7);
    QByteArray reply(8192, '\0');
    for (int i = 0; i < 8192; i += 2) {
        reply[i] = char(image[i + 1]); // device order: low byte first
        reply[i + 1] = char(image[i]);
    }
    reply[8190] = char(reply[8190] ^ 0x01); // the very last word differs
    board.expectRead(11, {reply + '@', {}});
    VerifyProgramMemory(channel, result);
    EXPECT_EQ(board.commands.at(0), "NXrsp" + bytes({0, 0, 1, 0, 0x20, 0}));
    EXPECT_EQ(result, "NG");
    ASSERT_EQ(ui.programViewLines.size(), 1);
    EXPECT_TRUE(ui.programViewLines[0].startsWith(QStringLiteral("Error　 アドレス:0x0FFF ,")));
}

TEST_F(StepFixture, Pic18VerifyPanelWithoutEndCodeStopsTheVerify) {
    part("18F_00", 16384, 0, "PIC18F452");
    board.expectRead(11, {QByteArray(8192, char(0xFF)) + 'X', {}});
    VerifyProgramMemory(channel, result);
    EXPECT_EQ(board.commands.size(), 1u);
    EXPECT_EQ(result, "ER");
    EXPECT_EQ(status(), QStringLiteral("プログラムメモリ ベリファイ失敗。　　"
                                       "終了コードを受信できませんでした。 "));
}

TEST_F(StepFixture, VerifyOfSilentBoardEndsWithinItsLimit) {
    part("FLASH8", 8192, 256);
    board.expectRead(6, {QByteArray(100, char(0x3F)), {}});
    VerifyProgramMemory(channel, result);
    EXPECT_EQ(result, "ER");
    EXPECT_EQ(status(),
              QStringLiteral("プログラムメモリ ベリファイ失敗。　　読み出しデータ不足。 "));
    EXPECT_LT(seconds(), 11);
}

TEST_F(StepFixture, EepromVerifyComparesTheDataBytesOnly) {
    part("FLASH8", 8192, 4);
    auto& image = session.buffer.EepromImage;
    const QByteArray reply = bytes({0x3F, 1, 0x00, 2, 0x3F, 9, 0x3F, 4, '@'});
    for (int k = 0; k < 4; ++k) {
        image[2 * k] = 0x3F;
        image[2 * k + 1] = std::uint8_t(k + 1);
    }
    board.expectRead(6, {reply, {}});
    VerifyEepromMemory(channel, result);
    EXPECT_EQ(board.commands.at(0), "Nrsd" + bytes({0, 4}));
    EXPECT_EQ(result, "NG");
    ASSERT_EQ(ui.eepromViewLines.size(), 1);
    EXPECT_EQ(ui.eepromViewLines[0],
              QStringLiteral("Error　 アドレス:0x0002 , 正:0x03 , 誤:0x09\r\n"));
}

TEST_F(StepFixture, EepromVerifyResultsForEveryKindOfPart) {
    part("FLASH8", 8192, 0);
    VerifyEepromMemory(channel, result);
    EXPECT_EQ(result, "--");
    EXPECT_TRUE(wire().isEmpty());

    part("FLASH2", 2048, 64, "PIC16F72");
    VerifyEepromMemory(channel, result);
    EXPECT_EQ(result, "");
    EXPECT_EQ(wire(), "N");

    part("WRT400", 8192, 2, "QZ-WRT400");
    session.buffer.EepromImage[1] = 0x55;
    board.expectRead(6, {bytes({0x3F, 0x55, 0x3F, 0x00, 'X'}), {}});
    VerifyEepromMemory(channel, result);
    EXPECT_EQ(board.commands.at(0), "Nr8d" + bytes({0, 2}));
    EXPECT_EQ(result, "ER");
    EXPECT_EQ(status(), QStringLiteral("ＥＥＰＲＯＭデータメモリの ベリファイエラー。  "
                                       "終了コードを受信できませんでした。 "));

    part("18F_00", 16384, 3, "PIC18F452");
    session.buffer.EepromImage[0] = 0x01;
    session.buffer.EepromImage[1] = 0x02;
    session.buffer.EepromImage[2] = 0x03;
    board.expectRead(11, {bytes({1, 2, 3, '@'}), {}});
    VerifyEepromMemory(channel, result);
    EXPECT_EQ(board.commands.at(1), "NXrsd" + bytes({0, 0, 1, 0, 0, 3}));
    EXPECT_EQ(result, "OK");
}

TEST_F(StepFixture, TwelveBitReadFillsProgramIdsConfigurationAndCalibration) {
    part("12C5", 4, 0, "PIC12C508A");
    session.device.CalibrationInstruction = QStringLiteral("movlw 0xFF");
    QByteArray reply = bytes({0x0F, 0xEA});                           // configuration word
    reply += bytes({0x0A, 0x01, 0x0A, 0x02, 0x0A, 0x03, 0x0C, 0x5A}); // program, calibration last
    reply += bytes({0x00, 0x01, 0x00, 0x02, 0x00, 0x0C, 0x00, 0x0D}); // ID words
    board.expectRead(6, {reply + '@', {}});
    ReadProgramMemory(channel, result);
    EXPECT_EQ(board.commands.at(0), "Nrsp" + bytes({0, 9}));
    EXPECT_EQ(result, "OK");
    const auto& image = session.buffer.ProgramImage;
    EXPECT_EQ(image[0], 0x0A);
    EXPECT_EQ(image[5], 0x03);
    EXPECT_EQ(image[6], 0x0C);
    EXPECT_EQ(image[7], 0x5A);
    EXPECT_EQ(session.run.ProgramAndLow, 0x01 & 0x02 & 0x03); // calibration word left out
    EXPECT_EQ(session.run.CalibWordLow, 0x5A);
    EXPECT_EQ(session.device.CalibrationInstruction, "movlw 0x5A");
    EXPECT_EQ(ui.texts[Control::Text_Calib_Data], "5A");
    EXPECT_EQ(session.buffer.ConfigIdImage[14], 0x0F);
    EXPECT_EQ(session.buffer.ConfigIdImage[15], 0xEA);
    EXPECT_EQ(session.buffer.IdText, "12CD");
    EXPECT_EQ(session.run.IdAndLow, 0x01 & 0x02 & 0x0C & 0x0D);
}

TEST_F(StepFixture, FourteenBitConfigurationReadShowsDeviceIdAndRevision) {
    part("12F6", 1024, 128, "PIC12F675");
    QByteArray reply;
    for (int w = 0; w < 8; ++w)
        reply += w == 6 ? bytes({0x0D, 0x05}) : bytes({0x3F, 0x30 + w});
    reply[14] = 0x21; // band-gap bits 13:12 = 2
    board.expectRead(6, {reply, "@"});
    ReadConfigWords(channel, result);
    EXPECT_EQ(board.commands.at(0), "Nrsc" + bytes({0, 8}));
    EXPECT_EQ(board.acknowledgements, 1);
    EXPECT_EQ(result, "OK");
    EXPECT_EQ(ui.texts[Control::Lbl_ID_Dev], "068");
    EXPECT_EQ(ui.texts[Control::Lbl_ID_Rev], "005");
    EXPECT_EQ(ui.texts[Control::Text_BG], "2");
    EXPECT_TRUE(session.device.ConfigFromDevice);
    EXPECT_EQ(session.run.ConfigAndHigh, 0x21 & 0x3F);
}

TEST_F(StepFixture, Pic18ReadsEveryPanelAndTestsEveryEndCode) {
    part("18F_00", 16384, 0, "PIC18F452");
    // The procedure's power letter goes out once; each later panel is a command starting "X".
    for (int p = 0; p < 4; ++p)
        board.expectRead(p == 0 ? 11 : 10, {QByteArray(8192, char(p)) + '@', {}});
    ReadProgramMemory(channel, result);
    ASSERT_EQ(board.commands.size(), 4u);
    EXPECT_EQ(board.commands[0], "NXrsp" + bytes({0, 0, 0x01, 0, 0x20, 0}));
    EXPECT_EQ(board.commands[3], "Xrsp" + bytes({0, 0x60, 0x01, 0, 0x20, 0}));
    EXPECT_EQ(result, "OK");
    EXPECT_EQ(session.buffer.ProgramImage[3 * 8192], 3);

    // A configuration reply cut short is not taken as the part's configuration.
    board.expectRead(11, {QByteArray(8, char(0x0F)) + '@', {}});
    board.expectRead(10, {QByteArray(256, char(0x22)) + 'X', {}});
    session.device.ConfigValue[1] = 0x1234;
    result = QStringLiteral("preset");
    ReadConfigWords(channel, result);
    EXPECT_EQ(board.commands.at(5), "Xrsp" + bytes({0x30, 0, 1, 0, 1, 0}));
    EXPECT_EQ(result, "NG");
    EXPECT_EQ(session.device.ConfigValue[1], 0x1234);
    EXPECT_EQ(session.buffer.IdText, "FFFFFFFF");
}

TEST_F(StepFixture, ReadsOfUnservedTypesSendThePowerLetterOnly) {
    for (const char* type : {"WRT400A", "18F_01"}) {
        part(type, 1024, 64);
        port.writes.clear();
        result = QStringLiteral("preset");
        ReadProgramMemory(channel, result);
        ReadEepromMemory(channel, result);
        ReadConfigWords(channel, result);
        VerifyProgramMemory(channel, result);
        EXPECT_EQ(wire(), "NNNN") << type;
        EXPECT_EQ(result, "preset") << type;
    }
}

} // namespace

namespace {

TEST_F(StepFixture, Pic18PartSmallerThanAPanelIsReadAndVerifiedToItsEnd) {
    part("18F_00", 1024, 0, "PIC18F1220");
    QByteArray reply(2048, char(0x5A));
    board.expectRead(11, {reply + '@', {}});
    ReadProgramMemory(channel, result);
    EXPECT_EQ(board.commands.at(0), "NXrsp" + bytes({0, 0, 1, 0, 0x08, 0}));
    EXPECT_EQ(result, "OK");
    EXPECT_EQ(session.device.Pic18PanelCount, 1);
    EXPECT_EQ(session.buffer.ProgramImage[2047], 0x5A);

    board.expectRead(11, {reply + '@', {}});
    result = QStringLiteral("preset");
    VerifyProgramMemory(channel, result);
    EXPECT_EQ(board.commands.at(1), "NXrsp" + bytes({0, 0, 1, 0, 0x08, 0}));
    EXPECT_EQ(result, "OK");
}

} // namespace
