#include "buffer_views.h"

#include "config_grids.h"

#include "operator_ui.h"
#include "program_type.h"
#include "session.h"
#include "utilities.h"

#include <algorithm>
#include <vector>

namespace tavrin {

namespace {

constexpr char16_t kHexDigits[] = u"0123456789ABCDEF";

char16_t dumpChar(std::uint8_t b) {
    return (b >= 32 && b <= 126) ? char16_t(b) : kDumpFiller.unicode();
}

// The views are made anew at the start and end of every operation, so a line is written digit by
// digit into one string rather than joined from small strings.
void appendHex(QString& out, std::uint32_t value, int digits) {
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4)
        out += QChar(kHexDigits[(value >> shift) & 0xF]);
}

void appendEepromLine(QString& out, const std::vector<std::uint8_t>& image, std::size_t first,
                      std::size_t end, std::size_t perLocation) {
    appendHex(out, std::uint32_t(first & 0xFFFF), 4);
    out += QLatin1Char(':');
    for (std::size_t m = first; m < end; ++m) {
        appendHex(out, image[m * perLocation + perLocation - 1], 2);
        out += QLatin1Char(' ');
    }
    for (std::size_t m = first; m < end; ++m)
        out += QChar(dumpChar(image[m * perLocation + perLocation - 1]));
}

std::size_t eepromLocations(const Session& s, std::size_t perLocation) {
    return std::min<std::size_t>(std::size_t(std::max<std::int32_t>(s.device.EepromByteCount, 0)),
                                 s.buffer.EepromImage.size() / perLocation);
}

// Lines of 16 locations (the last one shorter), each given to take.
template <typename Take> void eepromLines(const Session& s, bool twoBytesPerLocation, Take take) {
    const std::size_t perLocation = twoBytesPerLocation ? 2 : 1;
    const std::size_t count = eepromLocations(s, perLocation);
    QString line;
    for (std::size_t first = 0; first < count; first += 16) {
        line.clear();
        appendEepromLine(line, s.buffer.EepromImage, first, std::min(first + 16, count),
                         perLocation);
        take(line);
    }
}

QStringList eepromLineList(const Session& s, bool twoBytesPerLocation) {
    QStringList lines;
    eepromLines(s, twoBytesPerLocation, [&lines](const QString& line) { lines << line; });
    return lines;
}

std::size_t programWords(const Session& s) {
    return std::min<std::size_t>(std::size_t(std::max<std::int32_t>(s.device.ProgramWordCount, 0)),
                                 s.buffer.ProgramImage.size() / 2);
}

// Characters of one program line: address, colon, 8 cells of 5, 16 characters.
constexpr qsizetype kProgramLineLength = 4 + 1 + 8 * 5 + 16;

// Writes the line of the 8 words from first at out, kProgramLineLength characters: the program
// view has a line per 8 words, thousands for a large part, and is made anew at every
// operation's start and end.
void writeProgramLine(QChar* out, const Session& s, std::size_t first, bool parityView,
                      bool pic18) {
    const auto& image = s.buffer.ProgramImage;
    auto hex = [&out](std::uint32_t value, int digits) {
        for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4)
            *out++ = QChar(kHexDigits[(value >> shift) & 0xF]);
    };
    hex(std::uint32_t(first & 0xFFFF), 4);
    *out++ = QLatin1Char(':');
    for (std::size_t w = first; w < first + 8; ++w) {
        const std::uint8_t hi = image[2 * w];
        if (parityView) {
            *out++ = QLatin1Char('-');
            *out++ = QLatin1Char('-');
            *out++ = QLatin1Char('-');
            *out++ = QChar(kHexDigits[(hi >> 6) & 3]);
        } else {
            hex((std::uint32_t(hi) << 8) | image[2 * w + 1], 4);
        }
        *out++ = QLatin1Char(' ');
    }
    for (std::size_t w = first; w < first + 8; ++w) {
        *out++ = QChar(pic18 ? dumpChar(image[2 * w]) : kDumpFiller.unicode());
        *out++ = QChar(dumpChar(image[2 * w + 1]));
    }
}

} // namespace

QStringList programDumpLines(const Session& s, bool parityView) {
    const bool pic18 = isPic18Type(s.device.ProgramType);
    const std::size_t words = programWords(s);
    QStringList lines;
    lines.reserve(qsizetype(words / 8));
    for (std::size_t first = 0; first + 8 <= words; first += 8) {
        QString line(kProgramLineLength, Qt::Uninitialized);
        writeProgramLine(line.data(), s, first, parityView, pic18);
        lines << line;
    }
    return lines;
}

QString programDumpText(const Session& s, bool parityView) {
    const bool pic18 = isPic18Type(s.device.ProgramType);
    const std::size_t words = programWords(s);
    const qsizetype lines = qsizetype(words / 8);
    if (lines == 0) return QString();
    // The lines and an LF between each two.
    QString text(lines * (kProgramLineLength + 1) - 1, Qt::Uninitialized);
    QChar* out = text.data();
    for (qsizetype k = 0; k < lines; ++k) {
        if (k != 0) *out++ = QLatin1Char('\n');
        writeProgramLine(out, s, std::size_t(k) * 8, parityView, pic18);
        out += kProgramLineLength;
    }
    return text;
}

DumpSource programDumpSource(const Session& s, bool parityView) {
    return {(isPic18Type(s.device.ProgramType) ? 2 : 0) | (parityView ? 1 : 0),
            std::span(s.buffer.ProgramImage).first(2 * programWords(s))};
}

DumpSource eepromDumpSourceForDevice(const Session& s) {
    const std::size_t perLocation = isPic18Type(s.device.ProgramType) ? 1 : 2;
    return {int(perLocation),
            std::span(s.buffer.EepromImage).first(perLocation * eepromLocations(s, perLocation))};
}

QStringList eepromDumpLines(const Session& s) {
    return eepromLineList(s, true);
}

QStringList eepromDumpLines18(const Session& s) {
    return eepromLineList(s, false);
}

QStringList eepromDumpLinesForDevice(const Session& s) {
    return isPic18Type(s.device.ProgramType) ? eepromDumpLines18(s) : eepromDumpLines(s);
}

QString eepromDumpTextForDevice(const Session& s) {
    QString text;
    eepromLines(s, !isPic18Type(s.device.ProgramType), [&text](const QString& line) {
        if (!text.isEmpty()) text += QLatin1Char('\n');
        text += line;
    });
    return text;
}

IdConfigTexts idAndConfigTexts(const Session& s) {
    IdConfigTexts t;
    const auto& image = s.buffer.ConfigIdImage;
    if (isPic18Type(s.device.ProgramType)) {
        // The ID as loaded or typed, so that a configuration edit does not show "FFFFFFFF" over
        // it (and a later leave of the box does not store that).
        for (int k = 0; k < 8; ++k)
            t.id += NibbleToHexChar(s.buffer.Id18Image[k] & 0x0F);
        // The words the chip gets, as the grids show them.
        t.config1 = hex4(s.device.ConfigValue[1]);
        t.config2 = hex4(s.device.ConfigValue[2]);
    } else {
        for (int k : {1, 3, 5, 7})
            t.id += NibbleToHexChar(image[k] & 0x0F);
        t.config1 = hex4(((image[14] & 0x3F) << 8) | image[15]);
        t.config2 = hex4(((image[16] & 0x3F) << 8) | image[17]);
    }
    t.checksum = CalcProgramChecksum(s);
    return t;
}

void ShowIdAndConfigTexts(Session& s, OperatorUi& ui) {
    const IdConfigTexts t = idAndConfigTexts(s);
    ui.setControlText(Control::Text_ID, t.id);
    if (isPic18Type(s.device.ProgramType)) s.buffer.IdText = t.id;
    ui.setControlText(Control::Text_Config1, t.config1);
    ui.setControlText(Control::Text_Config2, t.config2);
    ui.setControlText(Control::LblCheckSUM, t.checksum);
}

void ShowIdAndConfig(Session& s, OperatorUi& ui) {
    RefreshConfigGrids(s);
    ShowIdAndConfigTexts(s, ui);
    ui.refreshViews(ViewConfigGrids);
}

} // namespace tavrin
