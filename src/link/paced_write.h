// The board-paced write: after the command and its count the board asks for each item (a word,
// an EEPROM location, a PIC18 block) with one request byte; the host answers each request with
// the next item, and after the last one the board's reply begins with the end code. Instead of a
// request the board may send a failure report ("*" and three bytes) or give up (an abort reply
// with "@" where its variant puts it); how each write recognises them is its variant's rule.
#pragma once

#include "board_channel.h"

#include <QByteArray>

#include <cstdint>
#include <functional>
#include <vector>

namespace tavrin {

enum class ReportRule {
    None,        // reports are not recognised: a multi-byte answer counts as a request
    StarFirst,   // more than one byte waiting, the first "*" (EEPROM, PIC18 configuration)
    ExactlyFour, // exactly four bytes waiting (14-bit configuration words, area rewrite)
};

enum class AbortRule {
    None,
    EndCodeFirst, // more than one byte waiting, the first "@" (14-bit and PIC18 program)
    EndCodeThird, // more than one byte waiting, the third "@" (12-bit program stream)
};

struct PacedWriteRules {
    ReportRule report = ReportRule::None;
    AbortRule abort = AbortRule::None;
    // Only the request before the first item is examined (PIC18 program blocks, whose later
    // answers carry nothing the host reads).
    bool inspectFirstRequestOnly = false;
    // A request is one byte: several bytes where a request is due are a report (or, first "@",
    // an abort) even when they match neither rule, so that no failure passes for a request.
    bool singleByteRequests = false;
    WaitLimit requestLimit = WaitLimit::total(WaitLimit::BlockMs);
    WaitLimit endLimit = WaitLimit::total(WaitLimit::BlockMs);
};

struct PacedWriteOutcome {
    enum class Kind {
        Completed,       // the last reply begins with the end code
        EndCodeMissing,  // the last reply begins with something else
        FailureReport,   // the board reported that the last item sent did not program
        Abort,           // the board gave up
        RequestTimedOut, // no request for item `itemsSent`
        EndTimedOut,     // no reply after the last item
        PortGone,        // the port went away (already reported)
    };
    Kind kind = Kind::Completed;
    int itemsSent = 0; // the last item sent is itemsSent - 1 (-1: none was sent)
    // The failure report, the abort reply or the last reply, as received.
    std::vector<std::uint8_t> reply;
};

// Sends itemCount items, item(k) each, one per board request. sent(k) runs as soon as item k has
// gone out (progress): while the board takes the item, not between its request and the answer.
// Window events run while the host waits for a request (at least every few milliseconds). The
// last item sent stays in SendBuffer, the last answer in ReceiveBuffer.
PacedWriteOutcome runPacedWrite(BoardChannel& channel, int itemCount,
                                const std::function<QByteArray(int)>& item,
                                const PacedWriteRules& rules,
                                const std::function<void(int)>& sent = {});

} // namespace tavrin
