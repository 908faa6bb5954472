// The board's own plug-in module: a slot of its own behind the module family's commands, the two
// write letters of the PIC16F877A module, and its erase codes one area each.
#include "host_script.h"
#include "protocol_bytes.h"

#include <gtest/gtest.h>

using namespace tavrin::test;

namespace {

// Something in every memory; protection as given.
void fill(emu::Chip& chip, std::uint16_t config) {
    std::fill(chip.program.begin(), chip.program.end(), 0x1234);
    chip.ids = {1, 2, 3, 4};
    std::fill(chip.eeprom.begin(), chip.eeprom.end(), 0x55);
    chip.config[0] = config;
}

std::vector<QByteArray> words(std::initializer_list<std::uint16_t> w) {
    std::vector<QByteArray> out;
    for (auto v : w)
        out.push_back(word(v));
    return out;
}

} // namespace

TEST(ModuleSlot, SocketAndModuleAreTwoChips) {
    EmulatedBoard bench("PIC16F877A");
    bench.board.module() = emu::Chip(emu::findPart("QZ-WRT400"));
    bench.board.socket().program[0] = 0x0111;
    bench.board.module().program[0] = 0x0222;
    HostScript host(bench);
    host.command("Nrsp", c16(1));
    EXPECT_EQ(host.collect(3).toHex().toStdString(), "011140");
    host.command("Nr8p", c16(1));
    EXPECT_EQ(host.collect(3).toHex().toStdString(), "022240");
    host.command("Nr8c", c16(8));
    EXPECT_EQ(wordAt(host.collect(17, 16), 12), 0x09A3); // the module's PIC16F877
    host.command("Nrsc", c16(8));
    EXPECT_EQ(wordAt(host.collect(17, 16), 12), 0x0E23); // the socket's PIC16F877A

    // An empty module slot reads zeros whatever the socket holds.
    bench.board.module() = emu::Chip();
    host.command("Nr8c", c16(8));
    EXPECT_EQ(wordAt(host.collect(17, 16), 12), 0x0000);
}

TEST(ModuleSlot, AModulePartIsTheBoardsChipAndTheSocketStaysEmpty) {
    EmulatedBoard bench("QZ-WRT400A");
    EXPECT_EQ(&bench.board.chip(), &bench.board.module());
    EXPECT_FALSE(bench.board.socket().present());
    EXPECT_EQ(bench.board.chip().part()->name, "QZ-WRT400A");
}

TEST(ModuleSlot, PicF877AModuleWritesWithItsOwnLetters) {
    EmulatedBoard bench("QZ-WRT400A");
    auto& chip = bench.board.chip();
    HostScript host(bench);
    host.command("Nw7e", c16(3));
    auto outcome = host.pacedWrite(words({0x2801, 0x0000, 0x3FFE}));
    EXPECT_EQ(outcome.lastReply.toStdString(), "@");
    EXPECT_EQ(chip.program[0], 0x2801);
    EXPECT_EQ(chip.program[2], 0x3FFE);

    // IDs, the three reserved words with the skip mark, the configuration word.
    host.command("Nw6c", c16(8));
    outcome = host.pacedWrite(words({1, 2, 3, 4, 0xBFFF, 0xBFFF, 0xBFFF, 0x3F72}));
    EXPECT_EQ(outcome.itemsSent, 8);
    EXPECT_EQ(outcome.lastReply.toStdString(), "@");
    EXPECT_EQ(chip.ids, (std::array<std::uint16_t, 4>{1, 2, 3, 4}));
    EXPECT_EQ(chip.readConfig(0), (0x3F72 & 0x2FCF) | 0x1030);
    host.command("Nr8c", c16(8));
    EXPECT_EQ(wordAt(host.collect(17, 16), 12), 0x0E23); // the device ID did not change
}

TEST(ModuleSlot, EraseCodesClearOneAreaEach) {
    struct Case {
        const char* part;
        int code;
        std::uint16_t config; // protection before the erase
        bool program, config_, eeprom;
    };
    const std::uint16_t open = 0x3FFF;
    const Case cases[] = {
        {"QZ-WRT400", 0x01, open, true, true, false},
        {"QZ-WRT400", 0x01, 0x3FFF & ~0x0100, true, true, true}, // CPD: the data goes too
        {"QZ-WRT400", 0x02, open, true, false, false},
        {"QZ-WRT400", 0x03, open, false, false, true},
        {"QZ-WRT400A", 0x0A, open, false, true, false},
        {"QZ-WRT400A", 0x0A, 0x3FFF & ~0x2000, true, true, false}, // CP: the program goes too
        {"QZ-WRT400A", 0x0B, open, true, false, false},
        {"QZ-WRT400A", 0x0C, open, false, false, true},
        {"QZ-WRT400A", 0x01, open, false, false, false}, // the other module's code: refused
    };
    for (const auto& c : cases) {
        EmulatedBoard bench(c.part);
        auto& chip = bench.board.chip();
        fill(chip, c.config);
        HostScript host(bench);
        host.command("NbD", bytes({c.code}));
        EXPECT_EQ(host.collect(1).toStdString(), c.program || c.config_ || c.eeprom ? "@" : "!")
            << c.part << " code " << c.code;
        EXPECT_EQ(chip.program[0] == 0x3FFF, c.program) << c.part << " code " << c.code;
        EXPECT_EQ(chip.ids[0] == 0x3FFF && chip.config[0] == 0xFFFF, c.config_)
            << c.part << " code " << c.code;
        EXPECT_EQ(chip.eeprom[0] == 0xFF, c.eeprom) << c.part << " code " << c.code;
    }
}

TEST(ModuleSlot, EveryChipEraseOfTheFamilyLeavesAllAreasErased) {
    struct Case {
        const char* part;
        const char* letters;
        std::vector<int> codes;
    };
    const Case cases[] = {{"QZ-WRT400", "NbD", {0x01, 0x03}},
                          {"QZ-WRT400A", "NbD", {0x0A, 0x0B, 0x0C}},
                          {"PIC16F877", "Nbd", {0x01, 0x03}},
                          {"PIC16F877A", "Nbd", {0x0A, 0x0B, 0x0C}}};
    for (const auto& c : cases)
        for (std::uint16_t config : {std::uint16_t(0x3FFF), std::uint16_t(0x0000)}) {
            EmulatedBoard bench(c.part);
            auto& chip = bench.board.chip();
            fill(chip, config);
            HostScript host(bench);
            for (int code : c.codes) {
                host.command(c.letters, bytes({code}));
                EXPECT_EQ(host.collect(1).toStdString(), "@") << c.part;
            }
            EXPECT_TRUE(std::all_of(chip.program.begin(), chip.program.end(), [](auto w) {
                return w == 0x3FFF;
            })) << c.part;
            EXPECT_TRUE(std::all_of(chip.eeprom.begin(), chip.eeprom.end(), [](auto b) {
                return b == 0xFF;
            })) << c.part;
            EXPECT_EQ(chip.ids, (std::array<std::uint16_t, 4>{0x3FFF, 0x3FFF, 0x3FFF, 0x3FFF}));
            EXPECT_FALSE(chip.programProtected()) << c.part;
            EXPECT_FALSE(chip.dataProtected()) << c.part;
        }
}
