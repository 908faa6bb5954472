// The serial port to the programmer board, as the engine uses it: open and close by port name,
// the number of waiting bytes, read everything waiting, write bytes whole, discard input and
// output, the RTS line, and a bounded wait that wakes as soon as data arrives.
#pragma once

#include <QByteArray>
#include <QString>

namespace tavrin {

enum class PortError {
    None,
    NotFound,         // no such device
    PermissionDenied, // the user may not open it (e.g. not in the group that owns the device)
    InUse,            // another program holds it
    Lost,             // the device went away while open (adapter pulled)
    Other,
};

struct PortStatus {
    PortError error = PortError::None;
    QString detail; // the system's own text, for the message
    bool ok() const { return error == PortError::None; }
};

class SerialPort {
  public:
    virtual ~SerialPort() = default;

    virtual void setPortName(const QString& name) = 0;
    virtual QString portName() const = 0;

    // Opens at 57600 baud 8N1 without flow control, unless another speed was set.
    virtual PortStatus open() = 0;
    // The line speed of the next open (the firmware update window offers others). A port that
    // cannot change it (an emulated board) keeps its own.
    virtual void setBaudRate(qint32 baud) { (void)baud; }
    virtual void close() = 0;
    virtual bool isOpen() const = 0;

    // Bytes received and not yet read.
    virtual qint64 bytesWaiting() = 0;
    // Everything waiting, removed from the input.
    virtual QByteArray readAll() = 0;
    // Queues the bytes and pushes them towards the wire; false when the port is not usable.
    virtual bool write(const QByteArray& bytes) = 0;
    virtual void discardInput() = 0;
    virtual void discardOutput() = 0;
    // RTS may be unsupported (a pty has no modem lines); that is not an error.
    virtual void setRequestToSend(bool on) = 0;

    // Waits until at least one more byte has arrived or timeoutMs have passed. Returns true when
    // new data arrived. Never sleeps a fixed interval: it wakes on data.
    virtual bool waitForData(int timeoutMs) = 0;
    // Waits until at least `total` bytes are waiting or timeoutMs have passed; true when new data
    // arrived. An adapter that can have the system wake it only once that many bytes are there
    // saves a wake-up per byte on long replies; any other wakes on every byte, as waitForData.
    virtual bool waitForTotal(qint64 total, int timeoutMs) {
        (void)total;
        return waitForData(timeoutMs);
    }

    // The last failure seen on an open port (e.g. the device disappeared).
    virtual PortStatus status() const = 0;
};

} // namespace tavrin
