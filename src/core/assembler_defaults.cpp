#include "assembler_defaults.h"

#include "settings_store.h"

#include <QStandardPaths>

namespace tavrin {

QString DefaultAssemblerPath(const ExecutableFinder& finder) {
    return finder ? finder(kDefaultAssemblerName)
                  : QStandardPaths::findExecutable(kDefaultAssemblerName);
}

QString AssemblerToolInEffect(const SettingsStore& settings, const ExecutableFinder& finder) {
    return settings.contains(kAsmToolKey) ? settings.value(kAsmToolKey)
                                          : DefaultAssemblerPath(finder);
}

QString AssemblerOptionsInEffect(const SettingsStore& settings) {
    return settings.value(kAsmOptionKey, QStringLiteral("-q"));
}

QString AssemblerErrorExtensionInEffect(const SettingsStore& settings) {
    return settings.value(kAsmAfterKey, QStringLiteral("lst"));
}

bool AssemblerErrorFileAsPlainText(const SettingsStore& settings) {
    return settingIsTrue(settings.value(kAsmPlainEditorKey, QStringLiteral("True")));
}

} // namespace tavrin
