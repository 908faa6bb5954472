// What the two modules of this folder say to the board, in one place. The PIC12F683's writes,
// reads and verifies use the letters of its programming type in the device file; a later board
// document that names other letters changes this one row.
#pragma once

#include "steps/config_area_read.h"
#include "steps/config_write.h"
#include "steps/eeprom_write.h"
#include "steps/program_write.h"
#include "steps/read_commands.h"

#include <QString>

#include <array>
#include <cstdint>

namespace tavrin::pic12 {

// The one-time-programmable 12-bit parts served by PIC12C5XXX, as the device list names them.
inline constexpr std::array<const char*, 6> kPic12C5xxxDevices{
    "PIC12C508", "PIC12C508A", "PIC12C509", "PIC12C509A", "PIC12C518", "PIC12C519"};

inline constexpr const char* kPic12C5xxxModule = "PIC12C5XXX";
inline constexpr const char* kPic12F683Module = "PIC12F683";
inline constexpr const char* kPic12F683Device = "PIC12F683";

// Letters after the power letter.
struct Pic12F683Commands {
    const char* programBlank;     // AND of the program words: hi, lo, "@"
    const char* erase;            // followed by the erase code
    std::uint8_t eraseProgram;    // program memory and configuration word
    std::uint8_t eraseEeprom;     // data EEPROM
    const char* programWrite;     // board-paced, one word per request
    const char* eepromWrite;      // board-paced, (0x3F, data) per request
    const char* configWrite;      // board-paced, words 0x2000-0x2007
    const char* programRead;      // 2 bytes a word, "@" every 16 bytes
    const char* eepromRead;       // (0x3F, data) a location
    const char* configRead;       // words from 0x2000
    std::uint16_t dataProtectBit; // CPD of the configuration word: the EEPROM is protected at 0
};

inline constexpr Pic12F683Commands kPic12F683{
    .programBlank = "bs",
    .erase = "bd",
    .eraseProgram = 0x0E,
    .eraseEeprom = 0x0F,
    .programWrite = "we8",
    .eepromWrite = "wed",
    .configWrite = "wec",
    .programRead = "rsp",
    .eepromRead = "rsd",
    .configRead = "rsc",
    .dataProtectBit = 0x0080,
};

// The link's rows built from that one row. Replies are laid out as the part's programming type
// in the device file ("FLASH1") lays them out.
inline constexpr const char* kPic12F683Type = "FLASH1";
inline constexpr ReadCommands kPic12F683Reads{kPic12F683Type,         CoreGroup::Bit14,
                                              kPic12F683.programRead, kPic12F683.eepromRead,
                                              kPic12F683.configRead,  8};
inline constexpr ConfigAreaCommand kPic12F683ConfigArea{kPic12F683Type, kPic12F683.configRead,
                                                        ConfigAreaLayout::Words14};
inline constexpr ProgramWriteRow kPic12F683ProgramWrite{kPic12F683Type, kPic12F683.programWrite,
                                                        WriteStream::Bit14};
inline constexpr EepromWriteRow kPic12F683EepromWrite{kPic12F683Type, kPic12F683.eepromWrite,
                                                      false};
// Words 0x2000-0x2007: the calibration word at 0x2008 is never written.
inline constexpr ConfigWriteRow kPic12F683ConfigWrite{kPic12F683Type, kPic12F683.configWrite,
                                                      ConfigWriteLayout::Area14, 8};

} // namespace tavrin::pic12
