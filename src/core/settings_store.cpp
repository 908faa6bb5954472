#include "settings_store.h"

#include <QFile>
#include <QSettings>

#include <cstdio>

namespace tavrin {

namespace {
QString keyOf(const QString& key) {
    return QLatin1String(kSettingsSection) + QLatin1Char('/') + key;
}

QString userIniPath() {
    return QSettings(QSettings::IniFormat, QSettings::UserScope,
                     QLatin1String(kSettingsApplication), QLatin1String(kSettingsApplication))
        .fileName();
}

std::map<QString, QVariant> readAll(const QString& path) {
    std::map<QString, QVariant> values;
    const QSettings file(path, QSettings::IniFormat);
    for (const QString& key : file.allKeys())
        values[key] = file.value(key);
    return values;
}
} // namespace

bool settingIsTrue(const QString& value) {
    const QString v = value.trimmed();
    return v == QLatin1String("1") || v == QLatin1String("-1") ||
           v.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0;
}

QtSettingsStore::QtSettingsStore() : QtSettingsStore(userIniPath()) {}

QtSettingsStore::QtSettingsStore(const QString& iniPath)
    : path_(iniPath), values_(readAll(iniPath)) {}

QtSettingsStore::~QtSettingsStore() {
    sync();
}

QString QtSettingsStore::value(const QString& key, const QString& defaultValue) const {
    const auto it = values_.find(keyOf(key));
    return it == values_.end() ? defaultValue : it->second.toString();
}

void QtSettingsStore::setValue(const QString& key, const QString& value) {
    QVariant& stored = values_[keyOf(key)];
    if (stored.isValid() && stored.toString() == value) return;
    stored = value;
    dirty_ = true;
    // Kept on disk as it changes, as the person expects after a crash or from another copy.
    if (!sync()) saveFailed();
}

bool QtSettingsStore::contains(const QString& key) const {
    return values_.count(keyOf(key)) != 0;
}

bool QtSettingsStore::sync() {
    if (!dirty_) return true;
    const QString staging = path_ + QStringLiteral(".new");
    QFile::remove(staging);
    {
        QSettings out(staging, QSettings::IniFormat);
        for (const auto& [key, value] : values_)
            out.setValue(key, value);
        out.sync();
        if (out.status() != QSettings::NoError) {
            QFile::remove(staging);
            return false;
        }
    }
    // A short write shows only as missing or different values.
    if (readAll(staging) != values_ || std::rename(QFile::encodeName(staging).constData(),
                                                   QFile::encodeName(path_).constData()) != 0) {
        QFile::remove(staging);
        return false;
    }
    dirty_ = false;
    return true;
}

} // namespace tavrin
