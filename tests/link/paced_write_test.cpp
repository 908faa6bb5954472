#include "link/paced_write.h"
#include "link_fixture.h"

#include <map>

using namespace tavrin;
using namespace tavrin::test;

namespace {

using Kind = PacedWriteOutcome::Kind;

// What the board sends before item k (k == item count: after the last item). Each piece
// arrives `ms` after the previous one.
struct Piece {
    QByteArray bytes;
    double ms = 0.2;
};
using Script = std::map<int, std::vector<Piece>>;

constexpr int Items = 5;

QByteArray itemBytes(int k) {
    return QByteArray(1, char(0x30 + k)) + char(0xA0 + k);
}

struct PacedCase {
    const char* name;
    PacedWriteRules rules;
    Script script;      // answers that differ from a plain request ("R") or the end code
    QByteArray request; // the board's request byte
    Kind kind;
    int itemsSent;
};

// Cases print by name in test output.
inline void PrintTo(const PacedCase& c, std::ostream* os) {
    *os << c.name;
}

PacedWriteRules rules(ReportRule report, AbortRule abort, bool firstOnly = false) {
    PacedWriteRules r;
    r.report = report;
    r.abort = abort;
    r.inspectFirstRequestOnly = firstOnly;
    return r;
}

class PacedWrite : public LinkFixture, public ::testing::WithParamInterface<PacedCase> {
  protected:
    PacedWrite() { port.open(); }

    // Answers the command and every item by the script.
    void boardFollows(const Script& script, const QByteArray& request) {
        port.onWrite = [this, script, request](const QByteArray& bytes) {
            if (bytes != "w") received.push_back(bytes);
            const int k = int(received.size());
            auto it = script.find(k);
            if (it != script.end()) {
                for (const auto& piece : it->second)
                    port.arrive(piece.bytes, piece.ms);
            } else {
                port.arrive(k < Items ? request : QByteArray("@"));
            }
        };
    }

    PacedWriteOutcome run(const PacedWriteRules& r, std::vector<int>* progress = nullptr) {
        link.channel().sendLetterNoPause('w');
        return runPacedWrite(link.channel(), Items, itemBytes, r, [progress](int k) {
            if (progress) progress->push_back(k);
        });
    }

    std::vector<QByteArray> received;
};

} // namespace

TEST_F(PacedWrite, SendsOneItemPerRequestAndEndsOnTheEndCode) {
    boardFollows({}, "R");
    std::vector<int> progress;
    const auto out = run(PacedWriteRules{}, &progress);
    EXPECT_EQ(out.kind, Kind::Completed);
    EXPECT_EQ(out.itemsSent, Items);
    ASSERT_EQ(received.size(), std::size_t(Items));
    for (int k = 0; k < Items; ++k)
        EXPECT_EQ(received[k], itemBytes(k));
    EXPECT_EQ(progress, (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(session.link.SendBuffer, (std::vector<std::uint8_t>{0x34, 0xA4}));
    EXPECT_EQ(out.reply, (std::vector<std::uint8_t>{'@'}));
    // The board sets the pace: no pause after a word, no poll interval in between.
    EXPECT_LT(clock.nowUs(), 2000);
}

TEST_P(PacedWrite, RecognisesReportsAndAbortsByItsRules) {
    const auto& c = GetParam();
    boardFollows(c.script, c.request);
    const auto out = run(c.rules);
    EXPECT_EQ(out.kind, c.kind);
    EXPECT_EQ(out.itemsSent, c.itemsSent);
    EXPECT_EQ(int(received.size()), c.itemsSent);
    if (c.itemsSent > 0) {
        EXPECT_EQ(session.link.SendBuffer,
                  (std::vector<std::uint8_t>{std::uint8_t(0x30 + c.itemsSent - 1),
                                             std::uint8_t(0xA0 + c.itemsSent - 1)}));
    }
    // A lone request byte that looks like the start of a report costs one grace period at most.
    EXPECT_LT(clock.nowUs(), 100000);
}

INSTANTIATE_TEST_SUITE_P(
    Variants, PacedWrite,
    ::testing::Values(PacedCase{"eeprom_report",
                                rules(ReportRule::StarFirst, AbortRule::None),
                                {{2, {{"*\x12\x34\x02"}}}},
                                "R",
                                Kind::FailureReport,
                                2},
                      PacedCase{"eeprom_report_in_pieces",
                                rules(ReportRule::StarFirst, AbortRule::None),
                                {{2, {{"*"}, {"\x12\x34\x02", 5}}}},
                                "R",
                                Kind::FailureReport,
                                2},
                      PacedCase{"eeprom_two_bytes_not_a_report",
                                rules(ReportRule::StarFirst, AbortRule::None),
                                {{2, {{"xy"}}}},
                                "R",
                                Kind::Completed,
                                Items},
                      PacedCase{"star_as_request_byte",
                                rules(ReportRule::StarFirst, AbortRule::None),
                                {},
                                "*",
                                Kind::Completed,
                                Items},
                      PacedCase{"report_before_the_first_item",
                                rules(ReportRule::StarFirst, AbortRule::None),
                                {{0, {{"*abc"}}}},
                                "R",
                                Kind::FailureReport,
                                0},
                      PacedCase{"report_after_the_last_item",
                                rules(ReportRule::StarFirst, AbortRule::None),
                                {{Items, {{"*abc"}}}},
                                "R",
                                Kind::FailureReport,
                                Items},
                      PacedCase{"config_three_bytes_are_a_request",
                                rules(ReportRule::ExactlyFour, AbortRule::None),
                                {{1, {{"abc"}}}},
                                "R",
                                Kind::Completed,
                                Items},
                      PacedCase{"config_four_bytes_are_a_report",
                                rules(ReportRule::ExactlyFour, AbortRule::None),
                                {{3, {{"abcd"}}}},
                                "R",
                                Kind::FailureReport,
                                3},
                      PacedCase{"program_report_not_recognised",
                                rules(ReportRule::None, AbortRule::EndCodeFirst),
                                {{1, {{"*abc"}}}},
                                "R",
                                Kind::Completed,
                                Items},
                      PacedCase{"abort_14bit",
                                rules(ReportRule::None, AbortRule::EndCodeFirst),
                                {{3, {{"@A"}}}},
                                "R",
                                Kind::Abort,
                                3},
                      PacedCase{"abort_14bit_in_pieces",
                                rules(ReportRule::None, AbortRule::EndCodeFirst),
                                {{3, {{"@"}, {"A", 5}}}},
                                "R",
                                Kind::Abort,
                                3},
                      PacedCase{"end_code_as_request_byte",
                                rules(ReportRule::None, AbortRule::EndCodeFirst),
                                {},
                                "@",
                                Kind::Completed,
                                Items},
                      PacedCase{"abort_12bit",
                                rules(ReportRule::None, AbortRule::EndCodeThird),
                                {{1, {{"\x0F\xFF@"}}}},
                                "R",
                                Kind::Abort,
                                1},
                      PacedCase{"12bit_two_bytes_stop_the_write",
                                rules(ReportRule::None, AbortRule::EndCodeThird),
                                {{1, {{"\x0F\xFF"}}}},
                                "R",
                                Kind::Abort,
                                1},
                      PacedCase{"pic18_opening_abort",
                                rules(ReportRule::None, AbortRule::EndCodeFirst, true),
                                {{0, {{"@A"}}}},
                                "R",
                                Kind::Abort,
                                0},
                      PacedCase{"pic18_block_answers_not_examined",
                                rules(ReportRule::None, AbortRule::EndCodeFirst, true),
                                {{2, {{"@A"}}}},
                                "R",
                                Kind::Completed,
                                Items},
                      PacedCase{"end_code_missing",
                                PacedWriteRules{},
                                {{Items, {{"X@"}}}},
                                "R",
                                Kind::EndCodeMissing,
                                Items}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PacedWrite, NoRequestWithinTheLimitStopsAtThatItem) {
    boardFollows({{2, {}}}, "R");
    const auto out = run(PacedWriteRules{});
    EXPECT_EQ(out.kind, Kind::RequestTimedOut);
    EXPECT_EQ(out.itemsSent, 2);
    EXPECT_GT(clock.nowUs(), 10000000);
    EXPECT_LT(clock.nowUs(), 10100000);
}

TEST_F(PacedWrite, NoEndCodeWithinTheLimit) {
    boardFollows({{Items, {}}}, "R");
    EXPECT_EQ(run(PacedWriteRules{}).kind, Kind::EndTimedOut);
}

TEST_F(PacedWrite, PortPulledMidWriteEndsItAtOnce) {
    port.onWrite = [this](const QByteArray& bytes) {
        received.push_back(bytes);
        if (received.size() == 3) {
            port.lose();
        } else {
            port.arrive("R");
        }
    };
    const auto out = run(PacedWriteRules{});
    EXPECT_EQ(out.kind, Kind::PortGone);
    EXPECT_EQ(out.itemsSent, 2);
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_LT(clock.nowUs(), 100000);
}
