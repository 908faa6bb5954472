#include "tools/logic/serial_number_settings.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <vector>

using namespace tavrin;
using Radix = SerialNumberSettings::Radix;
using KeyField = SerialNumberSettings::KeyField;

namespace {

const QString kQuantityMissing = QStringLiteral("数量を設定してください。");
const QString kReached = QStringLiteral("予定の数量に達しました。【設定を有効にする】のチェック"
                                        "をはずして、再設定を行って下さい。");
const QString kEnabled =
    QStringLiteral("シリアル値の計算が有効になりました。設定変更はできません。\n"
                   "【chk】で次の値を表示します。ICには書き込まれません。");

SerialNumberSettings enabledWith(int bytes, const QString& start, const QString& increment,
                                 const QString& quantity, Radix radix = Radix::Decimal) {
    SerialNumberSettings s;
    s.setRadix(radix);
    s.setByteCount(bytes);
    s.setStartValue(start);
    s.setIncrement(increment);
    s.setQuantity(quantity);
    EXPECT_TRUE(s.enable(true));
    return s;
}

} // namespace

TEST(SerialNumberSettings, EndAddressIsStartPlusByteCountInHex) {
    struct Case {
        QString start;
        int bytes;
        QString end;
    };
    const std::vector<Case> cases = {{"100", 4, "104"},
                                     {"1FF", 2, "201"},
                                     {"0", 1, "1"},
                                     {"FFFF", 4, "10003"},
                                     {"ff", 3, "102"}};
    for (const Case& c : cases) {
        SerialNumberSettings s;
        s.setByteCount(c.bytes);
        s.setStartAddress(c.start);
        EXPECT_EQ(s.endAddress(), c.end) << c.start.toStdString() << " + " << c.bytes;
    }
    // An emptied field keeps the last end address until a new one is typed.
    SerialNumberSettings s;
    s.setStartAddress(QStringLiteral("1FF"));
    s.setStartAddress(QString());
    EXPECT_EQ(s.endAddress(), QStringLiteral("200"));
}

TEST(SerialNumberSettings, StepShowsTheLowBytesOfTheValueUsed) {
    struct Case {
        int bytes;
        QString start;
        QString hex;
        QString dec;
    };
    const std::vector<Case> cases = {
        {1, "4660", "34", "52"},
        {2, "4660", "12:34", "4660"},
        {3, "4660", "00:12:34", "4660"},
        {4, "4660", "00:00:12:34", "4660"},
        {4, "4294967295", "FF:FF:FF:FF", "4294967295"},
        {2, "65536", "00:00", "0"},
    };
    for (const Case& c : cases) {
        SerialNumberSettings s =
            enabledWith(c.bytes, c.start, QStringLiteral("1"), QStringLiteral("5"));
        EXPECT_EQ(s.wroteHex(), QStringLiteral("00:00:00:00").left(c.bytes * 3 - 1));
        s.step();
        EXPECT_EQ(s.wroteHex(), c.hex) << c.bytes << " bytes of " << c.start.toStdString();
        EXPECT_EQ(s.wroteDecimal(), c.dec);
        EXPECT_EQ(s.doneCount(), QStringLiteral("1"));
    }
}

TEST(SerialNumberSettings, RunStartsAtTheStartValueAndAdvancesByTheIncrement) {
    // Increment 5: the decimal display shows each value used, not the next one minus 1.
    SerialNumberSettings s =
        enabledWith(2, QStringLiteral("100"), QStringLiteral("5"), QStringLiteral("3"));
    QStringList shown;
    for (int i = 0; i < 3; ++i) {
        s.step();
        shown << s.wroteDecimal();
    }
    EXPECT_EQ(shown, QStringList({"100", "105", "110"}));
    EXPECT_EQ(s.runningValue(), 115u);

    // In hexadecimal mode every value field is read in hexadecimal, the quantity too.
    SerialNumberSettings h = enabledWith(2, QStringLiteral("FF"), QStringLiteral("10"),
                                         QStringLiteral("A"), Radix::Hexadecimal);
    h.step();
    h.step();
    EXPECT_EQ(h.wroteHex(), QStringLiteral("01:0F"));
    EXPECT_EQ(h.wroteDecimal(), QStringLiteral("271"));
    for (int i = 0; i < 8; ++i)
        h.step();
    EXPECT_EQ(h.doneCount(), QStringLiteral("10"));
    EXPECT_EQ(h.message(), kEnabled);
}

TEST(SerialNumberSettings, StepsAfterTheQuantityChangeOnlyTheMessage) {
    SerialNumberSettings s =
        enabledWith(1, QStringLiteral("7"), QStringLiteral("1"), QStringLiteral("2"));
    s.step();
    s.step();
    const QString hex = s.wroteHex();
    const QString dec = s.wroteDecimal();
    const quint64 running = s.runningValue();
    s.step();
    EXPECT_EQ(s.message(), kReached);
    EXPECT_EQ(s.wroteHex(), hex);
    EXPECT_EQ(s.wroteDecimal(), dec);
    EXPECT_EQ(s.doneCount(), QStringLiteral("2"));
    EXPECT_EQ(s.runningValue(), running);

    // Re-enabling starts a new run from the start value with the count at 0.
    s.disable();
    ASSERT_TRUE(s.enable(true));
    EXPECT_EQ(s.doneCount(), QStringLiteral("0"));
    s.step();
    EXPECT_EQ(s.wroteDecimal(), QStringLiteral("7"));
}

TEST(SerialNumberSettings, EnablingIsRefusedWithoutQuantityOrHexFile) {
    struct Case {
        QString quantity;
        bool hexLoaded;
        bool enabled;
        QString message;
    };
    const std::vector<Case> cases = {
        {"0", true, false, kQuantityMissing},
        {"", true, false, kQuantityMissing},
        {"..", true, false, kQuantityMissing},
        {"3", false, false,
         QStringLiteral("HEXファイルが開かれていません。メニューバの 【ファイル】【開く】から、"
                        "HEXファイルを開いてください。")},
        {"3", true, true, kEnabled},
    };
    for (const Case& c : cases) {
        SerialNumberSettings s;
        s.setQuantity(c.quantity);
        s.setDoneCount(QStringLiteral("9"));
        EXPECT_EQ(s.enable(c.hexLoaded), c.enabled) << c.quantity.toStdString();
        EXPECT_EQ(s.enabled(), c.enabled);
        EXPECT_EQ(s.message(), c.message);
        EXPECT_EQ(s.doneCount(), c.enabled ? QStringLiteral("0") : QStringLiteral("9"));
    }
    SerialNumberSettings off;
    off.step();
    EXPECT_EQ(off.message(),
              QStringLiteral("【設定を有効にする】をチェックすると、【chk】でシリアル"
                             "値を数えます。値はこのウィンドウで表示するだけで、IC"
                             "には書き込まれません。"));
    EXPECT_EQ(off.doneCount(), QStringLiteral("0"));
}

TEST(SerialNumberSettings, SwitchingRadixRewritesTheThreeValueFields) {
    struct Case {
        Radix to;
        QStringList before; // start, increment, quantity in the other radix
        QStringList after;
    };
    const std::vector<Case> cases = {
        {Radix::Hexadecimal, {"255", "1", "10"}, {"FF", "1", "A"}},
        {Radix::Decimal, {"FF", "1", "A"}, {"255", "1", "10"}},
        // Unsigned: four or eight hexadecimal digits are not read as negative numbers.
        {Radix::Decimal, {"FFFF", "FFFFFFFF", "8000"}, {"65535", "4294967295", "32768"}},
        // Not a number: 0 in decimal, left alone in hexadecimal.
        {Radix::Decimal, {"1.2", "", "G"}, {"0", "0", "0"}},
        {Radix::Hexadecimal, {"1.2", "", "12"}, {"1.2", "", "C"}},
    };
    for (const Case& c : cases) {
        SerialNumberSettings s;
        if (c.to == Radix::Decimal) s.setRadix(Radix::Hexadecimal);
        s.setStartValue(c.before[0]);
        s.setIncrement(c.before[1]);
        s.setQuantity(c.before[2]);
        s.setRadix(c.to);
        EXPECT_EQ(QStringList({s.startValue(), s.increment(), s.quantity()}), c.after)
            << c.before.join(',').toStdString();
    }
    // Choosing the mode already shown converts nothing.
    SerialNumberSettings s;
    s.setStartValue(QStringLiteral("10"));
    s.setRadix(Radix::Decimal);
    EXPECT_EQ(s.startValue(), QStringLiteral("10"));
}

TEST(SerialNumberSettings, KeyFiltersPerField) {
    struct Case {
        KeyField field;
        Radix radix;
        char16_t key;
        char16_t taken;
    };
    const char16_t refused = SerialNumberSettings::kRefusedKey;
    const std::vector<Case> cases = {
        {KeyField::StartAddress, Radix::Decimal, u'a', u'A'},
        {KeyField::StartAddress, Radix::Decimal, u'F', u'F'},
        {KeyField::StartAddress, Radix::Decimal, u'g', refused},
        {KeyField::StartAddress, Radix::Decimal, u'.', u'.'},
        {KeyField::StartAddress, Radix::Decimal, 8, 8},
        {KeyField::ByteCount, Radix::Hexadecimal, u'A', refused},
        {KeyField::ByteCount, Radix::Decimal, u'3', u'3'},
        {KeyField::Value, Radix::Decimal, u'9', u'9'},
        {KeyField::Value, Radix::Decimal, u'a', refused},
        {KeyField::Value, Radix::Hexadecimal, u'e', u'E'},
        {KeyField::Value, Radix::Hexadecimal, u'-', refused},
        {KeyField::Value, Radix::Hexadecimal, 13, 13},
        {KeyField::Value, Radix::Decimal, u' ', refused},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SerialNumberSettings::filterKey(c.field, c.radix, c.key), c.taken)
            << int(c.field) << " " << int(c.key);
}
