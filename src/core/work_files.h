// The work files in the per-user data folder: the ones start-up must be able to write (with the
// logs) and the ones removed when the program ends.
#pragma once

#include <QString>
#include <QStringList>

namespace tavrin {

// temp.txt, pgmmemory_temp.txt, eepmemory_temp.txt, then every log generation.
QStringList filesCheckedAtStartup();
// temp.txt, pgmmemory_temp.txt, eepmemory_temp.txt, dis_asm.asm, eepmemory_temp.asm.
QStringList filesRemovedAtExit();

// The checked files of the folder that exist but cannot be written: read-only by their
// attributes (even for a user who may write anyway) or for the person running the program. A
// folder that cannot be written counts too, as the folder itself.
QStringList unwritableStartupFiles(const QString& dir);

// The refusal text; folder is shown with its trailing separator.
QString unwritableFilesMessage(const QString& folder);

// Removes the work files; a missing or undeletable file is passed over.
void RemoveWorkFiles(const QString& dir);

} // namespace tavrin
