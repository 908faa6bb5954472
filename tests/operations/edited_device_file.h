// The shipped device file with one row of one part's block changed, for a window test that needs
// a part the shipped file does not describe.
#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <utility>
#include <vector>

namespace tavrin::test {

// Writes the copy into `dir` with the row of `key` in the named part's block replaced by
// `replacement`, or left out when that is empty. Its path, or empty when the part has no such
// row or the copy cannot be written.
QString deviceFileWithRow(const QTemporaryDir& dir, const QString& part, const QByteArray& key,
                          const QByteArray& replacement);

// The same for several rows of the part's block: each key's row replaced by its row (or left
// out); empty when any key has no row.
QString deviceFileWithRows(const QTemporaryDir& dir, const QString& part,
                           const std::vector<std::pair<QByteArray, QByteArray>>& rows);

} // namespace tavrin::test
