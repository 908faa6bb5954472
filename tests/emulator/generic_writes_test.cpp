// Board-paced writes of the generic procedures, per programming type: one request per item, the
// end code after the last, what ends up in the chip, and what reads back.
#include "host_script.h"
#include "protocol_bytes.h"

#include <gtest/gtest.h>

#include <random>

using namespace tavrin::test;

namespace {

std::vector<QByteArray> wordItems(const std::vector<std::uint16_t>& words) {
    std::vector<QByteArray> items;
    for (auto w : words)
        items.push_back(word(w));
    return items;
}

std::vector<std::uint16_t> randomWords(std::size_t n, std::uint16_t mask, unsigned seed) {
    std::mt19937 rng(seed);
    std::vector<std::uint16_t> out(n);
    for (auto& w : out)
        w = std::uint16_t(rng() & mask);
    return out;
}

std::vector<std::uint16_t> wordsOf(const QByteArray& reply, std::size_t n) {
    std::vector<std::uint16_t> out;
    for (std::size_t i = 0; i < n; ++i)
        out.push_back(wordAt(reply, int(2 * i)));
    return out;
}

} // namespace

TEST(GenericWrite, FourteenBitProgramMemoryRoundTripPerType) {
    struct Case {
        const char* type;
        const char* part;
        const char* write;
        const char* read;
    };
    const Case cases[] = {
        {"12C6", "PIC12C672", "Nwsp", "Nrsp"},    {"12F6", "PIC12F675", "nwe8", "nrsp"},
        {"EPROM", "PIC16C622A", "Nwsp", "Nrsp"},  {"EPROM2", "PIC16C715", "NwSp", "NrSp"},
        {"FLASH0", "PIC16F877", "Nwe8", "Nrsp"},  {"FLASH0", "PIC16F628", "Nwe5", "Nrsp"},
        {"FLASH0", "PIC16F84A", "Nwef", "Nrsp"},  {"FLASH0", "PIC16F73", "Nwe1", "Nrsp"},
        {"FLASH1", "PIC16F628A", "nwe8", "nrsp"}, {"FLASH2", "PIC16F74", "NwEe", "Nrsp"},
        {"FLASH4", "PIC16F819", "nwHe", "nrsp"},  {"FLASH4.9", "PIC16F88", "nwHe", "nrsp"},
        {"FLASH8", "PIC16F877A", "NwGe", "Nrsp"}, {"WRT400", "QZ-WRT400", "Nw84", "Nr8p"},
    };
    unsigned seed = 1;
    for (const auto& c : cases) {
        EmulatedBoard bench(c.part);
        auto& chip = bench.board.chip();
        const auto* part = chip.part();
        const std::uint32_t n = part->programWords;
        auto image = randomWords(n, part->cellMask, seed++);
        // What the host sends back in the last word of a calibrated part is the chip's own.
        if (part->calibration != emu::Calibration::None) image.back() = chip.program.back();
        HostScript host(bench);
        host.command(c.write, c16(n));
        const auto outcome = host.pacedWrite(wordItems(image));
        EXPECT_EQ(outcome.itemsSent, int(n)) << c.type << " " << c.part;
        EXPECT_EQ(outcome.lastReply.toStdString(), "@") << c.type << " " << c.part;
        EXPECT_EQ(chip.program, image) << c.type << " " << c.part;

        host.command(c.read, c16(n));
        const auto reply = host.collect(int(2 * n + 1), 16);
        ASSERT_EQ(reply.size(), qsizetype(2 * n + 1)) << c.type;
        EXPECT_EQ(wordsOf(reply, n), image) << c.type << " " << c.part;
        EXPECT_EQ(reply.back(), '@');
    }
}

TEST(GenericWrite, TwelveBitStreamCarriesConfigurationProgramAndIds) {
    struct Case {
        const char* type;
        const char* part;
        const char* write;
        const char* read;
    };
    const Case cases[] = {{"5X18", "PIC16C54", "Nwps", "Nrps"},
                          {"5X28", "PIC16C57", "Nwpl", "Nrpl"},
                          {"12C5", "PIC12C509A", "Nwsp", "Nrsp"}};
    for (const auto& c : cases) {
        EmulatedBoard bench(c.part);
        auto& chip = bench.board.chip();
        const std::uint32_t n = chip.part()->programWords;
        const std::uint32_t s = n + 5;
        std::vector<std::uint16_t> stream = randomWords(s, 0x0FFF, n);
        stream[0] = 0x0FFA | 0x0008; // the host forces CP off in the configuration word
        // The factory calibration stays where it is: the host sends an erased word there.
        if (chip.part()->calibration != emu::Calibration::None) stream[n] = 0x0FFF;
        HostScript host(bench);
        host.command(c.write, c16(s));
        const auto outcome = host.pacedWrite(wordItems(stream));
        EXPECT_EQ(outcome.lastReply.toStdString(), "@") << c.part;
        EXPECT_EQ(chip.readConfig(0), 0x0FFA) << c.part;
        EXPECT_EQ(chip.program[0], stream[1]) << c.part;
        EXPECT_EQ(chip.ids[3], stream[s - 1]) << c.part;

        host.command(c.read, c16(s));
        const auto reply = host.collect(int(2 * s + 1), 16);
        ASSERT_EQ(reply.size(), qsizetype(2 * s + 1));
        auto expected = stream;
        if (chip.part()->calibration != emu::Calibration::None) expected[n] = 0x0C5A;
        EXPECT_EQ(wordsOf(reply, s), expected) << c.part;
    }
}

TEST(GenericWrite, EepromRoundTripPerType) {
    struct Case {
        const char* part;
        const char* write;
        const char* read;
    };
    const Case cases[] = {{"PIC12F675", "nwed", "nrsd"},  {"PIC16F84A", "Nwed", "Nrsd"},
                          {"PIC16F628A", "nwed", "nrsd"}, {"PIC16F819", "nwId", "nrsd"},
                          {"PIC16F88", "nwId", "nrsd"},   {"PIC16F877A", "Nwed", "Nrsd"},
                          {"QZ-WRT400", "Nw8d", "Nr8d"}};
    for (const auto& c : cases) {
        EmulatedBoard bench(c.part);
        auto& chip = bench.board.chip();
        const auto d = std::uint32_t(chip.eeprom.size());
        const auto data = randomWords(d, 0xFF, d);
        std::vector<QByteArray> items;
        for (auto v : data)
            items.push_back(bytes({0x3F, v}));
        HostScript host(bench);
        host.command(c.write, c16(d));
        EXPECT_EQ(host.pacedWrite(items).lastReply.toStdString(), "@") << c.part;
        host.command(c.read, c16(d));
        const auto reply = host.collect(int(2 * d + 1), 16);
        ASSERT_EQ(reply.size(), qsizetype(2 * d + 1)) << c.part;
        for (std::uint32_t i = 0; i < d; ++i) {
            ASSERT_EQ(std::uint8_t(reply[2 * i]), 0x3F) << c.part;
            ASSERT_EQ(std::uint8_t(reply[2 * i + 1]), data[i]) << c.part << " location " << i;
        }
    }
}

TEST(GenericWrite, ConfigurationAreaSkipsTheReadOnlyWords) {
    EmulatedBoard bench("PIC16F877A");
    auto& chip = bench.board.chip();
    HostScript host(bench);
    host.command("NwGe", c16(0)); // (an empty program write answers "@" at once)
    EXPECT_EQ(host.collect(1).toStdString(), "@");
    host.command("NwFc", c16(8));
    // IDs 1..4, the three chip words with the host's skip mark, configuration 0x3F32.
    const auto outcome = host.pacedWrite({word(0x0001), word(0x0002), word(0x0003), word(0x0004),
                                          word(0xBFFF), word(0xBFFF), word(0x8E23), word(0x3F32)});
    EXPECT_EQ(outcome.lastReply.toStdString(), "@");
    EXPECT_EQ(chip.ids, (std::array<std::uint16_t, 4>{1, 2, 3, 4}));
    EXPECT_EQ(chip.readConfig(0), 0x3F32);
    host.command("Nrsc", c16(8));
    EXPECT_EQ(host.collect(17, 16).toHex().toStdString(), "00010002000300043fff3fff0e233f3240");
}

TEST(GenericWrite, SecondConfigurationWordOfFlash49) {
    EmulatedBoard bench("PIC16F88");
    HostScript host(bench);
    host.command("nwJc", c16(9));
    auto items = std::vector<QByteArray>(9, word(0x3FFF));
    items[4] = items[5] = items[6] = word(0xBFFF);
    items[7] = word(0x3F2C);
    items[8] = word(0x3FFC);
    EXPECT_EQ(host.pacedWrite(items).lastReply.toStdString(), "@");
    EXPECT_EQ(bench.board.chip().readConfig(0), 0x3F2C);
    EXPECT_EQ(bench.board.chip().readConfig(1), 0x3FFC);
}

TEST(GenericWrite, TwelveBitConfigurationWordAnswersItsReadBackWhenItDoesNotProgram) {
    EmulatedBoard bench("PIC16C54");
    auto& chip = bench.board.chip();
    HostScript host(bench);
    host.command("Nwps", c16(1));
    EXPECT_EQ(host.pacedWrite({word(0x0FF9)}).lastReply.toStdString(), "@");
    EXPECT_EQ(chip.readConfig(0), 0x0FF9);
    // An OTP bit that is already 0 cannot become 1 again: the board answers the word it reads.
    host.command("Nwps", c16(1));
    EXPECT_EQ(host.pacedWrite({word(0x0FFB)}).lastReply.toHex().toStdString(), "0ff940");
}

TEST(GenericWrite, UnimplementedConfigurationBitsReadingZeroShowInTheReadBack) {
    emu::PartFacts facts = *emu::findPart("PIC16C54");
    facts.configReadsOne = {0, 0};
    tavrin::VirtualClock clock;
    emu::Board board(&facts);
    EmulatedPort port(clock, board);
    port.open();
    port.write(QByteArray("Nwps") + c16(1));
    clock.sleepMs(5);
    ASSERT_EQ(port.readAll().toStdString(), "R");
    port.write(word(0x0FFB));
    clock.sleepMs(5);
    EXPECT_EQ(port.readAll().toHex().toStdString(), "000b40");
}

TEST(GenericWrite, OtpWordThatDoesNotProgramIsReportedAndTheBoardGoesIdle) {
    EmulatedBoard bench("PIC16C622A");
    bench.board.chip().program[5] = 0x0000;
    HostScript host(bench);
    host.command("Nwsp", c16(8));
    const auto outcome = host.pacedWrite(std::vector<QByteArray>(8, word(0x1234)));
    EXPECT_EQ(outcome.itemsSent, 6);
    // "*", read-back low and high byte, item index.
    EXPECT_EQ(outcome.lastReply.toHex().toStdString(), "2a000005");
    // A host that does not recognise the report sends the next word (0x3FFF: "?" and 0xFF):
    // it must not run as a command.
    host.send(word(0x3FFF));
    EXPECT_TRUE(host.idle(500).isEmpty());
    host.send("?");
    EXPECT_EQ(host.collect(18).toStdString(), "QZ-WRT400  V6.50\r\n");
    EXPECT_EQ(bench.board.chip().program[6], 0x3FFF);
}

TEST(GenericWrite, WriteLongerThanTheChipIsAbortedWhereItsMemoryEnds) {
    {
        EmulatedBoard bench("PIC16F84A");
        HostScript host(bench);
        host.command("Nwef", c16(1025));
        const auto outcome = host.pacedWrite(std::vector<QByteArray>(1025, word(0x3FFF)));
        EXPECT_EQ(outcome.itemsSent, 1024);
        EXPECT_EQ(outcome.lastReply.toStdString(), "@A");
        EXPECT_EQ(kindsOf(bench.takeViolations()), std::vector<std::string>{"past-memory"});
    }
    {
        EmulatedBoard bench("PIC16C54"); // 12-bit: read-back high, low, then "@" at byte 2
        HostScript host(bench);
        host.command("Nwps", c16(518));
        const auto outcome = host.pacedWrite(std::vector<QByteArray>(518, word(0x0FFF)));
        EXPECT_EQ(outcome.itemsSent, 517);
        EXPECT_EQ(outcome.lastReply.toHex().toStdString(), "000040");
        EXPECT_EQ(kindsOf(bench.takeViolations()), std::vector<std::string>{"past-memory"});
    }
}

TEST(GenericWrite, SingleWordCommandsReadAndRestoreTheCalibrationWord) {
    EmulatedBoard bench("PIC12F675");
    auto& chip = bench.board.chip();
    HostScript host(bench);
    host.command("nbr", c16(1024));
    EXPECT_EQ(host.collect(3).toHex().toStdString(), "348040");
    chip.program.back() = 0x3FFF; // lost by an erase
    host.command("nbw", c16(1024) + bytes({0x34, 0x80}));
    EXPECT_EQ(host.collect(1).toStdString(), "@");
    EXPECT_EQ(chip.program.back(), 0x3480);

    EmulatedBoard otp("PIC12C672");
    HostScript otpHost(otp);
    otpHost.command("Nbw", c16(2048) + bytes({0x34, 0xC0})); // 0x3480 cannot become 0x34C0
    EXPECT_EQ(otpHost.waitSome().toHex().toStdString(), "2a803400");
}

TEST(GenericWrite, Pic18PanelsTravelRoundByRound) {
    EmulatedBoard bench("PIC18F452");
    auto& chip = bench.board.chip();
    std::mt19937 rng(7);
    std::vector<std::uint8_t> image(32768);
    for (auto& b : image)
        b = std::uint8_t(rng());
    HostScript host(bench);
    const std::uint32_t panels = 4;
    host.command("NXwep", c24(0) + c24(panels + 1));
    std::vector<QByteArray> blocks;
    for (std::uint32_t j = 0; j < 8192; j += 8)
        for (std::uint32_t p = 0; p < panels; ++p)
            blocks.push_back(QByteArray(reinterpret_cast<const char*>(&image[p * 8192 + j]), 8));
    const auto outcome = host.pacedWrite(blocks);
    EXPECT_EQ(outcome.itemsSent, 4096);
    EXPECT_EQ(outcome.lastReply.toStdString(), "@");
    EXPECT_EQ(chip.program18, image);

    // One procedure: the power letter once, the later panels start with "X".
    for (std::uint32_t p = 0; p < panels; ++p) {
        host.command(p == 0 ? "NXrsp" : "Xrsp", c24(p * 8192 + 1) + c24(8192));
        const auto reply = host.collect(8193, 8);
        ASSERT_EQ(reply.size(), 8193);
        EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(&image[p * 8192]), 8192),
                  reply.left(8192));
        EXPECT_EQ(reply.back(), '@');
    }
}

TEST(GenericWrite, Pic18WithoutPanelsAnswersTheOpeningWithTheEndCode) {
    EmulatedBoard bench("PIC18F452");
    HostScript host(bench);
    host.command("NXwep", c24(0) + c24(1));
    EXPECT_EQ(host.collect(1).toStdString(), "@");
}

TEST(GenericWrite, Pic18MorePanelsThanTheChipHasIsAbortedAtTheOpening) {
    EmulatedBoard bench("PIC18F452");
    HostScript host(bench);
    host.command("NXwep", c24(0) + c24(9));
    EXPECT_EQ(host.waitSome().toStdString(), "@A");
    EXPECT_EQ(kindsOf(bench.takeViolations()), std::vector<std::string>{"past-memory"});
}

TEST(GenericWrite, Pic18EepromAndIdConfiguration) {
    EmulatedBoard bench("PIC18F452");
    auto& chip = bench.board.chip();
    HostScript host(bench);
    host.command("NXwed", c24(1) + c24(256));
    std::vector<QByteArray> items;
    for (int i = 0; i < 256; ++i)
        items.push_back(QByteArray(1, char(i)));
    EXPECT_EQ(host.pacedWrite(items).lastReply.toStdString(), "@");
    EXPECT_EQ(chip.eeprom[0x5A], 0x5A);

    host.command("NXwec", c24(11) + c24(11));
    std::vector<QByteArray> idConfig = {bytes({1, 2}), bytes({3, 4}), bytes({5, 6}), bytes({7, 8})};
    for (std::uint16_t v : {0x2200, 0x0E0F, 0x0100, 0x0081, 0xC00F, 0xE00F, 0x400F})
        idConfig.push_back(bytes({v & 0xFF, v >> 8}));
    EXPECT_EQ(host.pacedWrite(idConfig).lastReply.toStdString(), "@");
    EXPECT_EQ(chip.id18, (std::array<std::uint8_t, 8>{1, 2, 3, 4, 5, 6, 7, 8}));
    host.command("NXrsp", c24(0x300001) + c24(256));
    const auto config = host.collect(257, 8);
    EXPECT_EQ(config.left(14).toHex().toStdString(), "0022"
                                                     "0f0e"
                                                     "0001"
                                                     "8100"
                                                     "0fc0"
                                                     "0fe0"
                                                     "0f40");
}
