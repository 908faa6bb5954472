// The serial-number settings: a field of 1 to 4 bytes at an address of the program image, a start
// value, an increment and a quantity, and the running value with the count of chips done. The
// window keeps and shows these values; nothing writes them into a chip, and its texts say so.
#pragma once

#include <QString>
#include <QtGlobal>

namespace tavrin {

class SerialNumberSettings {
  public:
    enum class Radix { Decimal, Hexadecimal };
    enum class KeyField { StartAddress, ByteCount, Value };

    // The code that replaces a refused key.
    static constexpr char16_t kRefusedKey = 1;
    // The key as the field takes it: refused keys become kRefusedKey, and hexadecimal letters
    // are upper-cased where the field is hexadecimal.
    static char16_t filterKey(KeyField field, Radix radix, char16_t key);

    SerialNumberSettings();

    // The fields as the window shows them.
    QString startAddress() const { return startAddress_; }
    QString endAddress() const { return endAddress_; }
    int byteCount() const { return byteCount_; }
    Radix radix() const { return radix_; }
    QString startValue() const { return startValue_; }
    QString increment() const { return increment_; }
    QString quantity() const { return quantity_; }
    bool enabled() const { return enabled_; }
    QString wroteHex() const { return wroteHex_; }
    QString wroteDecimal() const { return wroteDecimal_; }
    QString doneCount() const { return doneCount_; }
    QString message() const { return message_; }
    // The value the next step takes.
    quint64 runningValue() const { return running_; }

    void setStartAddress(const QString& text);
    void setByteCount(int count); // 1 to 4
    void setStartValue(const QString& text);
    void setIncrement(const QString& text) { increment_ = text; }
    void setQuantity(const QString& text) { quantity_ = text; }
    void setDoneCount(const QString& text) { doneCount_ = text; }
    // Rewrites the three value fields in the other radix.
    void setRadix(Radix radix);

    // Turning serialisation on: refused without a quantity or without a loaded HEX file. True
    // when it is on; the caller then reloads the HEX file.
    bool enable(bool hexFileLoaded);
    void disable();
    // One serialisation step: the running value is shown and advanced, one chip counted.
    void step();

  private:
    quint64 valueOf(const QString& text) const;
    void refreshEndAddress();

    QString startAddress_ = QStringLiteral("0");
    QString endAddress_ = QStringLiteral("0");
    int byteCount_ = 1;
    Radix radix_ = Radix::Decimal;
    QString startValue_ = QStringLiteral("0");
    QString increment_ = QStringLiteral("1");
    QString quantity_ = QStringLiteral("0");
    bool enabled_ = false;
    QString wroteHex_;
    QString wroteDecimal_ = QStringLiteral("0");
    QString doneCount_ = QStringLiteral("0");
    QString message_;
    quint64 running_ = 0;
};

} // namespace tavrin
