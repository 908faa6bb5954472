#include "whole_file.h"

#include <QSaveFile>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace tavrin {

namespace {
bool failWith(QSaveFile& file, QString* error) {
    if (error) *error = file.errorString();
    file.cancelWriting();
    return false;
}

// A full disk can also show only when the file system writes its blocks back.
bool syncToDisk(QSaveFile& file) {
#ifdef Q_OS_UNIX
    const int fd = file.handle();
    return fd < 0 || ::fsync(fd) == 0;
#else
    Q_UNUSED(file);
    return true;
#endif
}
} // namespace

bool writeWholeFile(const QString& path, const QByteArray& bytes, QString* error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error) *error = file.errorString();
        return false;
    }
    if (file.write(bytes) != bytes.size() || !file.flush() || file.error() != QFileDevice::NoError)
        return failWith(file, error);
    if (!syncToDisk(file)) {
        if (error) *error = QStringLiteral("The data could not be written to the disk.");
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        if (error) *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace tavrin
