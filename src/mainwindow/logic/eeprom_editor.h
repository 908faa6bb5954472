// What the EEPROM editor decides: a working copy of the part's data EEPROM, the grid of 16 bytes
// a row with its address and ASCII columns, the decimal, hexadecimal and bit editors of the
// selected byte, the characters shown for a byte, the work file "temp.txt", and the window's
// place. Nothing reaches the PC buffer before writeBack().
#pragma once

#include "core/eeprom_layout.h"

#include <QChar>
#include <QPoint>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace tavrin {

class SettingsStore;
struct Session;

inline constexpr int kEepromEditorColumns = 18; // address, 16 bytes, ASCII
inline constexpr int kEepromEditorAsciiColumn = 17;
inline constexpr const char* kEepromEditorWorkFile = "temp.txt";

// The grid's column captions; the first is a full-width space and "Adr.".
QStringList eepromEditorHeaders();

// Which character stands for a byte. The grid is filled by one rule, an edited byte and its row
// are shown by another, and a clicked byte by a third; everything else is the placeholder "･".
enum class ByteCharRule { GridFill, AfterEdit, OnClick };
QChar byteChar(std::uint8_t b, ByteCharRule rule);

// "0x" and the index as six upper-case hexadecimal digits; "0x" and the byte as two.
QString addressCellText(int firstIndex);
QString byteCellText(std::uint8_t b);

// Progress of the grid fill after location k of 0..lastIndex, in whole percent; a single
// location counts as done.
int fillPercent(int k, int lastIndex);

// What the decimal and hexadecimal boxes store.
struct TypedValue {
    std::optional<std::uint8_t> value; // empty: the byte keeps what it held
    std::optional<QString> boxText;    // the box's text replaced ("255" for a larger number)
};
TypedValue parseDecimalBox(const QString& text);
TypedValue parseHexBox(const QString& text);

// The editors of the selected byte.
struct ByteEditors {
    QString decimal;
    QString hex;
    std::array<bool, 8> bits{}; // index = bit number
    QChar ascii;
};
ByteEditors byteEditors(std::uint8_t b, ByteCharRule asciiRule);
std::uint8_t byteFromBits(const std::array<bool, 8>& bits);

class EepromEditor {
  public:
    // Rebuilds the session's working copy (EepromEditCopy) from the PC buffer in the part's
    // layout.
    explicit EepromEditor(Session& s);

    int size() const { return int(copy().size()); }
    const EepromLayout& layout() const { return layout_; }
    std::uint8_t byteAt(int index) const { return copy()[std::size_t(index)]; }

    // Data rows, a last partial row included (0-based; the header is not a row here).
    int rowCount() const { return (size() + 15) / 16; }
    // The cells of a row as the grid shows them; a partial row has empty byte cells.
    QString addressCell(int row) const { return addressCellText(row * 16); }
    QString byteCell(int row, int column) const; // column 1..16
    QString asciiCell(int row, ByteCharRule rule) const;
    // The row as one tab-separated line: address, 16 bytes each followed by a tab, the ASCII.
    QString rowLine(int row) const;

    // The location under a grid cell (data row 0-based, column 0..17): the address column
    // counts as the row's first byte, the ASCII column as its last; cells past the end of a
    // partial row as the last location. -1 when there is none.
    int indexAt(int row, int column) const;
    // The column a click on the given column ends on (ASCII moves to the row's last byte).
    static int editColumn(int column);

    // The location the editors change; an index outside the part is not taken.
    void select(int index);
    int selected() const { return selected_; }
    std::uint8_t selectedByte() const { return byteAt(selected_); }
    // The three editors store into the selected location; a value they refuse leaves it.
    TypedValue typeDecimal(const QString& text);
    TypedValue typeHex(const QString& text);
    void setBits(const std::array<bool, 8>& bits);

    // Writes the work file "temp.txt" whole, one CR LF line a row; false and why when it could not
    // be written.
    bool writeWorkFile(const QString& path, QString* error = nullptr) const;

    // The working copy into the PC buffer: only the data byte of each location changes.
    void writeBack();

  private:
    const std::vector<std::uint8_t>& copy() const;
    std::vector<std::uint8_t>& copy();
    QStringList lines() const;
    void store(const TypedValue& typed);

    Session& s_;
    EepromLayout layout_;
    int selected_ = 0;
};

// The window's place in pixels from "EepromDataModifyLeft"/"EepromDataModifyTop" (twips); none
// when it was never saved or does not read as a number.
std::optional<QPoint> loadEepromEditorPosition(const SettingsStore& settings);
void saveEepromEditorPosition(SettingsStore& settings, QPoint pixels);

} // namespace tavrin
