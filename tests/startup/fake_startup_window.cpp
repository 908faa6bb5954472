#include "fake_startup_window.h"

namespace tavrin::test {

namespace {
bool flag(const SettingsStore& settings, const char* key, const char* defaultValue) {
    const QString v = settings.value(QLatin1String(key), QLatin1String(defaultValue)).trimmed();
    return v == QLatin1String("1") || v == QLatin1String("-1") ||
           v.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0;
}
} // namespace

void FakeStartupWindow::restoreMenuToggle(MenuToggle toggle) {
    switch (toggle) {
    case MenuToggle::BoardInformation:
        calls << QStringLiteral("toggle:board");
        break;
    case MenuToggle::BlankSkip:
        calls << QStringLiteral("toggle:blankSkip");
        break;
    case MenuToggle::ComMode1:
        s_.app.ComMode1Checked = flag(settings_, "mnuComMode1", "0");
        calls << QStringLiteral("toggle:comMode1");
        break;
    }
}

void FakeStartupWindow::selectDeviceByIndex(int i) {
    if (i < 0 || i >= s_.device.DeviceNames.size()) return;
    index = i;
    const QString name = s_.device.DeviceNames.at(i);
    s_.device.SelectedDevice = name == brokenDevice ? QString() : name;
    calls << QStringLiteral("select:") + name;
}

void FakeStartupWindow::selectDeviceByName(const QString& name) {
    selectDeviceByIndex(int(s_.device.DeviceNames.indexOf(name)));
}

} // namespace tavrin::test
