#include "utilities.h"

#include "session.h"

#include <bit>
#include <cmath>
#include <limits>

namespace tavrin {

namespace {
// Digits of a "0x"/"0b" number read from the last one; -1 for a bad digit or an overflow.
std::int32_t parseDigits(QStringView digits, int base) {
    std::int64_t value = 0;
    for (QChar c : digits) {
        int d;
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            d = c.unicode() - '0';
        else if (base == 16 && c >= QLatin1Char('A') && c <= QLatin1Char('F'))
            d = c.unicode() - 'A' + 10;
        else
            return -1;
        if (d >= base) return -1;
        value = value * base + d;
        if (value > std::numeric_limits<std::int32_t>::max()) return -1;
    }
    return std::int32_t(value);
}
} // namespace

std::int32_t parseNumber(const QString& original) {
    const QString text = original.toUpper();
    if (text.startsWith(QLatin1String("0B"))) return parseDigits(QStringView(text).mid(2), 2);
    if (text.startsWith(QLatin1String("0X"))) return parseDigits(QStringView(text).mid(2), 16);
    // Decimal: surrounding blanks and a sign are allowed, a fraction rounds half to even. The
    // C locale keeps "6.5" meaning the same on every machine.
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty()) return -1;
    for (QChar c : trimmed) {
        if (!(c.isDigit() || c == QLatin1Char('.') || c == QLatin1Char('+') ||
              c == QLatin1Char('-')))
            return -1;
    }
    bool ok = false;
    const double v = trimmed.toDouble(&ok);
    if (!ok || !std::isfinite(v)) return -1;
    const double r = std::nearbyint(v); // default rounding mode: half to even
    if (r < std::numeric_limits<std::int32_t>::min() ||
        r > std::numeric_limits<std::int32_t>::max())
        return -1;
    return std::int32_t(r);
}

std::int32_t ParseNumber(QString& text) {
    text = text.toUpper();
    return parseNumber(text);
}

int HexCharToNibble(QChar c) {
    if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) return c.unicode() - '0';
    if (c >= QLatin1Char('A') && c <= QLatin1Char('F')) return c.unicode() - 'A' + 10;
    return 0;
}

std::int32_t HexDigitsToValue(QChar d3, QChar d2, QChar d1, QChar d0) {
    return HexCharToNibble(d3) * 4096 + HexCharToNibble(d2) * 256 + HexCharToNibble(d1) * 16 +
           HexCharToNibble(d0);
}

std::int32_t hexDigitsAt(const QString& text, qsizetype pos, int n) {
    std::int32_t v = 0;
    for (int i = 0; i < n; ++i) {
        const qsizetype p = pos + i;
        v = v * 16 + (p >= 0 && p < text.size() ? HexCharToNibble(text.at(p)) : 0);
    }
    return v;
}

std::int32_t HexWordToInt(QString& text) {
    text = (QStringLiteral("000") + text).right(4).toUpper();
    return HexDigitsToValue(text.at(0), text.at(1), text.at(2), text.at(3));
}

QChar NibbleToHexChar(int value) {
    if (value < 0 || value > 15) return QLatin1Char('0');
    return QLatin1Char("0123456789ABCDEF"[value]);
}

namespace {
// The low digits of value in upper case; negative values wrap as their two's complement.
QString hexDigits(std::int64_t value, int digits) {
    static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
    char16_t text[4];
    for (int k = 0; k < digits; ++k)
        text[k] = kDigits[(std::uint64_t(value) >> (4 * (digits - 1 - k))) & 0xF];
    return QString(reinterpret_cast<const QChar*>(text), digits);
}
} // namespace

QString hex4(std::int64_t value) {
    return hexDigits(value, 4);
}

QString hex2(std::int64_t value) {
    return hexDigits(value, 2);
}

void SplitWordBytes(std::int32_t value, std::uint8_t& hi, std::uint8_t& lo) {
    hi = std::uint8_t((value >> 8) & 0xFF);
    lo = std::uint8_t(value & 0xFF);
}

void SplitLongBytes(std::int32_t value, std::uint8_t& b3, std::uint8_t& b2, std::uint8_t& b1,
                    std::uint8_t& b0) {
    const auto u = std::uint32_t(value);
    b3 = std::uint8_t(u >> 24);
    b2 = std::uint8_t(u >> 16);
    b1 = std::uint8_t(u >> 8);
    b0 = std::uint8_t(u);
}

std::array<std::uint8_t, 8> SplitCurrencyBytes(double value) {
    const auto count = std::uint64_t(std::int64_t(std::nearbyint(value * 10000.0)));
    std::array<std::uint8_t, 8> bytes{};
    for (int i = 0; i < 8; ++i)
        bytes[7 - i] = std::uint8_t(count >> (8 * i));
    return bytes;
}

QStringList SplitTokens(const QString& text) {
    return text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

QStringList SplitKeyValueTokens(const QString& line) {
    QString copy = line;
    const qsizetype eq = copy.indexOf(QLatin1Char('='));
    if (eq >= 0) copy.replace(eq, 1, QStringLiteral(" = "));
    return SplitTokens(copy);
}

QString ExpandTabs(const QString& text) {
    QString out = text;
    out.replace(QLatin1Char('\t'), QString(8, QLatin1Char(' ')));
    return out;
}

QString CalcProgramChecksum(const Session& s) {
    const auto& image = s.buffer.ProgramImage;
    const std::int64_t words =
        std::min<std::int64_t>(s.device.ProgramWordCount, std::int64_t(image.size() / 2));
    std::uint32_t sum = 0;
    for (std::int64_t k = 0; k < words; ++k)
        sum = (sum + image[2 * k] * 256u + image[2 * k + 1]) & 0xFFFF;
    return QString::number(sum, 16).toUpper().rightJustified(4, QLatin1Char('0'));
}

void SetWordParityBits(std::uint8_t& hi, std::uint8_t lo) {
    const unsigned word = unsigned(hi & 0x3F) << 8 | lo;
    const int even = std::popcount(word & 0x1555u); // bits 0, 2, .. 12
    const int odd = std::popcount(word & 0x2AAAu);  // bits 1, 3, .. 13
    std::uint8_t bits = 0;
    if (even % 2 == 1) bits |= 0x40;
    if (odd % 2 == 0) bits |= 0x80;
    hi = std::uint8_t((hi & 0x3F) | bits);
}

} // namespace tavrin
