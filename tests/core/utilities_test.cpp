#include "core/buffer_fills.h"
#include "core/session.h"
#include "core/utilities.h"

#include <gtest/gtest.h>

using namespace tavrin;

TEST(ParseNumber, ReadsHexBinaryAndDecimal) {
    struct Case {
        const char* text;
        std::int32_t value;
    };
    const Case cases[] = {
        {"0x1F", 31},       {"0X1f", 31},        {"0b101", 5},  {"0x", 0},
        {"0b", 0},          {"0x1G", -1},        {"0b102", -1}, {"12", 12},
        {"  12  ", 12},     {"abc", -1},         {"", -1},      {"0x7FFFFFFF", 2147483647},
        {"0x80000000", -1}, {"12.5", 12},        {"13.5", 14},  {"-7", -7},
        {"0x3fff", 0x3FFF}, {"99999999999", -1}, {"1-2", -1},   {"６", -1}};
    for (const auto& c : cases) {
        QString text = QString::fromUtf8(c.text);
        EXPECT_EQ(ParseNumber(text), c.value) << c.text;
        EXPECT_EQ(text, QString::fromUtf8(c.text).toUpper()) << "the caller's text is upper-cased";
    }
}

TEST(HexDigits, BadCharactersCountAsZero) {
    EXPECT_EQ(HexDigitsToValue(u'0', u'0', u'3', u'f'), 0x30);
    EXPECT_EQ(HexDigitsToValue(u'F', u'F', u'F', u'F'), 0xFFFF);
    EXPECT_EQ(hexDigitsAt(QStringLiteral(":10"), 1, 2), 0x10);
    EXPECT_EQ(hexDigitsAt(QStringLiteral(":1"), 1, 2), 0x10) << "past the end counts 0";

    QString a = QStringLiteral("a");
    EXPECT_EQ(HexWordToInt(a), 10);
    EXPECT_EQ(a, QStringLiteral("000A"));
    QString five = QStringLiteral("12345");
    EXPECT_EQ(HexWordToInt(five), 0x2345);
    QString ffff = QStringLiteral("FFFF");
    EXPECT_EQ(HexWordToInt(ffff), 65535);

    EXPECT_EQ(NibbleToHexChar(10), QLatin1Char('A'));
    EXPECT_EQ(NibbleToHexChar(16), QLatin1Char('0'));
    EXPECT_EQ(NibbleToHexChar(-1), QLatin1Char('0'));
    EXPECT_EQ(hex4(0x3F), QStringLiteral("003F"));
    EXPECT_EQ(hex4(-1), QStringLiteral("FFFF"));
    EXPECT_EQ(hex2(0x7), QStringLiteral("07"));
}

TEST(SplitBytes, MostSignificantFirst) {
    std::uint8_t hi = 1, lo = 2;
    SplitWordBytes(0x1234, hi, lo);
    EXPECT_EQ(hi, 0x12);
    EXPECT_EQ(lo, 0x34);
    SplitWordBytes(-1, hi, lo);
    EXPECT_EQ(hi, 0xFF);
    EXPECT_EQ(lo, 0xFF);
    // A count beyond the 16-bit signed range still gives its own bytes, never stale ones.
    SplitWordBytes(40000, hi, lo);
    EXPECT_EQ(hi, 0x9C);
    EXPECT_EQ(lo, 0x40);

    std::uint8_t b3, b2, b1, b0;
    SplitLongBytes(0x00012345, b3, b2, b1, b0);
    EXPECT_EQ(std::vector<int>({b3, b2, b1, b0}), std::vector<int>({0x00, 0x01, 0x23, 0x45}));
    SplitLongBytes(-1, b3, b2, b1, b0);
    EXPECT_EQ(std::vector<int>({b3, b2, b1, b0}), std::vector<int>({0xFF, 0xFF, 0xFF, 0xFF}));

    const auto serial = SplitCurrencyBytes(0.1);
    EXPECT_EQ(std::vector<int>(serial.begin(), serial.end()),
              std::vector<int>({0, 0, 0, 0, 0, 0, 0x03, 0xE8}));
}

TEST(Tokens, BlankSeparatedOnly) {
    EXPECT_EQ(SplitTokens(ExpandTabs(QStringLiteral("  CONFIG1\t0x3FFF  0x3FFF 0 0"))),
              QStringList({"CONFIG1", "0x3FFF", "0x3FFF", "0", "0"}));
    EXPECT_EQ(SplitTokens(QStringLiteral("a\u3000b c")), QStringList({"a\u3000b", "c"}));
    EXPECT_EQ(SplitKeyValueTokens(QStringLiteral("a=b c")), QStringList({"a", "=", "b", "c"}));
    EXPECT_EQ(SplitKeyValueTokens(QStringLiteral("x==y")), QStringList({"x", "=", "=y"}));
    EXPECT_EQ(SplitKeyValueTokens(QStringLiteral("  1   /home/u/hex  ")),
              QStringList({"1", "/home/u/hex"}));
    EXPECT_EQ(SplitKeyValueTokens(QStringLiteral("a\tb")), QStringList({"a\tb"}));
}

TEST(SetWordParityBits, SpecValuesAndEveryWord) {
    struct Case {
        int in, out;
    };
    for (const Case c : {Case{0x3FFF, 0x7FFF}, Case{0x0000, 0x8000}, Case{0x0001, 0xC001}}) {
        std::uint8_t hi = std::uint8_t(c.in >> 8), lo = std::uint8_t(c.in);
        SetWordParityBits(hi, lo);
        EXPECT_EQ(hi * 256 + lo, c.out) << std::hex << c.in;
    }
    // Whatever the word: the even-numbered bits 0..14 hold an even count of ones and the
    // odd-numbered bits 1..15 an odd count; bits 15:14 of the input never matter.
    for (int w = 0; w < 0x10000; ++w) {
        std::uint8_t hi = std::uint8_t(w >> 8);
        const std::uint8_t lo = std::uint8_t(w);
        SetWordParityBits(hi, lo);
        const unsigned r = unsigned(hi) << 8 | lo;
        ASSERT_EQ(r & 0x3FFF, unsigned(w) & 0x3FFF);
        ASSERT_EQ(std::popcount(r & 0x5555u) % 2, 0);
        ASSERT_EQ(std::popcount(r & 0xAAAAu) % 2, 1);
    }
}

namespace {
Session sessionOf(const char* type, int words, int eeprom) {
    Session s;
    s.device.ProgramType = QString::fromLatin1(type);
    s.device.ProgramWordCount = words;
    s.device.EepromByteCount = eeprom;
    return s;
}
int word(const std::vector<std::uint8_t>& v, std::size_t i) {
    return v[i] * 256 + v[i + 1];
}
} // namespace

TEST(CalcProgramChecksum, SumsTheImageWords) {
    Session s = sessionOf("FLASH8", 0, 0);
    EXPECT_EQ(CalcProgramChecksum(s), QStringLiteral("0000"));
    s.device.ProgramWordCount = 8192;
    FillProgramErased(s);
    EXPECT_EQ(CalcProgramChecksum(s), QStringLiteral("E000"));
}

TEST(BufferFills, ProgramByGroup) {
    struct Case {
        const char* type;
        int erased, zero;
    };
    const Case cases[] = {{"12C5", 0x0FFF, 0x0000},
                          {"5X28", 0x0FFF, 0x0000},
                          {"FLASH0", 0x3FFF, 0x0000},
                          {"EPROM2", 0x7FFF, 0x8000},
                          {"18F_00", 0xFFFF, 0x0000}};
    for (const auto& c : cases) {
        Session s = sessionOf(c.type, 512, 0);
        s.buffer.ProgramImage[1024] = 0x55; // beyond the part: untouched
        FillProgramErased(s);
        EXPECT_EQ(word(s.buffer.ProgramImage, 0), c.erased) << c.type;
        EXPECT_EQ(word(s.buffer.ProgramImage, 1022), c.erased) << c.type;
        EXPECT_EQ(s.buffer.ProgramImage[1024], 0x55) << c.type;
        FillProgramZero(s);
        EXPECT_EQ(word(s.buffer.ProgramImage, 1022), c.zero) << c.type;
    }
    Session unknown = sessionOf("", 16, 0);
    unknown.buffer.ProgramImage[0] = 0x12;
    FillProgramErased(unknown);
    EXPECT_EQ(unknown.buffer.ProgramImage[0], 0x12);
    // A size beyond the image is clamped, never written past it.
    Session huge = sessionOf("18F_00", 0x7FFFFFFF, 0x7FFFFFFF);
    FillProgramErased(huge);
    FillEepromErased(huge);
    EXPECT_EQ(huge.buffer.ProgramImage.back(), 0xFF);
}

TEST(BufferFills, EepromByType) {
    Session flash2 = sessionOf("FLASH2", 64, 64);
    flash2.buffer.EepromImage[0] = 0x12;
    FillEepromErased(flash2);
    EXPECT_EQ(flash2.buffer.EepromImage[0], 0x12) << "FLASH2 leaves the EEPROM alone";

    Session f8 = sessionOf("FLASH8", 64, 256);
    FillEepromErased(f8);
    EXPECT_EQ(word(f8.buffer.EepromImage, 510), 0x3FFF);
    EXPECT_EQ(f8.buffer.EepromImage[512], 0x00);
    FillEepromZero(f8);
    EXPECT_EQ(word(f8.buffer.EepromImage, 0), 0);

    Session p18 = sessionOf("18F_00", 64, 256);
    FillEepromErased(p18);
    EXPECT_EQ(p18.buffer.EepromImage[511], 0xFF) << "twice the PIC18 size";
    EXPECT_EQ(p18.buffer.EepromImage[512], 0x00);

    Session none = sessionOf("FLASH8", 64, 0);
    FillEepromErased(none);
    EXPECT_EQ(none.buffer.EepromImage[0], 0x00);
}

TEST(BufferFills, IdConfigByGroup) {
    Session b12 = sessionOf("5X18", 512, 0);
    FillIdConfigErased(b12);
    EXPECT_EQ(word(b12.buffer.ConfigIdImage, 14), 0x0FFF);
    EXPECT_EQ(b12.buffer.ConfigIdImage[16], 0x00);

    Session b14 = sessionOf("FLASH1", 512, 0);
    FillIdConfigErased(b14);
    EXPECT_EQ(word(b14.buffer.ConfigIdImage, 30), 0x3FFF);
    EXPECT_EQ(b14.buffer.ConfigIdImage[32], 0x00);

    Session e2 = sessionOf("EPROM2", 512, 0);
    FillIdConfigErased(e2);
    EXPECT_EQ(word(e2.buffer.ConfigIdImage, 0), 0x7FFF);
    EXPECT_EQ(e2.buffer.ConfigIdImage[14], 0xFF);
    FillIdConfigZero(e2);
    EXPECT_EQ(word(e2.buffer.ConfigIdImage, 6), 0x8000);
    EXPECT_EQ(e2.buffer.ConfigIdImage[14], 0xC0);

    Session p18 = sessionOf("18F_01", 512, 0);
    p18.device.ConfigValue[0] = 7;
    p18.buffer.ConfigIdImage[0] = 0x42;
    FillIdConfigErased(p18);
    EXPECT_EQ(p18.device.ConfigValue[1], 0xFFFF);
    EXPECT_EQ(p18.device.ConfigValue[127], 0xFFFF);
    EXPECT_EQ(p18.device.ConfigValue[0], 7);
    EXPECT_EQ(p18.buffer.ConfigIdImage[0], 0x42);
    FillIdConfigZero(p18);
    EXPECT_EQ(p18.device.ConfigValue[5], 0);
}

// The configuration words a part defines keep only what it can hold: bits it does not implement
// as the part reads them, whatever the fill wrote; the ID words and the other words are filled.
TEST(BufferFills, ConfigWordsAsThePartHoldsThem) {
    struct Case {
        const char* type;
        int word; // configuration word number
        std::int32_t mask, fixed;
        int erased, zero;
    };
    const Case cases[] = {
        {"12F6", 1, 0x31FF, 0x0000, 0x31FF, 0x0000},     // bits 11-9 read 0
        {"FLASH8", 1, 0x2FCF, 0x1030, 0x3FFF, 0x1030},   // bits 12, 5, 4 read 1
        {"FLASH4.9", 2, 0x0003, 0x3FFC, 0x3FFF, 0x3FFC}, // word 2: two bits
        {"5X18", 1, 0x000F, 0x0FF0, 0x0FFF, 0x0FF0},     // 12-bit
        {"EPROM2", 1, 0x3FFF, 0x0000, 0xFFFF, 0xC000},   // parity positions stay set
    };
    for (const Case& c : cases) {
        Session s = sessionOf(c.type, 512, 0);
        s.device.ConfigWordDefined[c.word] = 1;
        s.device.ConfigMask[c.word] = c.mask;
        s.device.ConfigFixed[c.word] = c.fixed;
        const std::size_t at = std::size_t(2 * c.word + 12);
        FillIdConfigErased(s);
        EXPECT_EQ(word(s.buffer.ConfigIdImage, at), c.erased) << c.type;
        EXPECT_EQ(s.buffer.ConfigIdImage[1], 0xFF) << c.type;
        FillIdConfigZero(s);
        EXPECT_EQ(word(s.buffer.ConfigIdImage, at), c.zero) << c.type;
    }
}

// A PIC18 word's mask is what an erased chip reads, so it also covers bits no setting selects,
// which the part keeps set: a fill leaves those set and fills the setting bits; words the part
// does not define are filled whole.
TEST(BufferFills, Pic18ConfigWordsKeepTheBitsNoSettingSelects) {
    struct Case {
        const char* what;
        std::int32_t mask;
        std::vector<std::int32_t> settingMasks;
        int erased, zero;
    };
    const Case cases[] = {
        {"16K-byte CONFIG5: CP0, CP1, CPB, CPD; bits 3:2 read 1",
         0xC00F,
         {0x0001, 0x0002, 0x4000, 0x8000},
         0xC00F,
         0x000C},
        {"PIC18F8720 CONFIG3: MODE, WAIT, CCP2MUX; bit 9 reads 1",
         0x0383,
         {0x0003, 0x0080, 0x0100},
         0x0383,
         0x0200},
        {"CONFIG1: every bit of the mask under a setting",
         0x2700,
         {0x0700, 0x2000},
         0x2700,
         0x0000},
    };
    for (const Case& c : cases) {
        Session s = sessionOf("18F_00", 512, 0);
        s.device.ConfigWordDefined[5] = 1;
        s.device.ConfigMask[5] = c.mask;
        for (std::int32_t m : c.settingMasks)
            s.device.ConfigSettings[5].push_back(
                {QStringLiteral("S"), {{"ON", m, 0}, {"OFF", m, m}}});
        FillIdConfigErased(s);
        EXPECT_EQ(s.device.ConfigValue[5], c.erased) << c.what;
        EXPECT_EQ(s.device.ConfigValue[4], 0xFFFF) << c.what;
        FillIdConfigZero(s);
        EXPECT_EQ(s.device.ConfigValue[5], c.zero) << c.what;
        EXPECT_EQ(s.device.ConfigValue[4], 0) << c.what;
    }
}
