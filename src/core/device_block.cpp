#include "device_block.h"

namespace tavrin {

DeviceBlockRead ReadDeviceBlock(DeviceFileReader& file) {
    DeviceBlockRead read;
    for (;;) {
        if (file.atEnd()) {
            read.errorText = BlockEofText;
            return read;
        }
        const QStringList tokens = file.nextTokens();
        if (tokens.isEmpty()) continue;
        const QString& key = tokens.first();
        if (key.startsWith(QLatin1Char(';'))) continue;
        if (key == QLatin1String("#END")) {
            read.ok = true;
            return read;
        }
        if (key == QLatin1String("#BEGIN")) {
            read.errorText = BlockEndMissingText;
            return read;
        }
        BlockRow row;
        for (qsizetype i = 0; i < tokens.size() && i < qsizetype(row.size()); ++i)
            row[std::size_t(i)] = tokens.at(i);
        read.rows.push_back(std::move(row));
        read.rowLines.push_back(file.lineNumber());
    }
}

DeviceBlockLookup findDeviceBlock(const QByteArray& utf8, const QString& name) {
    DeviceBlockLookup lookup;
    // An empty name would match the first name line left empty by mistake.
    if (name.isEmpty()) return lookup;
    const QByteArray wanted = name.toUtf8();
    DeviceFileReader file(utf8);
    while (!file.atEnd()) {
        const QByteArrayView line = file.nextLine();
        const QByteArrayView key = firstToken(line);
        if (key == QByteArrayView("CMT")) {
            const QStringList tokens = prepareLine(line);
            lookup.comments.push_back({tokens.value(1), tokens.value(2), tokens.value(3)});
        } else if (key == QByteArrayView("#BEGIN") && !file.atEnd()) {
            if (firstToken(file.nextLine()) != QByteArrayView(wanted)) continue;
            lookup.block = ReadDeviceBlock(file);
            lookup.outcome = lookup.block.ok ? DeviceBlockLookup::Outcome::Found
                                             : DeviceBlockLookup::Outcome::ReadError;
            return lookup;
        }
    }
    return lookup;
}

} // namespace tavrin
