// The four device names of the PIC16F877 family with the chip the emulator puts in place for each
// (the board's module parts go into its module slot) and the test programs assembled for them.
#pragma once

#include "operations/operation_bench.h"

#include <QString>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tavrin::test {

struct FamilyCase {
    const char* device;
    const char* hex;          // a program using every area, protection off
    const char* protectedHex; // the same with code protection on
    std::uint16_t deviceIdWord;
    // Bytes of the wire that differ by variant.
    char family;
    char eraseLetter;
    std::vector<int> chipEraseCodes;
    const char* programWrite;
    const char* eepromWrite;
    const char* configWrite;
};

inline const std::vector<FamilyCase>& familyCases() {
    static const std::vector<FamilyCase> cases{
        {"PIC16F877",
         "blink16f877.hex",
         "blink16f877_protected.hex",
         0x09A3,
         's',
         'd',
         {0x01, 0x03},
         "we8",
         "wed",
         "wec"},
        {"PIC16F877A",
         "blink16f877a.hex",
         "blink16f877a_protected.hex",
         0x0E23,
         's',
         'd',
         {0x0A, 0x0B, 0x0C},
         "wGe",
         "wed",
         "wFc"},
        {"QZ-WRT400",
         "blink16f877.hex",
         "blink16f877_protected.hex",
         0x09A3,
         '8',
         'D',
         {0x01, 0x03},
         "w84",
         "w8d",
         "w8c"},
        {"QZ-WRT400A",
         "blink16f877a.hex",
         "blink16f877a_protected.hex",
         0x0E23,
         '8',
         'D',
         {0x0A, 0x0B, 0x0C},
         "w7e",
         "w8d",
         "w6c"},
    };
    return cases;
}

inline std::string caseName(const FamilyCase& c) {
    std::string n = c.device;
    for (char& ch : n)
        if (ch == '-') ch = '_';
    return n;
}

inline QString familyDataPath(const char* name) {
    return QStringLiteral(TAVRIN_SOURCE_DIR "/tests/devices/pic16f87x/data/") +
           QString::fromLatin1(name);
}

// The status line as the person reads it: the text without the blank that separates it from an
// empty detail.
inline QString statusLine(const RecordingUi& ui) {
    return ui.statusText.endsWith(QLatin1Char(' ')) ? ui.statusText.chopped(1) : ui.statusText;
}

// The chip holds the buffer: program memory, EEPROM data, IDs (low nibble as entered) and the
// configuration word.
inline void expectChipHoldsBuffer(OperationBench& bench, const char* what) {
    const emu::Chip& chip = bench.chip();
    const auto& s = bench.s;
    for (std::int32_t w = 0; w < s.device.ProgramWordCount; ++w)
        ASSERT_EQ(chip.program[w], bench.bufferWord(w)) << what << " word " << w;
    for (std::int32_t k = 0; k < s.device.EepromByteCount; ++k)
        ASSERT_EQ(chip.eeprom[k], s.buffer.EepromImage[2 * k + 1]) << what << " location " << k;
    const auto& config = s.buffer.ConfigIdImage;
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(chip.ids[k], config[2 * k] * 256 + config[2 * k + 1]) << what << " ID " << k;
    EXPECT_EQ(chip.readConfig(0), config[14] * 256 + config[15]) << what;
}

} // namespace tavrin::test
