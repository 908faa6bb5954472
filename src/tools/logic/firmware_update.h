// Dialog_Update's decisions: the board's firmware replaced through its boot loader on a serial
// port of the window's own. The main link is closed while the window owns the board and the
// board is looked for again when the window closes, so the main window shows the new version.
//
// The file is read and checked whole before the board is asked to enter its boot loader, so a
// bad file never leaves the board without firmware. A failed transfer keeps the window open with
// the red failure text: the board waits in its boot loader and the update has to run again.
#pragma once

#include "firmware_file.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>

namespace tavrin {

struct Session;
class OperatorUi;
class SettingsStore;
class BoardLink;
class SerialPort;
class Clock;
class FirmwareUpdateView;

class FirmwareUpdate {
  public:
    enum class Outcome {
        None,
        Completed,
        PortNotSet,    // no port text
        PortNotOpened, // the window's port did not open
        NoFile,        // no file chosen
        FileRefused,   // the file failed its check; nothing was sent
        NoEntry,       // no answer to "U"
        WrongEntry,    // the answer to "U" was not "U"
        AckMismatch,   // a record acknowledged with the wrong sum
        AckTimeout,    // a record not acknowledged within 2 s
        PortFailed,    // the port failed during the transfer
    };

    FirmwareUpdate(Session& session, OperatorUi& ui, SettingsStore& settings, BoardLink& mainLink,
                   SerialPort& port, Clock& clock, QString dataDir);

    // The texts the window starts with (Form_Load before its version read).
    struct Start {
        QString port;
        QStringList speeds;
        QString speed;
        QString guidance;
    };
    Start load();

    void attach(FirmwareUpdateView& view) { view_ = &view; }

    void Combo_ComPort_Click(const QString& text);
    void Combo_speed_Click(const QString& text);
    void CmdVersion_Click();
    void CmdOpen_Click();
    void CmdUpdate_Click();
    // The window closes: its port is given up and the main link finds the board again.
    void Form_Unload();

    // True while the version read or the transfer runs: the window must not close then.
    bool busy() const { return busy_; }
    Outcome lastOutcome() const { return outcome_; }
    QString fileName() const { return fileName_; }
    // The line speed the port set-up chose.
    qint32 baudRate() const { return baud_; }

  private:
    bool Com_Initialize();
    bool openPort();
    Outcome File_Load(const FirmwareWords& words);
    // None when the board acknowledged the record; else the failure, already shown.
    Outcome sendRecord(std::uint32_t address, std::uint16_t value);
    bool waitForBytes(qint64 count, int limitMs);
    void takeReply();
    void msgProgressBar(const QString& mode, int minimum, int maximum, int position);
    void showFailureText();
    void portNumberBox();
    void box(const QString& title, const QString& text);
    QString applicationTitle() const;

    Session& s_;
    OperatorUi& ui_;
    SettingsStore& settings_;
    BoardLink& mainLink_;
    SerialPort& port_;
    Clock& clock_;
    QString dataDir_;
    FirmwareUpdateView* view_ = nullptr;
    QString fileName_;
    QByteArray lastReply_;
    std::int64_t lastPumpUs_ = 0; // when window events last ran
    qint32 baud_ = 57600;
    bool busy_ = false;
    Outcome outcome_ = Outcome::None;
};

} // namespace tavrin
