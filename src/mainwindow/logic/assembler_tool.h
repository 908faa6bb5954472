// What the assembler commands work out before anything runs: the kind of tool from its path, the
// files that belong to a HEX or source path, the tool's argument list and the information text.
#pragma once

#include <QString>
#include <QStringList>

namespace tavrin {

// The tool kinds and what differs between them. Kinds 0 and 1 are assemblers, 2 and 3 C
// compilers; kind 3 cannot tell success by itself, so the person is asked.
struct ToolVariant {
    int kind;
    QString sourceExtension; // without the dot
    bool asksWhetherItSucceeded;
    QString failureStatus;
    // The run's source dialog, when no HEX file is known yet.
    QString runDialogTitle;
    QString runDialogFilter;
    QString runDialogSuffix;
    // The source choice command's dialog.
    QString choiceDialogFilter;
    QString choiceDialogSuffix;
};

const ToolVariant& toolVariant(int kind);

// The kind of the tool at this path, for a run. A Windows tool is known by its name with ".exe";
// the same name with no extension at the end of the path is that tool installed elsewhere.
// Later names win; a path naming none of them is an assembler (kind 0).
int toolKindForRun(const QString& toolPath);
// The kind for the source choice, which looks for the names anywhere in the path.
int toolKindForSourceChoice(const QString& toolPath);

// The files one run works on. base is the folder, the name without its extension and the dot,
// so that base + "hex" and base + "asm" name the HEX file and the source.
struct AssemblerFiles {
    QString base;
    QString hex;
    QString source;
    QString errorFile; // base + the error-file extension; empty when none is set
};

// base from a HEX or source path: its last extension is dropped, whatever its length.
QString basePathOf(const QString& path);
// The files of a run on this HEX file, or on the source chosen when none was known. The source
// keeps the case of its extension when the folder holds it so.
AssemblerFiles assemblerFiles(const QString& hexPath, const ToolVariant& variant,
                              const QString& errorExtension);

// The tool's arguments: the options split as a command line is split, then the source's file
// name as one argument.
QStringList toolArguments(const QString& options, const QString& sourceFileName);

// The command as the information window shows it: arguments with blanks or quotes quoted.
QString commandText(const QString& program, const QStringList& arguments);

// The information window's text before a run.
QString runInformationText(const QString& command, const QString& errorFile,
                           const QString& workingDir);

// The question asked after a kind-3 run.
QString compileSucceededQuestion();

} // namespace tavrin
