// Bulk erase by the part's own letter and codes, and what code protection hides.
#include "host_script.h"
#include "protocol_bytes.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace tavrin::test;

namespace {

// A chip with something in every memory, protection on.
void fill(emu::Chip& chip) {
    std::fill(chip.program.begin(), chip.program.end(), 0x1234);
    chip.ids = {1, 2, 3, 4};
    std::fill(chip.eeprom.begin(), chip.eeprom.end(), 0x55);
    chip.config[0] = 0x0000;
}

} // namespace

TEST(Erase, CodesFollowThePartsOwnProfile) {
    struct Case {
        const char* part;
        const char* letters;
        int code;
        const char* reply;
        bool program, config, eeprom; // erased afterwards
    };
    const Case cases[] = {
        {"PIC16F877A", "Nbd", 0x0A, "@", true, true, true},
        {"PIC16F877A", "Nbd", 0x0B, "@", true, false, false},
        {"PIC16F877A", "Nbd", 0x0C, "@", false, false, true},
        {"PIC16F877A", "Nbd", 0x01, "!", false, false, false}, // a code of another family
        // The module letter reaches the board's module slot, empty here: the socket is untouched.
        {"PIC16F877A", "NbD", 0x0A, "@", false, false, false},
        {"PIC16F84A", "Nbd", 4, "@", true, true, true},
        {"PIC16F84", "Nbd", 1, "@", true, true, true},
        {"PIC16F84", "Nbd", 4, "!", false, false, false},
        {"PIC16F628A", "nbd", 9, "@", false, false, true},
        {"PIC16F74", "Nbd", 8, "@", true, true, false},
        {"PIC16F74", "Nbd", 9, "!", false, false, false},
        {"QZ-WRT400", "NbD", 1, "@", true, true, true},
        {"QZ-WRT400A", "NbD", 0x0A, "@", true, true, true},
        {"PIC16C622A", "Nbd", 1, "!", false, false, false}, // EPROM: no erase by the board
    };
    for (const auto& c : cases) {
        EmulatedBoard bench(c.part);
        auto& chip = bench.board.chip();
        fill(chip);
        HostScript host(bench);
        host.command(c.letters, bytes({c.code}));
        EXPECT_EQ(host.collect(1).toStdString(), c.reply) << c.part << " code " << c.code;
        const auto erased = emu::erasedCell(*chip.part());
        EXPECT_EQ(chip.program[0] == erased, c.program) << c.part << " code " << c.code;
        EXPECT_EQ(chip.ids[0] == erased && chip.config[0] == 0xFFFF, c.config) << c.part;
        if (!chip.eeprom.empty()) {
            EXPECT_EQ(chip.eeprom[0] == 0xFF, c.eeprom) << c.part << " code " << c.code;
        }
    }
}

TEST(Erase, ChipEraseOfA12F6PartDestroysCalibrationAndBandgap) {
    EmulatedBoard bench("PIC12F675");
    HostScript host(bench);
    host.command("nbd", bytes({7}));
    EXPECT_EQ(host.collect(1).toStdString(), "@");
    host.command("nbr", c16(1024));
    EXPECT_EQ(host.collect(3).toHex().toStdString(), "3fff40");
    host.command("nrsc", c16(8));
    EXPECT_EQ(host.collect(17, 16).mid(14, 2).toHex().toStdString(), "31ff");
}

TEST(Erase, Pic12F683KeepsItsCalibrationWord) {
    EmulatedBoard bench("PIC12F683");
    HostScript host(bench);
    host.command("nbd", bytes({0x0E}));
    EXPECT_EQ(host.collect(1).toStdString(), "@");
    host.command("nrsc", c16(16));
    const auto area = host.collect(33, 16);
    EXPECT_EQ(area.mid(12, 6).toHex().toStdString(), "0463"
                                                     "3fff"
                                                     "1a2b");
}

TEST(Erase, TakesItsTimeOnTheBoardsClock) {
    emu::BoardOptions options;
    options.eraseTime = 2900 * emu::kMillisecond;
    EmulatedBoard bench("PIC16F877A", options);
    HostScript host(bench);
    host.command("Nbd", bytes({0x0A}));
    const auto start = bench.clock.nowUs();
    EXPECT_EQ(host.collect(1, 0, 3000).toStdString(), "@");
    EXPECT_GE(bench.clock.nowUs() - start, 2899000);
}

TEST(Erase, Pic18CodesAndTheGenericEraseWithoutCode) {
    EmulatedBoard bench("PIC18F452");
    auto& chip = bench.board.chip();
    auto load = [&] {
        std::fill(chip.program18.begin(), chip.program18.end(), 0x00);
        std::fill(chip.eeprom.begin(), chip.eeprom.end(), 0x00);
        chip.id18.fill(0);
    };
    HostScript host(bench);
    load();
    host.command("NXbd"); // the generic chip erase sends no code
    EXPECT_EQ(host.collect(1, 0, 3000).toStdString(), "@");
    EXPECT_EQ(chip.program18[0x7FFF], 0xFF);
    EXPECT_EQ(chip.eeprom[0], 0xFF);
    EXPECT_EQ(chip.id18[0], 0xFF);

    load();
    host.command("NXbd", bytes({0x83})); // boot block 0x000-0x1FF
    EXPECT_EQ(host.collect(1).toStdString(), "@");
    EXPECT_EQ(chip.program18[0x1FF], 0xFF);
    EXPECT_EQ(chip.program18[0x200], 0x00);
    host.command("NXbd", bytes({0x89})); // block 2: 0x2000-0x3FFF
    EXPECT_EQ(host.collect(1).toStdString(), "@");
    EXPECT_EQ(chip.program18[0x1FFF], 0x00);
    EXPECT_EQ(chip.program18[0x2000], 0xFF);
    EXPECT_EQ(chip.program18[0x3FFF], 0xFF);
    EXPECT_EQ(chip.program18[0x4000], 0x00);
    host.command("NXbd", bytes({0x81}));
    EXPECT_EQ(host.collect(1).toStdString(), "@");
    EXPECT_EQ(chip.eeprom[255], 0xFF);
    host.command("NXbd", bytes({0x8C})); // block 5 does not exist on a 452
    EXPECT_EQ(host.collect(1).toStdString(), "!");
}

// What each PIC18 erase code leaves of a chip full of data, on parts with two and with four
// blocks after the boot block: only the chip erase reaches every memory; the block erases take
// their own program bytes and the EEPROM erase the EEPROM, and no code past the last block is
// carried out.
TEST(Erase, Pic18CodesEraseTheirOwnAreaOnly) {
    struct Case {
        const char* part;
        int code;
        const char* reply;
        std::uint32_t from, to; // the program bytes erased
        bool idsAndConfig, eeprom;
    };
    const Case cases[] = {
        {"PIC18F242", 0x80, "@", 0, 0x4000, true, true},
        {"PIC18F242", 0x81, "@", 0, 0, false, true},
        {"PIC18F242", 0x83, "@", 0, 0x200, false, false},
        {"PIC18F242", 0x88, "@", 0x200, 0x2000, false, false},
        {"PIC18F242", 0x89, "@", 0x2000, 0x4000, false, false},
        {"PIC18F242", 0x8A, "!", 0, 0, false, false},
        {"PIC18F448", 0x89, "@", 0x2000, 0x4000, false, false},
        {"PIC18F458", 0x80, "@", 0, 0x8000, true, true},
        {"PIC18F458", 0x81, "@", 0, 0, false, true},
        {"PIC18F458", 0x8B, "@", 0x6000, 0x8000, false, false},
        {"PIC18F458", 0x8C, "!", 0, 0, false, false},
    };
    for (const auto& c : cases) {
        EmulatedBoard bench(c.part);
        auto& chip = bench.board.chip();
        std::fill(chip.program18.begin(), chip.program18.end(), 0x00);
        std::fill(chip.eeprom.begin(), chip.eeprom.end(), 0x00);
        chip.id18.fill(0);
        chip.config18[1] = 0x00; // CONFIG1H: erased 0x27
        HostScript host(bench);
        host.command("NXbd", bytes({c.code}));
        EXPECT_EQ(host.collect(1).toStdString(), c.reply) << c.part << " code " << c.code;
        std::uint32_t wrong = 0;
        for (std::uint32_t a = 0; a < chip.program18.size(); ++a)
            if ((chip.program18[a] == 0xFF) != (a >= c.from && a < c.to)) ++wrong;
        EXPECT_EQ(wrong, 0u) << c.part << " code " << c.code;
        EXPECT_EQ(chip.id18[0] == 0xFF, c.idsAndConfig) << c.part << " code " << c.code;
        EXPECT_EQ(chip.config18[1] != 0x00, c.idsAndConfig) << c.part << " code " << c.code;
        EXPECT_EQ(std::all_of(chip.eeprom.begin(), chip.eeprom.end(),
                              [](std::uint8_t b) { return b == 0xFF; }),
                  c.eeprom)
            << c.part << " code " << c.code;
    }
}

TEST(Erase, Pic18ProtectedBlockIsRefused) {
    EmulatedBoard bench("PIC18F452");
    auto& chip = bench.board.chip();
    chip.config18[8] &= ~0x02; // CP1: block 0x2000-0x3FFF
    std::fill(chip.program18.begin(), chip.program18.end(), 0x00);
    HostScript host(bench);
    host.command("NXbd", bytes({0x89}));
    EXPECT_EQ(host.collect(1).toStdString(), "!");
    EXPECT_EQ(chip.program18[0x2000], 0x00);
    chip.eeprom[0] = 0x42;
    chip.config18[9] &= ~0x80; // CPD
    host.command("NXbd", bytes({0x81}));
    EXPECT_EQ(host.collect(1).toStdString(), "!");
    EXPECT_EQ(chip.eeprom[0], 0x42);
    host.command("NXbd", bytes({0x80})); // the chip erase releases protection
    EXPECT_EQ(host.collect(1).toStdString(), "@");
    EXPECT_EQ(chip.readByte18(0x300008), 0x0F);
}

TEST(Protection, HidesProgramAndDataButNotConfiguration) {
    EmulatedBoard bench("PIC16F877A");
    auto& chip = bench.board.chip();
    chip.program[0] = 0x2805;
    chip.eeprom[0] = 0x42;
    chip.config[0] = 0x3FFF & ~0x2000 & ~0x0100; // CP and CPD on
    HostScript host(bench);
    host.command("Nrsp", c16(8));
    EXPECT_EQ(host.collect(17, 16).toHex().toStdString(), std::string(32, '0') + "40");
    host.command("Nrsd", c16(8));
    EXPECT_EQ(host.collect(17, 16).left(2).toHex().toStdString(), "3f00");
    host.command("Nrsc", c16(8));
    EXPECT_EQ(host.collect(17, 16).mid(14, 2).toHex().toStdString(), "1eff");
    // Programming a protected chip fails its read-back; the chip erase releases it.
    host.command("NwGe", c16(1));
    EXPECT_EQ(host.pacedWrite({word(0x2805)}).lastReply.toHex().toStdString(), "2a000000");
    host.idle(200); // the board lets a failed write's leftovers pass for 100 ms
    host.command("Nbd", bytes({0x0A}));
    EXPECT_EQ(host.collect(1).toStdString(), "@");
    EXPECT_FALSE(chip.programProtected());
}

TEST(Protection, ProtectionBitsOfFlashConfigurationOnlyClearByWriting) {
    EmulatedBoard bench("PIC16F84A");
    auto& chip = bench.board.chip();
    HostScript host(bench);
    host.command("Nwec", c16(8));
    auto items = std::vector<QByteArray>(8, word(0x3FFF));
    items[7] = word(0x000D); // CP on (bits 13:4 cleared)
    EXPECT_EQ(host.pacedWrite(items).lastReply.toStdString(), "@");
    EXPECT_TRUE(chip.programProtected());
    items[7] = word(0x3FFD); // asking for CP off again is refused by the read-back
    host.command("Nwec", c16(8));
    EXPECT_EQ(host.pacedWrite(items).lastReply.toHex().toStdString(), "2a0d0007");
}

TEST(Protection, TwelveBitProgramAndCalibrationReadZeroIdsStayReadable) {
    EmulatedBoard bench("PIC12C508A");
    auto& chip = bench.board.chip();
    chip.config[0] = 0x0FF7; // CP (bit 3) on
    chip.ids = {1, 2, 3, 4};
    HostScript host(bench);
    host.command("Nrsp", c16(517));
    const auto reply = host.collect(1035, 16);
    EXPECT_EQ(wordAt(reply, 0), 0x0FF7);
    EXPECT_EQ(wordAt(reply, 1024), 0x0000);
    EXPECT_EQ(wordAt(reply, 1026), 0x0001);
}

TEST(Protection, Pic18ProtectedBlockReadsZero) {
    EmulatedBoard bench("PIC18F452");
    auto& chip = bench.board.chip();
    std::fill(chip.program18.begin(), chip.program18.end(), 0x5A);
    chip.config18[8] = 0x0E; // CP0: 0x0200-0x1FFF
    HostScript host(bench);
    host.command("NXrsp", c24(0x1F0 + 1) + c24(32));
    // 0x1F0-0x1FF lie in the boot block, 0x200 on in block 0.
    EXPECT_EQ(host.collect(33, 8).toHex().toStdString(),
              hex("5a").repeated(16).toHex().toStdString() + std::string(32, '0') + "40");
}

TEST(EmptySocket, ReadsZerosAndNothingPrograms) {
    EmulatedBoard bench("none");
    HostScript host(bench);
    host.command("Nrsc", c16(8));
    EXPECT_EQ(host.collect(17, 16).toHex().toStdString(), std::string(32, '0') + "40");
    host.command("Nbs", c16(1024));
    EXPECT_EQ(host.collect(3).toHex().toStdString(), "000040");
    host.command("Nwef", c16(4));
    EXPECT_EQ(host.pacedWrite({word(0x3FFF)}).lastReply.toHex().toStdString(), "2a000000");
    host.idle(200);
    host.command("Nbd", bytes({4}));
    EXPECT_EQ(host.collect(1).toStdString(), "@");
}
