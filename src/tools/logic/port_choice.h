// frmOption's decisions: which ports are offered, and a chosen port opened, kept in the settings
// and tested by looking for the board on it. A port that does not open is reported and the
// window stays for another choice.
#pragma once

#include <QString>
#include <QStringList>

namespace tavrin {

struct Session;
class OperatorUi;
class SettingsStore;
class BoardLink;

// The machine's serial ports by the name the port is opened with (/dev/ttyUSB0, COM3), sorted.
// A pseudo-terminal is never among them; it is typed in.
QStringList availableSerialPorts();

class PortChoice {
  public:
    PortChoice(Session& session, OperatorUi& ui, SettingsStore& settings, BoardLink& link);

    // Form_Load: clears the status line and returns the port to offer first: the port in use,
    // else the saved one ("" when there is none). That port stays the one in use until another
    // is chosen.
    QString load();

    enum class Outcome { Chosen, Failed };
    // Command_Ok_Click.
    Outcome choose(const QString& portName);
    // Command1_Click and Escape. A port that failed to open leaves the one in use before it.
    void cancel();

    // Why the last choice failed, in the system's words ("" when it did not fail).
    QString failureDetail() const { return failureDetail_; }

  private:
    void reportFailure(const QString& portName);

    Session& s_;
    OperatorUi& ui_;
    SettingsStore& settings_;
    BoardLink& link_;
    QString portBefore_;
    QString failureDetail_;
};

} // namespace tavrin
