// The framing's acknowledgements as the emulated board sees them on the wire.
#include "core/session.h"
#include "emusupport/emulated_board.h"
#include "link/board_link.h"
#include "support/recording_ui.h"

#include <gtest/gtest.h>

#include <ostream>

#include <cstring>

using namespace tavrin;
using namespace tavrin::test;

namespace {

struct WireCase {
    const char* name;
    const char* letters;
    int words;
    std::vector<int> acksAfter; // reply bytes the board had sent when each "@" reached it
};

// Cases print by name in test output.
inline void PrintTo(const WireCase& c, std::ostream* os) {
    *os << c.name;
}

std::vector<int> every16Below(int total) {
    std::vector<int> v;
    for (int n = 16; n < total; n += 16)
        v.push_back(n);
    return v;
}

class AcknowledgementsOnTheWire : public ::testing::TestWithParam<WireCase> {};

TEST_P(AcknowledgementsOnTheWire, OneAtEachNewMultipleOfSixteen) {
    const auto& c = GetParam();
    EmulatedBoard bench("PIC16F877A");
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
    ch.sendCount16(c.words);
    const int total = 2 * c.words + 1;
    ASSERT_EQ(ch.waitForBytes(total, WaitLimit::perBlock(), AckRule::Every16),
              WaitResult::Complete);
    const auto& reply = ch.takeReply();
    ASSERT_EQ(int(reply.size()), total);
    EXPECT_TRUE(endCodeAt(reply, std::size_t(2 * c.words)));

    // Power letter, three letters, two count bytes; every byte the host sends after them is
    // an acknowledgement.
    int commandBytes = 1 + int(std::strlen(c.letters)) + 2;
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

INSTANTIATE_TEST_SUITE_P(Reads, AcknowledgementsOnTheWire,
                         ::testing::Values(WireCase{"eight_words", "rsc", 8, {16}},
                                           WireCase{"hundred_words", "rsp", 100,
                                                    every16Below(201)}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
