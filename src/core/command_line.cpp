#include "command_line.h"

#include <QFile>
#include <QFileInfo>

namespace tavrin {

namespace {

const QLatin1String kHex(".HEX");

bool namesHexFile(const QString& argument) {
    return QFileInfo(argument).fileName().endsWith(kHex, Qt::CaseInsensitive);
}

// Each "/" starts the next option; text before the first is dropped, after a third ignored.
void takeOptions(const QString& text, CommandLineArgs& out) {
    int option = 0;
    for (const QChar c : text) {
        if (c == QLatin1Char('/')) {
            ++option;
            continue;
        }
        if (option == 1)
            out.option1 += c;
        else if (option == 2)
            out.option2 += c;
    }
    out.option1 = out.option1.trimmed().toUpper();
    out.option2 = out.option2.trimmed().toUpper();
}

// The file named by the first argument; an option is an argument that begins with "/" and names
// nothing on disk (a second file's path is no device name).
CommandLineArgs fromSeparateArguments(const QStringList& arguments) {
    CommandLineArgs out;
    out.hexPath = arguments.first();
    QStringList options;
    for (const QString& argument : arguments.mid(1))
        if (argument.startsWith(QLatin1Char('/')) && !QFileInfo::exists(argument))
            options << argument;
    takeOptions(options.join(QLatin1Char(' ')), out);
    return out;
}

CommandLineArgs fromOneField(const QStringList& arguments) {
    CommandLineArgs out;
    QString field = arguments.join(QLatin1Char(' '));
    const qsizetype tab = field.indexOf(QLatin1Char('\t'));
    if (tab >= 0) field.truncate(tab);
    field.remove(QLatin1Char('"'));

    const qsizetype hex = field.indexOf(kHex, 0, Qt::CaseInsensitive);
    if (hex < 0) return out;
    // One character past ".HEX": the blank before "/DEVICE" in the usual form, trimmed away.
    const qsizetype end = std::min<qsizetype>(hex + 5, field.size());
    out.hexPath = field.left(end).trimmed();
    takeOptions(field.mid(end), out);
    return out;
}

} // namespace

CommandLineArgs ParseCommandLine(const QStringList& arguments) {
    if (arguments.isEmpty()) return {};
    CommandLineArgs out = namesHexFile(arguments.first()) ? fromSeparateArguments(arguments)
                                                          : fromOneField(arguments);
    if (!out.hexPath.isEmpty() && !FileExists(out.hexPath)) {
        out = {};
        out.refusedUnopenable = true;
    }
    return out;
}

QString commandLineText(const QStringList& arguments) {
    return arguments.join(QLatin1Char(' '));
}

bool FileExists(const QString& path) {
    if (path.isEmpty() || !QFileInfo(path).isFile()) return false;
    QFile f(path);
    return f.open(QIODevice::ReadOnly);
}

} // namespace tavrin
