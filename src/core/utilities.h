// Small conversions shared by the whole program: numbers written "0x.."/"0b.."/decimal, hex
// digits, splitting values into bytes (most significant first), tokens, the program checksum and
// the parity bits of EPROM2 words.
#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>

namespace tavrin {

struct Session;

// "0x" hexadecimal, "0b" binary, else decimal (blanks and a sign allowed, a fraction rounded
// half to even). Returns -1 for anything it cannot read or a value beyond int32. The caller's
// text is replaced by its upper-case form.
std::int32_t ParseNumber(QString& text);
// The same without touching the caller's text.
std::int32_t parseNumber(const QString& text);

// "0"-"9", "A"-"F" give 0-15; anything else (lower case included) gives 0.
int HexCharToNibble(QChar c);
// Value of the four characters d3 d2 d1 d0 as hexadecimal digits, bad characters counting 0.
std::int32_t HexDigitsToValue(QChar d3, QChar d2, QChar d1, QChar d0);
// Value of up to four hex digits at text[pos..pos+n), characters past the end counting 0.
std::int32_t hexDigitsAt(const QString& text, qsizetype pos, int n);
// The text becomes the last four characters of "000" + text, upper-cased; returns their value.
std::int32_t HexWordToInt(QString& text);
// 0-15 as "0"-"F"; any other value gives "0".
QChar NibbleToHexChar(int value);

// Upper-case hexadecimal with leading zeros: the last 4 (2) digits of value + 0x10000 (0x100).
QString hex4(std::int64_t value);
QString hex2(std::int64_t value);

// hi = bits 15-8, lo = bits 7-0 of the value's low 16 bits. Every value gives both bytes, so no
// caller ever sends the bytes of an earlier call.
void SplitWordBytes(std::int32_t value, std::uint8_t& hi, std::uint8_t& lo);
// b3 = bits 31-24 .. b0 = bits 7-0.
void SplitLongBytes(std::int32_t value, std::uint8_t& b3, std::uint8_t& b2, std::uint8_t& b1,
                    std::uint8_t& b0);
// The eight bytes (most significant first) of value x 10000 rounded, as a signed 64-bit count.
std::array<std::uint8_t, 8> SplitCurrencyBytes(double value);

// The first "=" becomes " = "; the text is trimmed and split at blanks (runs count as one).
QStringList SplitKeyValueTokens(const QString& line);

// Each TAB becomes 8 blanks.
QString ExpandTabs(const QString& text);
// Trimmed and split at blanks (U+0020 only; runs count as one).
QStringList SplitTokens(const QString& text);

// 16-bit sum of the program words of the image, four upper-case hex digits.
QString CalcProgramChecksum(const Session& session);

// Replaces bits 15 and 14 of the 14-bit word (hi, lo) with its two parity bits.
void SetWordParityBits(std::uint8_t& hi, std::uint8_t lo);

} // namespace tavrin
