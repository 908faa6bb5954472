#include "status.h"

#include "operator_ui.h"

#include <cmath>

namespace tavrin {

namespace {

int colourPrefixLength(const QString& message) {
    if (message.left(3).toUpper() == QLatin1String("RED")) return 3;
    if (message.left(4).toUpper() == QLatin1String(" RED")) return 4;
    return 0;
}

} // namespace

QString statusLineText(const QString& message) {
    return message.mid(colourPrefixLength(message));
}

void ShowStatusMessage(OperatorUi& ui, const QString& message, const QString& detail) {
    const bool red =
        message.startsWith(QStringLiteral("<<注意>>")) || colourPrefixLength(message) > 0;
    ui.keepStatusMessage(statusLineText(message));
    ui.showStatusLine(statusLineText(message) + QLatin1Char(' ') + detail,
                      red ? StatusColor::Red : StatusColor::Black);
}

void ShowProgress(OperatorUi& ui, ProgressMode mode, double minimum, double maximum, double value) {
    if (mode == ProgressMode::Off || value == maximum)
        ui.showProgressBar(false, minimum, maximum, value, QString());
    if (mode != ProgressMode::On || std::trunc(maximum / 100.0) == 0) return;
    const double step = std::nearbyint(maximum / 100.0); // halves to even
    if (step == 0 || std::fmod(std::nearbyint(value), step) != 0) return;
    // The quotient first, then times 100, truncated: 29 of 100 shows 28%, as it always has.
    const double percent = std::trunc((value / maximum) * 100.0);
    ui.showProgressBar(true, minimum, maximum, value,
                       QString::number(qint64(percent)) + QLatin1Char('%'));
}

} // namespace tavrin
