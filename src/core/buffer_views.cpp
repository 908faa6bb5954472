#include "buffer_views.h"

#include "operator_ui.h"
#include "program_type.h"
#include "session.h"
#include "utilities.h"

#include <algorithm>

namespace tavrin {

namespace {

QChar dumpChar(std::uint8_t b) {
    return (b >= 32 && b <= 126) ? QChar(b) : kDumpFiller;
}

QString hexByte(std::uint8_t b) {
    return hex2(b);
}

QStringList eepromLines(const Session& s, bool twoBytesPerLocation) {
    const auto& image = s.buffer.EepromImage;
    const std::size_t perLocation = twoBytesPerLocation ? 2 : 1;
    const std::size_t count =
        std::min<std::size_t>(std::size_t(std::max<std::int32_t>(s.device.EepromByteCount, 0)),
                              image.size() / perLocation);
    QStringList lines;
    QString line, chars;
    for (std::size_t m = 0; m < count; ++m) {
        if (m % 16 == 0) {
            if (m != 0) lines << line + chars;
            line = hex4(std::int64_t(m)) + QLatin1Char(':');
            chars.clear();
        }
        const std::uint8_t data = image[m * perLocation + perLocation - 1];
        line += hexByte(data) + QLatin1Char(' ');
        chars += dumpChar(data);
    }
    if (count != 0) lines << line + chars;
    return lines;
}

} // namespace

QStringList programDumpLines(const Session& s, bool parityView) {
    const auto& image = s.buffer.ProgramImage;
    const bool pic18 = isPic18Type(s.device.ProgramType);
    const std::size_t words = std::min<std::size_t>(
        std::size_t(std::max<std::int32_t>(s.device.ProgramWordCount, 0)), image.size() / 2);
    QStringList lines;
    lines.reserve(int(words / 8));
    for (std::size_t first = 0; first + 8 <= words; first += 8) {
        QString line = hex4(std::int64_t(first & 0xFFFF)) + QLatin1Char(':');
        QString chars;
        for (std::size_t w = first; w < first + 8; ++w) {
            const std::uint8_t hi = image[2 * w];
            const std::uint8_t lo = image[2 * w + 1];
            if (parityView)
                line += QStringLiteral("---") + NibbleToHexChar((hi >> 6) & 3);
            else
                line += hexByte(hi) + hexByte(lo);
            line += QLatin1Char(' ');
            if (pic18) {
                chars += dumpChar(hi);
                chars += dumpChar(lo);
            } else {
                chars += kDumpFiller;
                chars += dumpChar(lo);
            }
        }
        lines << line + chars;
    }
    return lines;
}

QStringList eepromDumpLines(const Session& s) {
    return eepromLines(s, true);
}

QStringList eepromDumpLines18(const Session& s) {
    return eepromLines(s, false);
}

QStringList eepromDumpLinesForDevice(const Session& s) {
    return isPic18Type(s.device.ProgramType) ? eepromDumpLines18(s) : eepromDumpLines(s);
}

IdConfigTexts idAndConfigTexts(const Session& s) {
    IdConfigTexts t;
    const auto& image = s.buffer.ConfigIdImage;
    if (isPic18Type(s.device.ProgramType)) {
        // The ID as loaded or typed, so that a configuration edit does not show "FFFFFFFF" over
        // it (and a later leave of the box does not store that).
        for (int k = 0; k < 8; ++k)
            t.id += NibbleToHexChar(s.buffer.Id18Image[k] & 0x0F);
    } else {
        for (int k : {1, 3, 5, 7})
            t.id += NibbleToHexChar(image[k] & 0x0F);
        t.config1 = hex4(((image[14] & 0x3F) << 8) | image[15]);
        t.config2 = hex4(((image[16] & 0x3F) << 8) | image[17]);
    }
    t.checksum = CalcProgramChecksum(s);
    return t;
}

void ShowIdAndConfig(Session& s, OperatorUi& ui) {
    const IdConfigTexts t = idAndConfigTexts(s);
    ui.setControlText(Control::Text_ID, t.id);
    if (isPic18Type(s.device.ProgramType)) {
        s.buffer.IdText = t.id;
    } else {
        ui.setControlText(Control::Text_Config1, t.config1);
        ui.setControlText(Control::Text_Config2, t.config2);
    }
    ui.setControlText(Control::LblCheckSUM, t.checksum);
}

} // namespace tavrin
