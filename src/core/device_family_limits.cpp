#include "device_family_limits.h"

namespace tavrin {

namespace {

// Where each family's memories end in the address layouts of its parts and of its HEX files:
//  12-bit  program words 0x000-0x7FF: the four ID words follow the last one, at word 0x800 at
//          most, and the configuration word stands at 0xFFF. Data EEPROM as the 14-bit parts:
//          the 12- and 14-bit HEX file has one place for it, 256 locations.
//  14-bit  program words 0x0000-0x1FFF: the ID words start at 0x2000, the configuration word at
//          0x2007; data EEPROM 0x2100-0x21FF (HEX 0x4200-0x43FF), 256 locations.
//  PIC18   program bytes 0x000000-0x1FFFFF (1,048,576 words): the ID bytes start at 0x200000;
//          data EEPROM at most 1024 bytes, as many as the device file may give any part.
struct FamilyRow {
    CoreGroup group;
    FamilyLimits limits;
};

constexpr FamilyRow kFamilies[] = {
    {CoreGroup::Bit12, {0x800, 256}},
    {CoreGroup::Bit14, {0x2000, 256}},
    {CoreGroup::Pic18, {0x100000, 1024}},
};

} // namespace

FamilyLimits familyLimitsOf(CoreGroup group) {
    for (const FamilyRow& row : kFamilies)
        if (row.group == group) return row.limits;
    return {0, 0};
}

std::optional<SizeBeyondFamily> sizeBeyondFamily(const DeviceRecord& d) {
    const CoreGroup group = coreGroupOf(d.ProgramType);
    if (group == CoreGroup::None) return std::nullopt;
    const FamilyLimits limits = familyLimitsOf(group);
    // Both rows give the last address; "EEPROM 0" says there is none, which every family allows.
    if (d.ProgramWordCount > limits.programWords)
        return SizeBeyondFamily{QStringLiteral("PGM"), d.ProgramWordCount - 1,
                                limits.programWords - 1};
    if (d.EepromByteCount > limits.eepromLocations)
        return SizeBeyondFamily{QStringLiteral("EEPROM"), d.EepromByteCount - 1,
                                limits.eepromLocations - 1};
    return std::nullopt;
}

} // namespace tavrin
