// Bulk erase by the part's name: the exact command bytes, the board's answer, what the chip
// holds afterwards, and the parts that have no code for an area.
#include "step_bench.h"
#include "steps/erase.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace tavrin::test {
namespace {

void fillChip(emu::Chip& chip) {
    std::fill(chip.program.begin(), chip.program.end(), 0x0123);
    std::fill(chip.eeprom.begin(), chip.eeprom.end(), 0x45);
    chip.ids = {0x0001, 0x0002, 0x0003, 0x0004};
}

bool programErased(const emu::Chip& chip) {
    return std::all_of(chip.program.begin(), chip.program.end(),
                       [](std::uint16_t w) { return w == 0x3FFF; });
}

bool eepromErased(const emu::Chip& chip) {
    return std::all_of(chip.eeprom.begin(), chip.eeprom.end(),
                       [](std::uint8_t b) { return b == 0xFF; });
}

enum class Area { Chip, Program, Eeprom };

void runErase(StepBench& bench, Area area, QString& result) {
    switch (area) {
    case Area::Chip:
        return EraseChip(bench.link, result);
    case Area::Program:
        return EraseProgramMemory(bench.channel(), result);
    case Area::Eeprom:
        return EraseEepromMemory(bench.channel(), result);
    }
}

struct EraseCase {
    const char* device;
    Area area;
    QByteArray command; // what the erase sends after the operation's re-identification
    bool programCleared;
    bool eepromCleared;
};

class EraseByName : public ::testing::TestWithParam<EraseCase> {};

TEST_P(EraseByName, SendsThePartsCodeAndClearsWhatItNames) {
    const EraseCase& c = GetParam();
    StepBench bench(QString::fromLatin1(c.device));
    fillChip(bench.chip());
    bench.recordFromHere();
    QString result = QStringLiteral("??");
    runErase(bench, c.area, result);

    EXPECT_EQ(result, result::OK);
    EXPECT_TRUE(bench.sentSinceRecord().endsWith(c.command))
        << bench.sentSinceRecord().toHex().toStdString();
    EXPECT_EQ(programErased(bench.chip()), c.programCleared);
    EXPECT_EQ(eepromErased(bench.chip()), c.eepromCleared);
    const QString done = c.area == Area::Program ? QStringLiteral("プログラムメモリを消去ました。")
                                                 : QStringLiteral("成功。");
    EXPECT_EQ(bench.ui.statusText, shown(done));
}

INSTANTIATE_TEST_SUITE_P(
    Parts, EraseByName,
    ::testing::Values(
        // VPP parts (PIC12F675, PIC16F628A) begin with "n"; the code of the 16F87xA group is 10.
        EraseCase{"PIC16F877A", Area::Chip, bytesOf({'N', 'b', 'd', 0x0A}), true, true},
        EraseCase{"PIC16F84A", Area::Chip, bytesOf({'N', 'b', 'd', 4}), true, true},
        EraseCase{"PIC16F84A", Area::Program, bytesOf({'N', 'b', 'd', 5}), true, false},
        EraseCase{"PIC16F84", Area::Eeprom, bytesOf({'N', 'b', 'd', 3}), false, true},
        EraseCase{"PIC12F675", Area::Eeprom, bytesOf({'n', 'b', 'd', 9}), false, true},
        EraseCase{"PIC16F628A", Area::Program, bytesOf({'n', 'b', 'd', 8}), true, false},
        // The module's protection release leaves its EEPROM to the EEPROM erase (code 3).
        EraseCase{"QZ-WRT400", Area::Chip, bytesOf({'N', 'b', 'D', 1}), true, false},
        EraseCase{"PIC16F74", Area::Chip, bytesOf({'N', 'b', 'd', 8}), true, true}));

TEST(Erase, ChipEraseReleasesCodeProtection) {
    StepBench bench(QStringLiteral("PIC16F628A"));
    bench.chip().config[0] = 0x0000; // every protection bit on
    ASSERT_TRUE(bench.chip().programProtected());
    QString result;
    EraseChip(bench.link, result);
    EXPECT_EQ(result, result::OK);
    EXPECT_FALSE(bench.chip().programProtected());
}

TEST(Erase, Pic18ChipEraseSendsTheChipEraseCode) {
    // Without its code the command would wait for one, and the next "*" would become it.
    StepBench bench(QStringLiteral("PIC18F252"));
    std::fill(bench.chip().program18.begin(), bench.chip().program18.end(), 0x12);
    bench.recordFromHere();
    QString result;
    EraseChip(bench.link, result);
    EXPECT_EQ(result, result::OK);
    EXPECT_TRUE(bench.sentSinceRecord().endsWith(bytesOf({'N', 'X', 'b', 'd', 0x80})));
    EXPECT_TRUE(std::all_of(bench.chip().program18.begin(), bench.chip().program18.end(),
                            [](std::uint8_t b) { return b == 0xFF; }));
}

void fillChip18(emu::Chip& chip) {
    std::fill(chip.program18.begin(), chip.program18.end(), 0x12);
    std::fill(chip.eeprom.begin(), chip.eeprom.end(), 0x45);
    chip.id18.fill(0x01);
}

bool allErased(const std::vector<std::uint8_t>& bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b == 0xFF; });
}

QByteArray pic18Erases(std::initializer_list<std::uint8_t> codes) {
    QByteArray wire;
    for (std::uint8_t code : codes)
        wire += bytesOf({'N', 'X', 'b', 'd', code});
    return wire;
}

// The PIC18 parts of the generic steps erase program memory alone block by block, as many blocks
// as their program size holds, and their EEPROM by its own code: neither takes the other memory,
// nor the IDs.
TEST(Erase, Pic18ProgramEraseGoesBlockByBlockAndKeepsTheEeprom) {
    const std::pair<const char*, QByteArray> parts[] = {
        {"PIC18F242", pic18Erases({0x83, 0x88, 0x89})},
        {"PIC18F252", pic18Erases({0x83, 0x88, 0x89, 0x8A, 0x8B})},
    };
    for (const auto& [part, wire] : parts) {
        StepBench bench(QString::fromLatin1(part));
        fillChip18(bench.chip());
        bench.recordFromHere();
        QString result;
        EraseProgramMemory(bench.channel(), result);
        EXPECT_EQ(result, result::OK) << part;
        EXPECT_EQ(bench.sentSinceRecord().toHex().toStdString(), wire.toHex().toStdString());
        EXPECT_EQ(bench.ui.statusText, shown(QStringLiteral("プログラムメモリを消去ました。")));
        EXPECT_TRUE(allErased(bench.chip().program18)) << part;
        EXPECT_EQ(bench.chip().eeprom, std::vector<std::uint8_t>(bench.chip().eeprom.size(), 0x45))
            << part;
        EXPECT_EQ(bench.chip().id18[0], 0x01) << part;
    }
}

TEST(Erase, Pic18EepromEraseSendsItsCodeAndKeepsProgramMemory) {
    StepBench bench(QStringLiteral("PIC18F242"));
    fillChip18(bench.chip());
    bench.recordFromHere();
    QString result;
    EraseEepromMemory(bench.channel(), result);
    EXPECT_EQ(result, result::OK);
    EXPECT_EQ(bench.sentSinceRecord().toHex().toStdString(),
              pic18Erases({0x81}).toHex().toStdString());
    EXPECT_EQ(bench.ui.statusText, shown(QStringLiteral("成功。")));
    EXPECT_TRUE(allErased(bench.chip().eeprom));
    EXPECT_EQ(bench.chip().program18[0x3FFF], 0x12);
}

// A block the board refuses (a protected one) ends the erase: the blocks after it are not sent.
TEST(Erase, Pic18ARefusedBlockEndsTheProgramErase) {
    StepBench bench(QStringLiteral("PIC18F252"));
    fillChip18(bench.chip());
    bench.chip().config18[8] &= ~0x02; // CP1: 0x2000-0x3FFF
    bench.recordFromHere();
    QString result;
    EraseProgramMemory(bench.channel(), result);
    EXPECT_EQ(result, result::ER);
    EXPECT_EQ(bench.sentSinceRecord().toHex().toStdString(),
              pic18Erases({0x83, 0x88, 0x89}).toHex().toStdString());
    EXPECT_EQ(bench.ui.statusText, shown(QStringLiteral("プログラムメモリを消去に失敗しました。")));
    EXPECT_EQ(bench.chip().program18[0x1FFF], 0xFF);
    EXPECT_EQ(bench.chip().program18[0x2000], 0x12);
    EXPECT_EQ(bench.chip().program18[0x6000], 0x12);
}

struct NoCodeCase {
    const char* device;
    Area area;
    const char* failureText;
};

class EraseWithoutCode : public ::testing::TestWithParam<NoCodeCase> {};

TEST_P(EraseWithoutCode, SendsThePowerLetterAloneAndFailsAfterThreeSeconds) {
    const NoCodeCase& c = GetParam();
    StepBench bench(QString::fromLatin1(c.device));
    fillChip(bench.chip());
    bench.recordFromHere();
    QString result;
    runErase(bench, c.area, result);
    EXPECT_EQ(result, result::ER);
    EXPECT_EQ(bench.ui.statusText, shown(QString::fromUtf8(c.failureText)));
    EXPECT_TRUE(bench.sentSinceRecord().endsWith("N"))
        << bench.sentSinceRecord().toHex().toStdString();
    EXPECT_GT(bench.msSinceRecord(), 3000);
    EXPECT_LT(bench.msSinceRecord(), 3200);
    EXPECT_FALSE(programErased(bench.chip()));
}

INSTANTIATE_TEST_SUITE_P(Parts, EraseWithoutCode,
                         ::testing::Values(NoCodeCase{"PIC16F74", Area::Program,
                                                      "プログラムメモリを消去に失敗しました。"},
                                           NoCodeCase{"PIC16C622A", Area::Chip, "失敗。"},
                                           NoCodeCase{"PIC12C672", Area::Eeprom, "失敗。"}));

TEST(Erase, EepromEraseOfA16F7xSendsAndShowsNothing) {
    StepBench bench(QStringLiteral("PIC16F74"));
    bench.ui.statusText = QStringLiteral("before");
    bench.recordFromHere();
    QString result = QStringLiteral("--");
    EraseEepromMemory(bench.channel(), result);
    EXPECT_EQ(result, QStringLiteral("--"));
    EXPECT_EQ(bench.ui.statusText, QStringLiteral("before"));
    EXPECT_TRUE(bench.sentSinceRecord().isEmpty());
}

TEST(Erase, AnEndCodeLeftOverFromAnEarlierReplyIsNotTakenForTheAnswer) {
    // A part the erase has no code for, with an "@" already waiting from an earlier exchange.
    StepBench bench(QStringLiteral("PIC12F675"));
    auto& channel = bench.channel();
    channel.sendPowerLetter();
    channel.sendLetters("bw");
    channel.sendCount16(1024);
    channel.sendByte(0x34);
    channel.sendByte(0x80);
    bench.emu.clock.sleepMs(50);
    ASSERT_GT(bench.emu.port.bytesWaiting(), 0);
    bench.s.device.SelectedDevice = QStringLiteral("PIC12F6XX");
    QString result;
    EraseProgramMemory(channel, result);
    EXPECT_EQ(result, result::ER);
}

TEST(Erase, ChipEraseStopsWhenNoPartIsSelected) {
    StepBench bench(QStringLiteral("PIC16F84A"));
    bench.s.device.SelectedDevice.clear();
    bench.recordFromHere();
    QString result;
    EraseChip(bench.link, result);
    EXPECT_EQ(result, result::NG);
    EXPECT_TRUE(bench.sentSinceRecord().isEmpty());
}

TEST(Erase, ChipEraseStopsWhenTheBoardDoesNotAnswer) {
    StepBench bench(QStringLiteral("PIC16F84A"));
    fillChip(bench.chip());
    bench.addFault("silent");
    QString result;
    EraseChip(bench.link, result);
    EXPECT_EQ(result, result::NG);
    EXPECT_FALSE(programErased(bench.chip()));
}

TEST(Erase, AnAnswerOtherThanTheEndCodeFailsAtOnce) {
    StepBench bench(QStringLiteral("PIC16F84A"));
    bench.addFault("end-code=0x21@bd");
    bench.recordFromHere();
    QString result;
    EraseProgramMemory(bench.channel(), result);
    EXPECT_EQ(result, result::ER);
    EXPECT_EQ(bench.ui.statusText, shown(QStringLiteral("プログラムメモリを消去に失敗しました。")));
    EXPECT_LT(bench.msSinceRecord(), 1000);
}

} // namespace
} // namespace tavrin::test
