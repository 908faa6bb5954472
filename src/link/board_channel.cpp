#include "board_channel.h"

#include "core/clock.h"
#include "core/operator_ui.h"
#include "core/session.h"
#include "core/utilities.h"
#include "firmware_label.h"
#include "port_messages.h"

#include <algorithm>

namespace tavrin {

namespace {
// A wait wakes at least this often to let window events run, even with no data.
constexpr int EventSliceMs = 50;
// Window events that ran this recently need not run again before the next wait.
constexpr std::int64_t PumpIntervalUs = 10000;
} // namespace

char powerLetter(const QString& powerMode) {
    return powerMode == QLatin1String("VPP") ? 'n' : 'N';
}

bool endCodeAt(const std::vector<std::uint8_t>& reply, std::size_t pos) {
    return pos < reply.size() && reply[pos] == wire::EndCode;
}

BoardChannel::BoardChannel(Session& session, OperatorUi& ui, SerialPort& port, Clock& clock)
    : session_(session), ui_(ui), port_(port), clock_(clock) {}

PortStatus BoardChannel::openPort() {
    if (port_.isOpen()) return {};
    port_.setPortName(session_.link.ComPortName);
    PortStatus status = port_.open();
    if (status.ok()) lossReported_ = false;
    return status;
}

bool BoardChannel::portUsable() {
    const bool lost = port_.status().error == PortError::Lost;
    if (port_.isOpen() && !lost) return true;
    if (lost && !lossReported_) reportLoss();
    return false;
}

bool BoardChannel::lossFoundNow() {
    const bool before = lossReported_;
    portUsable();
    return lossReported_ && !before;
}

void BoardChannel::reportLoss() {
    lossReported_ = true;
    const PortStatus status = port_.status();
    port_.close();
    session_.link.ProgrammerDetected = false;
    showFirmwareLabelNoBoard(ui_, session_.link.ComPortName);
    reportPortLost(ui_, session_.link.ComPortName, status);
}

void BoardChannel::write(const QByteArray& bytes) {
    if (!port_.isOpen()) return;
    bytesSent_ += std::uint64_t(bytes.size());
    if (!port_.write(bytes)) portUsable();
}

void BoardChannel::pauseMs(int ms) {
    clock_.sleepMs(ms);
}

void BoardChannel::pumpEvents() {
    ui_.pumpEvents();
    lastPumpUs_ = clock_.nowUs();
    pumped_ = true;
}

bool BoardChannel::pumpEventsIfDue() {
    if (pumped_ && clock_.nowUs() - lastPumpUs_ < PumpIntervalUs) return false;
    pumpEvents();
    return true;
}

void BoardChannel::sendLetterNoPause(char letter) {
    write(QByteArray(1, letter));
}

void BoardChannel::sendLetter(char letter) {
    sendLetterNoPause(letter);
    pauseMs(wire::LetterPauseMs);
}

void BoardChannel::sendLetters(const char* letters) {
    for (const char* p = letters; *p; ++p)
        sendLetter(*p);
}

void BoardChannel::sendPowerLetter() {
    sendLetter(powerLetter(session_.device.PowerMode));
}

void BoardChannel::sendByteNoPause(std::uint8_t value) {
    session_.link.SendBuffer.assign(1, value);
    write(QByteArray(1, char(value)));
}

void BoardChannel::sendByte(std::uint8_t value) {
    sendByteNoPause(value);
    pauseMs(wire::LetterPauseMs);
}

void BoardChannel::sendCount16(std::int32_t value) {
    std::uint8_t hi = 0, lo = 0;
    SplitWordBytes(value, hi, lo);
    sendByte(hi);
    sendByte(lo);
}

void BoardChannel::sendCount24(std::int32_t value) {
    auto& link = session_.link;
    SplitLongBytes(value, link.SplitByte3, link.SplitByte2, link.SplitByte1, link.SplitByte0);
    const std::uint8_t b2 = link.SplitByte2, b1 = link.SplitByte1, b0 = link.SplitByte0;
    sendByte(b2);
    sendByte(b1);
    sendByte(b0);
}

void BoardChannel::sendData(const QByteArray& bytes) {
    session_.link.SendBuffer.assign(bytes.begin(), bytes.end());
    write(bytes);
}

void BoardChannel::acknowledge() {
    pauseMs(wire::LetterPauseMs);
    write(QByteArray(1, char(wire::Acknowledge)));
}

void BoardChannel::discardInput() {
    port_.discardInput();
}

void BoardChannel::discardOutput() {
    port_.discardOutput();
}

qint64 BoardChannel::bytesWaiting() {
    if (!portUsable()) return 0;
    const qint64 n = port_.bytesWaiting();
    portUsable();
    return n;
}

WaitResult BoardChannel::waitForBytes(qint64 count, WaitLimit limit, AckRule acks,
                                      const std::function<void(qint64)>& onCount) {
    const std::int64_t limitUs = std::int64_t(limit.ms) * 1000;
    session_.link.WaitStartTimeUs = clock_.nowUs();
    std::int64_t startUs = session_.link.WaitStartTimeUs;
    qint64 seen = -1;
    qint64 ackedAt = acks == AckRule::Every8FromZero ? -1 : 0;
    const int ackStep = acks == AckRule::Every16 ? 16 : 8;
    for (;;) {
        if (!portUsable()) return WaitResult::PortGone;
        const qint64 waiting = port_.bytesWaiting();
        if (!portUsable()) return WaitResult::PortGone;
        if (waiting != seen) {
            if (limit.restartOnData && waiting > seen) startUs = clock_.nowUs();
            seen = waiting;
            if (onCount) onCount(waiting);
        }
        if (waiting >= count) return WaitResult::Complete;
        if (acks != AckRule::None && waiting % ackStep == 0 && waiting != ackedAt) {
            acknowledge();
            ackedAt = waiting;
            continue; // the board answers the go-ahead at once; look again before sleeping
        }
        // A reply that comes in short pieces (a packet a round trip) would otherwise run the
        // window's events once a piece, which costs more than the piece takes on the wire. They
        // run when due; a slice that follows none ends when they are due.
        const bool pumped = pumpEventsIfDue();
        const std::int64_t nowUs = clock_.nowUs();
        const std::int64_t elapsedUs = nowUs - startUs;
        if (elapsedUs > limitUs) return WaitResult::TimedOut;
        const std::int64_t leftMs = (limitUs - elapsedUs) / 1000 + 1;
        std::int64_t sliceMs = EventSliceMs;
        if (!pumped)
            sliceMs = std::clamp<std::int64_t>((lastPumpUs_ + PumpIntervalUs - nowUs) / 1000 + 1, 1,
                                               EventSliceMs);
        // The next moment this loop has something to do: the count asked for, or the next
        // acknowledgement point, whichever comes first.
        qint64 target = count;
        if (acks != AckRule::None) target = std::min(target, (waiting / ackStep + 1) * ackStep);
        port_.waitForTotal(target, int(std::min(leftMs, sliceMs)));
    }
}

const std::vector<std::uint8_t>& BoardChannel::takeReply() {
    auto& reply = session_.link.ReceiveBuffer;
    reply.clear();
    if (portUsable()) {
        const QByteArray bytes = port_.readAll();
        reply.assign(bytes.begin(), bytes.end());
        portUsable();
    }
    return reply;
}

} // namespace tavrin
