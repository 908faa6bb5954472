#include "hex_file_commands.h"

#include "buffer_commands.h"
#include "device_selection.h"
#include "main_context.h"

#include "core/config_grids.h"
#include "core/hex_scan.h"
#include "core/operation_controls.h"
#include "core/operation_guard.h"
#include "core/program_type.h"
#include "core/status.h"
#include "core/utilities.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <optional>

namespace tavrin {

namespace {

const QString kOpenFilter = QStringLiteral("Hexファイル (*.HEX *.hex);;全てのファイル (*)");
const QString kDirectOpenFilter = QStringLiteral("Hex File (*.HEX *.hex);;All Files (*)");
const QString kLoadTitle = QStringLiteral("ファイルロード");
const QString kOverwriteTitle = QStringLiteral("上書き保存");
const QString kSaveFilter = QStringLiteral("Hexファイル (*.hex *.HEX);;全てのファイル (*)");

void hideGridOverlays(OperatorUi& ui) {
    ui.setControlVisible(Control::CmbInit, false);
    ui.setControlVisible(Control::TxtInit, false);
}

// Busy pointer for the length of a load, also when it returns early.
struct BusyPointer {
    OperatorUi& ui;
    explicit BusyPointer(OperatorUi& u) : ui(u) { ui.setBusy(true); }
    ~BusyPointer() { ui.setBusy(false); }
};

// Reading a large file lets the window's events run: no other command may start on the buffer
// meanwhile. The assembler's reload already holds the guard.
std::optional<OperationScope> guardUnlessHeld(MainContext& ctx) {
    if (operationRunning(ctx.s)) return std::nullopt;
    return std::optional<OperationScope>(std::in_place, ctx.s, ctx.ui);
}

// The key under which a file is remembered as partly loaded: the same file however it was named.
QString fileKey(const QString& path) {
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.absoluteFilePath() : canonical;
}

// A load that passed over lines left a buffer that is not the whole file: the person hears of it
// at once, and a later save over the file asks first (consentsToOverwrite).
void rememberWhatTheLoadSkipped(MainContext& ctx, const QString& path) {
    Session& s = ctx.s;
    const QString key = fileKey(path);
    if (s.run.HexLoadResult != result::OK || s.run.HexLoadSkipped.isEmpty()) {
        if (s.run.HexLoadResult == result::OK) s.app.PartlyLoadedFiles.remove(key);
        return;
    }
    s.app.PartlyLoadedFiles.insert(key, s.run.HexLoadSkipped);
    ctx.ui.messageBox(
        MessageIcon::Exclamation, MessageButtons::Ok, kLoadTitle,
        QStringLiteral("このファイルには読み込めなかった行があります。\r\n") +
            s.run.HexLoadSkipped +
            QStringLiteral("\r\n\r\nこれらの行はＰＣバッファに入っていません。"
                           "このファイルに上書き保存すると、これらの行は失われます。"));
}

// Loads the file; the buffer is erased for it and the title names it only when the file holds
// something to load, so a file with nothing in it (a source file opened by mistake) leaves the
// buffer, its views, the ID and the title as they were. True when the buffer was taken over.
bool loadWithTheFamilyLoader(MainContext& ctx, const QString& path) {
    BusyPointer busy(ctx.ui);
    const auto guard = guardUnlessHeld(ctx);
    Session& s = ctx.s;
    bool takenOver = false;
    const auto takeOver = [&] {
        takenOver = true;
        FillPcBuffer(ctx, BufferFill::Erased);
        ctx.view.setWindowCaption(s.app.MainTitle + path);
        s.app.HexFilePath = path;
        s.app.LastHexFilePath = path;
        ctx.lastDialogPath = path;
    };
    const bool pic18 = isPic18Type(s.device.ProgramType);
    const auto& load = pic18 ? ctx.services.loadHexFile18 : ctx.services.loadHexFile;
    if (load) {
        load(s, ctx.ui, path, takeOver);
        if (takenOver) rememberWhatTheLoadSkipped(ctx, path);
    } else {
        s.run.HexLoadResult = result::NG;
    }
    return takenOver;
}

// A file too large to be a HEX file is refused before the buffer is erased for it, so the buffer
// keeps what it held, and before anything reads it whole.
bool refusedAsTooLarge(MainContext& ctx, const QString& path) {
    if (!hex::fileTooLarge(path)) return false;
    hex::refuseTooLargeFile(ctx.s, ctx.ui);
    return true;
}

// Selects the device the file names, as the device list would; with no such device the load goes
// on with the current one after telling the person.
void selectDeviceNamedInFile(MainContext& ctx, const QString& path) {
    QByteArray text;
    {
        const auto guard = guardUnlessHeld(ctx);
        hex::LoadProgress progress(ctx.ui);
        if (hex::readHexFile(path, text, &progress) != hex::ReadOutcome::Read) return;
    }
    const QString name = deviceNameInHexText(text);
    if (name.isEmpty()) return;
    const int index = int(ctx.s.device.DeviceNames.indexOf(name));
    if (index >= 0) {
        ctx.view.selectDeviceInList(index);
        SelectDevice(ctx, name, index);
        return;
    }
    ctx.ui.messageBox(MessageIcon::Information, MessageButtons::Ok, ctx.s.app.MainTitle,
                      QStringLiteral("HEXファイル内に、サポート外のデバイス名(　") + name +
                          QStringLiteral("　)が設定されています。　　　　　　　　\r\n"
                                         "現在のデバイス設定のままHEXファイルをロードします。"));
}

void showPic18Id(MainContext& ctx) {
    QString id;
    for (int k = 0; k < 8; ++k)
        id += NibbleToHexChar(ctx.s.buffer.Id18Image[k] & 0x0F);
    ctx.ui.setControlText(Control::Text_ID, id);
    ctx.s.buffer.IdText = id;
}

void rememberInHistory(MainContext& ctx, const QString& folder) {
    ctx.history.add(folder, ctx.s.device.SelectedDevice, ctx.deviceIndex);
    ctx.history.save(ctx.settings);
    ctx.view.showFolderHistory(ctx.history.entries());
}

// The list index of the history entry's device: by its name, else the index kept with it.
int historyDeviceIndex(const MainContext& ctx, int entry) {
    const QString device = FolderHistory::splitEntry(ctx.history.entry(entry)).second;
    const QStringList& names = ctx.s.device.DeviceNames;
    if (!device.isEmpty()) {
        const int byName = int(names.indexOf(device));
        if (byName >= 0) return byName;
    }
    const int index = ctx.history.deviceIndex(entry);
    return index >= 0 && index < names.size() ? index : -1;
}

// Asked before a save replaces an existing file. A file whose last load passed over lines holds
// more than the buffer: the question says what would be lost, and Enter keeps the file.
bool consentsToOverwrite(MainContext& ctx, const QString& path) {
    const auto partly = ctx.s.app.PartlyLoadedFiles.constFind(fileKey(path));
    if (partly == ctx.s.app.PartlyLoadedFiles.cend())
        return ctx.ui.messageBox(MessageIcon::Question, MessageButtons::OkCancel, kOverwriteTitle,
                                 QStringLiteral("ファイルが存在します。上書きしますか？")) ==
               MessageAnswer::Ok;
    return ctx.ui.messageBox(
               MessageIcon::Exclamation, MessageButtons::YesNo, kOverwriteTitle,
               QStringLiteral(
                   "このファイルには、前回のロードで読み込めなかった行があります。\r\n") +
                   *partly +
                   QStringLiteral("\r\n\r\n上書きすると、読み込まなかった行は失われます。"
                                  "上書きしますか？"),
               MessageDefault::Second) == MessageAnswer::Yes;
}

} // namespace

QString deviceNameInHexText(QByteArrayView text) {
    // Found from the end, without splitting the file into items: the open command reads a file
    // of many megabytes (a binary file opened by mistake) in a blink.
    const auto endsItem = [](char c) { return c == ',' || c == '\r' || c == '\n'; };
    const char* bytes = text.data();
    qsizetype last = text.size() - 4;
    while (last >= 0 && !(bytes[last] == ';' && bytes[last + 1] == 'P' && bytes[last + 2] == 'I' &&
                          bytes[last + 3] == 'C'))
        --last;
    if (last < 0) return QString();
    qsizetype itemStart = last;
    while (itemStart > 0 && !endsItem(text[itemStart - 1]))
        --itemStart;
    const qsizetype first = itemStart + text.sliced(itemStart).indexOf(QByteArrayView(";PIC"));
    qsizetype itemEnd = last;
    while (itemEnd < text.size() && !endsItem(text[itemEnd]))
        ++itemEnd;
    return QString::fromLatin1(text.sliced(first + 1, itemEnd - first - 1));
}

void OpenHexFile(MainContext& ctx) {
    Session& s = ctx.s;
    OperatorUi& ui = ctx.ui;
    hideGridOverlays(ui);
    ui.setControlText(Control::Lbl_ID_Rev, QString());
    ui.setControlText(Control::Lbl_ID_Dev, QString());
    if (!CheckDeviceSelected(s, ui, s.run.OperationResult)) return;

    const bool reopen = s.app.ReopenWithoutDialog;
    QString path = s.app.HexFilePath;
    if (!reopen) {
        path = ctx.view.chooseOpenFile(
            {QString(), ctx.settings.value(QStringLiteral("OPEN_DIR0"), QString()), kOpenFilter,
             QStringLiteral("HEX"), QStringLiteral("*.HEX")});
        if (path.isEmpty()) {
            ui.setBusy(false);
            return;
        }
    }
    if (!FileExists(path)) {
        ShowStatusMessage(ui, kOpenFailedStatus, QString());
        return;
    }
    if (refusedAsTooLarge(ctx, path)) return;
    QString folder;
    if (!reopen) {
        folder = folderOfPath(path);
        ctx.settings.setValue(QStringLiteral("OPEN_DIR0"), folder);
    }
    if (ctx.settings.value(QStringLiteral("CCSC_option"), QStringLiteral("0")).trimmed().toInt() ==
        1)
        selectDeviceNamedInFile(ctx, path);

    if (loadWithTheFamilyLoader(ctx, path)) {
        RecomputeConfigFromGrid(s, ui, ctx.view.configTabShown() + 1);
        if (isPic18Type(s.device.ProgramType)) showPic18Id(ctx);
    }
    if (!folder.isEmpty()) rememberInHistory(ctx, folder);
}

void DirectOpenHexFile(MainContext& ctx, const QString& folder) {
    Session& s = ctx.s;
    OperatorUi& ui = ctx.ui;
    hideGridOverlays(ui);
    QString path;
    if (!s.app.CommandLine.isEmpty()) {
        // The file given on the command line is opened once, as it is.
        path = s.app.CommandLine;
        s.app.CommandLine.clear();
    } else {
        if (!CheckDeviceSelected(s, ui, s.run.OperationResult)) return;
        path = ctx.view.chooseOpenFile(
            {QString(), folder, kDirectOpenFilter, QStringLiteral("hex"), QString()});
        if (path.isEmpty()) return;
        if (!FileExists(path)) {
            ShowStatusMessage(ui, kOpenFailedStatus, QString());
            return;
        }
        if (!s.app.ReopenWithoutDialog)
            ctx.settings.setValue(QStringLiteral("OPEN_DIR0"), folderOfPath(path));
    }
    if (refusedAsTooLarge(ctx, path)) return;
    loadWithTheFamilyLoader(ctx, path);
}

void OpenHistoryEntry(MainContext& ctx, int entry) {
    if (entry < 0 || entry >= FolderHistory::kEntries) return;
    const QString text = ctx.history.entry(entry);
    if (text.isEmpty()) return;
    const QString folder = FolderHistory::splitEntry(text).first;
    const int index = historyDeviceIndex(ctx, entry);
    if (index >= 0 && index != ctx.deviceIndex) {
        ctx.view.selectDeviceInList(index);
        SelectDevice(ctx, ctx.s.device.DeviceNames.at(index), index);
    }
    DirectOpenHexFile(ctx, folder);
}

void ClearFolderHistory(MainContext& ctx) {
    ctx.history.clear();
    ctx.history.save(ctx.settings);
    ctx.view.showFolderHistory(ctx.history.entries());
}

void LoadFolderHistory(MainContext& ctx) {
    ctx.history.load(ctx.settings);
    ctx.view.showFolderHistory(ctx.history.entries());
}

void SaveHexFile(MainContext& ctx) {
    Session& s = ctx.s;
    OperatorUi& ui = ctx.ui;
    if (!CheckDeviceSelected(s, ui, s.run.OperationResult)) return;
    const QString path = ctx.view.chooseSaveFile(
        {QString(), ctx.settings.value(QStringLiteral("SAVE_DIR"), QString()), kSaveFilter,
         QStringLiteral("Hex"), ctx.lastDialogPath});
    if (path.isEmpty()) return;
    ctx.lastDialogPath = path;
    if (FileExists(path) && !consentsToOverwrite(ctx, path)) {
        // HexFilePath keeps naming the file the buffer came from, so a reload does not take the
        // declined file.
        ShowStatusMessage(ui, QStringLiteral("ファイル保存をキャンセルしました。 "), QString());
        return;
    }
    const bool pic18 = isPic18Type(s.device.ProgramType);
    const auto& save = pic18 ? ctx.services.saveHexFile18 : ctx.services.saveHexFile;
    // The writer reports a failure itself. The buffer is not in that file then: the title, the
    // current file and the save folder keep naming what they named, so that nothing later takes
    // the file that was never written for the buffer's.
    if (!save || !save(s, ui, path)) return;
    s.app.HexFilePath = path;
    ctx.view.setWindowCaption(s.app.MainTitle + path);
    ctx.settings.setValue(QStringLiteral("SAVE_DIR"), folderOfPath(path));
    // The file now holds the whole buffer: nothing of it is left unloaded.
    s.app.PartlyLoadedFiles.remove(fileKey(path));
    ShowStatusMessage(ui, QStringLiteral("ファイル保存完了。 ") + path, QString());
}

} // namespace tavrin
