// The programming-type keywords of device6.ini and the groups that decide the memory layout.
#pragma once

#include <QString>

namespace tavrin {

enum class CoreGroup { None, Bit12, Bit14, Pic18 };

// 12-bit: 5X28 5X18 12C5; 14-bit: 12F6 12C6 EPROM EPROM2 FLASH0 FLASH1 FLASH2 FLASH4 FLASH4.9
// FLASH8 WRT400 WRT400A; PIC18: any keyword beginning "18F". Keywords compare with exact case.
CoreGroup coreGroupOf(const QString& programType);

// The keywords some operation serves: the 12- and 14-bit ones above and "18F_00", "18F_01". A
// part of any other type (another "18F" keyword included) would be programmed by no sequence.
bool isKnownProgramType(const QString& programType);

inline bool isPic18Type(const QString& t) {
    return t.startsWith(QLatin1String("18F"));
}

// Types whose EEPROM image is filled by the buffer fills (14-bit parts with data EEPROM).
bool hasEepromFill(const QString& programType);

// One-time-programmable and EPROM types: no extended per-area functions.
bool isOtpOrEpromType(const QString& programType);

} // namespace tavrin
