// A SerialPort for link tests: the board's side is a script that answers each write by queueing
// bytes that arrive after a delay on a virtual clock. Records everything the host does.
#pragma once

#include "core/clock.h"
#include "core/serial_port.h"

#include <QByteArray>

#include <cstdint>
#include <deque>
#include <functional>
#include <vector>

namespace tavrin::test {

class ScriptedPort final : public SerialPort {
  public:
    explicit ScriptedPort(VirtualClock& clock) : clock_(clock) {}

    // The board: called with every write the host makes.
    std::function<void(const QByteArray&)> onWrite;
    // Bytes that arrive delayMs after now (after the previous queued piece when later).
    void arrive(const QByteArray& bytes, double delayMs = 0);
    // The device goes away now (a USB adapter pulled).
    void lose();

    // What open() answers.
    PortStatus openResult;

    struct Write {
        std::int64_t atUs;
        QByteArray bytes;
    };
    std::vector<Write> writes;
    QByteArray wire() const; // every byte written, in order
    std::vector<bool> rtsLevels;
    int opens = 0, closes = 0, inputDiscards = 0, outputDiscards = 0;
    QString openedName;

    void setPortName(const QString& name) override { name_ = name; }
    QString portName() const override { return name_; }
    PortStatus open() override;
    void close() override;
    bool isOpen() const override { return open_; }
    qint64 bytesWaiting() override;
    QByteArray readAll() override;
    bool write(const QByteArray& bytes) override;
    void discardInput() override;
    void discardOutput() override { ++outputDiscards; }
    void setRequestToSend(bool on) override { rtsLevels.push_back(on); }
    bool waitForData(int timeoutMs) override;
    PortStatus status() const override { return status_; }

  private:
    struct Piece {
        std::int64_t atUs;
        QByteArray bytes;
    };
    void deliverDue();

    VirtualClock& clock_;
    QString name_;
    bool open_ = false;
    PortStatus status_;
    QByteArray input_;
    std::deque<Piece> pending_;
};

} // namespace tavrin::test
