#include "app_paths.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#ifndef TAVRIN_INSTALL_DATADIR
#define TAVRIN_INSTALL_DATADIR "/usr/local/share/tavrin-writer"
#endif

namespace tavrin {

AppPaths locateAppPaths(const QString& executableDir, const QString& installedDataDir,
                        const QString& userDataDir) {
    AppPaths paths;
    paths.dataDir = QDir::cleanPath(userDataDir);
    QDir().mkpath(paths.dataDir);
    const QString name = QStringLiteral("device6.ini");
    for (const QString& dir : {executableDir, installedDataDir, userDataDir}) {
        if (dir.isEmpty()) continue;
        paths.searchedDirs << QDir::cleanPath(dir);
        const QString candidate = QDir(dir).filePath(name);
        if (QFileInfo(candidate).isFile()) {
            paths.deviceFile = candidate;
            break;
        }
    }
    return paths;
}

QString installedDataDir() {
    return QStringLiteral(TAVRIN_INSTALL_DATADIR);
}

AppPaths locateAppPaths(const QString& executableDir) {
    QString user = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    if (user.isEmpty()) user = QDir::homePath() + QStringLiteral("/.local/share/tavrin-writer");
    return locateAppPaths(executableDir, installedDataDir(), user);
}

} // namespace tavrin
