// 12-bit programs assembled with code protection on, built by gpasm at test time and programmed
// through the Program button onto every 12-bit part the device file and the emulator both have.
// The configuration cells are one-time programmable: whatever goes to the board must be what the
// chip reads back, unimplemented bits included, or the board stops part-way through.
#include "operation_bench.h"

#include "emulator/part_catalogue.h"
#include "mainwindow/logic/hex_file_commands.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#include <gtest/gtest.h>

using namespace tavrin;
using namespace tavrin::test;

namespace {

struct ProtectedCase {
    const char* part;
    std::uint16_t config; // code protection on (bit 3 clear)
};

// 16C5x: oscillator, watchdog, CP; 12C5xx adds MCLRE (off here, as the reviewer's file had it).
const ProtectedCase kCases[] = {
    {"PIC16C54", 0x0FF1},  {"PIC16C56", 0x0FF5},   {"PIC16C55", 0x0FF2},  {"PIC16C57", 0x0FF1},
    {"PIC12C508", 0x0FF2}, {"PIC12C508A", 0x0FE3}, {"PIC12C509", 0x0FE6}, {"PIC12C509A", 0x0FF6},
};

// Assembles a short program with the given configuration and ID words; the HEX file's path.
QString assembleProtected(const QString& folder, const ProtectedCase& c) {
    const QString source = folder + QStringLiteral("/protected.asm");
    QFile file(source);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QStringLiteral("    processor %1\n"
                              "    __config 0x%2\n"
                              "    __idlocs 0x1234\n"
                              "    org 0\n"
                              "start:\n"
                              "    movlw 0x5A\n"
                              "    movwf 0x10\n"
                              "    clrwdt\n"
                              "    goto start\n"
                              "    end\n")
                   .arg(QString::fromLatin1(c.part).mid(3).toLower())
                   .arg(c.config, 4, 16, QLatin1Char('0'))
                   .toLatin1());
    file.close();
    QProcess gpasm;
    gpasm.setWorkingDirectory(folder);
    gpasm.setProcessChannelMode(QProcess::MergedChannels);
    gpasm.start(QStringLiteral("gpasm"),
                {QStringLiteral("-a"), QStringLiteral("inhx8m"), QStringLiteral("-o"),
                 QStringLiteral("protected.hex"), source});
    EXPECT_TRUE(gpasm.waitForFinished(20000));
    EXPECT_EQ(gpasm.exitCode(), 0) << gpasm.readAll().toStdString();
    return folder + QStringLiteral("/protected.hex");
}

std::string caseName(const ::testing::TestParamInfo<ProtectedCase>& info) {
    return info.param.part;
}

class Protected12Bit : public ::testing::TestWithParam<ProtectedCase> {};

// The File menu's open redraws the configuration from its grid; a file named on the command line
// or taken from the folder history is placed as the loader left it.
enum class LoadWay { FileMenu, CommandLine };

TEST_P(Protected12Bit, IsProgrammedWithProtectionOnAndPasses) {
    ASSERT_FALSE(QStandardPaths::findExecutable(QStringLiteral("gpasm")).isEmpty())
        << "gpasm is missing (Debian package gputils; scripts/install-deps.sh installs it)";
    ASSERT_NE(emu::findPart(GetParam().part), nullptr);
    for (LoadWay way : {LoadWay::FileMenu, LoadWay::CommandLine}) {
        SCOPED_TRACE(way == LoadWay::FileMenu ? "File menu" : "command line");
        OperationBench bench(QString::fromLatin1(GetParam().part));
        const QString hex = assembleProtected(bench.dataDir.path(), GetParam());
        if (way == LoadWay::FileMenu) {
            bench.openHex(hex);
        } else {
            bench.s.app.CommandLine = hex;
            DirectOpenHexFile(bench.ctx, QString());
            ASSERT_EQ(bench.s.run.HexLoadResult, result::OK);
        }

        bench.ops.Command_pogram_Click();
        EXPECT_TRUE(QRegularExpression(QStringLiteral("^プログラミング成功。"))
                        .match(bench.ui.statusText)
                        .hasMatch())
            << bench.ui.statusText.toStdString();
        EXPECT_EQ(bench.s.run.PassCount, 1);
        const emu::Chip& chip = bench.chip();
        EXPECT_EQ(chip.readConfig(0), GetParam().config);
        EXPECT_EQ(chip.program[0], 0x0C5A); // movlw 0x5A
        EXPECT_EQ(chip.program[1], 0x0030); // movwf 0x10
    }
}

INSTANTIATE_TEST_SUITE_P(Parts, Protected12Bit, ::testing::ValuesIn(kCases), caseName);

} // namespace
