#include "read_commands.h"

#include <array>

namespace tavrin {

namespace {
constexpr std::array<ReadCommands, 15> kRows{{
    {"5X18", CoreGroup::Bit12, "rps", nullptr, "rps"},
    {"5X28", CoreGroup::Bit12, "rpl", nullptr, "rpl"},
    {"12C5", CoreGroup::Bit12, "rsp", nullptr, "rsp"},
    {"12C6", CoreGroup::Bit14, "rsp", nullptr, "rsc"},
    {"EPROM", CoreGroup::Bit14, "rsp", nullptr, "rsc"},
    {"12F6", CoreGroup::Bit14, "rsp", "rsd", "rsc"},
    {"FLASH0", CoreGroup::Bit14, "rsp", "rsd", "rsc"},
    {"FLASH1", CoreGroup::Bit14, "rsp", "rsd", "rsc"},
    {"FLASH4", CoreGroup::Bit14, "rsp", "rsd", "rsc"},
    {"FLASH4.9", CoreGroup::Bit14, "rsp", "rsd", "rsc", 16},
    {"FLASH8", CoreGroup::Bit14, "rsp", "rsd", "rsc"},
    {"FLASH2", CoreGroup::Bit14, "rsp", nullptr, "rsc"},
    {"EPROM2", CoreGroup::Bit14, "rSp", nullptr, "rSc"},
    {"WRT400", CoreGroup::Bit14, "r8p", "r8d", "r8c"},
    {"18F_00", CoreGroup::Pic18, "Xrsp", "Xrsd", "Xrsp"},
}};
} // namespace

const ReadCommands* readCommandsFor(const QString& programType) {
    for (const ReadCommands& row : kRows)
        if (programType == QLatin1String(row.type)) return &row;
    return nullptr;
}

const ReadCommands& readCommandsOrUnserved(const QString& programType) {
    const ReadCommands* row = readCommandsFor(programType);
    return row ? *row : kUnservedReads;
}

} // namespace tavrin
