#include "assembler_settings.h"

#include "core/session.h"
#include "core/settings_store.h"

#include <QFileInfo>

#include <algorithm>

namespace tavrin {

namespace {

const QString kToolFolderKey = QStringLiteral("AsmFilePath");
const QString kAssociatedKey = QStringLiteral("EditerB");
const QString kCcscKey = QStringLiteral("CCSC_option");
const QString kDisplayKey = QStringLiteral("Display_option");

QString truthText(bool value) {
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

QString tickText(bool value) {
    return value ? QStringLiteral("1") : QStringLiteral("0");
}

// The path up to, not including, the separator before the file name.
QString folderOf(const QString& path) {
    const qsizetype cut =
        std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    return cut >= 0 ? path.left(cut) : QString();
}

bool ticked(const QString& value) {
    return value.trimmed().toInt() != 0;
}

} // namespace

AssemblerSettings::AssemblerSettings(Session& s, SettingsStore& settings, ExecutableFinder finder)
    : s_(s), settings_(settings), finder_(std::move(finder)) {}

void AssemblerSettings::load() {
    TP_AsmFilePath = s_.app.AsmToolPath;
    changed_ = false;
    toolAccepted_ = false;
    fields_.options = AssemblerOptionsInEffect(settings_);
    fields_.errorExtension = AssemblerErrorExtensionInEffect(settings_);
    fields_.openWithNotepad = AssemblerErrorFileAsPlainText(settings_);
    fields_.openWithAssociated =
        settingIsTrue(settings_.value(kAssociatedKey, QStringLiteral("False")));
    fields_.ccscDeviceInfo = ticked(settings_.value(kCcscKey, QStringLiteral("0")));
    fields_.displayInformation = ticked(settings_.value(kDisplayKey, QStringLiteral("0")));
    if (!settings_.contains(kAsmToolKey)) {
        const QString offered = DefaultAssemblerPath(finder_);
        if (!offered.isEmpty() && (s_.app.AsmToolPath.isEmpty() || s_.app.AsmToolPath == offered)) {
            s_.app.AsmToolPath = offered;
            toolAccepted_ = true;
            changed_ = true;
        }
    }
    fields_.toolPath = s_.app.AsmToolPath;
}

QString AssemblerSettings::toolFolder() const {
    return settings_.value(kToolFolderKey, QString());
}

bool AssemblerSettings::chooseTool(const QString& path) {
    const QFileInfo file(path);
    const bool windowsProgram = file.fileName().toLower().endsWith(QLatin1String(".exe"));
    if (!windowsProgram && !(file.isFile() && file.isExecutable())) return false;
    s_.app.AsmToolPath = path;
    fields_.toolPath = path;
    toolAccepted_ = true;
    changed_ = true;
    return true;
}

void AssemblerSettings::editOptions(const QString& text) {
    fields_.options = text;
    changed_ = true;
}

void AssemblerSettings::editErrorExtension(const QString& text) {
    fields_.errorExtension = text;
    changed_ = true;
}

void AssemblerSettings::chooseNotepad() {
    fields_.openWithNotepad = true;
    fields_.openWithAssociated = false;
    changed_ = true;
}

void AssemblerSettings::chooseAssociatedApplication() {
    fields_.openWithNotepad = false;
    fields_.openWithAssociated = true;
    changed_ = true;
}

void AssemblerSettings::setCcscDeviceInfo(bool value) {
    fields_.ccscDeviceInfo = value;
    changed_ = true;
}

void AssemblerSettings::setDisplayInformation(bool value) {
    fields_.displayInformation = value;
    changed_ = true;
}

void AssemblerSettings::ok() {
    if (!changed_) {
        s_.app.AsmToolPath = TP_AsmFilePath;
        return;
    }
    if (toolAccepted_) {
        settings_.setValue(kAsmToolKey, s_.app.AsmToolPath);
        settings_.setValue(kToolFolderKey, folderOf(s_.app.AsmToolPath));
    }
    settings_.setValue(kAsmOptionKey, fields_.options);
    settings_.setValue(kAsmAfterKey, fields_.errorExtension);
    settings_.setValue(kAsmPlainEditorKey, truthText(fields_.openWithNotepad));
    settings_.setValue(kAssociatedKey, truthText(fields_.openWithAssociated));
    settings_.setValue(kCcscKey, tickText(fields_.ccscDeviceInfo));
    settings_.setValue(kDisplayKey, tickText(fields_.displayInformation));
    changed_ = false;
}

void AssemblerSettings::cancel() {
    s_.app.AsmToolPath = TP_AsmFilePath;
}

} // namespace tavrin
