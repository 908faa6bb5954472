#include "edited_device_file.h"

#include <QFile>

#include <algorithm>

namespace tavrin::test {

QString deviceFileWithRow(const QTemporaryDir& dir, const QString& part, const QByteArray& key,
                          const QByteArray& replacement) {
    return deviceFileWithRows(dir, part, {{key, replacement}});
}

QString deviceFileWithRows(const QTemporaryDir& dir, const QString& part,
                           const std::vector<std::pair<QByteArray, QByteArray>>& rows) {
    QFile shipped(QStringLiteral(TAVRIN_SOURCE_DIR "/data/device6.ini"));
    if (!shipped.open(QIODevice::ReadOnly)) return {};
    QByteArray text;
    bool inPart = false;
    std::size_t replaced = 0;
    while (!shipped.atEnd()) {
        const QByteArray line = shipped.readLine();
        const QByteArray first = line.simplified().split(' ').value(0);
        if (first == part.toLatin1()) inPart = true;
        if (first == "#END") inPart = false;
        const auto row =
            std::find_if(rows.begin(), rows.end(), [&](const auto& r) { return r.first == first; });
        if (inPart && row != rows.end()) {
            ++replaced;
            if (!row->second.isEmpty()) text += row->second + "\r\n";
            continue;
        }
        text += line;
    }
    if (replaced != rows.size()) return {};
    const QString path = dir.filePath(QStringLiteral("device6.ini"));
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(text) != text.size()) return {};
    return path;
}

} // namespace tavrin::test
