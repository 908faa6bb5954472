#include "hex_oracle.h"

#include <QFile>
#include <QProcess>
#include <QStringList>

#include <optional>
#include <vector>

namespace tavrin::test {

std::vector<std::uint16_t> hexWordsBySrecCat(const QString& hexPath, std::uint32_t first,
                                             std::uint32_t count) {
    const QString from = QString::number(2 * first), to = QString::number(2 * (first + count));
    QProcess srec;
    srec.start(QStringLiteral("srec_cat"),
               {hexPath, QStringLiteral("-intel"), QStringLiteral("-crop"), from, to,
                QStringLiteral("-fill"), QStringLiteral("0xFF"), from, to,
                QStringLiteral("-offset"), QLatin1Char('-') + from, QStringLiteral("-o"),
                QStringLiteral("-"), QStringLiteral("-binary")});
    std::vector<std::uint16_t> words;
    if (!srec.waitForFinished(10000)) return words;
    const QByteArray bytes = srec.readAllStandardOutput();
    for (std::uint32_t w = 0; w < count && 2 * w + 1 < std::uint32_t(bytes.size()); ++w)
        words.push_back(
            std::uint16_t(std::uint8_t(bytes[2 * w]) | std::uint8_t(bytes[2 * w + 1]) << 8));
    return words;
}

QString srecCompareWithin(const QString& expectedHex, const QString& actualHex,
                          const std::vector<std::pair<std::uint32_t, std::uint32_t>>& leaveOut) {
    QStringList filters;
    for (const auto& [from, to] : leaveOut)
        filters << QStringLiteral("-exclude") << QString::number(from) << QString::number(to);
    QProcess srec;
    srec.setProcessChannelMode(QProcess::MergedChannels);
    srec.start(QStringLiteral("srec_cmp"),
               QStringList{QStringLiteral("-verbose"), expectedHex, QStringLiteral("-intel")} +
                   filters +
                   QStringList{actualHex, QStringLiteral("-intel"), QStringLiteral("-crop"),
                               QStringLiteral("-within"), expectedHex, QStringLiteral("-intel")} +
                   filters);
    if (!srec.waitForFinished(10000)) return QStringLiteral("srec_cmp did not finish");
    if (srec.exitStatus() == QProcess::NormalExit && srec.exitCode() == 0) return QString();
    const QString said = QString::fromLocal8Bit(srec.readAll());
    return said.isEmpty() ? QStringLiteral("srec_cmp failed") : said;
}

bool writeIntelHex(const QString& path, const std::map<std::uint32_t, std::uint8_t>& bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly)) return false;
    auto record = [&](std::uint16_t address, std::uint8_t type,
                      const std::vector<std::uint8_t>& d) {
        std::uint8_t sum = std::uint8_t(d.size() + (address >> 8) + address + type);
        QByteArray line = QByteArray(":") +
                          QByteArray::number(qulonglong(d.size()), 16).rightJustified(2, '0') +
                          QByteArray::number(address, 16).rightJustified(4, '0') +
                          QByteArray::number(type, 16).rightJustified(2, '0');
        for (std::uint8_t b : d) {
            line += QByteArray::number(b, 16).rightJustified(2, '0');
            sum = std::uint8_t(sum + b);
        }
        line += QByteArray::number(std::uint8_t(-sum), 16).rightJustified(2, '0');
        return f.write(line.toUpper() + "\r\n") == line.size() + 2;
    };
    bool written = true;
    std::optional<std::uint32_t> upper;
    for (auto it = bytes.begin(); it != bytes.end();) {
        const std::uint32_t start = it->first;
        if (upper != start >> 16) {
            upper = start >> 16;
            written &= record(0, 4, {std::uint8_t(*upper >> 8), std::uint8_t(*upper)});
        }
        std::vector<std::uint8_t> data;
        while (it != bytes.end() && it->first == start + data.size() && data.size() < 16 &&
               (it->first >> 16) == *upper) {
            data.push_back(it->second);
            ++it;
        }
        written &= record(std::uint16_t(start), 0, data);
    }
    written &= record(0, 1, {});
    return written && f.flush();
}

bool writeIntelHexWords(const QString& path, const std::map<std::uint32_t, std::uint16_t>& words) {
    std::map<std::uint32_t, std::uint8_t> bytes;
    for (const auto& [word, value] : words) {
        bytes[2 * word] = std::uint8_t(value);
        bytes[2 * word + 1] = std::uint8_t(value >> 8);
    }
    return writeIntelHex(path, bytes);
}

QString testDataPath(const QString& name) {
    return QStringLiteral(TAVRIN_SOURCE_DIR "/tests/operations/data/") + name;
}

} // namespace tavrin::test
