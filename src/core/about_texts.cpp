#include "about_texts.h"

#include "utilities.h"

#include <QStringList>

namespace tavrin {

namespace {
QString versionNumbers(const ProgramVersion& v) {
    return QStringLiteral("%1.%2.%3").arg(v.major).arg(v.minor).arg(v.revision);
}
} // namespace

AboutBoxTexts aboutTextsAtStartup(const ProgramVersion& v) {
    return {QStringLiteral("V") + versionNumbers(v), v.title, v.description, v.comments};
}

AboutBoxTexts aboutTextsOnceStarted(const ProgramVersion& v) {
    AboutBoxTexts texts = aboutTextsAtStartup(v);
    texts.disclaimer = supportPageLine();
    return texts;
}

AboutBoxTexts aboutTextsOnLoad(const ProgramVersion& v) {
    return {QStringLiteral("ﾊﾞｰｼﾞｮﾝ ") + versionNumbers(v), v.title, v.description, v.comments};
}

QString aboutCaption(const ProgramVersion& v) {
    return v.title + QStringLiteral("のﾊﾞｰｼﾞｮﾝ情報");
}

QString supportPageLine() {
    return QStringLiteral("サポート情報: ") + QLatin1String(kSupportPageUrl);
}

QString idWordLine(const QString& event, const std::vector<std::uint8_t>& image) {
    QStringList words;
    for (std::size_t k = 0; k < 4; ++k) {
        const std::size_t at = 2 * k;
        const int hi = at < image.size() ? image[at] : 0;
        const int lo = at + 1 < image.size() ? image[at + 1] : 0;
        words << hex2(hi) + hex2(lo);
    }
    return event + words.join(QLatin1Char(':'));
}

} // namespace tavrin
