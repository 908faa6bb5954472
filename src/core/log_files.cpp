#include "log_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace tavrin {

QString currentLogName() {
    return QStringLiteral("LOG_NEW0.txt");
}

QString oldLogName(int n) {
    return QStringLiteral("LOG_OLD%1.txt").arg(n);
}

QStringList logFileNames() {
    QStringList names{currentLogName()};
    for (int n = 1; n <= kOldLogCount; ++n)
        names << oldLogName(n);
    return names;
}

namespace {
// Copies from over to, replacing it; the old content of `to` is kept until the copy is complete.
bool replaceWithCopy(const QString& from, const QString& to) {
    const QString staging = to + QStringLiteral(".new");
    QFile::remove(staging);
    if (!QFile::copy(from, staging)) return false;
    QFile::remove(to);
    if (QFileInfo::exists(to) || !QFile::rename(staging, to)) {
        QFile::remove(staging);
        return false;
    }
    return true;
}
} // namespace

RotationResult EnsureAndRotateLogs(const QString& dir) {
    RotationResult result;
    const QDir d(dir);
    for (const QString& name : logFileNames()) {
        const QString path = d.filePath(name);
        if (QFileInfo::exists(path)) continue;
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) && result.error.isEmpty())
            result.error = name + QStringLiteral(": ") + f.errorString();
    }
    const QString current = d.filePath(currentLogName());
    if (QFileInfo(current).size() <= 0) return result;

    for (int n = kOldLogCount; n >= 2; --n) {
        if (!replaceWithCopy(d.filePath(oldLogName(n - 1)), d.filePath(oldLogName(n)))) {
            result.error = oldLogName(n);
            return result;
        }
    }
    if (!replaceWithCopy(current, d.filePath(oldLogName(1)))) {
        result.error = oldLogName(1);
        return result;
    }
    if (!QFile::remove(current)) {
        result.error = currentLogName();
        return result;
    }
    result.rotated = true;
    return result;
}

} // namespace tavrin
