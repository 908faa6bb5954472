#include "whole_file.h"

#include <QSaveFile>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <unistd.h>
#endif

namespace tavrin {

namespace {
bool failWith(QSaveFile& file, const QString& reason, QString* error) {
    if (error) *error = reason;
    file.cancelWriting();
    return false;
}

#ifdef Q_OS_UNIX
QString systemReason(int errorNumber) {
    return QString::fromLocal8Bit(std::strerror(errorNumber));
}

// The bytes go straight to the descriptor: QFile turns a write that stops part way (the disk
// filling up under it) into a short count without a reason, and its text is then only
// "Unknown error". Here every failure keeps the system's own reason.
bool writeToDisk(QSaveFile& file, const QByteArray& bytes, QString* reason) {
    const int fd = file.handle();
    const char* next = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, next, std::size_t(left));
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) {
            *reason = systemReason(written < 0 ? errno : ENOSPC);
            return false;
        }
        next += written;
        left -= written;
    }
    // A full disk can also show only when the file system writes its blocks back.
    if (::fsync(fd) != 0) {
        *reason = systemReason(errno);
        return false;
    }
    return true;
}
#else
bool writeToDisk(QSaveFile& file, const QByteArray& bytes, QString* reason) {
    if (file.write(bytes) == bytes.size() && file.flush() && file.error() == QFileDevice::NoError)
        return true;
    *reason = file.errorString();
    return false;
}
#endif
} // namespace

bool writeWholeFile(const QString& path, const QByteArray& bytes, QString* error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error) *error = file.errorString();
        return false;
    }
    QString reason;
    if (!writeToDisk(file, bytes, &reason)) return failWith(file, reason, error);
    if (!file.commit()) {
        if (error) *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace tavrin
