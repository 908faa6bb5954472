// One device's definition read from its device6.ini block into a fresh DeviceRecord. Nothing here
// touches the session or the window; LoadDeviceDefinition commits the result.
#pragma once

#include "device_block.h"
#include "session.h"

#include <optional>

namespace tavrin {

// What column 0 of a block row means. Keys compare in upper case, except the two CALIB keys,
// which must be written exactly so; every other key is an option row.
enum class BlockKey {
    Package,
    Jumper2,
    Firmware,
    PowerMode,
    ProgramType,
    CalibRetlw,
    CalibMovlw,
    DeviceComment,
    ConfigWord,  // CONFIG1 .. CONFIG7
    ProgramSize, // PGM
    EepromSize,  // EEPROM
    CpMaskCf5,
    SettingComment, // CMT inside the block: a comment, never an option row
    Option,
};
BlockKey blockKeyOf(const QString& key);

// Parses the CONFIGk row into word k (1-7): value, mask (xor-ed with the xor bits), fixed and xor
// bits; the value normalised to (mask & value) | fixed unless the record holds values read from
// the chip. Returns the message for a number that is not a 16-bit value.
std::optional<QString> ParseConfigWordLine(DeviceRecord& record, int k, const BlockRow& row,
                                           int lineNumber);

struct DeviceDefinition {
    enum class Outcome { Loaded, NotFound, ReadError, Faulty };
    Outcome outcome = Outcome::NotFound;
    QString errorText;   // ReadError, Faulty, NotFound: the detail line of the message
    DeviceRecord record; // Loaded: the fresh record
};

// Reads the block of current.SelectedDevice from the UTF-8 text of device6.ini into a fresh
// record.
// The fresh record keeps from `current` only the device list, the selection and whether the
// configuration values come from the chip; every other field starts at its starting value.
// A block that lacks a key its programming type needs (device_required_keys.h) is Faulty.
DeviceDefinition readDeviceDefinition(const QByteArray& utf8, const DeviceRecord& current);

// The defined configuration words into their places in the PC buffer: the PIC18 configuration
// bytes (low, high) and, for word 1, bytes 14-15 of the configuration/ID image (high, low).
void writeConfigWordBytes(PcBuffer& buffer, const DeviceRecord& record);

} // namespace tavrin
