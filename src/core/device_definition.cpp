#include "device_definition.h"

#include "device_family_limits.h"
#include "device_required_keys.h"
#include "program_type.h"
#include "utilities.h"

#include <QLocale>

#include <cmath>

namespace tavrin {

namespace {

constexpr std::int32_t MaxWordValue = 0xFFFF;

QString rowText(const BlockRow& row) {
    QStringList used;
    for (const QString& token : row)
        if (!token.isEmpty()) used << token;
    return used.join(QLatin1Char(' '));
}

QString rowMessage(int lineNumber, const BlockRow& row, const QString& what) {
    return QStringLiteral("%1行目「%2」: %3").arg(lineNumber).arg(rowText(row), what);
}

QString badNumber(int lineNumber, const BlockRow& row) {
    return rowMessage(lineNumber, row, QStringLiteral("数値が正しくありません。"));
}

QString outOfRange(int lineNumber, const BlockRow& row) {
    return rowMessage(lineNumber, row, QStringLiteral("値が範囲外です。"));
}

QString missingKeyText(const QString& name, const QString& programType, const QString& key) {
    const QString text = QStringLiteral("%1 の定義に %2 がありません").arg(name, key);
    if (programType.isEmpty()) return text + QStringLiteral("。");
    return text + QStringLiteral("（PGM_TYPE %1 に必要です）。").arg(programType);
}

// A size as the file writes it: "0x", upper case, at least four digits.
QString sizeText(std::int32_t value) {
    return QStringLiteral("0x") +
           QStringLiteral("%1").arg(value, 4, 16, QLatin1Char('0')).toUpper();
}

QString unknownTypeText(const QString& name, const QString& programType) {
    return QStringLiteral("%1 の定義の PGM_TYPE %2 は未対応です。").arg(name, programType);
}

QString beyondFamilyText(const QString& name, const QString& programType,
                         const SizeBeyondFamily& size) {
    return QStringLiteral("%1 の定義の %2 %3 が範囲外です（PGM_TYPE %4 では %5 まで）。")
        .arg(name, size.key, sizeText(size.value), programType, sizeText(size.largest));
}

// Column `column` of the row as a number in [lowest, highest]; the message when it is not one.
std::int32_t readNumber(const BlockRow& row, int column, std::int32_t lowest, std::int32_t highest,
                        int lineNumber, std::optional<QString>& error) {
    const std::int32_t value = parseNumber(row[std::size_t(column)]);
    // ParseNumber gives -1 for text it cannot read; no field of the file is negative.
    if (value < 0) {
        error = badNumber(lineNumber, row);
        return 0;
    }
    if (value < lowest || value > highest) error = outOfRange(lineNumber, row);
    return value;
}

// The word number an option key ends in, 0 when it ends in anything but 1-7.
int optionWordOf(const QString& key) {
    if (key.isEmpty()) return 0;
    const QChar last = key.back();
    return last >= QLatin1Char('1') && last <= QLatin1Char('7') ? last.unicode() - '0' : 0;
}

// Which setting the option rows before this one added last, so that the rows of one setting
// make one grid row and the same setting after another makes a second.
struct OptionGrouping {
    bool any = false;
    QString key;
    QString setting;
};

std::optional<QString> readOptionRow(DeviceRecord& d, const BlockRow& row, int lineNumber,
                                     OptionGrouping& previous) {
    const QString& key = row[0];
    const int word = optionWordOf(key);
    if (word == 0)
        return rowMessage(
            lineNumber, row,
            QStringLiteral("キーの末尾がコンフィグワード番号（1～7）ではありません。"));
    std::optional<QString> error;
    const std::int32_t mask = readNumber(row, 3, 0, MaxWordValue, lineNumber, error);
    if (error) return error;
    const std::int32_t value = readNumber(row, 4, 0, MaxWordValue, lineNumber, error);
    if (error) return error;

    const QString& setting = row[1];
    if (setting == QLatin1String("CP")) d.CodeProtectMask = mask;
    auto& settings = d.ConfigSettings[std::size_t(word)];
    if (!previous.any || previous.key != key || previous.setting != setting || settings.empty()) {
        settings.push_back({setting, {}});
        previous = {true, key, setting};
    }
    settings.back().options.push_back({row[2], mask, value});
    return std::nullopt;
}

std::optional<QString> readBlockRow(DeviceRecord& d, const BlockRow& row, int lineNumber,
                                    OptionGrouping& grouping) {
    const QString& t1 = row[1];
    std::optional<QString> error;
    switch (blockKeyOf(row[0])) {
    case BlockKey::Package:
        d.PackageType = t1;
        break;
    case BlockKey::Jumper2:
        d.Jumper2 = t1;
        break;
    case BlockKey::Firmware: {
        // The C locale: "6.5" reads the same whatever the machine's decimal separator.
        bool ok = false;
        const float version = QLocale::c().toFloat(t1, &ok);
        if (!ok || !std::isfinite(version)) return badNumber(lineNumber, row);
        d.RequiredFirmware = version;
        break;
    }
    case BlockKey::PowerMode:
        d.PowerMode = t1;
        break;
    case BlockKey::ProgramType:
        d.ProgramType = t1;
        break;
    case BlockKey::CalibRetlw:
        d.CalibrationInstruction = QStringLiteral("retlw 0x") + t1;
        break;
    case BlockKey::CalibMovlw:
        d.CalibrationInstruction = QStringLiteral("movlw 0x") + t1;
        break;
    case BlockKey::DeviceComment:
        d.DeviceComment.clear();
        for (int i = 1; i <= 5; ++i)
            d.DeviceComment += QLatin1Char(' ') + row[std::size_t(i)];
        break;
    case BlockKey::ConfigWord: {
        const int k = row[0].back().unicode() - '0';
        if (auto parseError = ParseConfigWordLine(d, k, row, lineNumber)) return parseError;
        d.ConfigWordDefined[std::size_t(k)] = 1;
        break;
    }
    case BlockKey::ProgramSize: {
        const std::int32_t last =
            readNumber(row, 1, 0, limits::MaxProgramWords - 1, lineNumber, error);
        if (error) return error;
        d.ProgramWordCount = last + 1;
        std::uint8_t b3, b2, b1, b0;
        SplitLongBytes(d.ProgramWordCount, b3, b2, b1, b0);
        d.ProgramWordCountByte3 = b3;
        d.ProgramWordCountByte2 = b2;
        d.ProgramWordCountHi = b1;
        d.ProgramWordCountLo = b0;
        break;
    }
    case BlockKey::EepromSize: {
        const std::int32_t last =
            readNumber(row, 1, 0, limits::MaxEepromLocations - 1, lineNumber, error);
        if (error) return error;
        d.EepromByteCount = last == 0 ? 0 : last + 1;
        std::uint8_t hi, lo;
        SplitWordBytes(d.EepromByteCount, hi, lo);
        d.EepromByteCountHi = hi;
        d.EepromByteCountLo = lo;
        break;
    }
    case BlockKey::CpMaskCf5:
        d.CpMaskCf5 = readNumber(row, 1, 0, MaxWordValue, lineNumber, error);
        if (error) return error;
        break;
    case BlockKey::SettingComment:
        d.SettingComments.push_back({row[1], row[2], row[3]});
        break;
    case BlockKey::Option:
        return readOptionRow(d, row, lineNumber, grouping);
    }
    return std::nullopt;
}

} // namespace

BlockKey blockKeyOf(const QString& key) {
    if (key == QLatin1String("CALIB(retlw)")) return BlockKey::CalibRetlw;
    if (key == QLatin1String("CALIB(movlw)")) return BlockKey::CalibMovlw;
    const QString upper = key.toUpper();
    struct Named {
        const char* key;
        BlockKey meaning;
    };
    static const Named named[] = {
        {"PACKAGE", BlockKey::Package},       {"JP2", BlockKey::Jumper2},
        {"FIRM", BlockKey::Firmware},         {"POWER_MODE", BlockKey::PowerMode},
        {"PGM_TYPE", BlockKey::ProgramType},  {"COMMENT", BlockKey::DeviceComment},
        {"PGM", BlockKey::ProgramSize},       {"EEPROM", BlockKey::EepromSize},
        {"CP_MASK_CF5", BlockKey::CpMaskCf5}, {"CMT", BlockKey::SettingComment},
    };
    for (const auto& n : named)
        if (upper == QLatin1String(n.key)) return n.meaning;
    if (upper.size() == 7 && upper.startsWith(QLatin1String("CONFIG")) &&
        upper.back() >= QLatin1Char('1') && upper.back() <= QLatin1Char('7'))
        return BlockKey::ConfigWord;
    return BlockKey::Option;
}

std::optional<QString> ParseConfigWordLine(DeviceRecord& d, int k, const BlockRow& row,
                                           int lineNumber) {
    std::optional<QString> error;
    std::int32_t parts[4];
    for (int i = 0; i < 4; ++i) {
        parts[i] = readNumber(row, i + 1, 0, MaxWordValue, lineNumber, error);
        if (error) return error;
    }
    const auto w = std::size_t(k);
    d.ConfigValue[w] = parts[0];
    d.ConfigFixed[w] = parts[2];
    d.ConfigXor[w] = parts[3];
    d.ConfigMask[w] = parts[3] ^ parts[1];
    if (!d.ConfigFromDevice) d.ConfigValue[w] = (d.ConfigMask[w] & d.ConfigValue[w]) | parts[2];
    return std::nullopt;
}

void writeConfigWordBytes(PcBuffer& buffer, const DeviceRecord& d) {
    for (int k = 1; k <= limits::ConfigWords; ++k) {
        if (!d.ConfigWordDefined[std::size_t(k)]) continue;
        std::uint8_t hi, lo;
        SplitWordBytes(d.ConfigValue[std::size_t(k)], hi, lo);
        buffer.Config18Bytes[std::size_t(2 * (k - 1))] = lo;
        buffer.Config18Bytes[std::size_t(2 * (k - 1) + 1)] = hi;
        if (k == 1) {
            buffer.ConfigIdImage[14] = hi;
            buffer.ConfigIdImage[15] = lo;
        }
    }
}

DeviceDefinition readDeviceDefinition(const QByteArray& utf8, const DeviceRecord& current) {
    DeviceDefinition result;
    const QString& name = current.SelectedDevice;
    DeviceBlockLookup lookup = findDeviceBlock(utf8, name);
    switch (lookup.outcome) {
    case DeviceBlockLookup::Outcome::NotFound:
        result.outcome = DeviceDefinition::Outcome::NotFound;
        result.errorText = QStringLiteral("#BEGIN %1 が見つかりませんでした。").arg(name);
        return result;
    case DeviceBlockLookup::Outcome::ReadError:
        result.outcome = DeviceDefinition::Outcome::ReadError;
        result.errorText = lookup.block.errorText;
        return result;
    case DeviceBlockLookup::Outcome::Found:
        break;
    }

    DeviceRecord& d = result.record;
    d.SelectedDevice = current.SelectedDevice;
    d.DeviceNames = current.DeviceNames;
    d.DeviceFileVersion = current.DeviceFileVersion;
    d.ConfigFromDevice = current.ConfigFromDevice;
    d.SettingComments = std::move(lookup.comments);
    d.DeviceBlock = lookup.block.rows;

    OptionGrouping grouping;
    for (std::size_t i = 0; i < lookup.block.rows.size(); ++i) {
        if (auto error =
                readBlockRow(d, lookup.block.rows[i], lookup.block.rowLines[i], grouping)) {
            result.outcome = DeviceDefinition::Outcome::Faulty;
            result.errorText = *error;
            result.record = DeviceRecord{};
            return result;
        }
    }
    // The type first: what a block needs and how large it may be both follow from it.
    std::optional<QString> fault;
    if (!d.ProgramType.isEmpty() && !isKnownProgramType(d.ProgramType))
        fault = unknownTypeText(name, d.ProgramType);
    else if (const std::optional<QString> missing = missingRequiredKey(d))
        fault = missingKeyText(name, d.ProgramType, *missing);
    else if (const std::optional<SizeBeyondFamily> size = sizeBeyondFamily(d))
        fault = beyondFamilyText(name, d.ProgramType, *size);
    if (fault) {
        result.outcome = DeviceDefinition::Outcome::Faulty;
        result.errorText = *fault;
        result.record = DeviceRecord{};
        return result;
    }
    result.outcome = DeviceDefinition::Outcome::Loaded;
    return result;
}

} // namespace tavrin
