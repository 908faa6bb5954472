// Device records as the device file reader fills them, for tests that need a selected part
// without reading a device file: a 14-bit flash part, a 12-bit calibrated part and a PIC18 part.
#pragma once

#include "core/session.h"

#include <QString>
#include <QStringList>

namespace tavrin::test {

// "PIC16F84A": FLASH0, 1024 words, 64 EEPROM bytes, CONFIG1 with FOSC, WDTE, PWRTE and CP.
void fillPic16F84A(DeviceRecord& d);
// "PIC16F877A": FLASH8, 8192 words, 256 EEPROM bytes, one word with FOSC, WDTE, CP.
void fillPic16F877A(DeviceRecord& d);
// "PIC12C508A": 12C5, 512 words, no EEPROM, calibrated (movlw).
void fillPic12C508A(DeviceRecord& d);
// "PIC18F452": 18F_00, 16384 words, 256 EEPROM bytes, seven configuration words.
void fillPic18F452(DeviceRecord& d);

// Fills the record of the named fixture part; false when the name is none of the above.
bool fillFixtureDevice(DeviceRecord& d, const QString& name);
QStringList fixtureDeviceNames();

} // namespace tavrin::test
