// Each fault injection, as the host sees it on the wire.
#include "host_script.h"
#include "protocol_bytes.h"

#include <gtest/gtest.h>

using namespace tavrin::test;

namespace {

emu::BoardOptions withFaults(std::initializer_list<const char*> specs) {
    emu::BoardOptions options;
    for (const char* spec : specs) {
        std::string error;
        auto f = emu::parseFault(spec, &error);
        EXPECT_TRUE(f) << spec << ": " << error;
        if (f) options.faults.add(*f);
    }
    return options;
}

} // namespace

TEST(Faults, IdentificationFaults) {
    struct Case {
        const char* fault;
        std::string reply;
    };
    const Case cases[] = {
        {"short-id", "QZ-WRT400  V6.50\r"},
        {"short-id=6", "QZ-WRT"},
        {"wrong-id", "QZ-WRX400  V6.50\r\n"},
        {"wrong-id=qz-wrt400", "qz-wrt400  V6.50\r\n"},
        {"old-version", "QZ-WRT400  V6.00\r\n"},
        {"old-version=6.49", "QZ-WRT400  V6.49\r\n"},
        {"old-version=x.yz", "QZ-WRT400  Vx.yz\r\n"},
        {"extra@?", std::string("QZ-WRT400  V6.50\r\n\0\0", 20)},
    };
    for (const auto& c : cases) {
        EmulatedBoard bench("PIC16F877A", withFaults({c.fault}));
        HostScript host(bench);
        host.send("?");
        const auto reply = host.collect(20, 0, 3000);
        EXPECT_EQ(reply.toStdString(), c.reply) << c.fault;
    }
}

TEST(Faults, SilentBoardAnswersNothing) {
    EmulatedBoard bench("PIC16F877A", withFaults({"silent"}));
    HostScript host(bench);
    host.send("?");
    EXPECT_TRUE(host.collect(18, 0, 3000).isEmpty());
    host.command("Nbs", c16(8192));
    EXPECT_TRUE(host.idle(10000).isEmpty());
}

TEST(Faults, FailureReportAtItemK) {
    EmulatedBoard bench("PIC16F877A", withFaults({"fail-at=4@wed"}));
    HostScript host(bench);
    host.command("Nwed", c16(8));
    const auto outcome = host.pacedWrite(std::vector<QByteArray>(8, bytes({0x3F, 0x12})));
    // Reported in place of the request for location 5: location 4 failed.
    EXPECT_EQ(outcome.itemsSent, 5);
    EXPECT_EQ(outcome.lastReply.toHex().toStdString(), "2a000004");
    host.idle(200);
    // Only the EEPROM write was named: the configuration write goes through.
    host.command("NwFc", c16(8));
    EXPECT_EQ(host.pacedWrite(std::vector<QByteArray>(8, word(0x3FFF))).lastReply.toStdString(),
              "@");
}

TEST(Faults, AbortAtItemKPerVariant) {
    {
        EmulatedBoard bench("PIC16F877A", withFaults({"abort-at=0"}));
        HostScript host(bench);
        host.command("NwGe", c16(4));
        const auto outcome = host.pacedWrite(std::vector<QByteArray>(4, word(0)));
        EXPECT_EQ(outcome.itemsSent, 0);
        EXPECT_EQ(outcome.lastReply.toStdString(), "@A"); // "@" first: 14-bit and PIC18
    }
    {
        EmulatedBoard bench("PIC16C57", withFaults({"abort-at=3"}));
        HostScript host(bench);
        host.command("Nwpl", c16(2053));
        const auto outcome = host.pacedWrite(std::vector<QByteArray>(2053, word(0x0FFF)));
        EXPECT_EQ(outcome.itemsSent, 3);
        EXPECT_EQ(outcome.lastReply.toHex().toStdString(), "000040"); // "@" third: 12-bit
    }
}

TEST(Faults, WrongEndCodeReplacesEveryEndCode) {
    EmulatedBoard bench("PIC16F877A", withFaults({"end-code=0x23"}));
    HostScript host(bench);
    host.command("Nrsc", c16(8));
    EXPECT_EQ(host.collect(17, 16).back(), '#');
    host.command("Nbd", bytes({0x0A}));
    EXPECT_EQ(host.collect(1).toStdString(), "#");
    host.command("Nbs", c16(8192));
    EXPECT_EQ(host.collect(3).toHex().toStdString(), "3fff23");
    host.command("NwGe", c16(1));
    EXPECT_EQ(host.pacedWrite({word(0)}).lastReply.toStdString(), "#");
}

TEST(Faults, StallAtByteNThenRecovers) {
    EmulatedBoard bench("PIC16F877A", withFaults({"stall=15@rsc"}));
    HostScript host(bench);
    host.command("Nrsc", c16(8));
    EXPECT_EQ(host.collect(16, 0, 10000).size(), 15);
    host.send("***");
    host.idle(100);
    host.port().discardInput();
    host.send("?");
    EXPECT_EQ(host.collect(18).toStdString(), "QZ-WRT400  V6.50\r\n");
    // A stalled board-paced write: no request after the second one.
    EmulatedBoard writes("PIC16F877A", withFaults({"stall=2@wGe"}));
    HostScript host2(writes);
    host2.command("NwGe", c16(8));
    const auto outcome = host2.pacedWrite(std::vector<QByteArray>(8, word(0)));
    EXPECT_TRUE(outcome.timedOut);
    EXPECT_EQ(outcome.itemsSent, 2);
}

TEST(Faults, SplitRepliesArriveInPieces) {
    // A failure report split 1 + 3 is what the host has to piece together.
    EmulatedBoard report("PIC16F877A", [] {
        auto o = withFaults({"split=1:5", "fail-at=0"});
        o.baud = 0;
        return o;
    }());
    HostScript host2(report);
    host2.command("Nwed", c16(2));
    EXPECT_EQ(host2.waitSome().toStdString(), "R");
    report.port.write(bytes({0x3F, 0x01}));
    ASSERT_TRUE(report.port.waitForData(100));
    EXPECT_EQ(report.port.readAll().toStdString(), "*");
    report.clock.sleepMs(20);
    EXPECT_EQ(report.port.readAll().toHex().toStdString(), "000000");
    // Identification in pieces of four bytes, 5 ms apart.
    emu::BoardOptions options = withFaults({"split=4:5@?"});
    options.baud = 0;
    EmulatedBoard id("PIC16F877A", options);
    id.port.open();
    id.port.write("?");
    ASSERT_TRUE(id.port.waitForData(100));
    EXPECT_EQ(id.port.readAll().toStdString(), "QZ-W");
    EXPECT_EQ(HostScript(id).collect(14).toStdString(), "RT400  V6.50\r\n");
    EXPECT_EQ(id.clock.nowUs(), 20000);
}

TEST(Faults, ExtraBytesFollowTheEndCode) {
    EmulatedBoard bench("PIC16F877A", withFaults({"extra=3@bs"}));
    HostScript host(bench);
    host.command("Nbs", c16(8192));
    EXPECT_EQ(host.collect(6).toHex().toStdString(), "3fff40000000");
    host.command("Nrsc", c16(8)); // other commands are not affected
    EXPECT_EQ(host.collect(17, 16).size(), 17);
    EXPECT_TRUE(host.idle(50).isEmpty());
}

TEST(Faults, DelayedReplyAroundTheHostsLimit) {
    for (int delayMs : {2900, 3100}) {
        EmulatedBoard bench("PIC16F877A",
                            withFaults({("delay=" + std::to_string(delayMs) + "@bd").c_str()}));
        HostScript host(bench);
        host.command("Nbd", bytes({0x0A}));
        EXPECT_EQ(host.collect(1, 0, 3000).size(), delayMs < 3000 ? 1 : 0) << delayMs;
    }
}

TEST(Faults, RequestByteMayBeAnything) {
    EmulatedBoard bench("PIC16F877A", withFaults({"request=0x40"}));
    HostScript host(bench);
    host.command("NwGe", c16(2));
    EXPECT_EQ(host.waitSome().toStdString(), "@");
}

TEST(Faults, FaultTextsParseOrSayWhyNot) {
    std::string error;
    auto f = emu::parseFault("stall=15@Xrsp", &error);
    ASSERT_TRUE(f);
    EXPECT_EQ(f->kind, emu::FaultKind::Stall);
    EXPECT_EQ(f->number, 15);
    EXPECT_EQ(f->letters, "Xrsp");
    f = emu::parseFault("split=2:10");
    ASSERT_TRUE(f);
    EXPECT_EQ(f->number, 2);
    EXPECT_EQ(f->gapMs, 10);
    EXPECT_EQ(emu::parseFault("end-code=0x41")->number, 0x41);
    for (const char* bad :
         {"nonsense", "stall", "fail-at=x", "split=0", "end-code=300", "stall=3@"}) {
        error.clear();
        EXPECT_FALSE(emu::parseFault(bad, &error)) << bad;
        EXPECT_FALSE(error.empty()) << bad;
    }
}
