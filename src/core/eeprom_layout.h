// Where the data bytes of the part's EEPROM sit in the PC buffer's EEPROM image. PIC18 types keep
// one byte per location; every other type keeps a two-byte word per location (0x3F, data), as
// the 14-bit HEX files and the board's 14-bit commands carry it.
#pragma once

#include <cstddef>

namespace tavrin {

struct Session;

struct EepromLayout {
    int bytesPerLocation = 2;
    int locations = 0; // the part's EEPROM size, limited to what the image holds

    // The image index of location i's data byte.
    std::size_t dataIndex(int location) const {
        return std::size_t(location) * std::size_t(bytesPerLocation) +
               std::size_t(bytesPerLocation - 1);
    }
};

// By programming type, never by device name: every "18F" type is one byte per location.
EepromLayout eepromLayoutOf(const Session& s);

// A part with data EEPROM locations to show and edit.
bool hasEditableEeprom(const Session& s);

} // namespace tavrin
