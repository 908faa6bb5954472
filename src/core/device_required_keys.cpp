#include "device_required_keys.h"

#include "device_definition.h"
#include "program_type.h"

#include <QSet>

namespace tavrin {

namespace {

// What each programming type reads from its block.
//  PGM          every type: the program size; without it a HEX file loads no program word.
//  EEPROM       the types whose operations program data EEPROM; without it the file's EEPROM
//               data is dropped and the area reported absent. "EEPROM 0" says a part has none.
//  CONFIGk      the words the type writes. The 12-bit and 14-bit types write word 1, FLASH4.9
//               word 2 as well; the PIC18 types write all seven, and a word not defined goes out
//               as 0 (write and read protection set) while its verify is skipped. CONFIG3 is not
//               listed: several PIC18 parts of the same type do not implement it.
//  CP_MASK_CF5  the PIC18 types: which CONFIG5 bits protect the chip; without it a protected chip
//               is never reported so.
//  CALIB(..)    the types whose parts keep the oscillator calibration in the last program word;
//               without it that word is read, checked and written as program data.
struct TypeKeys {
    const char* type; // "18F" stands for every keyword beginning so
    const char* keys;
};

constexpr TypeKeys kRequiredKeys[] = {
    {"5X18", "PGM CONFIG1"},
    {"5X28", "PGM CONFIG1"},
    {"12C5", "PGM CONFIG1 CALIB(movlw)"},
    {"12C6", "PGM CONFIG1 CALIB(retlw)"},
    {"12F6", "PGM EEPROM CONFIG1 CALIB(retlw)"},
    {"EPROM", "PGM CONFIG1"},
    {"EPROM2", "PGM CONFIG1"},
    {"FLASH0", "PGM EEPROM CONFIG1"},
    {"FLASH1", "PGM EEPROM CONFIG1"},
    {"FLASH2", "PGM CONFIG1"},
    {"FLASH4", "PGM EEPROM CONFIG1"},
    {"FLASH4.9", "PGM EEPROM CONFIG1 CONFIG2"},
    {"FLASH8", "PGM EEPROM CONFIG1"},
    {"WRT400", "PGM EEPROM CONFIG1"},
    {"WRT400A", "PGM EEPROM CONFIG1"},
    {"18F", "PGM EEPROM CONFIG1 CONFIG2 CONFIG4 CONFIG5 CONFIG6 CONFIG7 CP_MASK_CF5"},
};

// A keyword no operation knows: its part is refused for the keyword before its keys are asked
// for, but a block of any type needs its program size.
constexpr const char* kUnknownTypeKeys = "PGM";

const QString kCalibration = QStringLiteral("CALIB");

// The keys the rows hold, as they compare: upper case, both calibration forms as "CALIB".
QSet<QString> keysPresent(const std::vector<BlockRow>& rows) {
    QSet<QString> present;
    for (const BlockRow& row : rows) {
        switch (blockKeyOf(row[0])) {
        case BlockKey::CalibRetlw:
        case BlockKey::CalibMovlw:
            present.insert(kCalibration);
            break;
        case BlockKey::Option:
        case BlockKey::SettingComment:
            break;
        default:
            present.insert(row[0].toUpper());
        }
    }
    return present;
}

} // namespace

QStringList requiredKeysOf(const QString& programType) {
    const char* keys = kUnknownTypeKeys;
    for (const TypeKeys& row : kRequiredKeys) {
        const QLatin1StringView type(row.type);
        if (programType == type || (type == QLatin1String("18F") && isPic18Type(programType))) {
            keys = row.keys;
            break;
        }
    }
    return QString::fromLatin1(keys).split(QLatin1Char(' '));
}

std::optional<QString> missingRequiredKey(const DeviceRecord& record) {
    if (record.ProgramType.isEmpty()) return QStringLiteral("PGM_TYPE");
    const QSet<QString> present = keysPresent(record.DeviceBlock);
    for (const QString& key : requiredKeysOf(record.ProgramType)) {
        const QString compared = key.startsWith(kCalibration) ? kCalibration : key;
        if (!present.contains(compared)) return key;
    }
    return std::nullopt;
}

} // namespace tavrin
