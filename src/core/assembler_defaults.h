// The assembler settings as they are in effect: what the person stored, or, where nothing is
// stored, the defaults the assembler settings window shows. The window and the assembler run both
// read them here, so that a default the window shows is the one a run uses.
#pragma once

#include <QString>

#include <functional>

namespace tavrin {

class SettingsStore;

// Finds an executable by name on the PATH; empty when there is none.
using ExecutableFinder = std::function<QString(const QString& name)>;

inline const QString kAsmToolKey = QStringLiteral("AsmFilePathWithFileName");
inline const QString kAsmOptionKey = QStringLiteral("AsmOption");
inline const QString kAsmAfterKey = QStringLiteral("AsmAfter");
inline const QString kAsmPlainEditorKey = QStringLiteral("EditerA");

// The assembler offered when none is stored.
inline const QString kDefaultAssemblerName = QStringLiteral("gpasm");

// The offered assembler's full path as the PATH finds it (the system's search without a finder);
// empty when it is not installed.
QString DefaultAssemblerPath(const ExecutableFinder& finder = {});
// The stored tool; with no tool stored, the offered assembler. A stored empty path stays empty:
// the person cleared the choice.
QString AssemblerToolInEffect(const SettingsStore& settings, const ExecutableFinder& finder = {});
// The options put between the tool and the source: stored, or what the offered assembler takes
// (quiet).
QString AssemblerOptionsInEffect(const SettingsStore& settings);
// The extension of the file opened after a failed run: stored, or the offered assembler's
// listing, which holds its errors.
QString AssemblerErrorExtensionInEffect(const SettingsStore& settings);
// True when that file opens as plain text rather than with the application its type belongs to.
bool AssemblerErrorFileAsPlainText(const SettingsStore& settings);

} // namespace tavrin
