#include "eeprom_editor.h"

#include "window_geometry.h"

#include "core/buffer_views.h"
#include "core/session.h"
#include "core/settings_store.h"
#include "core/utilities.h"
#include "core/whole_file.h"

#include <QLocale>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace tavrin {

namespace {

const QString kLeftKey = QStringLiteral("EepromDataModifyLeft");
const QString kTopKey = QStringLiteral("EepromDataModifyTop");

// The byte as the Japanese code page shows it: ASCII below 0x80, the half-width katakana at
// 0xA1-0xDF.
QChar codePageChar(std::uint8_t b) {
    if (b >= 0xA1 && b <= 0xDF) return QChar(char16_t(0xFF61 + (b - 0xA1)));
    return QChar(char16_t(b));
}

// The numeric value at the start of the text, as a number box reads it ("300abc" is 300).
std::optional<double> leadingNumber(const QString& text) {
    static const QRegularExpression number(
        QStringLiteral("^\\s*[+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?"));
    const QRegularExpressionMatch m = number.match(text);
    if (!m.hasMatch()) return std::nullopt;
    bool ok = false;
    const double v = QLocale::c().toDouble(m.captured(0).trimmed(), &ok);
    return ok ? std::optional<double>(v) : std::nullopt;
}

} // namespace

QStringList eepromEditorHeaders() {
    QStringList headers{QStringLiteral("　Adr.")};
    for (int c = 0; c < 16; ++c)
        headers << QStringLiteral("0x") + hex2(std::uint8_t(c));
    headers << QStringLiteral("ASCII");
    return headers;
}

QChar byteChar(std::uint8_t b, ByteCharRule rule) {
    bool shown = false;
    switch (rule) {
    case ByteCharRule::GridFill:
        // The comma and the double quote would split the row when it is read back as a list.
        shown = ((b >= 0x21 && b <= 0x7F) || (b >= 0xA0 && b <= 0xDF)) && b != 0x2C && b != 0x22;
        break;
    case ByteCharRule::AfterEdit:
        shown = (b >= 0x20 && b <= 0x7F) || (b >= 0xA0 && b <= 0xDF);
        break;
    case ByteCharRule::OnClick:
        shown = b >= 0x20 && b <= 0x7E;
        break;
    }
    return shown ? codePageChar(b) : kDumpFiller;
}

QString addressCellText(int firstIndex) {
    return QStringLiteral("0x") +
           QStringLiteral("%1").arg(firstIndex, 6, 16, QLatin1Char('0')).toUpper();
}

QString byteCellText(std::uint8_t b) {
    return QStringLiteral("0x") + hex2(b);
}

int fillPercent(int k, int lastIndex) {
    if (lastIndex <= 0) return 100;
    return int(std::lround(double(k) * 100.0 / double(lastIndex)));
}

TypedValue parseDecimalBox(const QString& text) {
    TypedValue t;
    QString stored = text;
    const std::optional<double> leading = leadingNumber(text);
    if (leading && *leading > 255) {
        stored = QStringLiteral("255");
        t.boxText = stored;
    }
    bool ok = false;
    const double v = QLocale::c().toDouble(stored.trimmed(), &ok);
    if (!ok || !std::isfinite(v)) return t;
    const double rounded = std::nearbyint(v); // halves to even, as the conversion always did
    if (rounded >= 0 && rounded <= 255 && !(v < 0)) t.value = std::uint8_t(rounded);
    return t;
}

TypedValue parseHexBox(const QString& text) {
    TypedValue t;
    const QString last4 = text.right(4).rightJustified(4, QLatin1Char('0'));
    // Either case; a character that is no hexadecimal digit counts as 0.
    const int value = HexDigitsToValue(last4[0].toUpper(), last4[1].toUpper(), last4[2].toUpper(),
                                       last4[3].toUpper());
    if (value <= 0xFF) t.value = std::uint8_t(value);
    return t;
}

ByteEditors byteEditors(std::uint8_t b, ByteCharRule asciiRule) {
    ByteEditors e;
    e.decimal = QString::number(b);
    e.hex = hex2(b);
    for (int i = 0; i < 8; ++i)
        e.bits[std::size_t(i)] = (b >> i) & 1;
    e.ascii = byteChar(b, asciiRule);
    return e;
}

std::uint8_t byteFromBits(const std::array<bool, 8>& bits) {
    int v = 0;
    for (int i = 0; i < 8; ++i)
        if (bits[std::size_t(i)]) v |= 1 << i;
    return std::uint8_t(v);
}

EepromEditor::EepromEditor(Session& s) : s_(s), layout_(eepromLayoutOf(s)) {
    auto& c = copy();
    c.assign(std::size_t(layout_.locations), 0);
    const auto& image = s.buffer.EepromImage;
    for (int i = 0; i < layout_.locations; ++i)
        c[std::size_t(i)] = image[layout_.dataIndex(i)];
}

const std::vector<std::uint8_t>& EepromEditor::copy() const {
    return s_.buffer.EepromEditCopy;
}
std::vector<std::uint8_t>& EepromEditor::copy() {
    return s_.buffer.EepromEditCopy;
}

QString EepromEditor::byteCell(int row, int column) const {
    const int index = row * 16 + column - 1;
    return index < size() ? byteCellText(byteAt(index)) : QString();
}

QString EepromEditor::asciiCell(int row, ByteCharRule rule) const {
    QString text;
    const int end = std::min(size(), row * 16 + 16);
    for (int i = row * 16; i < end; ++i)
        text += byteChar(byteAt(i), rule);
    return text;
}

QString EepromEditor::rowLine(int row) const {
    QString line = addressCell(row) + QLatin1Char('\t');
    for (int c = 1; c <= 16; ++c)
        line += byteCell(row, c) + QLatin1Char('\t');
    return line + asciiCell(row, ByteCharRule::GridFill);
}

int EepromEditor::editColumn(int column) {
    return column == kEepromEditorAsciiColumn ? 16 : column;
}

int EepromEditor::indexAt(int row, int column) const {
    if (size() == 0 || row < 0 || row >= rowCount()) return -1;
    const int c = std::clamp(editColumn(column), 1, 16);
    return std::min(row * 16 + c - 1, size() - 1);
}

void EepromEditor::select(int index) {
    if (index >= 0 && index < size()) selected_ = index;
}

void EepromEditor::store(const TypedValue& typed) {
    if (typed.value && size() > 0) copy()[std::size_t(selected_)] = *typed.value;
}

TypedValue EepromEditor::typeDecimal(const QString& text) {
    const TypedValue t = parseDecimalBox(text);
    store(t);
    return t;
}

TypedValue EepromEditor::typeHex(const QString& text) {
    const TypedValue t = parseHexBox(text);
    store(t);
    return t;
}

void EepromEditor::setBits(const std::array<bool, 8>& bits) {
    TypedValue t;
    t.value = byteFromBits(bits);
    store(t);
}

QStringList EepromEditor::lines() const {
    QStringList out;
    for (int r = 0; r < rowCount(); ++r)
        out << rowLine(r);
    return out;
}

bool EepromEditor::writeWorkFile(const QString& path, QString* error) const {
    QString text;
    for (const QString& line : lines())
        text += line + QStringLiteral("\r\n");
    return writeWholeFile(path, text.toUtf8(), error);
}

void EepromEditor::writeBack() {
    auto& image = s_.buffer.EepromImage;
    for (int i = 0; i < size(); ++i)
        image[layout_.dataIndex(i)] = byteAt(i);
}

std::optional<QPoint> loadEepromEditorPosition(const SettingsStore& settings) {
    if (!settings.contains(kLeftKey) || !settings.contains(kTopKey)) return std::nullopt;
    bool okLeft = false, okTop = false;
    const double left = settings.value(kLeftKey).toDouble(&okLeft);
    const double top = settings.value(kTopKey).toDouble(&okTop);
    if (!okLeft || !okTop) return std::nullopt;
    return QPoint(twipsToPixels(int(left)), twipsToPixels(int(top)));
}

void saveEepromEditorPosition(SettingsStore& settings, QPoint pixels) {
    settings.setValue(kLeftKey, QString::number(pixelsToTwips(pixels.x())));
    settings.setValue(kTopKey, QString::number(pixelsToTwips(pixels.y())));
}

} // namespace tavrin
