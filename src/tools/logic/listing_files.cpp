#include "listing_files.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace tavrin {

QString writeWholeFile(const QString& path, const QByteArray& text) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QStringLiteral("ファイルを作成できませんでした。\n%1\n%2")
            .arg(QDir::toNativeSeparators(path), file.errorString());
    // The buffered bytes are pushed out before the rename, so a full disk is seen here and the
    // old file stays.
    if (file.write(text) != text.size() || !file.flush()) {
        const QString why = file.errorString();
        file.cancelWriting();
        return QStringLiteral("ファイルを書き込めませんでした。\n%1\n%2")
            .arg(QDir::toNativeSeparators(path), why);
    }
    if (!file.commit())
        return QStringLiteral("ファイルを書き込めませんでした。\n%1\n%2")
            .arg(QDir::toNativeSeparators(path), file.errorString());
    return {};
}

QString saveFolderOf(const QString& path) {
    return QDir::toNativeSeparators(QFileInfo(path).absolutePath());
}

} // namespace tavrin
