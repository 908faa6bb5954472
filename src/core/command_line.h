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

// The arguments after the program name are one field (blanks do not separate; a TAB ends the
// field). Quotes are removed; the path runs to ".HEX" (matched without regard to case) and keeps
// its case, since file names on this system are case-sensitive; "/" starts each option.
CommandLineArgs ParseCommandLine(const QStringList& arguments);

// True when the file can be opened for reading.
bool FileExists(const QString& path);

} // namespace tavrin
