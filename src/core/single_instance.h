// One running program per user: a lock file in the user's runtime folder. A second start finds
// it held and ends at once. The lock of a program that died is taken over.
#pragma once

#include <QString>

#include <memory>

class QLockFile;

namespace tavrin {

class SingleInstanceLock {
  public:
    // The lock file in the per-user runtime folder.
    SingleInstanceLock();
    explicit SingleInstanceLock(const QString& lockFilePath);
    ~SingleInstanceLock();

    // True when this process now holds the lock; never waits.
    bool tryAcquire();
    QString path() const { return path_; }

  private:
    QString path_;
    std::unique_ptr<QLockFile> lock_;
};

} // namespace tavrin
