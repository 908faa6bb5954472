// Where the program finds device6.ini and where it writes logs and work files. The program's
// own folder may be read-only (an installed package), so writable files never go there.
#pragma once

#include <QString>
#include <QStringList>

namespace tavrin {

struct AppPaths {
    QString deviceFile; // device6.ini to read; empty when none was found
    QString dataDir;    // writable per-user folder for logs, work files and the part list; ends
                        // without '/'
    QStringList searchedDirs{}; // where device6.ini was looked for, in order (empty: not searched)

    QString inData(const QString& fileName) const { return dataDir + QLatin1Char('/') + fileName; }
};

// Looks for device6.ini beside the executable, then in the installed data folder, then in the
// per-user data folder, and makes the per-user data folder.
AppPaths locateAppPaths(const QString& executableDir);

// The folder the package installs device6.ini and the documents into.
QString installedDataDir();

// The same search with every folder given (tests).
AppPaths locateAppPaths(const QString& executableDir, const QString& installedDataDir,
                        const QString& userDataDir);

} // namespace tavrin
