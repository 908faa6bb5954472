#include "work_files.h"

#include "log_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace tavrin {

namespace {
const QString kTempText = QStringLiteral("temp.txt");
const QString kProgramDump = QStringLiteral("pgmmemory_temp.txt");
const QString kEepromDump = QStringLiteral("eepmemory_temp.txt");

bool unwritable(const QFileInfo& info) {
    return !(info.permissions() & QFileDevice::WriteOwner) || !info.isWritable();
}
} // namespace

QStringList filesCheckedAtStartup() {
    return QStringList{kTempText, kProgramDump, kEepromDump} + logFileNames();
}

QStringList filesRemovedAtExit() {
    return {kTempText, kProgramDump, kEepromDump, QStringLiteral("dis_asm.asm"),
            QStringLiteral("eepmemory_temp.asm")};
}

QStringList unwritableStartupFiles(const QString& dir) {
    QStringList found;
    const QFileInfo folder(dir);
    if (!folder.isDir() || unwritable(folder)) found << dir;
    const QDir d(dir);
    for (const QString& name : filesCheckedAtStartup()) {
        const QFileInfo info(d.filePath(name));
        if (info.exists() && unwritable(info)) found << name;
    }
    return found;
}

QString unwritableFilesMessage(const QString& folder) {
    const QString fullWidthBlank = QStringLiteral("\u3000");
    return QStringLiteral("一時作業ファイルにアクセスすることができませんでした。") +
           fullWidthBlank.repeated(11) + QStringLiteral("\r\n\r\nフォルダー ") + folder +
           QStringLiteral("\u3000の、\r\n"
                          "Tavrin6.exe , device6.ini , Tavrin6.chm , ST6UNST.*** は、そのままで\r\n"
                          "それ以外のファイルを削除後に、Tavrin6.exeを再起動してください。\r\n") +
           fullWidthBlank + QStringLiteral("\r\n") + fullWidthBlank;
}

void RemoveWorkFiles(const QString& dir) {
    const QDir d(dir);
    for (const QString& name : filesRemovedAtExit())
        QFile::remove(d.filePath(name));
}

} // namespace tavrin
