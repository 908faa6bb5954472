#include "serial_number_settings.h"

#include <QStringList>

namespace tavrin {

namespace {

// Nothing writes the values into a chip: the messages say what the window does, and no more.
const QString kOffMessage =
    QStringLiteral("【設定を有効にする】をチェックすると、【chk】でシリアル値を数えます。"
                   "値はこのウィンドウで表示するだけで、ICには書き込まれません。");

bool isDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

bool isHexLetter(char16_t c) {
    return (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f');
}

char16_t upper(char16_t c) {
    return (c >= u'a' && c <= u'f') ? char16_t(c - u'a' + u'A') : c;
}

int base(SerialNumberSettings::Radix radix) {
    return radix == SerialNumberSettings::Radix::Hexadecimal ? 16 : 10;
}

// An empty or malformed text counts as 0.
quint64 parse(const QString& text, int base, bool* ok = nullptr) {
    bool good = false;
    const quint64 value = text.trimmed().toULongLong(&good, base);
    if (ok) *ok = good;
    return good ? value : 0;
}

QString zeroPattern(int bytes) {
    QStringList parts;
    for (int i = 0; i < bytes; ++i)
        parts << QStringLiteral("00");
    return parts.join(QLatin1Char(':'));
}

} // namespace

char16_t SerialNumberSettings::filterKey(KeyField field, Radix radix, char16_t key) {
    if (key == 8 || key == 13 || key == u'.' || isDigit(key)) return key;
    const bool hexField = field == KeyField::StartAddress ||
                          (field == KeyField::Value && radix == Radix::Hexadecimal);
    if (hexField && isHexLetter(key)) return upper(key);
    return kRefusedKey;
}

SerialNumberSettings::SerialNumberSettings() {
    setByteCount(1);
    wroteHex_ = QStringLiteral("00");
    message_ = kOffMessage;
}

quint64 SerialNumberSettings::valueOf(const QString& text) const {
    return parse(text, base(radix_));
}

void SerialNumberSettings::refreshEndAddress() {
    bool ok = false;
    const quint64 start = parse(startAddress_, 16, &ok);
    // A half-typed address keeps the last end address shown.
    if (ok) endAddress_ = QString::number(start + quint64(byteCount_), 16).toUpper();
}

void SerialNumberSettings::setStartAddress(const QString& text) {
    startAddress_ = text;
    if (!text.isEmpty()) refreshEndAddress();
}

void SerialNumberSettings::setByteCount(int count) {
    byteCount_ = qBound(1, count, 4);
    refreshEndAddress();
    wroteHex_ = zeroPattern(byteCount_);
}

void SerialNumberSettings::setStartValue(const QString& text) {
    startValue_ = text;
    if (!text.isEmpty()) running_ = valueOf(text);
}

void SerialNumberSettings::setRadix(Radix radix) {
    if (radix == radix_) return;
    for (QString* field : {&startValue_, &quantity_, &increment_}) {
        bool ok = false;
        const quint64 value = parse(*field, base(radix_), &ok);
        if (radix == Radix::Decimal)
            *field = QString::number(value);
        else if (ok)
            *field = QString::number(value, 16).toUpper();
    }
    radix_ = radix;
}

bool SerialNumberSettings::enable(bool hexFileLoaded) {
    if (valueOf(quantity_) == 0) {
        disable();
        message_ = QStringLiteral("数量を設定してください。");
        return false;
    }
    if (!hexFileLoaded) {
        disable();
        message_ =
            QStringLiteral("HEXファイルが開かれていません。メニューバの 【ファイル】【開く】から、"
                           "HEXファイルを開いてください。");
        return false;
    }
    enabled_ = true;
    // A run starts at the start value, like its count starts at 0.
    running_ = valueOf(startValue_);
    doneCount_ = QStringLiteral("0");
    message_ = QStringLiteral("シリアル値の計算が有効になりました。設定変更はできません。\n"
                              "【chk】で次の値を表示します。ICには書き込まれません。");
    return true;
}

void SerialNumberSettings::disable() {
    enabled_ = false;
    message_ = QStringLiteral("シリアル値の計算が無効になりました。\n設定変更できます。");
}

void SerialNumberSettings::step() {
    if (!enabled_) {
        message_ = kOffMessage;
        return;
    }
    const quint64 done = parse(doneCount_, 10);
    if (valueOf(quantity_) <= done) {
        message_ = QStringLiteral("予定の数量に達しました。【設定を有効にする】のチェックを"
                                  "はずして、再設定を行って下さい。");
        return;
    }
    const quint64 mask = (quint64(1) << (8 * byteCount_)) - 1;
    const quint64 value = running_ & mask;
    running_ += valueOf(increment_);
    QStringList bytes;
    for (int i = byteCount_ - 1; i >= 0; --i)
        bytes << QStringLiteral("%1")
                     .arg((value >> (8 * i)) & 0xFF, 2, 16, QLatin1Char('0'))
                     .toUpper();
    wroteHex_ = bytes.join(QLatin1Char(':'));
    // The field holds the value's low bytes, so the decimal shows the same number.
    wroteDecimal_ = QString::number(value);
    doneCount_ = QString::number(done + 1);
}

} // namespace tavrin
