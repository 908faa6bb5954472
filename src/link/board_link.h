// The connection to the programmer board: finding it on the chosen port and reading its
// firmware identification, making sure before every operation that it still answers, warning
// when its firmware is too old, and closing the port after every operation.
#pragma once

#include "board_channel.h"

#include <QString>

#include <functional>
#include <optional>

namespace tavrin {

class BoardLink {
  public:
    // Opens a web page for the person (the firmware update page); false when it could not.
    using PageOpener = std::function<bool(const QString& url)>;

    BoardLink(Session& session, OperatorUi& ui, SerialPort& port, Clock& clock,
              PageOpener openPage = {});

    // Searches the board on ComPortName unless ProgrammerDetected is already set. Leaves the
    // port open whatever happens; the caller closes it with ClosePort.
    void DetectProgrammer();
    // Re-identifies the board at the start of an operation, with one more attempt when the
    // first stays unanswered. result: "OK" or "NG".
    void CheckProgrammer(QString& result);
    // The update message when the firmware is older than recommended.
    void CheckFirmwareVersion();
    // The end of every operation: default pointer, buffers cleared, the board given time to
    // settle, the port closed.
    void ClosePort();

    BoardChannel& channel() { return channel_; }
    // What the page opener answered the last time it was asked.
    std::optional<bool> lastPageOpened() const { return lastPageOpened_; }

  private:
    enum class Answer { Identified, TimedOut, PortGone };
    bool openForIdentification();
    Answer awaitIdentification(int limitMs);
    bool attemptIdentification(int limitMs, Answer& answer);
    // Keeps the identification reply in FirmwareReply. False when it is not the board's: then no
    // board counts as detected and the status line says so.
    bool takeIdentification();
    QString portName() const;

    Session& session_;
    OperatorUi& ui_;
    BoardChannel channel_;
    PageOpener openPage_;
    std::optional<bool> rtsAtDetection_;
    std::optional<bool> lastPageOpened_;
};

} // namespace tavrin
