#include "menu_toggles.h"

#include "core/settings_store.h"

namespace tavrin {

namespace {

bool readFlag(const SettingsStore& settings, const char* key, const char* defaultValue) {
    return settingIsTrue(
        settings.value(QString::fromLatin1(key), QString::fromLatin1(defaultValue)));
}

} // namespace

void MenuToggles::load(const SettingsStore& settings) {
    blankSkip = readFlag(settings, "SkipMode", "0");
    comMode1 = readFlag(settings, "mnuComMode1", "0");
    boardInformation = readFlag(settings, "mnuBoardInfomation", "True");
}

void saveBlankSkip(SettingsStore& settings, bool checked) {
    settings.setValue(QStringLiteral("SkipMode"),
                      checked ? QStringLiteral("1") : QStringLiteral("0"));
}

void saveComMode1(SettingsStore& settings, bool checked) {
    settings.setValue(QStringLiteral("mnuComMode1"),
                      checked ? QStringLiteral("1") : QStringLiteral("0"));
}

void saveBoardInformation(SettingsStore& settings, bool checked) {
    settings.setValue(QStringLiteral("mnuBoardInfomation"),
                      checked ? QStringLiteral("True") : QStringLiteral("False"));
}

} // namespace tavrin
