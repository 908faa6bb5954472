// The framing every exchange with the programmer board uses: the power letter, command letters
// and argument bytes with their 1 ms spacing, whole-reply reads, end codes tested at their
// position, the host's "@" acknowledgements on long replies, and bounded waits that wake when
// data arrives. Steps are written on top of this; none of them touches the port directly.
#pragma once

#include "core/serial_port.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

namespace tavrin {

struct Session;
class OperatorUi;
class Clock;

namespace wire {
constexpr std::uint8_t EndCode = '@';       // ends every reply
constexpr std::uint8_t Acknowledge = '@';   // the host's go-ahead on a long reply
constexpr std::uint8_t FailureReport = '*'; // first byte of the board's failure report
constexpr std::uint8_t Identify = '?';
constexpr std::uint8_t Resync = '*'; // sent three times before an identification
constexpr int LetterPauseMs = 1;
} // namespace wire

// "n" only for the exact text "VPP"; any other power mode (also "vpp") gives "N".
char powerLetter(const QString& powerMode);

// The reply's byte at pos is the end code; false when the reply is shorter.
bool endCodeAt(const std::vector<std::uint8_t>& reply, std::size_t pos);

// When the host sends "@" while it waits for a long reply.
enum class AckRule {
    None,           // no acknowledgement (PIC18 EEPROM reads, short replies)
    Every16,        // 12-bit and 14-bit replies: each new non-zero multiple of 16 waiting bytes
    Every8,         // PIC18 panels: each new non-zero multiple of 8
    Every8FromZero, // PIC18 reads of the blank check: also once before the first byte
};

// How long a wait may last. A step's own limit runs from the start of the wait; where the board
// protocol gives none, the wait gives up when no further byte came for a block's limit.
struct WaitLimit {
    int ms = 10000;
    bool restartOnData = false;
    static constexpr int BlockMs = 10000;
    static WaitLimit total(int ms) { return {ms, false}; }
    static WaitLimit perBlock(int ms = BlockMs) { return {ms, true}; }
};

enum class WaitResult {
    Complete, // the bytes asked for are waiting
    TimedOut, // strictly more than the limit passed
    PortGone, // the port is closed or was lost (already reported)
};

class BoardChannel {
  public:
    BoardChannel(Session& session, OperatorUi& ui, SerialPort& port, Clock& clock);

    Session& session() { return session_; }
    OperatorUi& ui() { return ui_; }
    SerialPort& port() { return port_; }
    Clock& clock() { return clock_; }

    // --- the port ---------------------------------------------------------------------------
    // Opens the port named in the session when it is closed; the result of the open.
    PortStatus openPort();
    // True while the port is open and working. A port that went away is closed here and the
    // loss is reported once (status line, message box, firmware label).
    bool portUsable();
    // True when the port was found gone just now (and reported); a later call is false.
    bool lossFoundNow();
    // True when the port went away (and was reported) since it was last opened: an operation
    // that finds it so ends at once.
    bool lostSinceOpened() const { return lossReported_; }
    // Every byte written to the board so far: a run that sent any has reached the board.
    std::uint64_t bytesSent() const { return bytesSent_; }

    // --- sending ----------------------------------------------------------------------------
    // Each of these is followed by the 1 ms pause.
    void sendPowerLetter();
    void sendLetter(char letter);
    void sendLetters(const char* letters);
    void sendByte(std::uint8_t value); // SendBuffer becomes that one byte
    void sendCount16(std::int32_t value);
    void sendCount24(std::int32_t value);
    // One byte with no pause after it (the erase code, whose end-code wait follows at once).
    void sendByteNoPause(std::uint8_t value);
    // Several bytes as one write, no pause (a word or a block of a board-paced write).
    void sendData(const QByteArray& bytes);
    // A letter with no pause (the identification request).
    void sendLetterNoPause(char letter);
    // Pause 1 ms, then "@".
    void acknowledge();

    void discardInput();
    void discardOutput();

    // --- receiving --------------------------------------------------------------------------
    qint64 bytesWaiting();
    // Waits until at least `count` bytes are waiting, sending acknowledgements by `acks` and
    // reporting each new count to onCount. WaitStartTimeUs is set at the start. Lets pending
    // window events run while it waits, when they have not run for a few milliseconds.
    WaitResult waitForBytes(qint64 count, WaitLimit limit, AckRule acks = AckRule::None,
                            const std::function<void(qint64 waiting)>& onCount = {});
    // Everything waiting, as one reply; kept in ReceiveBuffer.
    const std::vector<std::uint8_t>& takeReply();

    // --- time -------------------------------------------------------------------------------
    void pauseMs(int ms);
    void pumpEvents();
    // Lets window events run unless they ran within the last few milliseconds: for loops whose
    // waits let them run anyway, so that a board that never keeps the host waiting cannot
    // starve the window either. True when they ran.
    bool pumpEventsIfDue();

  private:
    void write(const QByteArray& bytes);
    void reportLoss();

    Session& session_;
    OperatorUi& ui_;
    SerialPort& port_;
    Clock& clock_;
    bool lossReported_ = false;
    std::uint64_t bytesSent_ = 0;
    std::int64_t lastPumpUs_ = 0;
    bool pumped_ = false;
};

} // namespace tavrin
