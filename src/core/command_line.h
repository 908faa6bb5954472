// The start-up command line: a HEX file path, optionally followed by "/" and a device name.
#pragma once

#include <QString>
#include <QStringList>

namespace tavrin {

struct CommandLineArgs {
    QString hexPath;                // empty when there is none or it was refused
    QString option1;                // the device name, upper case
    QString option2;                // kept, not used
    bool refusedUnopenable = false; // a path was given but the file cannot be opened
};

// The arguments after the program name, as the system hands them over. When the name of the
// first ends in ".hex" (any case), that is the file, whatever its path holds (blanks, quotes,
// TABs, ".hex" in a folder name), and the following arguments that begin with "/" carry the
// options ("/" starts each one). Otherwise the arguments are read as one field, the
// way a shell that splits at blanks, or one quoted text, handed them over: a TAB ends the field,
// quotes are removed, the path runs to ".HEX" (matched without regard to case) and keeps its case,
// since file names on this system are case-sensitive, and "/" starts each option.
CommandLineArgs ParseCommandLine(const QStringList& arguments);

// The command line as the person gave it, for the start-up view: the arguments joined by blanks.
QString commandLineText(const QStringList& arguments);

// True when the file can be opened for reading.
bool FileExists(const QString& path);

} // namespace tavrin
