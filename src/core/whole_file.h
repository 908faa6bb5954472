// Replacing a file on disk so that it either holds all of the new bytes or keeps its old content.
#pragma once

#include <QByteArray>
#include <QString>

namespace tavrin {

// QSaveFile alone is not enough: it buffers small writes, and when the real write fails inside
// commit() it still renames the short temporary file over the target. Here the bytes are pushed
// to the disk and checked before the rename. On failure the old file stays and `error` (when
// given) says why in the system's words ("No space left on device").
bool writeWholeFile(const QString& path, const QByteArray& bytes, QString* error = nullptr);

} // namespace tavrin
