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

DeviceBlockLookup findDeviceBlock(const QStringList& lines, const QString& name) {
    DeviceBlockLookup lookup;
    // An empty name would match the first name line left empty by mistake.
    if (name.isEmpty()) return lookup;
    DeviceFileReader file(lines);
    while (!file.atEnd()) {
        const QStringList tokens = file.nextTokens();
        const QString key = tokens.value(0);
        if (key == QLatin1String("CMT")) {
            lookup.comments.push_back({tokens.value(1), tokens.value(2), tokens.value(3)});
        } else if (key == QLatin1String("#BEGIN") && !file.atEnd()) {
            if (file.nextTokens().value(0) != name) continue;
            lookup.block = ReadDeviceBlock(file);
            lookup.outcome = lookup.block.ok ? DeviceBlockLookup::Outcome::Found
                                             : DeviceBlockLookup::Outcome::ReadError;
            return lookup;
        }
    }
    return lookup;
}

} // namespace tavrin
