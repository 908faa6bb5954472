// The SerialPort seam served by the board emulator in process, on virtual time: a wait advances
// the virtual clock to the moment the next byte reaches the host (the line paced at the board's
// baud rate), or by the whole time-out when nothing comes; writes reach the board at the virtual
// time they are made. The board's own delays (erase time, programming time) pass in virtual
// time too, so a test of a 10 s time-out runs at once.
#pragma once

#include "core/clock.h"
#include "core/serial_port.h"
#include "emulator/board.h"

#include <QByteArray>
#include <QString>

namespace tavrin::test {

class EmulatedPort final : public tavrin::SerialPort {
  public:
    EmulatedPort(tavrin::VirtualClock& clock, emu::Board& board);

    void setPortName(const QString& name) override { name_ = name; }
    QString portName() const override { return name_; }
    PortStatus open() override;
    void close() override;
    bool isOpen() const override { return open_; }
    qint64 bytesWaiting() override;
    QByteArray readAll() override;
    bool write(const QByteArray& bytes) override;
    void discardInput() override;
    void discardOutput() override;
    void setRequestToSend(bool on) override { requestToSend_ = on; }
    bool waitForData(int timeoutMs) override;
    PortStatus status() const override { return status_; }

    // Test hooks: make the next opens fail (e.g. PortError::InUse), see what was asked of the port.
    void refuseOpen(PortError error, QString detail = {}) { refuse_ = {error, std::move(detail)}; }
    int openCount() const { return opens_; }
    bool requestToSend() const { return requestToSend_; }
    emu::Board& board() { return board_; }

  private:
    void pump();
    emu::Nanos boardNow() const { return clock_.nowUs() * emu::kMicrosecond; }

    tavrin::VirtualClock& clock_;
    emu::Board& board_;
    QString name_;
    bool open_ = false;
    bool requestToSend_ = false;
    int opens_ = 0;
    PortStatus status_;
    PortStatus refuse_;
    QByteArray input_;
    qint64 seen_ = 0; // waiting bytes the host has been told about
};

} // namespace tavrin::test
