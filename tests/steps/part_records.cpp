#include "part_records.h"

#include "support/shipped_parts.h"

#include <gtest/gtest.h>

namespace tavrin::test {

const TypeSample TypeSamples[15] = {
    {"5X18", "PIC16C56"},     {"5X28", "PIC16C57"},    {"12C5", "PIC12C509A"},
    {"12C6", "PIC12C672"},    {"12F6", "PIC12F675"},   {"EPROM", "PIC16C622A"},
    {"EPROM2", "PIC16C715"},  {"FLASH0", "PIC16F84A"}, {"FLASH1", "PIC16F628A"},
    {"FLASH2", "PIC16F74"},   {"FLASH4", "PIC16F819"}, {"FLASH4.9", "PIC16F88"},
    {"FLASH8", "PIC16F877A"}, {"WRT400", "QZ-WRT400"}, {"18F_00", "PIC18F242"},
};

void loadPartRecord(DeviceRecord& device, const QString& name) {
    if (const DeviceRecord* shipped = shippedDevice(name))
        device = *shipped;
    else
        ADD_FAILURE() << "no device record for " << name.toStdString();
}

} // namespace tavrin::test
