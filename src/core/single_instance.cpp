#include "single_instance.h"

#include <QDir>
#include <QLockFile>
#include <QStandardPaths>

namespace tavrin {

namespace {
QString defaultLockPath() {
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty()) dir = QDir::tempPath();
    return QDir(dir).filePath(QStringLiteral("tavrin-writer.lock"));
}
} // namespace

SingleInstanceLock::SingleInstanceLock() : SingleInstanceLock(defaultLockPath()) {}

SingleInstanceLock::SingleInstanceLock(const QString& lockFilePath)
    : path_(lockFilePath), lock_(std::make_unique<QLockFile>(lockFilePath)) {
    // The program may run for days: only a lock whose process is gone counts as stale.
    lock_->setStaleLockTime(0);
}

SingleInstanceLock::~SingleInstanceLock() = default;

bool SingleInstanceLock::tryAcquire() {
    return lock_->isLocked() || lock_->tryLock(0);
}

} // namespace tavrin
