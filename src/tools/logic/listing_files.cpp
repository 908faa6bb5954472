#include "listing_files.h"

#include "core/whole_file.h"

#include <QDir>
#include <QFileInfo>

namespace tavrin {

QString writeListingFile(const QString& path, const QByteArray& text) {
    QString why;
    if (tavrin::writeWholeFile(path, text, &why)) return {};
    return QStringLiteral("ファイルを書き込めませんでした。\n%1\n%2")
        .arg(QDir::toNativeSeparators(path), why);
}

QString saveFolderOf(const QString& path) {
    return QDir::toNativeSeparators(QFileInfo(path).absolutePath());
}

} // namespace tavrin
