#include "main_context.h"

#include <QFileInfo>

namespace tavrin {

bool FileExists(const QString& path) {
    if (path.isEmpty()) return false;
    const QFileInfo info(path);
    return info.isFile() && info.isReadable();
}

QString folderOfPath(const QString& path) {
    return QFileInfo(path).absolutePath();
}

} // namespace tavrin
