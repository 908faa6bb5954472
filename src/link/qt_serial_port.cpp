#include "qt_serial_port.h"

#include "port_messages.h"

#include "core/clock.h"

#include <QFileInfo>
#include <QSerialPort>

#include <algorithm>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>
#endif

namespace tavrin {

namespace {
PortError errorKind(QSerialPort::SerialPortError e) {
    switch (e) {
    case QSerialPort::NoError:
        return PortError::None;
    case QSerialPort::DeviceNotFoundError:
        return PortError::NotFound;
    case QSerialPort::PermissionError:
        return PortError::PermissionDenied;
    case QSerialPort::OpenError:
        return PortError::InUse;
    case QSerialPort::ResourceError:
    case QSerialPort::ReadError:
    case QSerialPort::WriteError:
        return PortError::Lost;
    default:
        return PortError::Other;
    }
}
bool userMayOpen(const QString& name) {
    const QFileInfo info(deviceFilePath(name));
    return info.exists() && info.isReadable() && info.isWritable();
}
} // namespace

QtSerialPort::QtSerialPort() = default;
QtSerialPort::~QtSerialPort() {
    close();
}

PortStatus QtSerialPort::open() {
    close();
    status_ = {};
    wakeCount_ = -1; // whatever the driver was left with: set before the first wait
    reported_ = 0;
    port_ = std::make_unique<QSerialPort>();
    port_->setPortName(name_);
    port_->setBaudRate(baud_);
    port_->setDataBits(QSerialPort::Data8);
    port_->setParity(QSerialPort::NoParity);
    port_->setStopBits(QSerialPort::OneStop);
    port_->setFlowControl(QSerialPort::NoFlowControl);
    port_->setReadBufferSize(0);
    if (!port_->open(QIODevice::ReadWrite)) {
        status_ = {errorKind(port_->error()), port_->errorString()};
        if (status_.error == PortError::None || status_.error == PortError::Lost)
            status_.error = PortError::Other;
        // A device held by another program (its lock, or a busy tty) is reported as a permission
        // error too; only a device file the user may not open is a matter of rights.
        if (status_.error == PortError::PermissionDenied && userMayOpen(name_))
            status_.error = PortError::InUse;
        port_.reset();
        return status_;
    }
    return status_;
}

void QtSerialPort::close() {
    if (port_) {
        if (port_->isOpen()) port_->close();
        port_.reset();
    }
}

bool QtSerialPort::isOpen() const {
    return port_ && port_->isOpen();
}

void QtSerialPort::noteError() {
    if (!port_) return;
    const auto e = port_->error();
    // A pty has no modem lines: RTS requests fail with UnsupportedOperationError, harmlessly.
    if (e == QSerialPort::NoError || e == QSerialPort::UnsupportedOperationError ||
        e == QSerialPort::TimeoutError) {
        port_->clearError();
        return;
    }
    status_ = {errorKind(e), port_->errorString()};
    if (status_.error == PortError::Lost) {
        // The device went away: close at once, or Qt reports the error on every event pass.
        port_->close();
    }
    port_->clearError();
}

void QtSerialPort::takeFromDriverIfEmpty() {
    // Bytes already taken from the driver are counted as they stand; the driver is asked only
    // when none are. A wait that was just woken by data thus costs no second poll: on a
    // board-paced write that is a system call less per word each way.
    if (port_->bytesAvailable() > 0) return;
#ifdef Q_OS_UNIX
    // Most looks find nothing yet. The terminal's byte count answers that without the port's
    // time-out bookkeeping (an error text built and translated on every empty look), without
    // waiting for the driver's pending input to be handed over as a poll does, and whatever the
    // wake count of the last wait: it stays as it is until there is something to take, so that a
    // reply awaited packet by packet does not set the terminal twice a packet. A failed count (a
    // port that went away) goes the port's way, which reports it.
    const int fd = int(port_->handle());
    int count = 0;
    if (fd >= 0 && ::ioctl(fd, FIONREAD, &count) == 0 && count == 0) return;
#endif
    setWakeCount(1);
    port_->waitForReadyRead(0);
    noteError();
}

qint64 QtSerialPort::bytesWaiting() {
    if (!isOpen()) return 0;
    takeFromDriverIfEmpty();
    reported_ = isOpen() ? port_->bytesAvailable() : 0;
    return reported_;
}

QByteArray QtSerialPort::readAll() {
    if (!isOpen()) return {};
    takeFromDriverIfEmpty();
    reported_ = 0;
    return port_ ? port_->readAll() : QByteArray();
}

bool QtSerialPort::write(const QByteArray& bytes) {
    if (!isOpen()) return false;
#ifdef Q_OS_UNIX
    // With nothing queued the bytes go to the driver at once. Through QSerialPort every write
    // would switch its write notifier on and off again, each time waking the event loop: on a
    // board-paced write that is several system calls a word between the request and the answer.
    // What the driver does not take (or an error) goes the usual way.
    if (port_->bytesToWrite() == 0) {
        const int fd = int(port_->handle());
        qsizetype done = 0;
        while (fd >= 0 && done < bytes.size()) {
            const ssize_t n =
                ::write(fd, bytes.constData() + done, std::size_t(bytes.size() - done));
            if (n > 0)
                done += n;
            else if (n < 0 && errno == EINTR)
                continue;
            else
                break;
        }
        if (done == bytes.size()) return true;
        return writeQueued(bytes.mid(done));
    }
#endif
    return writeQueued(bytes);
}

bool QtSerialPort::writeQueued(const QByteArray& bytes) {
    if (port_->write(bytes) != bytes.size()) {
        noteError();
        return false;
    }
    // Push the bytes out now: a write is followed by a wait, and nothing else would flush it.
    // A write the driver takes at once needs no wait for it.
    port_->flush();
    while (port_->bytesToWrite() > 0) {
        if (!port_->waitForBytesWritten(1000)) {
            noteError();
            return isOpen() && port_->bytesToWrite() == 0;
        }
    }
    return true;
}

void QtSerialPort::discardInput() {
    if (!isOpen()) return;
    reported_ = 0;
    port_->waitForReadyRead(0);
    port_->readAll();
    port_->clear(QSerialPort::Input);
    noteError();
}

void QtSerialPort::discardOutput() {
    if (!isOpen()) return;
    port_->clear(QSerialPort::Output);
    noteError();
}

void QtSerialPort::setRequestToSend(bool on) {
    if (!isOpen()) return;
    port_->setRequestToSend(on);
    noteError();
}

void QtSerialPort::setWakeCount(qint64 bytes) {
#ifdef Q_OS_UNIX
    // A terminal in raw mode with VTIME 0 reports itself readable once VMIN bytes are there, so
    // a wait for a 16-byte block wakes once instead of 16 times. Reads are non-blocking and take
    // whatever is there, whatever VMIN says.
    const int wanted = int(std::clamp<qint64>(bytes, 1, 255));
    if (wanted == wakeCount_) return;
    termios tio{};
    const int fd = int(port_->handle());
    if (fd < 0 || ::tcgetattr(fd, &tio) != 0 || tio.c_cc[VTIME] != 0) return;
    tio.c_cc[VMIN] = cc_t(wanted);
    if (::tcsetattr(fd, TCSANOW, &tio) == 0) wakeCount_ = wanted;
#else
    (void)bytes;
#endif
}

bool QtSerialPort::waitForTotal(qint64 total, int timeoutMs) {
    if (!isOpen()) return false;
    if (port_->bytesAvailable() > reported_) return true;
    sleepThroughLineTime(total, timeoutMs);
    setWakeCount(total - port_->bytesAvailable());
    const bool got = port_->waitForReadyRead(timeoutMs);
    noteError();
    return got;
}

void QtSerialPort::sleepThroughLineTime(qint64 total, int timeoutMs) {
#ifdef Q_OS_UNIX
    // A terminal wakes its reader on every byte that comes in, whatever count the reader waits
    // for; it only answers the wait once the count is there. The line brings one byte a byte
    // time at best: the missing bytes cannot all be there sooner than the line time of all but
    // one of them from now. Sleeping through that instead ends before the reply can be complete
    // and leaves the wait one wake-up for its last byte, rather than one a byte. Bytes the
    // driver already holds count as there.
    if (total - port_->bytesAvailable() <= 1) return;
    int inDriver = 0;
    const int fd = int(port_->handle());
    if (baud_ <= 0 || fd < 0 || ::ioctl(fd, FIONREAD, &inDriver) != 0) return;
    const qint64 missing = total - port_->bytesAvailable() - inDriver;
    if (missing <= 1) return;
    constexpr qint64 BitsPerByte = 10; // start, 8 data, stop
    const qint64 lineUs = (missing - 1) * BitsPerByte * 1'000'000 / baud_;
    sleepForUs(std::min<qint64>(lineUs, qint64(timeoutMs) * 1000));
#else
    (void)total;
    (void)timeoutMs;
#endif
}

bool QtSerialPort::waitForData(int timeoutMs) {
    if (!isOpen()) return false;
    // Waiting for the driver would miss what the event loop has already taken from it: those
    // bytes have arrived since the caller last looked.
    if (port_->bytesAvailable() > reported_) return true;
    setWakeCount(1);
    const bool got = port_->waitForReadyRead(timeoutMs);
    noteError();
    return got;
}

} // namespace tavrin
