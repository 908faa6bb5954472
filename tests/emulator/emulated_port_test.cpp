// The in-process transport on virtual time: waits end when bytes arrive at the paced line rate,
// time-outs cost no real time, and a closed port hears nothing.
#include "host_script.h"

#include <gtest/gtest.h>

using namespace tavrin::test;

TEST(EmulatedPort, WaitEndsWhenTheReplyArrivesAtTheLineRate) {
    EmulatedBoard bench("PIC16F877A"); // 57600 baud: 173.6 us per byte
    auto& port = bench.port;
    ASSERT_TRUE(port.open().ok());
    port.write("?");
    const auto start = bench.clock.nowUs();
    int wakeUps = 0;
    while (port.bytesWaiting() < 18 && port.waitForData(3000))
        ++wakeUps;
    ASSERT_EQ(port.bytesWaiting(), 18);
    EXPECT_GE(wakeUps, 1);
    // The "?" and the 18 reply bytes each take one byte time on the line.
    EXPECT_NEAR(double(bench.clock.nowUs() - start), 19 * 173.6, 2.0);
}

TEST(EmulatedPort, UnpacedReplyArrivesInOneWake) {
    emu::BoardOptions options;
    options.baud = 0;
    EmulatedBoard bench("PIC16F877A", options);
    auto& port = bench.port;
    port.open();
    port.write("?");
    EXPECT_TRUE(port.waitForData(3000));
    EXPECT_EQ(port.readAll(), QByteArray("QZ-WRT400  V6.50\r\n"));
    EXPECT_EQ(bench.clock.nowUs(), 0);
}

TEST(EmulatedPort, TimeOutAdvancesTheVirtualClockByTheWholeWait) {
    EmulatedBoard bench("PIC16F877A");
    bench.port.open();
    bench.port.write("*");
    EXPECT_FALSE(bench.port.waitForData(3000));
    EXPECT_EQ(bench.clock.nowUs(), 3000000);
    EXPECT_EQ(bench.port.bytesWaiting(), 0);
}

TEST(EmulatedPort, ClosedPortLosesWhatArrivesAndRefusesWrites) {
    EmulatedBoard bench("PIC16F877A");
    auto& port = bench.port;
    port.open();
    port.write("?");
    port.close();
    bench.clock.sleepMs(10);
    EXPECT_FALSE(port.write("?"));
    port.open();
    EXPECT_EQ(port.bytesWaiting(), 0);
    EXPECT_EQ(port.openCount(), 2);
}

TEST(EmulatedPort, DiscardInputDropsOnlyWhatHasArrived) {
    EmulatedBoard bench("PIC16F877A");
    auto& port = bench.port;
    port.open();
    port.write("?");
    bench.clock.advanceUs(173 * 10); // the "?" and about eight reply bytes are through
    port.discardInput();
    const auto rest = HostScript(bench).collect(18, 0, 100);
    EXPECT_GT(rest.size(), 0);
    EXPECT_LT(rest.size(), 18);
    EXPECT_TRUE(rest.endsWith("\r\n"));
}

TEST(EmulatedPort, RefusedOpenReportsTheError) {
    EmulatedBoard bench("PIC16F877A");
    bench.port.refuseOpen(tavrin::PortError::InUse, QStringLiteral("busy"));
    const auto status = bench.port.open();
    EXPECT_EQ(status.error, tavrin::PortError::InUse);
    EXPECT_FALSE(bench.port.isOpen());
}

TEST(EmulatedPort, CountsBytesEachWay) {
    EmulatedBoard bench("PIC16F877A");
    HostScript host(bench);
    host.send("***");
    host.send("?");
    host.collect(18);
    EXPECT_EQ(bench.board.stats().bytesToBoard, 4u);
    EXPECT_EQ(bench.board.stats().bytesToHost, 18u);
    EXPECT_EQ(bench.board.stats().wireTime(57600), 22 * emu::byteTime(57600));
}
