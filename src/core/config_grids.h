// The configuration-word grids as a model of the session: per word the settings of the selected
// part and the option that the word's value selects. The window renders it; choosing an option
// rebuilds the word from the options shown.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace tavrin {

struct Session;
class OperatorUi;

struct ConfigGridRow {
    QString setting;
    QString option;       // name of the option in effect; empty when none matches
    int optionIndex = -1; // its index in the setting's options, -1 when none
};

struct ConfigGrid {
    int word = 0;   // 1..7
    QString title;  // "ｺﾝﾌｨｸﾞ" and the word number
    QString header; // the word's value, "0x" and four hexadecimal digits
    std::vector<ConfigGridRow> rows;
};

// Header text of a grid that shows no word yet.
inline const QString kEmptyGridHeader = QStringLiteral("FFFF");
QString configGridTitle(int word);

// Takes the configuration words from the buffer (for the 12- and 14-bit parts the words of
// ConfigIdImage, which Program writes; PIC18 parts hold them in ConfigValue), brings ConfigValue
// 1..127 into line with the masks and fixed bits (unless the values were just read from the chip)
// and decides CodeProtectOn. Whatever changed the buffer, the grids then show what it holds.
void RefreshConfigGrids(Session& s);

// Grid n (1..7) as it shows the session. Empty rows when no part is selected.
ConfigGrid configGrid(const Session& s, int word);

// Rebuilds ConfigValue(n) from the options shown in grid n, stores it in ConfigIdImage and
// redraws the ID/configuration display.
void RecomputeConfigFromGrid(Session& s, OperatorUi& ui, int word);

// The person chose option optionIndex (-1: an empty choice) for grid row `row` of word n: the
// word is rebuilt with that option and the grids and displays follow.
void ChooseConfigOption(Session& s, OperatorUi& ui, int word, int row, int optionIndex);

// What the chooser offers for a grid row: the option names in block order and the one shown.
// Nothing when the row is the header or no part is selected.
struct ConfigOptionChoice {
    QStringList options;
    int current = -1;
};
std::optional<ConfigOptionChoice> configOptionChoice(const Session& s, int word, int row);

// The comment texts of a setting (the last CMT line naming it), shown on the status line.
std::optional<std::pair<QString, QString>> settingComment(const Session& s, const QString& setting);

} // namespace tavrin
