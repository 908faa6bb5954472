// The buffer views as text: the program memory and EEPROM dumps, the ID and configuration
// display. Built in memory; the window shows them in its views.
#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <span>

namespace tavrin {

struct Session;
class OperatorUi;

// The character shown for a byte that is not printable ASCII, and before every 12/14-bit word's
// low byte: the half-width middle dot.
inline const QChar kDumpFiller = QChar(0xFF65);

// One line per 8 words: "AAAA:" then 8 cells "HHLL " then 16 characters. With the parity view a
// cell reads "---" and the value of the word's bits 15-14. A last group of fewer than 8 words is
// not shown.
QStringList programDumpLines(const Session& s, bool parityView);
// The same lines joined by LF, as the view shows them.
QString programDumpText(const Session& s, bool parityView);

// One line per 16 locations: "AAAA:" then 16 cells "DD " then 16 characters. The 12/14-bit
// layout takes the data byte of each two-byte location; the PIC18 layout one byte per location.
QStringList eepromDumpLines(const Session& s);
QStringList eepromDumpLines18(const Session& s);
// The layout the selected part uses.
QStringList eepromDumpLinesForDevice(const Session& s);
// Its lines joined by LF.
QString eepromDumpTextForDevice(const Session& s);

// Everything a view's text is made from: the layout chosen and the image bytes read. Equal
// sources give equal texts, so a view can tell that its text would not change without making it.
struct DumpSource {
    int layout = 0;
    std::span<const std::uint8_t> bytes;
};
DumpSource programDumpSource(const Session& s, bool parityView);
DumpSource eepromDumpSourceForDevice(const Session& s);

struct IdConfigTexts {
    QString id;
    QString config1; // PIC18: ConfigValue(1), the word the chip gets
    QString config2;
    QString checksum;
};
IdConfigTexts idAndConfigTexts(const Session& s);

// Sets Text_ID, Text_Config1/2 and LblCheckSUM from the session as it is; for PIC18 also IdText.
void ShowIdAndConfigTexts(Session& s, OperatorUi& ui);

// The ID and configuration display and the grids together, after the buffer changed: the grids'
// words taken from the buffer (RefreshConfigGrids), the texts, and the grids redrawn. The labels
// and the grids never show two different words.
void ShowIdAndConfig(Session& s, OperatorUi& ui);

} // namespace tavrin
