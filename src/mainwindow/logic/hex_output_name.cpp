#include "hex_output_name.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace tavrin {

HexOutputName::HexOutputName(QString hexPath) : hexPath_(std::move(hexPath)) {
    before_ = variants();
}

std::map<QString, HexOutputName::Stamp> HexOutputName::variants() const {
    std::map<QString, Stamp> found;
    const QFileInfo wanted(hexPath_);
    const QDir folder = wanted.absoluteDir();
    for (const QFileInfo& entry : folder.entryInfoList(QDir::Files | QDir::Hidden))
        if (entry.fileName() != wanted.fileName() &&
            entry.fileName().compare(wanted.fileName(), Qt::CaseInsensitive) == 0)
            found[entry.fileName()] = {entry.lastModified(), entry.size()};
    return found;
}

bool HexOutputName::adoptToolOutput() const {
    if (QFileInfo::exists(hexPath_)) return true;
    const QDir folder = QFileInfo(hexPath_).absoluteDir();
    for (const auto& [name, stamp] : variants()) {
        const auto was = before_.find(name);
        if (was != before_.end() && was->second == stamp) continue;
        return QFile::rename(folder.filePath(name), hexPath_);
    }
    return false;
}

} // namespace tavrin
