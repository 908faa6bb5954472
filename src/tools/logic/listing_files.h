// Writing the listing: the work file the search window shows, and a copy the person saves.
#pragma once

#include <QByteArray>
#include <QString>

namespace tavrin {

inline constexpr const char* kListingWorkFile = "dis_asm.asm";

// Writes the whole text through the shared whole-file writer (the old file stays unless the new
// one is completely on disk). Returns an empty string on success, else what went wrong, for the
// person.
QString writeListingFile(const QString& path, const QByteArray& text);

// The folder kept as SAVE_DIR_asm for a chosen save path.
QString saveFolderOf(const QString& path);

} // namespace tavrin
