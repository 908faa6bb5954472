// Board-paced writes against the emulated board: its request bytes, failure reports and aborts
// as the write loop recognises them, also when they arrive in pieces.
#include "core/session.h"
#include "emulator/faults.h"
#include "emusupport/emulated_board.h"
#include "link/board_link.h"
#include "link/paced_write.h"
#include "support/recording_ui.h"

#include <gtest/gtest.h>

#include <ostream>

using namespace tavrin;
using namespace tavrin::test;

namespace {

using Kind = PacedWriteOutcome::Kind;

struct EmulatedPacedCase {
    const char* name;
    const char* letters;
    std::vector<const char*> faults;
    PacedWriteRules rules;
    Kind kind;
    int itemsSent;
};

// Cases print by name in test output.
inline void PrintTo(const EmulatedPacedCase& c, std::ostream* os) {
    *os << c.name;
}

PacedWriteRules rules(ReportRule report, AbortRule abort) {
    PacedWriteRules r;
    r.report = report;
    r.abort = abort;
    return r;
}

constexpr int Items = 6;

class EmulatedPacedWrite : public ::testing::TestWithParam<EmulatedPacedCase> {};

TEST_P(EmulatedPacedWrite, EndsAsTheBoardDecides) {
    const auto& c = GetParam();
    emu::BoardOptions options;
    for (const char* f : c.faults)
        options.faults.add(*emu::parseFault(f));
    EmulatedBoard bench("PIC16F877A", options);
    Session session;
    session.link.ComPortName = QStringLiteral("emulated");
    RecordingUi ui;
    BoardLink link(session, ui, bench.port, bench.clock);
    QString result;
    link.CheckProgrammer(result);
    ASSERT_EQ(result, QStringLiteral("OK"));

    BoardChannel& ch = link.channel();
    ch.discardInput();
    ch.sendPowerLetter();
    ch.sendLetters(c.letters);
    ch.sendCount16(Items);
    const auto start = bench.clock.nowUs();
    const auto out = runPacedWrite(
        ch, Items, [](int k) { return QByteArray(1, char(0x3F)) + char(0x10 + k); }, c.rules);
    EXPECT_EQ(out.kind, c.kind);
    EXPECT_EQ(out.itemsSent, c.itemsSent);
    if (c.kind == Kind::FailureReport) {
        ASSERT_EQ(out.reply.size(), 4u);
        EXPECT_EQ(out.reply[0], '*');
        EXPECT_EQ(out.reply[3], std::uint8_t(c.itemsSent - 1)); // the item that failed
    }
    // Whatever the request byte, a write of six items takes milliseconds, not a grace per item.
    EXPECT_LT(bench.clock.nowUs() - start, 100000);
    link.ClosePort();
}

INSTANTIATE_TEST_SUITE_P(
    Board, EmulatedPacedWrite,
    ::testing::Values(EmulatedPacedCase{"eeprom_written",
                                        "wed",
                                        {},
                                        rules(ReportRule::StarFirst, AbortRule::None),
                                        Kind::Completed,
                                        Items},
                      EmulatedPacedCase{"eeprom_report",
                                        "wed",
                                        {"fail-at=2"},
                                        rules(ReportRule::StarFirst, AbortRule::None),
                                        Kind::FailureReport,
                                        3},
                      EmulatedPacedCase{"eeprom_report_in_pieces",
                                        "wed",
                                        {"fail-at=2", "split=1:5"},
                                        rules(ReportRule::StarFirst, AbortRule::None),
                                        Kind::FailureReport,
                                        3},
                      EmulatedPacedCase{"star_request_byte",
                                        "wed",
                                        {"request=0x2A"},
                                        rules(ReportRule::StarFirst, AbortRule::None),
                                        Kind::Completed,
                                        Items},
                      EmulatedPacedCase{"config_report",
                                        "wec",
                                        {"fail-at=4"},
                                        rules(ReportRule::ExactlyFour, AbortRule::None),
                                        Kind::FailureReport,
                                        5},
                      EmulatedPacedCase{"program_abort",
                                        "wsp",
                                        {"abort-at=3"},
                                        rules(ReportRule::None, AbortRule::EndCodeFirst),
                                        Kind::Abort,
                                        3},
                      EmulatedPacedCase{"program_abort_in_pieces",
                                        "wsp",
                                        {"abort-at=3", "split=1:5"},
                                        rules(ReportRule::None, AbortRule::EndCodeFirst),
                                        Kind::Abort,
                                        3},
                      EmulatedPacedCase{"end_code_request_byte",
                                        "wsp",
                                        {"request=0x40"},
                                        rules(ReportRule::None, AbortRule::EndCodeFirst),
                                        Kind::Completed,
                                        Items}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
