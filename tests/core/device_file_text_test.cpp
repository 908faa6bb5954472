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
        EXPECT_EQ(splitDeviceFileLines(QByteArray(c.text)), c.lines) << c.text;
}

TEST(DeviceFileText, PreparedLineExpandsTabsAndSplitsAtBlanksOnly) {
    EXPECT_EQ(prepareLine("  CONFIG1\t0x3FFF  0x3FFF 0 0"),
              QStringList({"CONFIG1", "0x3FFF", "0x3FFF", "0", "0"}));
    EXPECT_EQ(prepareLine(QStringLiteral("CMT WDT 有効\u3000無効 x").toUtf8()),
              QStringList({"CMT", "WDT", "有効\u3000無効", "x"}));
    EXPECT_TRUE(prepareLine(" \t ").isEmpty());
}

// The readers look at most lines only for their key: it must be the prepared line's first token.
TEST(DeviceFileText, FirstTokenIsThePreparedLinesFirst) {
    for (const char* line : {"#BEGIN", "  VERSION 1 . 0 0", "\t#END\t", "", " \t ", "CMT\tWDT x",
                             ";#BEGIN", "PIC16F877A  ; comment",
                             "\xe3\x80\x80"
                             "CMT x"}) {
        EXPECT_EQ(tokenText(firstToken(line)), prepareLine(line).value(0)) << line;
    }
}

TEST(DeviceFileText, ReaderCountsLinesAsItReadsThem) {
    DeviceFileReader file("\xEF\xBB\xBF#BEGIN\r\nPIC16F84A\rPGM 0x3FF\n\n#END");
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

// The readers walk the bytes, not the decoded text: their lines must be the decoded text's lines,
// whatever the encoding, the line ends and the byte-order marks.
TEST(DeviceFileText, ReadersSeeTheDecodedTextsLines) {
    QStringEncoder sjis("Shift_JIS");
    ASSERT_TRUE(sjis.isValid());
    const QString japanese =
        QStringLiteral("CMT FOSC 発振モード\u3000①ＬＰ\r\n#BEGIN\rPIC16F84A\n");
    const QByteArray cases[] = {
        japanese.toUtf8(),
        "\xEF\xBB\xBF" + japanese.toUtf8(),
        "\xEF\xBB\xBF\xEF\xBB\xBFPGM 1\r\n\xEF\xBB\xBFPGM 2",
        sjis.encode(japanese),
        "PGM\t0x1FFF\r\n\r\n\xE3\x80\x80K1 x\n\n",
        "\xC3\xA9t\xC3\r\n\xFF",
        "",
    };
    for (const QByteArray& bytes : cases) {
        QString text = decodeDeviceFileText(bytes);
        text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        if (text.endsWith(QLatin1Char('\n'))) text.chop(1);
        const QStringList lines = splitDeviceFileLines(deviceFileUtf8(bytes));
        EXPECT_EQ(lines.join(QLatin1Char('\n')), text) << bytes.toHex(' ').constData();
        EXPECT_EQ(lines.size(), text.isEmpty() ? 0 : text.count(QLatin1Char('\n')) + 1);
    }
}
