// Files written by an independent assembler (gpasm) go through our loader and writer, and
// srecord's srec_cmp judges the result. Our file holds more than the assembler's: every program
// word of the part (unused ones erased), the whole EEPROM twice for 14-bit parts (at 0x4200 and
// 0x8000), words 0x2008-0x200F, and all fourteen PIC18 configuration bytes. So each test checks
//   1. on every address the assembler wrote, our file holds the same byte;
//   2. everything else we wrote is the erased value (and the 0x8000 EEPROM copy equals 0x4200).
#include "hex_fixture.h"

#include "core/hex_export.h"
#include "core/hex_import.h"
#include "core/program_type.h"

#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

using namespace tavrin;
using namespace tavrin::test;

namespace {

struct ToolRun {
    int exitCode = -1;
    QString output;
};

ToolRun run(const QString& program, const QStringList& arguments, const QString& workDir) {
    QProcess process;
    process.setWorkingDirectory(workDir);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    ToolRun result;
    if (!process.waitForFinished(20000)) {
        process.kill();
        process.waitForFinished();
        result.output = QStringLiteral("timed out");
        return result;
    }
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.output = QString::fromLocal8Bit(process.readAll());
    return result;
}

// srec_cmp over two inputs, each given as its argument list; "" when they compare equal.
std::string compare(const QStringList& left, const QStringList& right, const QString& dir) {
    const ToolRun r = run(QStringLiteral("srec_cmp"),
                          QStringList{QStringLiteral("-verbose"), QStringLiteral("(")} + left +
                              QStringList{")", "("} + right + QStringList{QStringLiteral(")")},
                          dir);
    return r.exitCode == 0 ? std::string() : r.output.toStdString();
}

QStringList spec(const char* text) {
    return QString::fromLatin1(text).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

class HexToolRoundTrip : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* tool : {"gpasm", "srec_cmp"})
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
                GTEST_SKIP() << tool << " is not installed (Debian packages gputils, srecord)";
        ASSERT_TRUE(dir_.isValid());
    }

    // Assembles data/<source> into original.hex in the temporary folder.
    void assemble(const char* source, const char* processor, const char* format) {
        const ToolRun r =
            run(QStringLiteral("gpasm"),
                {QStringLiteral("-p"), QString::fromLatin1(processor), QStringLiteral("-a"),
                 QString::fromLatin1(format), QStringLiteral("-o"), QStringLiteral("original.hex"),
                 dataPath(QString::fromLatin1(source))},
                dir_.path());
        ASSERT_EQ(r.exitCode, 0) << r.output.toStdString();
    }

    // Loads original.hex into an erased session, saves ours.hex, and reloads that once more to
    // check that a second save writes the same file.
    void loadAndSave(const Part& part) {
        auto s = erasedSession(part);
        const bool pic18 = isPic18Type(s->device.ProgramType);
        RecordingUi ui;
        const QString original = dir_.filePath(QStringLiteral("original.hex"));
        const QString ours = dir_.filePath(QStringLiteral("ours.hex"));
        pic18 ? LoadHexFile18(*s, ui, original) : LoadHexFile(*s, ui, original);
        ASSERT_EQ(s->run.HexLoadResult, QStringLiteral("OK")) << ui.statusText.toStdString();
        EXPECT_EQ(ui.statusText, QStringLiteral("ファイルロード完了 "));
        ASSERT_TRUE(pic18 ? SaveHexFile18(*s, ui, ours) : SaveHexFile(*s, ui, ours));

        auto again = erasedSession(part);
        pic18 ? LoadHexFile18(*again, ui, ours) : LoadHexFile(*again, ui, ours);
        EXPECT_EQ(pic18 ? hexFileText18(*again) : hexFileText(*again), readFile(ours));
    }

    QTemporaryDir dir_;
};

} // namespace

TEST_F(HexToolRoundTrip, FourteenBitProgramFromGpasm) {
    assemble("program16f877a.asm", "p16f877a", "inhx8m");
    loadAndSave(kPic16F877A);
    const QString d = dir_.path();
    EXPECT_EQ(compare(spec("original.hex -intel"),
                      spec("ours.hex -intel -crop -within original.hex -intel"), d),
              "");
    EXPECT_EQ(compare(spec("ours.hex -intel -crop 0x4200 0x4400"),
                      spec("ours.hex -intel -crop 0x8000 0x8200 -offset -0x3E00"), d),
              "");
    // Program words and words 0x2000-0x200F are erased as 0x3FFF (FF 3F in the file); the
    // device ID words 0x2004-0x2006 are not written. EEPROM locations are FF 00.
    EXPECT_EQ(compare(spec("ours.hex -intel -crop 0 0x8000 -exclude -within original.hex -intel"),
                      spec("( -generate 0 0x4008 -repeat-data 0xFF 0x3F"
                           "  -generate 0x400E 0x4020 -repeat-data 0xFF 0x3F"
                           "  -generate 0x4200 0x4400 -repeat-data 0xFF 0x00 )"
                           " -exclude -within original.hex -intel"),
                      d),
              "");
}

TEST_F(HexToolRoundTrip, Pic18ProgramFromGpasm) {
    assemble("program18f452.asm", "p18f452", "inhx32");
    loadAndSave(kPic18AllBits);
    const QString d = dir_.path();
    EXPECT_EQ(compare(spec("original.hex -intel"),
                      spec("ours.hex -intel -crop -within original.hex -intel"), d),
              "");
    // The configuration bytes the assembler leaves out come out erased: the test part's masks
    // keep every bit.
    EXPECT_EQ(compare(spec("ours.hex -intel -exclude -within original.hex -intel"),
                      spec("( -generate 0 0x8000 -repeat-data 0xFF"
                           "  -generate 0x300000 0x30000E -repeat-data 0xFF"
                           "  -generate 0xF00000 0xF00100 -repeat-data 0xFF )"
                           " -exclude -within original.hex -intel"),
                      d),
              "");
}
