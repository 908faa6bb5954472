#include "device_file.h"

#include "device_definition.h"
#include "device_file_text.h"
#include "device_list_scan.h"
#include "device_record_display.h"
#include "status.h"
#include "whole_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <optional>

namespace tavrin {

namespace {

const QString DeviceFileName = QStringLiteral("device6.ini");
const QString PartListFileName = QStringLiteral("Support_PIC_List.txt");

QString folderText(const QString& dir) {
    return QDir::toNativeSeparators(dir.endsWith(QLatin1Char('/')) ? dir : dir + QLatin1Char('/'));
}

// The folders named in the "not found" message: every folder searched, one a line, or the one
// folder of a path given as it is.
QString deviceFolders(const AppPaths& paths) {
    if (paths.deviceFile.isEmpty() && paths.searchedDirs.size() > 1) {
        QString text;
        for (const QString& dir : paths.searchedDirs)
            text += QStringLiteral("\r\n") + folderText(dir);
        return text;
    }
    return folderText(paths.deviceFile.isEmpty() ? paths.dataDir
                                                 : QFileInfo(paths.deviceFile).absolutePath());
}

// Why the file gave no text; None when it did.
enum class DeviceFileFault { None, Missing, TooLarge };

std::optional<QByteArray> readDeviceFileText(const AppPaths& paths,
                                             DeviceFileFault* fault = nullptr) {
    DeviceFileFault ignored;
    DeviceFileFault& why = fault ? *fault : ignored;
    why = DeviceFileFault::Missing;
    if (paths.deviceFile.isEmpty()) return std::nullopt;
    QFile file(paths.deviceFile);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    if (file.size() > MaxDeviceFileBytes) {
        why = DeviceFileFault::TooLarge;
        return std::nullopt;
    }
    const QByteArray bytes = file.read(MaxDeviceFileBytes + 1);
    if (file.error() != QFileDevice::NoError) return std::nullopt;
    if (bytes.size() > MaxDeviceFileBytes) {
        why = DeviceFileFault::TooLarge;
        return std::nullopt;
    }
    why = DeviceFileFault::None;
    return deviceFileUtf8(bytes);
}

// A file that is there but unusable is not reported as missing.
void showDeviceFileUnusable(OperatorUi& ui, const AppPaths& paths, const QString& why) {
    ui.messageBox(MessageIcon::Critical, MessageButtons::Ok,
                  QStringLiteral("設定ファイルを開けませんでした"),
                  QStringLiteral("デバイス情報設定ファイル '") +
                      QDir::toNativeSeparators(paths.deviceFile) + QStringLiteral("' ") + why);
}

void showDeviceFileMissing(OperatorUi& ui, const AppPaths& paths) {
    ui.messageBox(MessageIcon::Critical, MessageButtons::Ok,
                  QStringLiteral("設定ファイルを開けませんでした"),
                  QStringLiteral("デバイス情報設定ファイル "
                                 "'device6.ini'が、以下のフォルダーに有りませんでした。") +
                      deviceFolders(paths));
}

void showBlockReadError(OperatorUi& ui, const QString& detail) {
    ui.messageBox(MessageIcon::Critical, MessageButtons::Ok, QStringLiteral("ﾌｧｲﾙ 開く失敗"),
                  QStringLiteral("設定ファイルの読み出しに失敗しました。\r\n\u3000") + detail);
}

// The list is an export for the person; failing to write it does not stop the program.
bool writePartList(const AppPaths& paths, const QStringList& names) {
    QByteArray text;
    for (const QString& name : names)
        text += name.toUtf8() + "\r\n";
    return writeWholeFile(paths.inData(PartListFileName), text);
}

} // namespace

bool LoadDeviceList(Session& s, OperatorUi& ui, const AppPaths& paths) {
    s.device.DeviceNames.clear();
    DeviceFileFault fault;
    const std::optional<QByteArray> text = readDeviceFileText(paths, &fault);
    if (!text) {
        s.device.DeviceFileError = 1;
        if (fault == DeviceFileFault::TooLarge)
            showDeviceFileUnusable(
                ui, paths,
                QStringLiteral("は大きすぎます（上限 %1 バイト）。").arg(MaxDeviceFileBytes));
        else
            showDeviceFileMissing(ui, paths);
        return false;
    }
    DeviceListScan scan = scanDeviceList(*text);
    if (scan.names.isEmpty()) {
        s.device.DeviceFileError = 1;
        showDeviceFileUnusable(ui, paths,
                               QStringLiteral("にデバイスの定義（#BEGIN）がありません。"));
        return false;
    }
    s.device.DeviceNames = scan.names;
    s.device.DeviceFileVersion = scan.version;
    s.device.DeviceFileError = 0;
    if (!writePartList(paths, scan.names))
        ShowStatusMessage(ui, QStringLiteral("<<注意>>") + PartListFileName +
                                  QStringLiteral(" を書き込めませんでした。"));
    ui.setDeviceList(scan.names);
    return true;
}

bool LoadDeviceDefinition(Session& s, OperatorUi& ui, const AppPaths& paths) {
    if (s.device.SelectedDevice.isEmpty()) return false;
    const std::optional<QByteArray> text = readDeviceFileText(paths);
    if (!text) {
        s.device.SelectedDevice.clear();
        s.device.DeviceFileError = 1;
        showDeviceFileMissing(ui, paths);
        return false;
    }
    DeviceDefinition definition = readDeviceDefinition(*text, s.device);
    if (definition.outcome != DeviceDefinition::Outcome::Loaded) {
        // The previous part's record stays, but no longer under a name: operations refuse until
        // a part loads properly.
        s.device.SelectedDevice.clear();
        s.device.DeviceFileError = -1;
        s.device.DeviceFileErrorText = definition.errorText;
        showBlockReadError(ui, definition.errorText);
        return false;
    }
    s.device = std::move(definition.record);
    writeConfigWordBytes(s.buffer, s.device);
    showDeviceRecord(ui, s.device);
    ui.refreshViews(ViewConfigGrids);
    return true;
}

} // namespace tavrin
