#include "part_records.h"

#include "core/program_type.h"

#include <gtest/gtest.h>

#include <array>

namespace tavrin::test {

namespace {

struct Record {
    const char* name;
    const char* type;
    std::int32_t words;
    std::int32_t eeprom;
    std::int32_t codeProtectMask;
    // Implemented bits of configuration words 1..7 (12/14-bit parts: word 1, FLASH4.9 also 2).
    std::array<std::int32_t, 7> configMasks;
    const char* calibration;
    std::int32_t cpMaskCf5 = 0;
    const char* powerMode = "VDD";
};

const Record Records[] = {
    {"PIC16C54", "5X18", 512, 0, 0x0008, {0x000F}, ""},
    {"PIC16C56", "5X18", 1024, 0, 0x0008, {0x000F}, ""},
    {"PIC16C57", "5X28", 2048, 0, 0x0008, {0x000F}, ""},
    {"PIC12C509A", "12C5", 1024, 0, 0x0008, {0x001F}, "movlw 0xFF"},
    {"PIC12C672", "12C6", 2048, 0, 0x3F60, {0x3FFF}, "retlw 0xFF"},
    {"PIC12F675", "12F6", 1024, 128, 0x0080, {0x31FF}, "retlw 0xFF"},
    {"PIC12F629", "12F6", 1024, 128, 0x0080, {0x31FF}, "retlw 0xFF"},
    {"PIC16C622A", "EPROM", 2048, 0, 0x3F30, {0x3F7F}, ""},
    {"PIC16C715", "EPROM2", 2048, 0, 0x3F30, {0x3FFF}, ""},
    {"PIC16F84", "FLASH0", 1024, 64, 0x3FF0, {0x3FFF}, ""},
    {"PIC16F84A", "FLASH0", 1024, 64, 0x3FF0, {0x3FFF}, ""},
    {"PIC16F627", "FLASH0", 1024, 128, 0x3C00, {0x3DFF}, ""},
    {"PIC16F877", "FLASH0", 8192, 256, 0x3030, {0x3BFF}, ""},
    {"PIC16F628A", "FLASH1", 2048, 128, 0x2000, {0x21FF}, ""},
    {"PIC16F74", "FLASH2", 4096, 0, 0x0010, {0x005F}, ""},
    {"PIC16F819", "FLASH4", 2048, 256, 0x2000, {0x3FFF}, ""},
    {"PIC16F88", "FLASH4.9", 4096, 256, 0x2000, {0x3FFF, 0x0003}, ""},
    {"PIC16F877A", "FLASH8", 8192, 256, 0x2000, {0x2FCF}, "", 0, "VPP"},
    {"QZ-WRT400", "WRT400", 8192, 256, 0x3030, {0x3BFF}, ""},
    {"QZ-WRT400A", "WRT400A", 8192, 256, 0x2000, {0x2FCF}, ""},
    {"PIC18F242",
     "18F_00",
     8192,
     256,
     0,
     {0x2700, 0x0F0F, 0x0100, 0x0085, 0xC003, 0xE003, 0x4003},
     "",
     0xC003},
    {"PIC18F252",
     "18F_00",
     16384,
     256,
     0,
     {0x2700, 0x0F0F, 0x0100, 0x0085, 0xC00F, 0xE00F, 0x400F},
     "",
     0xC00F},
};

} // namespace

const TypeSample TypeSamples[15] = {
    {"5X18", "PIC16C56"},     {"5X28", "PIC16C57"},    {"12C5", "PIC12C509A"},
    {"12C6", "PIC12C672"},    {"12F6", "PIC12F675"},   {"EPROM", "PIC16C622A"},
    {"EPROM2", "PIC16C715"},  {"FLASH0", "PIC16F84A"}, {"FLASH1", "PIC16F628A"},
    {"FLASH2", "PIC16F74"},   {"FLASH4", "PIC16F819"}, {"FLASH4.9", "PIC16F88"},
    {"FLASH8", "PIC16F877A"}, {"WRT400", "QZ-WRT400"}, {"18F_00", "PIC18F242"},
};

void loadPartRecord(DeviceRecord& device, const QString& name) {
    for (const Record& r : Records) {
        if (name != QLatin1String(r.name)) continue;
        device = DeviceRecord{};
        device.SelectedDevice = name;
        device.ProgramType = QString::fromLatin1(r.type);
        device.PowerMode = QString::fromLatin1(r.powerMode);
        device.ProgramWordCount = r.words;
        device.ProgramWordCountHi = std::int16_t(r.words >> 8 & 0xFF);
        device.ProgramWordCountLo = std::int16_t(r.words & 0xFF);
        device.EepromByteCount = r.eeprom;
        device.EepromByteCountHi = std::int16_t(r.eeprom >> 8 & 0xFF);
        device.EepromByteCountLo = std::int16_t(r.eeprom & 0xFF);
        device.CodeProtectMask = r.codeProtectMask;
        device.CpMaskCf5 = r.cpMaskCf5;
        device.CalibrationInstruction = QString::fromLatin1(r.calibration);
        for (int k = 1; k <= limits::ConfigWords; ++k) {
            device.ConfigMask[k] = r.configMasks[k - 1];
            device.ConfigValue[k] = r.configMasks[k - 1];
            // The 12-bit configuration word reads its unimplemented bits as 1.
            if (k == 1 && coreGroupOf(device.ProgramType) == CoreGroup::Bit12) {
                device.ConfigFixed[1] = 0x0FFF & ~r.configMasks[0];
                device.ConfigValue[1] |= device.ConfigFixed[1];
            }
            device.ConfigWordDefined[k] = r.configMasks[k - 1] != 0 ? 1 : 0;
        }
        return;
    }
    ADD_FAILURE() << "no device record for " << name.toStdString();
}

} // namespace tavrin::test
