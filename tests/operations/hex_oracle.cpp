#include "hex_oracle.h"

#include <QProcess>
#include <QStringList>

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

QString testDataPath(const QString& name) {
    return QStringLiteral(TAVRIN_SOURCE_DIR "/tests/operations/data/") + name;
}

} // namespace tavrin::test
