#include "core/device_file_text.h"

#include <QStringEncoder>

#include <gtest/gtest.h>

using namespace tavrin;

TEST(DeviceFileText, LinesEndWithCrLfLfOrCr) {
    struct Case {
        const char* text;
        QStringList lines;
    };
    const Case cases[] = {
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\nb", {"a", "b"}},
        {"a\rb\r\n\r\nc", {"a", "b", "", "c"}},
        {"", {}},
        {"\n", {""}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(splitDeviceFileLines(QString::fromLatin1(c.text)), c.lines) << c.text;
}

TEST(DeviceFileText, PreparedLineExpandsTabsAndSplitsAtBlanksOnly) {
    EXPECT_EQ(prepareLine(QStringLiteral("  CONFIG1\t0x3FFF  0x3FFF 0 0")),
              QStringList({"CONFIG1", "0x3FFF", "0x3FFF", "0", "0"}));
    EXPECT_EQ(prepareLine(QStringLiteral("CMT WDT 有効\u3000無効 x")),
              QStringList({"CMT", "WDT", "有効\u3000無効", "x"}));
    EXPECT_TRUE(prepareLine(QStringLiteral(" \t ")).isEmpty());
}

// The readers look at most lines only for their key: it must be the prepared line's first token.
TEST(DeviceFileText, FirstTokenIsThePreparedLinesFirst) {
    for (const char* line : {"#BEGIN", "  VERSION 1 . 0 0", "\t#END\t", "", " \t ", "CMT\tWDT x",
                             ";#BEGIN", "PIC16F877A  ; comment",
                             "\xe3\x80\x80"
                             "CMT x"}) {
        const QString text = QString::fromUtf8(line);
        EXPECT_EQ(firstToken(text).toString(), prepareLine(text).value(0)) << line;
    }
}

TEST(DeviceFileText, ReaderCountsLinesAsItReadsThem) {
    DeviceFileReader file(QStringLiteral("#BEGIN\r\nPIC16F84A\rPGM 0x3FF\n\n#END"));
    QStringList keys;
    while (!file.atEnd()) {
        const QString key = file.nextTokens().value(0);
        keys << key + QLatin1Char(':') + QString::number(file.lineNumber());
    }
    EXPECT_EQ(keys, QStringList({"#BEGIN:1", "PIC16F84A:2", "PGM:3", ":4", "#END:5"}));
}

TEST(DeviceFileText, Utf8OrCp932) {
    const QString japanese = QStringLiteral("CMT FOSC 発振モード ①ＬＰ");
    QStringEncoder sjis("Shift_JIS");
    ASSERT_TRUE(sjis.isValid());
    const QByteArray cp932 = sjis.encode(japanese);
    ASSERT_NE(cp932, japanese.toUtf8());

    EXPECT_EQ(decodeDeviceFileText(japanese.toUtf8()), japanese);
    EXPECT_EQ(decodeDeviceFileText("\xEF\xBB\xBF" + japanese.toUtf8()), japanese) << "BOM dropped";
    EXPECT_EQ(decodeDeviceFileText(cp932), japanese);
    EXPECT_EQ(decodeDeviceFileText("PGM 0x1FFF"), QStringLiteral("PGM 0x1FFF"));
}
