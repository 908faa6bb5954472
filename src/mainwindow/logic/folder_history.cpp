#include "folder_history.h"

#include "core/settings_store.h"

namespace tavrin {

namespace {
const QString kSeparator = QStringLiteral("    ");

QString dirKey(int i) {
    return QStringLiteral("OPEN_DIR") + QString::number(i + 1);
}
QString deviceKey(int i) {
    return QStringLiteral("OPEN_Device") + QString::number(i + 1);
}
} // namespace

QString FolderHistory::entryText(const QString& folder, const QString& device) {
    return folder + kSeparator + device;
}

std::pair<QString, QString> FolderHistory::splitEntry(const QString& text) {
    const qsizetype at = text.lastIndexOf(kSeparator);
    if (at < 0) return {text, QString()};
    return {text.left(at), text.mid(at + kSeparator.size()).trimmed()};
}

void FolderHistory::add(const QString& folder, const QString& device, int deviceIndex) {
    const QString text = entryText(folder, device);
    for (const QString& e : entries_)
        if (e == text) return;
    for (int i = kEntries - 1; i > 0; --i) {
        entries_[i] = entries_[i - 1];
        deviceIndices_[i] = deviceIndices_[i - 1];
    }
    entries_[0] = text;
    deviceIndices_[0] = deviceIndex;
}

void FolderHistory::clear() {
    entries_.fill(QString());
    deviceIndices_.fill(0);
}

QStringList FolderHistory::entries() const {
    return QStringList(entries_.begin(), entries_.end());
}

void FolderHistory::load(const SettingsStore& settings) {
    for (int i = 0; i < kEntries; ++i) {
        entries_[i] = settings.value(dirKey(i), QString());
        bool ok = false;
        const int index = settings.value(deviceKey(i), QStringLiteral("0")).trimmed().toInt(&ok);
        deviceIndices_[i] = ok ? index : 0;
    }
}

void FolderHistory::save(SettingsStore& settings) const {
    for (int i = 0; i < kEntries; ++i)
        settings.setValue(dirKey(i), entries_[i]);
    for (int i = 0; i < kEntries; ++i)
        settings.setValue(deviceKey(i), QString::number(deviceIndices_[i]));
}

} // namespace tavrin
