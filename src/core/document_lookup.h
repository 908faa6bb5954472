// Where the program's documents (help, the board's assembly check) are found: beside device6.ini,
// beside the program, then in the installed data folder. Documents have been shipped with their
// names in either case, so names are compared without regard to case.
#pragma once

#include "core/app_paths.h"

#include <QStringList>

namespace tavrin {

// The help written for this program, opened when no other help file is present.
inline constexpr char kHelpDocumentName[] = "tavrin-help.html";
// The help file of the board's maker, preferred where it has been placed beside the program.
inline constexpr char kMakerHelpName[] = "Tavrin6.chm";
// The board's assembly-check document.
inline constexpr char kAssemblyCheckDocumentName[] = "製作確認資料.PDF";

QStringList documentFolders(const AppPaths& paths, const QString& executableDir);

// The document's path in the first folder that holds it; empty when none does.
QString findDocument(const QString& fileName, const QStringList& folders);

} // namespace tavrin
