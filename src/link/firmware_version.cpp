#include "firmware_version.h"

#include <QLocale>
#include <QStringList>

#include <cmath>

namespace tavrin {

std::optional<float> firmwareVersionOf(const QString& identification) {
    bool ok = false;
    const float value = QLocale::c().toFloat(identification.right(4).trimmed(), &ok);
    if (!ok || !std::isfinite(value)) return std::nullopt;
    return value;
}

QString firmwareUpdateMessage(const QString& firmwareId, const QString& pageUrl) {
    const QString blank = QStringLiteral("　");
    const QStringList lines{
        QStringLiteral(
            "ファームウエアバージョンが古いのでアップデートを行なってください。　　　　"),
        blank,
        QStringLiteral(
            "ファームウエアのアップデートは、メニューバー「ヘルプ」の「ファームウエアアップデー"
            "ト」から行います。　　　　"),
        blank,
        QStringLiteral("最新ファームウエアは、") + pageUrl +
            QStringLiteral("より入手できます。　　　"),
        blank,
        QStringLiteral("アップデート方法の詳細は、ヘルプファイル、または、") + pageUrl +
            QStringLiteral("をご覧ください。　　"),
        blank,
        QStringLiteral("現在のファームウエアバージョン　 ： ") + firmwareId + QStringLiteral(" "),
        QStringLiteral("推奨するファームウエアバージョン ： QZ-WRT400 V") +
            QString::number(RecommendedFirmwareVersion) + QStringLiteral(" 、または、それ以降。　"),
        blank,
        QStringLiteral(
            "（現在使用中のファームウエアバージョンは、メイン画面の右下に表示されます。）"),
        blank,
        QStringLiteral("[OK]ボタンを押すとアップデートホームページ(") + pageUrl +
            QStringLiteral(")を開きます"),
        QString(),
    };
    return lines.join(QStringLiteral("\r\n"));
}

} // namespace tavrin
