#include "command_line.h"

#include <QFile>
#include <QFileInfo>

namespace tavrin {

CommandLineArgs ParseCommandLine(const QStringList& arguments) {
    CommandLineArgs out;
    QString field = arguments.join(QLatin1Char(' '));
    const qsizetype tab = field.indexOf(QLatin1Char('\t'));
    if (tab >= 0) field.truncate(tab);
    field.remove(QLatin1Char('"'));

    const qsizetype hex = field.indexOf(QLatin1String(".HEX"), 0, Qt::CaseInsensitive);
    if (hex < 0) return out;
    // One character past ".HEX": the blank before "/DEVICE" in the usual form, trimmed away.
    const qsizetype end = std::min<qsizetype>(hex + 5, field.size());
    out.hexPath = field.left(end).trimmed();

    int option = 0;
    for (qsizetype i = end; i < field.size(); ++i) {
        const QChar c = field.at(i);
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

    if (!FileExists(out.hexPath)) {
        out = {};
        out.refusedUnopenable = true;
    }
    return out;
}

bool FileExists(const QString& path) {
    if (path.isEmpty() || !QFileInfo(path).isFile()) return false;
    QFile f(path);
    return f.open(QIODevice::ReadOnly);
}

} // namespace tavrin
