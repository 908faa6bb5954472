// The board's side of flow control: "@" credits after every full block (16 bytes on 12/14-bit
// replies, 8 on PIC18 reads, none on PIC18 EEPROM reads), never running ahead, and recovery from
// abandoned or unknown commands.
#include "host_script.h"
#include "protocol_bytes.h"

#include <gtest/gtest.h>

using namespace tavrin::test;

namespace {

// Collects a reply, noting at which counts the board stopped to wait for an acknowledgement.
struct Stops {
    std::vector<int> counts;
    QByteArray reply;
};

Stops collectNotingStops(EmulatedBoard& bench, int total, int block) {
    Stops out;
    for (;;) {
        // Far longer than the line needs: the board must be waiting by then.
        bench.clock.sleepMs(200);
        const auto waiting = int(bench.port.bytesWaiting());
        if (waiting >= total) break;
        out.counts.push_back(waiting);
        if (waiting % block != 0 || out.counts.size() > 1000) break;
        bench.port.write("@");
    }
    out.reply = bench.port.readAll();
    return out;
}

} // namespace

TEST(FlowControl, EightWordsNeedOneAcknowledgementAfterByte16) {
    EmulatedBoard bench("PIC16F877A");
    HostScript host(bench);
    host.command("Nrsp", c16(8));
    const auto stops = collectNotingStops(bench, 17, 16);
    EXPECT_EQ(stops.counts, std::vector<int>{16});
    EXPECT_EQ(stops.reply.size(), 17);
    EXPECT_EQ(stops.reply.back(), '@');
}

TEST(FlowControl, HundredWordsNeedTwelveAcknowledgements) {
    EmulatedBoard bench("PIC16F877A");
    HostScript host(bench);
    host.command("Nrsp", c16(100));
    const auto stops = collectNotingStops(bench, 201, 16);
    std::vector<int> expected;
    for (int c = 16; c <= 192; c += 16)
        expected.push_back(c);
    EXPECT_EQ(stops.counts, expected);
    EXPECT_EQ(stops.reply.size(), 201);

    EmulatedBoard again("PIC16F877A"); // and the host's own rule sends exactly those twelve
    HostScript host2(again);
    host2.command("Nrsp", c16(100));
    EXPECT_EQ(host2.collect(201, 16).size(), 201);
    EXPECT_EQ(host2.acks, 12);
}

TEST(FlowControl, EarlyAcknowledgementsDoNotLetTheBoardRunMoreThanOneBlockAhead) {
    EmulatedBoard bench("PIC16F877A");
    HostScript host(bench);
    host.command("Nrsp", c16(100));
    host.send("@@@"); // three acknowledgements before any data
    const auto stops = collectNotingStops(bench, 201, 16);
    ASSERT_FALSE(stops.counts.empty());
    EXPECT_EQ(stops.counts.front(), 32);
    EXPECT_EQ(kindsOf(bench.takeViolations()), std::vector<std::string>{"unasked-ack"});
}

TEST(FlowControl, Pic18BlocksOfEightWithDuplicateAndEarlyAcknowledgements) {
    EmulatedBoard bench("PIC18F452");
    HostScript host(bench);
    host.command("NXrsp", c24(0x300001) + c24(256));
    // The blank check's rhythm: an "@" at every poll that finds a multiple of 8, zero included.
    const auto deadline = bench.clock.nowUs() + 10'000'000;
    while (bench.port.bytesWaiting() < 257 && bench.clock.nowUs() < deadline) {
        if (bench.port.bytesWaiting() % 8 == 0) {
            bench.clock.sleepMs(1);
            bench.port.write("@");
        }
        bench.port.waitForData(5);
    }
    const auto reply = bench.port.readAll();
    ASSERT_EQ(reply.size(), 257);
    EXPECT_EQ(reply.back(), '@');
}

TEST(FlowControl, Pic18PanelStopsAfterEveryEightBytes) {
    EmulatedBoard bench("PIC18F252");
    HostScript host(bench);
    host.command("NXrsp", c24(1) + c24(64));
    const auto stops = collectNotingStops(bench, 65, 8);
    EXPECT_EQ(stops.counts, (std::vector<int>{8, 16, 24, 32, 40, 48, 56, 64}));
}

TEST(FlowControl, Pic18ProcedureSendsItsPowerLetterOnceThenCommandsStartingX) {
    EmulatedBoard bench("PIC18F452");
    HostScript host(bench);
    host.command("NXrsp", c24(1) + c24(16));
    EXPECT_EQ(host.collect(17, 8).size(), 17);
    // The second panel of the same procedure: no power letter, the board keeps the mode.
    host.command("Xrsp", c24(0x2001) + c24(16));
    const auto reply = host.collect(17, 8);
    ASSERT_EQ(reply.size(), 17);
    EXPECT_EQ(reply.back(), '@');
}

TEST(Recovery, XBeforeAnyPowerLetterIsIgnored) {
    EmulatedBoard bench("PIC18F452");
    HostScript host(bench);
    host.send("X");
    host.idle(100);
    host.send("?");
    EXPECT_EQ(host.collect(18).toStdString(), "QZ-WRT400  V6.50\r\n");
    EXPECT_EQ(kindsOf(bench.takeViolations()), std::vector<std::string>{"missing-power-letter"});
}

TEST(FlowControl, Pic18EepromReadNeedsNoAcknowledgement) {
    EmulatedBoard bench("PIC18F8720");
    HostScript host(bench);
    host.command("NXrsd", c24(1) + c24(1024));
    EXPECT_EQ(host.collect(1025, 0).size(), 1025);
}

TEST(Recovery, AnyOtherByteDuringAReplyEndsItAndIsReadAgain) {
    EmulatedBoard bench("PIC16F877A");
    HostScript host(bench);
    host.command("Nrsp", c16(8192));
    EXPECT_EQ(host.collect(16).size(), 16); // the board now waits for "@"
    host.send("***");
    host.idle(100);
    host.send("?");
    EXPECT_EQ(host.collect(18).toStdString(), "QZ-WRT400  V6.50\r\n");
    EXPECT_EQ(kindsOf(bench.takeViolations()), std::vector<std::string>{"missing-ack"});
}

TEST(Recovery, UnknownLettersAreDroppedAndTheNextCommandIsRead) {
    EmulatedBoard bench("PIC16F877A");
    HostScript host(bench);
    host.command("NZ");
    host.command("Nr");
    host.command("N");
    host.command("Nbs", c16(4));
    EXPECT_EQ(host.collect(3).toHex().toStdString(), "3fff40");
    host.command("N", bytes({0x00, 0x08})); // a power letter, then bytes that are no letters
    EXPECT_TRUE(host.idle(10000).isEmpty());
    host.send("?");
    EXPECT_EQ(host.collect(18).size(), 18);
    // "Z" after the power letter, the lone power letter before "N b s", and the two bytes that
    // are no letters.
    EXPECT_EQ(kindsOf(bench.takeViolations()),
              (std::vector<std::string>{"stray-byte", "repeated-power-letter", "stray-byte",
                                        "stray-byte"}));
}

TEST(Recovery, UnfinishedCommandReturnsToIdleAfterSilence) {
    EmulatedBoard bench("PIC12F675");
    HostScript host(bench);
    host.command("Nbw"); // a single-word write left without its arguments
    EXPECT_TRUE(host.idle(3000).isEmpty());
    host.send("***");
    host.idle(100);
    host.send("?");
    EXPECT_EQ(host.collect(18).toStdString(), "QZ-WRT400  V6.50\r\n");
    EXPECT_EQ(bench.board.chip().program.back(), 0x3480); // nothing was programmed
}

TEST(Recovery, WithoutIdleResetTheStarsBecomeArgumentsAsOnTheRealBoard) {
    emu::BoardOptions options;
    options.idleReset = 0;
    EmulatedBoard bench("PIC16F877A", options);
    HostScript host(bench);
    host.command("Nbr"); // the count is missing
    host.idle(3000);
    host.send("***"); // two stars complete the count, the third ends the 3-byte reply's wait
    host.idle(100);
    host.port().discardInput();
    host.send("?");
    EXPECT_EQ(host.collect(18).toStdString(), "QZ-WRT400  V6.50\r\n");
    // The stars made a count of 0x2A2A: a word far past the chip's program memory.
    EXPECT_EQ(kindsOf(bench.takeViolations()), std::vector<std::string>{"past-memory"});
}

TEST(PacedWrite, OneRequestPerWordAndNothingBeforeIt) {
    EmulatedBoard bench("PIC16F84A");
    bench.board.transcript().keep(true);
    HostScript host(bench);
    host.command("Nwef", c16(3));
    const auto outcome = host.pacedWrite({word(0x2801), word(0x3000), word(0x0008)});
    EXPECT_EQ(outcome.lastReply.toStdString(), "@");
    EXPECT_EQ(bench.board.transcript().all(emu::Direction::ToHost),
              (std::vector<std::uint8_t>{'R', 'R', 'R', '@'}));
}
