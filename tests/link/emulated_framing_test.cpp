// The framing's acknowledgements as the emulated board sees them on the wire.
#include "core/session.h"
#include "emusupport/emulated_board.h"
#include "link/board_link.h"
#include "support/recording_ui.h"

#include <gtest/gtest.h>

#include <cstring>
#include <ostream>

using namespace tavrin;
using namespace tavrin::test;

namespace {

struct WireCase {
    const char* name;
    const char* part;
    const char* letters; // after the power letter
    bool pic18;          // 24-bit start 1 and count, one byte per location; else a 16-bit count
    int count;           // words (12/14-bit) or bytes (PIC18)
    AckRule acks;
    std::vector<int> acksAfter; // reply bytes the board had sent when each "@" reached it
};

// Cases print by name in test output.
inline void PrintTo(const WireCase& c, std::ostream* os) {
    *os << c.name;
}

std::vector<int> multiplesBelow(int step, int total) {
    std::vector<int> v;
    for (int n = step; n < total; n += step)
        v.push_back(n);
    return v;
}

class AcknowledgementsOnTheWire : public ::testing::TestWithParam<WireCase> {};

TEST_P(AcknowledgementsOnTheWire, OneAtEachNewMultipleOfTheBlock) {
    const auto& c = GetParam();
    EmulatedBoard bench(c.part);
    Session session;
    session.link.ComPortName = QStringLiteral("emulated");
    RecordingUi ui;
    BoardLink link(session, ui, bench.port, bench.clock);
    QString result;
    link.CheckProgrammer(result);
    ASSERT_EQ(result, QStringLiteral("OK"));

    auto& transcript = bench.board.transcript();
    transcript.keep(true);
    BoardChannel& ch = link.channel();
    ch.discardInput();
    ch.sendPowerLetter();
    ch.sendLetters(c.letters);
    int commandBytes = 1 + int(std::strlen(c.letters));
    int total = 0;
    if (c.pic18) {
        ch.sendCount24(1);
        ch.sendCount24(c.count);
        commandBytes += 6;
        total = c.count + 1;
    } else {
        ch.sendCount16(c.count);
        commandBytes += 2;
        total = 2 * c.count + 1;
    }
    ASSERT_EQ(ch.waitForBytes(total, WaitLimit::perBlock(), c.acks), WaitResult::Complete);
    const auto& reply = ch.takeReply();
    ASSERT_EQ(int(reply.size()), total);
    EXPECT_TRUE(endCodeAt(reply, std::size_t(total - 1)));

    // Every byte the host sent after its command is an acknowledgement.
    std::vector<int> acksAfter;
    int replied = 0;
    for (const auto& e : transcript.entries()) {
        if (e.direction == emu::Direction::ToHost) replied += int(e.bytes.size());
        if (e.direction != emu::Direction::ToBoard) continue;
        for (auto byte : e.bytes) {
            if (commandBytes > 0) {
                --commandBytes;
                continue;
            }
            EXPECT_EQ(byte, '@');
            acksAfter.push_back(replied);
        }
    }
    EXPECT_EQ(acksAfter, c.acksAfter);
    link.ClosePort();
}

INSTANTIATE_TEST_SUITE_P(
    Reads, AcknowledgementsOnTheWire,
    ::testing::Values(
        // 8 words: one "@" after byte 16, then the end code as byte 17.
        WireCase{"eight_words", "PIC16F877A", "rsc", false, 8, AckRule::Every16, {16}},
        // 100 words (201 bytes): after bytes 16, 32, ..., 192; none at 0, none at 201.
        WireCase{"hundred_words", "PIC16F877A", "rsp", false, 100, AckRule::Every16,
                 multiplesBelow(16, 201)},
        WireCase{"pic18_panel", "PIC18F452", "Xrsp", true, 8192, AckRule::Every8,
                 multiplesBelow(8, 8193)},
        WireCase{"pic18_eeprom", "PIC18F452", "Xrsd", true, 256, AckRule::None, {}}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
