#include "calibration_fields.h"

namespace tavrin::pic12 {

QStringList bodCalibrationItems() {
    return {QStringLiteral("0  Reserved"), QStringLiteral("1  (最小値)"), QStringLiteral("2"),
            QStringLiteral("3"),           QStringLiteral("4"),           QStringLiteral("5"),
            QStringLiteral("6"),           QStringLiteral("7  (最大値)")};
}

QStringList porCalibrationItems() {
    return {QStringLiteral("0  (最小値)"), QStringLiteral("1"), QStringLiteral("2"),
            QStringLiteral("3  (最大値)")};
}

QStringList fcalCalibrationItems() {
    QStringList items;
    for (int k = 0; k < 128; ++k) {
        const int value = k - 64;
        QString text = QString::number(value);
        if (value == -64) text += QStringLiteral(" (最小値)");
        if (value == 0) text += QStringLiteral(" (中央値)");
        if (value == 63) text += QStringLiteral(" (最代値)");
        items << text;
    }
    return items;
}

CalibrationIndexes calibrationIndexes(std::uint16_t word) {
    CalibrationIndexes ix;
    ix.bod = word & 0x7;
    ix.por = (word >> 3) & 0x3;
    const int fcal = (word >> 6) & 0x7F;
    ix.fcal = (fcal >= 64 ? fcal - 128 : fcal) + 64;
    return ix;
}

} // namespace tavrin::pic12
