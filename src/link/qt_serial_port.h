// The SerialPort seam over QSerialPort. The QSerialPort is made when the port opens and dropped
// when it closes, in the thread that opens it: every call between open() and close() must come
// from that thread (the one that runs the operation).
#pragma once

#include "core/serial_port.h"

#include <memory>

class QSerialPort;

namespace tavrin {

class QtSerialPort final : public SerialPort {
  public:
    QtSerialPort();
    ~QtSerialPort() override;

    void setPortName(const QString& name) override { name_ = name; }
    QString portName() const override { return name_; }
    void setBaudRate(qint32 baud) override { baud_ = baud; }
    PortStatus open() override;
    void close() override;
    bool isOpen() const override;
    qint64 bytesWaiting() override;
    QByteArray readAll() override;
    bool write(const QByteArray& bytes) override;
    void discardInput() override;
    void discardOutput() override;
    void setRequestToSend(bool on) override;
    bool waitForData(int timeoutMs) override;
    bool waitForTotal(qint64 total, int timeoutMs) override;
    PortStatus status() const override { return status_; }

  private:
    void noteError();
    // Through QSerialPort's own buffer, pushed out before returning.
    bool writeQueued(const QByteArray& bytes);
    void takeFromDriverIfEmpty();
    void setWakeCount(qint64 bytes);
    void sleepThroughLineTime(qint64 total, int timeoutMs);
    int wakeCount_ = -1; // bytes the driver must hold before a wait for data ends
    QString name_;
    qint32 baud_ = 57600;
    std::unique_ptr<QSerialPort> port_;
    PortStatus status_;
    // Bytes waiting when the caller last asked: the window's event loop may take more from the
    // driver in between, and those count as arrived for waitForData.
    qint64 reported_ = 0;
};

} // namespace tavrin
