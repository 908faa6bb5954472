#include "settings_store.h"

#include <QSettings>

namespace tavrin {

namespace {
QString keyOf(const QString& key) {
    return QLatin1String(kSettingsSection) + QLatin1Char('/') + key;
}
} // namespace

bool settingIsTrue(const QString& value) {
    const QString v = value.trimmed();
    return v == QLatin1String("1") || v == QLatin1String("-1") ||
           v.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0;
}

QtSettingsStore::QtSettingsStore()
    : settings_(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                            QLatin1String(kSettingsApplication),
                                            QLatin1String(kSettingsApplication))) {}

QtSettingsStore::QtSettingsStore(const QString& iniPath)
    : settings_(std::make_unique<QSettings>(iniPath, QSettings::IniFormat)) {}

QtSettingsStore::~QtSettingsStore() = default;

QString QtSettingsStore::value(const QString& key, const QString& defaultValue) const {
    return settings_->value(keyOf(key), defaultValue).toString();
}

void QtSettingsStore::setValue(const QString& key, const QString& value) {
    settings_->setValue(keyOf(key), value);
}

bool QtSettingsStore::contains(const QString& key) const {
    return settings_->contains(keyOf(key));
}

void QtSettingsStore::sync() {
    settings_->sync();
}

} // namespace tavrin
