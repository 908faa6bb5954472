// One running program per user: a lock file in the user's runtime folder, or, where that folder
// cannot be had, a file named for the user in the temporary folder (a name shared by all users
// would let another user's copy stop this user's start). A second start finds the lock held and
// ends. The lock of a program that died is taken over.
#pragma once

#include <QString>
#include <QStringList>

#include <memory>

class QLockFile;

namespace tavrin {

class SingleInstanceLock {
  public:
    enum class Outcome {
        Acquired,    // this process holds the lock
        HeldByOther, // another copy of the program runs
        Unavailable, // no place could hold a lock file at all
    };

    // The per-user places, in order.
    SingleInstanceLock();
    explicit SingleInstanceLock(const QString& lockFilePath);
    // The places are tried in order; one that cannot hold a file gives way to the next.
    explicit SingleInstanceLock(QStringList lockFilePaths);
    ~SingleInstanceLock();

    // Never waits.
    Outcome acquire();
    bool tryAcquire() { return acquire() == Outcome::Acquired; }
    // The lock file in use (held, or found held); the first place before anything was tried.
    QString path() const { return path_; }

    // The per-user places: the runtime folder's file (when there is that folder), then the
    // temporary folder's file named for this user.
    static QStringList defaultLockPaths();

  private:
    QStringList candidates_;
    QString path_;
    std::unique_ptr<QLockFile> lock_;
};

} // namespace tavrin
