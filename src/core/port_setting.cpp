#include "port_setting.h"

#include "settings_store.h"

namespace tavrin {

QString savedPortName(const SettingsStore& settings, const QString& fallbackPort) {
    const QString stored = settings.value(QLatin1String(kPortSettingKey), QString()).trimmed();
    bool number = false;
    const int n = stored.toInt(&number);
    QString name = stored;
    if (number) {
#ifdef Q_OS_WIN
        name = n > 0 ? QStringLiteral("COM%1").arg(n) : QString();
#else
        Q_UNUSED(n);
        name.clear();
#endif
    }
    return name.isEmpty() ? fallbackPort.trimmed() : name;
}

void savePortName(SettingsStore& settings, const QString& portName) {
    settings.setValue(QLatin1String(kPortSettingKey), portName);
}

} // namespace tavrin
