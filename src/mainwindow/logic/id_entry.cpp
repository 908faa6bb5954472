#include "id_entry.h"

#include "main_context.h"

#include "core/config_grids.h"
#include "core/program_type.h"
#include "core/session.h"
#include "core/utilities.h"

namespace tavrin {

namespace {

bool isUpperHexDigit(QChar c) {
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
           (c >= QLatin1Char('A') && c <= QLatin1Char('F'));
}

} // namespace

IdBoxEdit filterIdKey(const QString& text, int selectionStart, int selectionLength, QChar key) {
    IdBoxEdit edit{text, selectionStart};
    QChar c = key;
    if (c >= QLatin1Char('a') && c <= QLatin1Char('f')) c = c.toUpper();
    if (isUpperHexDigit(c)) {
        edit.text = text.left(selectionStart) + c + text.mid(selectionStart + selectionLength);
        edit.cursor = selectionStart + 1;
    } else if (c == QChar(8) && selectionStart > 0) {
        edit.text = text.left(selectionStart - 1) + text.mid(selectionStart);
        edit.cursor = selectionStart - 1;
    }
    return edit;
}

QString hexDigitsOnly(const QString& text) {
    QString out;
    for (QChar c : text.toUpper())
        if (isUpperHexDigit(c)) out += c;
    return out;
}

QString StoreIdText(Session& s, const QString& typed) {
    const QString text = hexDigitsOnly(typed);
    const QString& type = s.device.ProgramType;
    if (isPic18Type(type)) {
        const QString shown = (QStringLiteral("00000000") + text).right(8);
        for (int k = 0; k < 8; ++k)
            s.buffer.Id18Image[k] = std::uint8_t(HexCharToNibble(shown[k]));
        return shown;
    }
    const QString shown = text.size() >= 4 ? text : (QStringLiteral("0000") + text).right(4);
    if (shown == QLatin1String("FFFF")) return shown;
    const bool bit12 = coreGroupOf(type) == CoreGroup::Bit12;
    auto& image = s.buffer.ConfigIdImage;
    for (int k = 0; k < 4; ++k) {
        const int d = HexCharToNibble(shown[k]);
        image[2 * k] = bit12 ? 0x00 : 0x3F;
        image[2 * k + 1] = std::uint8_t(bit12 ? d : (0xF0 | d));
    }
    return shown;
}

void ChooseGridOption(MainContext& ctx, int tabIndex, int row, int optionIndex) {
    ChooseConfigOption(ctx.s, ctx.ui, tabIndex + 1, row, optionIndex);
    ctx.ui.setControlVisible(Control::CmbInit, false);
}

CalibrationFields calibrationFieldsFor(const QString& programType, bool useChipCalibration) {
    if (useChipCalibration) return {false, false};
    return {true, programType == QLatin1String("12F6")};
}

} // namespace tavrin
