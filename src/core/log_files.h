// The result log and its generations: LOG_NEW0.txt is the current log, LOG_OLD1.txt ..
// LOG_OLD9.txt the older ones, all in the per-user data folder.
#pragma once

#include <QString>
#include <QStringList>

namespace tavrin {

inline constexpr int kOldLogCount = 9;

QString currentLogName();   // "LOG_NEW0.txt"
QString oldLogName(int n);  // "LOG_OLD<n>.txt", n = 1..9
QStringList logFileNames(); // the current log, then the nine old ones

struct RotationResult {
    bool rotated = false; // a non-empty current log started a new generation
    QString error;        // empty when every step succeeded
};

// Creates the missing log files empty; when the current log is not empty, shifts every
// generation down by one and starts a new current log. The current log is removed only after its
// copy to LOG_OLD1.txt succeeded, so no failure can lose it.
RotationResult EnsureAndRotateLogs(const QString& dir);

} // namespace tavrin
