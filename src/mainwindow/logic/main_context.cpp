#include "main_context.h"

#include <QFileInfo>

namespace tavrin {

QString folderOfPath(const QString& path) {
    return QFileInfo(path).absolutePath();
}

} // namespace tavrin
