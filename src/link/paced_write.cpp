#include "paced_write.h"

#include "core/session.h"

#include <optional>

namespace tavrin {

namespace {

// A failure report or an abort reply leaves the board as one burst, but may reach the host in
// pieces (a USB adapter hands bytes over in frames). When what arrived could be the start of
// one, the rest gets this long to follow.
constexpr int PieceGraceMs = 50;

using Kind = PacedWriteOutcome::Kind;

class AnswerReader {
  public:
    AnswerReader(BoardChannel& channel, const PacedWriteRules& rules)
        : channel_(channel), rules_(rules) {}

    // Takes the answer waiting, completing a report (or, where a request is due, an abort)
    // that is still arriving.
    std::vector<std::uint8_t> take(bool requestDue) {
        std::vector<std::uint8_t> answer = channel_.takeReply();
        const std::size_t want = bytesStillExpected(answer, requestDue);
        if (want > answer.size()) {
            channel_.waitForBytes(qint64(want - answer.size()), WaitLimit::total(PieceGraceMs));
            const auto& more = channel_.takeReply();
            if (more.empty()) learnRequestByte(answer);
            answer.insert(answer.end(), more.begin(), more.end());
            channel_.session().link.ReceiveBuffer = answer;
        } else if (requestDue) {
            learnRequestByte(answer);
        }
        return answer;
    }

    bool isReport(const std::vector<std::uint8_t>& a) const {
        switch (rules_.report) {
        case ReportRule::StarFirst:
            return a.size() > 1 && a[0] == wire::FailureReport;
        case ReportRule::ExactlyFour:
            return a.size() == 4;
        case ReportRule::None:
            break;
        }
        return false;
    }

    bool isAbort(const std::vector<std::uint8_t>& a) const {
        switch (rules_.abort) {
        case AbortRule::EndCodeFirst:
            return a.size() > 1 && a[0] == wire::EndCode;
        case AbortRule::EndCodeThird:
            // Two bytes cannot be a request: the write stops rather than guess.
            return a.size() == 2 || (a.size() > 2 && a[2] == wire::EndCode);
        case AbortRule::None:
            break;
        }
        return false;
    }

  private:
    std::size_t bytesStillExpected(const std::vector<std::uint8_t>& a, bool requestDue) const {
        if (a.empty()) return 0;
        if (rules_.report != ReportRule::None && a[0] == wire::FailureReport && a.size() < 4 &&
            !starIsRequest_)
            return 4;
        if (!requestDue) return 0;
        if (rules_.abort == AbortRule::EndCodeFirst && a.size() == 1 && a[0] == wire::EndCode &&
            !endCodeIsRequest_)
            return 2;
        if (rules_.abort == AbortRule::EndCodeThird && a.size() < 3 && mayBeginAbort12(a)) return 3;
        return 0;
    }

    // The 12-bit abort begins with the high byte of the word read back (0x00-0x0F) and arrives
    // a byte at a time on a slow line: a lone byte other than the board's own request byte gets
    // the grace to become one. The request byte is learnt from the first lone byte that stood
    // alone, so a board whose request byte looks like such a high byte pays the grace once.
    bool mayBeginAbort12(const std::vector<std::uint8_t>& a) const {
        if (a.size() == 2) return true;
        if (requestByte_) return a[0] != *requestByte_;
        return a[0] <= 0x0F;
    }

    // A lone byte that nothing followed is this board's request byte: no more grace for it.
    void learnRequestByte(const std::vector<std::uint8_t>& a) {
        if (a.size() != 1) return;
        if (a[0] == wire::FailureReport) starIsRequest_ = true;
        if (a[0] == wire::EndCode) endCodeIsRequest_ = true;
        if (!requestByte_) requestByte_ = a[0];
    }

    BoardChannel& channel_;
    const PacedWriteRules& rules_;
    bool starIsRequest_ = false;
    bool endCodeIsRequest_ = false;
    std::optional<std::uint8_t> requestByte_;
};

PacedWriteOutcome outcome(Kind kind, int itemsSent, std::vector<std::uint8_t> reply = {}) {
    return {kind, itemsSent, std::move(reply)};
}

} // namespace

PacedWriteOutcome runPacedWrite(BoardChannel& channel, int itemCount,
                                const std::function<QByteArray(int)>& item,
                                const PacedWriteRules& rules,
                                const std::function<void(int)>& sent) {
    AnswerReader reader(channel, rules);
    for (int k = 0; k < itemCount; ++k) {
        // The wait for the request lets them run when the request is not there yet.
        channel.pumpEventsIfDue();
        switch (channel.waitForBytes(1, rules.requestLimit)) {
        case WaitResult::PortGone:
            return outcome(Kind::PortGone, k);
        case WaitResult::TimedOut:
            return outcome(Kind::RequestTimedOut, k);
        case WaitResult::Complete:
            break;
        }
        if (!rules.inspectFirstRequestOnly || k == 0) {
            auto answer = reader.take(true);
            if (reader.isReport(answer)) return outcome(Kind::FailureReport, k, std::move(answer));
            if (reader.isAbort(answer)) return outcome(Kind::Abort, k, std::move(answer));
            if (rules.singleByteRequests && answer.size() > 1) {
                const Kind kind = answer[0] == wire::EndCode ? Kind::Abort : Kind::FailureReport;
                return outcome(kind, k, std::move(answer));
            }
        } else {
            channel.takeReply();
        }
        channel.sendData(item(k));
        if (sent) sent(k);
    }
    switch (channel.waitForBytes(1, rules.endLimit)) {
    case WaitResult::PortGone:
        return outcome(Kind::PortGone, itemCount);
    case WaitResult::TimedOut:
        return outcome(Kind::EndTimedOut, itemCount);
    case WaitResult::Complete:
        break;
    }
    auto last = reader.take(false);
    if (endCodeAt(last, 0)) return outcome(Kind::Completed, itemCount, std::move(last));
    if (reader.isReport(last)) return outcome(Kind::FailureReport, itemCount, std::move(last));
    return outcome(Kind::EndCodeMissing, itemCount, std::move(last));
}

} // namespace tavrin
