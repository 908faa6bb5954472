#include "hex_oracle.h"

#include <QProcess>
#include <QStringList>

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

QString testDataPath(const QString& name) {
    return QStringLiteral(TAVRIN_SOURCE_DIR "/tests/operations/data/") + name;
}

} // namespace tavrin::test
