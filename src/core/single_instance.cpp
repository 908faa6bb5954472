#include "single_instance.h"

#include <QDir>
#include <QLockFile>
#include <QStandardPaths>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace tavrin {

namespace {
const QString kLockName = QStringLiteral("tavrin-writer");

QString userKey() {
#ifdef Q_OS_UNIX
    return QString::number(::getuid());
#else
    return qEnvironmentVariable("USERNAME", QStringLiteral("user"));
#endif
}

std::unique_ptr<QLockFile> lockFileAt(const QString& path) {
    auto lock = std::make_unique<QLockFile>(path);
    // The program may run for days: only a lock whose process is gone counts as stale.
    lock->setStaleLockTime(0);
    return lock;
}
} // namespace

QStringList SingleInstanceLock::defaultLockPaths() {
    QStringList paths;
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (!runtime.isEmpty()) paths << QDir(runtime).filePath(kLockName + QStringLiteral(".lock"));
    paths << QDir(QDir::tempPath())
                 .filePath(kLockName + QLatin1Char('-') + userKey() + QStringLiteral(".lock"));
    return paths;
}

SingleInstanceLock::SingleInstanceLock() : SingleInstanceLock(defaultLockPaths()) {}

SingleInstanceLock::SingleInstanceLock(const QString& lockFilePath)
    : SingleInstanceLock(QStringList{lockFilePath}) {}

SingleInstanceLock::SingleInstanceLock(QStringList lockFilePaths)
    : candidates_(std::move(lockFilePaths)), path_(candidates_.value(0)) {}

SingleInstanceLock::~SingleInstanceLock() = default;

SingleInstanceLock::Outcome SingleInstanceLock::acquire() {
    if (lock_ && lock_->isLocked()) return Outcome::Acquired;
    for (const QString& path : candidates_) {
        auto lock = lockFileAt(path);
        if (lock->tryLock(0)) {
            path_ = path;
            lock_ = std::move(lock);
            return Outcome::Acquired;
        }
        if (lock->error() == QLockFile::LockFailedError) {
            path_ = path;
            return Outcome::HeldByOther;
        }
        // This place cannot hold the file (no folder, no permission): the next one may.
    }
    return Outcome::Unavailable;
}

} // namespace tavrin
