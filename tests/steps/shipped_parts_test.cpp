// Every part of the device file we ship that the emulator also has, through the steps as the
// device file describes it: a fresh chip passes the socket check and is blank in every area, and
// its configuration reads back as the part's default words. The emulator keeps its own part
// facts, so a disagreement between the two shows here.
#include "core/program_type.h"
#include "emulator/part_catalogue.h"
#include "step_bench.h"
#include "steps/blank_check.h"
#include "steps/socket_check.h"
#include "support/shipped_parts.h"

#include <gtest/gtest.h>

#include <vector>

namespace tavrin::test {
namespace {

bool servedByGenericSteps(const QString& type) {
    return coreGroupOf(type) != CoreGroup::None && type != QLatin1String("WRT400A") &&
           type != QLatin1String("18F_01");
}

std::vector<DeviceRecord> shippedRecordsTheEmulatorKnows() {
    std::vector<DeviceRecord> records;
    for (const LoadedPart& part : shippedParts().parts)
        if (part.loaded && emu::findPart(part.name.toStdString()) &&
            servedByGenericSteps(part.device.ProgramType))
            records.push_back(part.device);
    return records;
}

const std::vector<DeviceRecord>& shippedRecords() {
    static const std::vector<DeviceRecord> records = shippedRecordsTheEmulatorKnows();
    return records;
}

TEST(ShippedParts, EveryGenericTypeIsRepresented) {
    QStringList types;
    for (const DeviceRecord& d : shippedRecords())
        types << d.ProgramType;
    for (const TypeSample& t : TypeSamples)
        EXPECT_TRUE(types.contains(QString::fromLatin1(t.programType))) << t.programType;
}

TEST(ShippedParts, FreshChipPassesTheSocketCheckAndIsBlank) {
    for (const DeviceRecord& d : shippedRecords()) {
        SCOPED_TRACE(d.SelectedDevice.toStdString() + " " + d.ProgramType.toStdString());
        StepBench bench(d, d.SelectedDevice.toStdString());
        QString socket, program = result::Skipped, eeprom = result::Skipped,
                        config = result::Skipped, cp = result::Skipped;
        CheckDeviceId(bench.channel(), socket);
        BlankCheckProgramMemory(bench.channel(), program);
        BlankCheckEepromMemory(bench.channel(), eeprom);
        BlankCheckConfigWords(bench.channel(), cp, config);
        EXPECT_EQ(socket, result::OK);
        EXPECT_TRUE(bench.ui.messages.empty());
        EXPECT_EQ(program, result::OK);
        EXPECT_EQ(eeprom, d.EepromByteCount ? result::OK : result::Skipped);
        EXPECT_EQ(config, result::OK);
        EXPECT_EQ(cp, result::Skipped);
    }
}

} // namespace
} // namespace tavrin::test
