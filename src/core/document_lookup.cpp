#include "document_lookup.h"

#include <QDir>
#include <QFileInfo>

namespace tavrin {

QStringList documentFolders(const AppPaths& paths, const QString& executableDir) {
    QStringList folders;
    if (!paths.deviceFile.isEmpty()) folders << QFileInfo(paths.deviceFile).absolutePath();
    folders << executableDir << installedDataDir();
    folders.removeAll(QString());
    folders.removeDuplicates();
    return folders;
}

QString findDocument(const QString& fileName, const QStringList& folders) {
    for (const QString& folder : folders) {
        const QDir dir(folder);
        for (const QString& entry : dir.entryList(QDir::Files))
            if (entry.compare(fileName, Qt::CaseInsensitive) == 0) return dir.filePath(entry);
    }
    return QString();
}

} // namespace tavrin
