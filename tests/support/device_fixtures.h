// Device records of a few parts as the program reads them from the device file we ship, for tests
// that need a selected part: a 14-bit flash part with and without the parts of word 1 that read
// fixed, a 12-bit calibrated part and a PIC18 part. The record replaces the part fields of d; the
// list fields (names, file version) stay, as a selection leaves them.
#pragma once

#include "core/session.h"

#include <QString>
#include <QStringList>

namespace tavrin::test {

// "PIC16F84A": FLASH0, 1024 words, 64 EEPROM bytes, CONFIG1 with FOSC, WDTE, PWRTE and CP.
void fillPic16F84A(DeviceRecord& d);
// "PIC16F877A": FLASH8, 8192 words, 256 EEPROM bytes, CONFIG1 with unimplemented bits reading 1.
void fillPic16F877A(DeviceRecord& d);
// "PIC12C508A": 12C5, 512 words, no EEPROM, calibrated (movlw).
void fillPic12C508A(DeviceRecord& d);
// "PIC18F452": 18F_00, 16384 words, 256 EEPROM bytes, seven configuration words.
void fillPic18F452(DeviceRecord& d);

// Fills the record of the named fixture part; false when the name is none of the above.
bool fillFixtureDevice(DeviceRecord& d, const QString& name);
QStringList fixtureDeviceNames();

} // namespace tavrin::test
