// The values the person types besides the HEX contents: the ID box's key filter and storage,
// the option chosen in a configuration grid, and the calibration fields' enabled state.
#pragma once

#include <QString>

#include <cstdint>

namespace tavrin {

struct Session;
struct MainContext;

inline const QString kIdHint = QStringLiteral(
    "ＩＤ番号の表示。変更するときは４桁の16進数を入力します。（ＰＩＣ１８のときは、８桁の16進数を"
    "入力します。）");

// The ID box after a typed key: hex digits (lower case raised) replace the selection, Backspace
// removes the character left of the selection start, everything else is dropped.
struct IdBoxEdit {
    QString text;
    int cursor = 0;
};
IdBoxEdit filterIdKey(const QString& text, int selectionStart, int selectionLength, QChar key);
// Text that reaches the box without the key filter (a paste): its hex digits, upper case.
QString hexDigitsOnly(const QString& text);

// Leaving the ID box after an edit: pads the text, stores the ID words (12/14-bit; "FFFF" stores
// nothing) or the PIC18 ID bytes, and returns the text the box shows.
QString StoreIdText(Session& s, const QString& text);

// CmbInit_Click: the option chosen for a row of the grid on the shown tab (-1: empty choice).
void ChooseGridOption(MainContext& ctx, int tabIndex, int row, int optionIndex);

// Whether the typed calibration value and band-gap bits are offered: not while the chip's own
// calibration data is used; the band-gap bits only on "12F6" parts.
struct CalibrationFields {
    bool valueEnabled;
    bool bandgapEnabled;
};
CalibrationFields calibrationFieldsFor(const QString& programType, bool useChipCalibration);

} // namespace tavrin
