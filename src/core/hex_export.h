// Intel HEX export of the PC buffer: SaveHexFile for the 12- and 14-bit parts (16-bit record
// addresses), SaveHexFile18 for the PIC18 parts (extended linear address records).
//
// The file is written beside the target under a temporary name and renamed over it only when
// complete, so a save that fails leaves the old file as it was. A failure is reported on the
// status line and in a message box and the writer returns false; the caller reports success.
#pragma once

#include <QByteArray>
#include <QString>

namespace tavrin {

struct Session;
class OperatorUi;

bool SaveHexFile(Session& s, OperatorUi& ui, const QString& path);
bool SaveHexFile18(Session& s, OperatorUi& ui, const QString& path);

// The text the writers write. The PIC18 one first sets Config18Bytes(0..13) from ConfigValue(1..7),
// so values edited in the grids reach the file.
QByteArray hexFileText(const Session& s);
QByteArray hexFileText18(Session& s);

} // namespace tavrin
