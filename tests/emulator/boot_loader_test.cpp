// The board's boot loader as the firmware update window meets it: entry with "U", word records
// acknowledged with their sum and written into the firmware image, its own range refused, the end
// record starting the new firmware, an interrupted update leaving the board in the loader, the
// loader's faults, and the image as Intel HEX.
#include "emulator/intel_hex.h"
#include "host_script.h"

#include <gtest/gtest.h>

using namespace tavrin::test;

namespace {

QByteArray record(int address, int value) {
    return bytes({address >> 8, address & 0xFF, value >> 8, value & 0xFF});
}

int sum(const QByteArray& r) {
    int s = 0;
    for (char c : r)
        s += std::uint8_t(c);
    return s & 0xFF;
}

emu::BoardOptions withFaults(std::initializer_list<const char*> specs) {
    emu::BoardOptions o;
    for (const char* spec : specs)
        o.faults.add(*emu::parseFault(spec));
    return o;
}

// Sends a record the way the update window does and returns the board's answer (empty: none).
QByteArray sendRecord(EmulatedBoard& bench, HostScript& host, int address, int value) {
    bench.port.write(record(address, value));
    bench.clock.sleepMs(10);
    return host.collect(1, 0, 2000);
}

} // namespace

TEST(BootLoader, RecordsAreAcknowledgedWithTheirSumAndWrittenUntilTheEndRecord) {
    emu::BoardOptions options;
    options.updatedIdentification = "QZ-WRT400  V6.60";
    EmulatedBoard bench("PIC16F877A", options);
    HostScript host(bench);
    host.send("U");
    EXPECT_EQ(host.collect(1), QByteArray("U"));
    EXPECT_TRUE(bench.board.bootLoader().active());

    // The window's own example: word 0x0123 = 0x2F05 is acknowledged with 0x58.
    EXPECT_EQ(sendRecord(bench, host, 0x0123, 0x2F05), bytes({0x58}));
    EXPECT_EQ(sendRecord(bench, host, 0x1FE0, 0x3FFF), bytes({sum(record(0x1FE0, 0x3FFF))}));
    // The loader's own words and anything past program memory are refused with a wrong sum.
    for (int address : {0x1F00, 0x1FDF, 0x1FFF, 0x2007}) {
        const QByteArray answer = sendRecord(bench, host, address, 0x1234);
        ASSERT_EQ(answer.size(), 1) << address;
        EXPECT_NE(std::uint8_t(answer[0]), sum(record(address, 0x1234))) << address;
    }
    // The loader answers "?" with its own 17 bytes, one short of the firmware's identification.
    host.send("?");
    EXPECT_EQ(host.collect(18, 0, 1000), QByteArray("QZ-WRT BOOT V1.0\r"));

    const auto& image = bench.board.bootLoader().image();
    EXPECT_EQ(image.writtenCount(), 2u);
    EXPECT_EQ(image.word(0x0123), 0x2F05);
    EXPECT_FALSE(image.written(0x1F00));

    host.send(bytes({0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_TRUE(host.idle(100).isEmpty());
    EXPECT_FALSE(bench.board.bootLoader().active());
    host.send("?");
    EXPECT_EQ(host.collect(18), QByteArray("QZ-WRT400  V6.60\r\n"));

    // The dump holds exactly the written words, low byte first at twice their address.
    const auto dumped = emu::parseIntelHex(emu::formatIntelHex(image.writtenImage()));
    ASSERT_TRUE(dumped);
    EXPECT_EQ(*dumped,
              (emu::ByteImage{{0x0246, 0x05}, {0x0247, 0x2F}, {0x3FC0, 0xFF}, {0x3FC1, 0x3F}}));
}

TEST(BootLoader, AnInterruptedUpdateLeavesTheBoardInTheLoader) {
    EmulatedBoard bench("PIC16F877A");
    HostScript host(bench);
    host.send("U");
    host.collect(1);
    EXPECT_EQ(sendRecord(bench, host, 0x0000, 0x2805), bytes({0x2D}));
    // A record cut short is dropped after half a second of silence, and minutes of silence do
    // not bring the firmware back.
    host.send(bytes({0x00, 0x01}));
    EXPECT_TRUE(host.idle(600).isEmpty());
    host.idle(60000);
    EXPECT_TRUE(bench.board.bootLoader().active());
    // The main link's identification gets the loader's short answer, never a detection; its
    // re-identification makes one record the loader refuses.
    host.send("?");
    EXPECT_EQ(host.collect(18, 0, 3000).size(), 17);
    host.send("***?");
    EXPECT_EQ(host.collect(18, 0, 3000), bytes({~sum("***?") & 0xFF}));
    // A new update starts over.
    host.send("U");
    EXPECT_EQ(host.collect(1), QByteArray("U"));
    EXPECT_EQ(sendRecord(bench, host, 0x0001, 0x0000), bytes({0x01}));
    EXPECT_EQ(bench.board.bootLoader().image().writtenCount(), 2u);
}

TEST(BootLoader, FaultsAtTheEntryAndAtARecord) {
    struct Case {
        const char* fault;
        QByteArray entryAnswer;
        bool entered;
        int failingRecord; // -1: every record answered right
        bool silent;
    };
    const Case cases[] = {
        {"boot-no-entry", {}, false, -1, false},
        {"boot-entry-byte=0x41", "A", true, -1, false},
        {"boot-bad-ack=2", "U", true, 2, false},
        {"boot-silent-at=1", "U", true, 1, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fault);
        EmulatedBoard bench("PIC16F877A", withFaults({c.fault}));
        HostScript host(bench);
        host.send("U");
        EXPECT_EQ(host.collect(1, 0, 5000), c.entryAnswer);
        EXPECT_EQ(bench.board.bootLoader().active(), c.entered);
        if (!c.entered) continue;
        for (int k = 0; k < 4; ++k) {
            const QByteArray answer = sendRecord(bench, host, k, 0x3000 + k);
            if (k != c.failingRecord) {
                EXPECT_EQ(answer, bytes({sum(record(k, 0x3000 + k))})) << k;
                EXPECT_TRUE(bench.board.bootLoader().image().written(std::uint32_t(k)));
            } else {
                if (c.silent)
                    EXPECT_TRUE(answer.isEmpty());
                else
                    EXPECT_EQ(answer, bytes({~sum(record(k, 0x3000 + k)) & 0xFF}));
                EXPECT_FALSE(bench.board.bootLoader().image().written(std::uint32_t(k)));
            }
        }
    }
}
