#include "link/program_size.h"
#include "link_fixture.h"

using namespace tavrin;
using namespace tavrin::test;

namespace {

class Framing : public LinkFixture {
  protected:
    Framing() { port.open(); }
    BoardChannel& channel = link.channel();

    // A board that streams `total` bytes after the first write, stopping after every `block`
    // bytes until an "@" has come (acknowledgements are credits: early ones count).
    void boardStreams(int total, int block) {
        streamTotal = total;
        streamBlock = block;
        port.onWrite = [this](const QByteArray& bytes) {
            if (!streaming) {
                streaming = true;
                sendNextBlock();
                return;
            }
            credits += bytes.count('@');
            acksSeenAt.push_back(int(sent));
            while (credits > 0 && sent < streamTotal) {
                --credits;
                sendNextBlock();
            }
        };
    }
    void sendNextBlock() {
        const int n = std::min(streamBlock, streamTotal - sent);
        port.arrive(QByteArray(n, 'x'), 0.5);
        sent += n;
        // The last byte is the end code; a complete reply needs no further go-ahead.
        if (sent < streamTotal && sent % streamBlock != 0) sendNextBlock();
    }

    int streamTotal = 0, streamBlock = 0, sent = 0, credits = 0;
    bool streaming = false;
    std::vector<int> acksSeenAt;
};

} // namespace

TEST(PowerLetter, OnlyTheExactTextVppGivesLowerCase) {
    EXPECT_EQ(powerLetter(QStringLiteral("VPP")), 'n');
    EXPECT_EQ(powerLetter(QStringLiteral("vpp")), 'N');
    EXPECT_EQ(powerLetter(QStringLiteral("VDD")), 'N');
    EXPECT_EQ(powerLetter(QString()), 'N');
}

TEST(EndCode, IsTestedAtItsPositionOnly) {
    const std::vector<std::uint8_t> reply{0x3F, '@', 0xFF};
    EXPECT_TRUE(endCodeAt(reply, 1));
    EXPECT_FALSE(endCodeAt(reply, 2));
    EXPECT_FALSE(endCodeAt(reply, 3));
}

TEST_F(Framing, LettersAndArgumentBytesAreSpacedByOneMillisecond) {
    session.device.PowerMode = QStringLiteral("VPP");
    channel.sendPowerLetter();
    channel.sendLetters("bd");
    channel.sendByteNoPause(0x0A);
    channel.sendCount16(0x1234);
    channel.sendCount24(0x200001);
    channel.sendData(QByteArray("\x3F\xFF", 2));
    EXPECT_EQ(port.wire(), QByteArray("nbd\x0A\x12\x34\x20\x00\x01\x3F\xFF", 11));
    std::vector<std::int64_t> at;
    for (const auto& w : port.writes)
        at.push_back(w.atUs / 1000);
    // The erase code and a data word are not followed by a pause.
    EXPECT_EQ(at, (std::vector<std::int64_t>{0, 1, 2, 3, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(session.link.SendBuffer, (std::vector<std::uint8_t>{0x3F, 0xFF}));
    EXPECT_EQ(session.link.SplitByte2, 0x20);
    EXPECT_EQ(session.link.SplitByte0, 0x01);
}

TEST_F(Framing, ReplyIsTakenWholeIntoTheReceiveBuffer) {
    port.arrive(QByteArray("\x3F\xFF@extra", 8));
    ASSERT_EQ(channel.waitForBytes(3, WaitLimit::total(3000)), WaitResult::Complete);
    const auto& reply = channel.takeReply();
    EXPECT_EQ(reply.size(), 8u);
    EXPECT_TRUE(endCodeAt(reply, 2));
    EXPECT_EQ(&reply, &session.link.ReceiveBuffer);
}

TEST_F(Framing, TimedWaitEndsOnlyWhenStrictlyMoreThanItsLimitPassed) {
    const struct {
        double arrivesMs;
        WaitResult result;
    } cases[] = {
        {2900, WaitResult::Complete}, {3000, WaitResult::Complete}, {3002, WaitResult::TimedOut}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arrivesMs);
        port.discardInput();
        port.arrive("@", c.arrivesMs);
        const auto start = clock.nowUs();
        EXPECT_EQ(channel.waitForBytes(1, WaitLimit::total(3000)), c.result);
        EXPECT_EQ(session.link.WaitStartTimeUs, start);
        if (c.result == WaitResult::TimedOut) {
            EXPECT_GT(clock.nowUs() - start, 3000000);
            EXPECT_LE(clock.nowUs() - start, 3001000);
        }
        clock.advanceUs(10000000);
    }
}

TEST_F(Framing, WaitWithoutAStepLimitAllowsTenSecondsPerBlock) {
    // Bytes every 6 s keep it going well past 10 s in all; a 10 s silence ends it.
    for (int i = 1; i <= 3; ++i)
        port.arrive("x", 6000.0 * i);
    EXPECT_EQ(channel.waitForBytes(4, WaitLimit::perBlock()), WaitResult::TimedOut);
    EXPECT_GT(clock.nowUs(), 28000000);
    EXPECT_LE(clock.nowUs(), 28001000);
}

TEST_F(Framing, WaitWakesOnDataNotOnAPollInterval) {
    port.arrive("ab", 0.3);
    ASSERT_EQ(channel.waitForBytes(2, WaitLimit::total(3000)), WaitResult::Complete);
    EXPECT_EQ(clock.nowUs(), 300);
}

// A reply that comes a packet at a time (8 bytes every 1.5 ms, as a 57600 baud board paces them)
// lets the window's events run every few milliseconds, not once a packet: that would cost more
// than the packet takes on the wire. A silent board still lets them run while the host waits.
TEST_F(Framing, WindowEventsRunEveryFewMillisecondsOfAWaitNotOncePerPacket) {
    constexpr int Packets = 64;
    for (int k = 1; k <= Packets; ++k)
        port.arrive(QByteArray(8, 'x'), 1.5 * k);
    ASSERT_EQ(channel.waitForBytes(8 * Packets, WaitLimit::total(3000)), WaitResult::Complete);
    EXPECT_EQ(clock.nowUs(), 96000);
    EXPECT_GE(ui.pumpCount, 8);
    EXPECT_LE(ui.pumpCount, 11);

    port.discardInput();
    const int before = ui.pumpCount;
    EXPECT_EQ(channel.waitForBytes(1, WaitLimit::total(200)), WaitResult::TimedOut);
    EXPECT_GE(ui.pumpCount - before, 4);
}

struct AckCase {
    const char* name;
    int total;
    int block;
    AckRule rule;
    std::vector<int> acksAt; // bytes the board had sent when each "@" reached it
};

// Cases print by name in test output.
inline void PrintTo(const AckCase& c, std::ostream* os) {
    *os << c.name;
}

class Acknowledgements : public Framing, public ::testing::WithParamInterface<AckCase> {};

TEST_P(Acknowledgements, GoOutAtEachNewMultipleOfTheBlock) {
    const auto& c = GetParam();
    boardStreams(c.total, c.block);
    channel.sendLetterNoPause('r'); // the command starts the stream
    std::vector<qint64> counts;
    ASSERT_EQ(channel.waitForBytes(c.total, WaitLimit::perBlock(), c.rule,
                                   [&](qint64 n) { counts.push_back(n); }),
              WaitResult::Complete);
    EXPECT_EQ(acksSeenAt, c.acksAt);
    EXPECT_EQ(qint64(channel.takeReply().size()), c.total);
    EXPECT_EQ(counts.back(), c.total);
}

std::vector<int> multiples(int step, int below) {
    std::vector<int> v;
    for (int n = step; n < below; n += step)
        v.push_back(n);
    return v;
}

INSTANTIATE_TEST_SUITE_P(
    Rules, Acknowledgements,
    ::testing::Values(
        // 8 words: one "@" after byte 16, the end code after it.
        AckCase{"eight_words", 17, 16, AckRule::Every16, {16}},
        // 100 words: after bytes 16, 32, ..., 192; none at 0, none at 201.
        AckCase{"hundred_words", 201, 16, AckRule::Every16, multiples(16, 201)},
        AckCase{"pic18_panel", 8193, 8, AckRule::Every8, multiples(8, 8193)},
        // The blank check's go-ahead before the first byte lets the board run one block ahead.
        AckCase{"pic18_from_zero", 9, 8, AckRule::Every8FromZero, {8, 9}},
        AckCase{"no_flow_control", 257, 1 << 20, AckRule::None, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Framing, PortPulledDuringAWaitIsReportedOnceAndClosed) {
    session.link.ProgrammerDetected = true;
    port.arrive("ab", 1);
    clock.advanceUs(2000);
    port.lose();
    EXPECT_EQ(channel.waitForBytes(3, WaitLimit::total(3000)), WaitResult::PortGone);
    EXPECT_EQ(channel.waitForBytes(3, WaitLimit::total(3000)), WaitResult::PortGone);
    EXPECT_TRUE(channel.takeReply().empty());
    channel.sendLetter('N');
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_FALSE(session.link.ProgrammerDetected);
    EXPECT_EQ(port.closes, 1);
    EXPECT_LT(clock.nowUs(), 10000);
}

TEST(SplitProgramSizeOf, CopiesTheSizeAndSplitsIt) {
    Session s;
    s.device.ProgramWordCount = 0x1F40;
    SplitProgramSize(s);
    EXPECT_EQ(s.device.WriteWordCount, 0x1F40);
    EXPECT_EQ(s.device.WriteWordCountHi, 0x1F);
    EXPECT_EQ(s.device.WriteWordCountLo, 0x40);
}
