// Intel HEX import into the PC buffer: LoadHexFile for the 12- and 14-bit parts (16-bit record
// addresses), LoadHexFile18 for the PIC18 parts (extended linear address pages).
//
// Both read the whole file, place every data record by its address, derive the configuration
// values the grids show, redraw the views, report on the status line and leave "OK" or "NG" in
// s.run.HexLoadResult. The caller has filled the images with the erased state before. A load
// that fails leaves the images as they were: the whole file is read and every record checked
// against the address map before the first one is placed. A file with no record to place loads
// nothing and leaves "NG" too; a file larger than hex::kMaxFileBytes is refused unread.
#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

namespace tavrin {

struct Session;
class OperatorUi;

// beforeLoading, when given, is the caller's preparation of the buffer for the file (the open
// command erases the buffer and names the file in the title). It runs before the load places
// anything, or fails, but not when the file holds nothing to load: such a file leaves the buffer,
// its views, the ID and the title as they were.
using BeforeLoading = std::function<void()>;
void LoadHexFile(Session& s, OperatorUi& ui, const QString& path,
                 const BeforeLoading& beforeLoading = {});
void LoadHexFile18(Session& s, OperatorUi& ui, const QString& path,
                   const BeforeLoading& beforeLoading = {});

// The same loads from the text of a file already read.
void LoadHexText(Session& s, OperatorUi& ui, const QByteArray& text);
void LoadHexText18(Session& s, OperatorUi& ui, const QByteArray& text);

} // namespace tavrin
