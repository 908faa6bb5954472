// The File menu's HEX commands: open through the dialog (with the device named in the file and
// the folder history), the direct open used at start-up and by the history, the history entries
// and their clearing, and save.
#pragma once

#include <QByteArrayView>
#include <QString>

namespace tavrin {

struct MainContext;

inline const QString kOpenFailedStatus = QStringLiteral("ファイルをオープンできませんでした。");

// mnuFileOpen_Click. With s.app.ReopenWithoutDialog set it reloads HexFilePath without the
// dialog, the folder setting and the history.
void OpenHexFile(MainContext& ctx);
// mnuFileDirectOpen: the command-line file once at start-up, otherwise the open dialog in the
// given folder.
void DirectOpenHexFile(MainContext& ctx, const QString& folder);
// nmuFile1_Click .. nmuFile5_Click (entry 0..4): selects the entry's device, then opens the
// dialog in its folder.
void OpenHistoryEntry(MainContext& ctx, int entry);
// nmuHistryClear_Click.
void ClearFolderHistory(MainContext& ctx);
// Restores the history menu from the settings.
void LoadFolderHistory(MainContext& ctx);

// mnuFileSave_Click: asks for the file, asks before overwriting, writes the buffer.
void SaveHexFile(MainContext& ctx);

// The device named by the last ";PIC…" item of a HEX file's text (items end at a comma or a line
// end): what follows the item's first ";"PIC; empty when none.
QString deviceNameInHexText(QByteArrayView text);

} // namespace tavrin
