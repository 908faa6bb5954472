// The Program button on every part of the shipped device file that the emulator also has: a chip
// straight from the socket takes a program that uses every bit of its cells, and the run passes
// with what the type needs (erase, configuration merge, calibration kept). The emulator keeps its
// own part facts, so a part the program cannot really write shows here.
#include "operation_bench.h"

#include "core/device_file.h"
#include "core/program_type.h"
#include "core/utilities.h"
#include "devices/common/calibration_entry.h"
#include "emulator/part_catalogue.h"

#include <QSet>

#include <cctype>

#include <gtest/gtest.h>

using namespace tavrin;
using namespace tavrin::test;

namespace {

// The types the generic sequence serves; the others are written by device modules alone.
const char* const kGenericTypes[] = {"5X18",   "5X28",     "12C5",   "12C6",   "12F6",
                                     "EPROM",  "EPROM2",   "FLASH0", "FLASH1", "FLASH2",
                                     "FLASH4", "FLASH4.9", "FLASH8", "WRT400", "18F_00"};

struct PartCase {
    QString part;
    QString type;
};

std::vector<PartCase> shippedPartsTheEmulatorHas() {
    std::vector<PartCase> parts;
    QTemporaryDir dataDir;
    const AppPaths paths{QStringLiteral(TAVRIN_SOURCE_DIR "/data/device6.ini"), dataDir.path()};
    Session s;
    RecordingUi ui;
    if (!LoadDeviceList(s, ui, paths)) return parts;
    for (const QString& name : s.device.DeviceNames) {
        const emu::PartFacts* facts = emu::findPart(name.toStdString());
        if (!facts) continue;
        const QString type = QString::fromLatin1(facts->programType);
        for (const char* generic : kGenericTypes)
            if (type == QLatin1String(generic)) parts.push_back({name, type});
    }
    return parts;
}

const std::vector<PartCase>& shippedParts() {
    static const std::vector<PartCase> parts = shippedPartsTheEmulatorHas();
    return parts;
}

std::string caseName(const ::testing::TestParamInfo<PartCase>& info) {
    std::string n = info.param.part.toStdString();
    for (char& c : n)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    return n;
}

TEST(ProgramEveryPart, EveryGenericTypeHasAPart) {
    QSet<QString> types;
    for (const PartCase& p : shippedParts())
        types.insert(p.type);
    for (const char* type : kGenericTypes)
        EXPECT_TRUE(types.contains(QLatin1String(type))) << type;
}

class ProgramEveryType : public ::testing::TestWithParam<PartCase> {};

TEST_P(ProgramEveryType, AChipFromTheSocketIsWrittenAndPasses) {
    OperationBench bench(GetParam().part);
    Session& s = bench.s;
    const QString& type = s.device.ProgramType;
    ASSERT_EQ(type, GetParam().type);
    const std::int32_t words = s.device.ProgramWordCount;
    // A calibrated part keeps its last word for the calibration.
    const std::int32_t written = isCalibratedType(type) ? words - 1 : words;
    const std::uint16_t mask = coreGroupOf(type) == CoreGroup::Bit12 ? 0x0FFF
                               : isPic18Type(type)                   ? 0xFFFF
                                                                     : 0x3FFF;
    for (std::int32_t w = 0; w < written; ++w) {
        bench.setBufferWord(w, std::uint16_t((w * 0x2F1 + 0x5A5) & mask));
        if (type == QLatin1String("EPROM2"))
            SetWordParityBits(s.buffer.ProgramImage[2 * w], s.buffer.ProgramImage[2 * w + 1]);
    }
    bench.ops.Command_pogram_Click();
    EXPECT_EQ(s.run.PassCount, 1) << bench.ui.statusText.toStdString() << " "
                                  << s.run.ProgramVerifyResult.toStdString()
                                  << s.run.EepromVerifyResult.toStdString()
                                  << s.run.ConfigVerifyResult.toStdString();
    EXPECT_TRUE(bench.ui.messages.empty())
        << (bench.ui.messages.empty() ? std::string() : bench.ui.messages[0].text.toStdString());
    EXPECT_FALSE(bench.emu.port.isOpen());

    const emu::Chip& chip = bench.chip();
    const auto& image = s.buffer.ProgramImage;
    for (std::int32_t w = 0; w < words; ++w) {
        if (isPic18Type(type)) {
            // The image holds each word high byte first; the chip in address order.
            ASSERT_EQ(chip.program18[2 * w], image[2 * w + 1]) << "word " << w;
            ASSERT_EQ(chip.program18[2 * w + 1], image[2 * w]) << "word " << w;
        } else {
            ASSERT_EQ(chip.program[w], bench.bufferWord(w)) << "word " << w;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Parts, ProgramEveryType, ::testing::ValuesIn(shippedParts()), caseName);

} // namespace
