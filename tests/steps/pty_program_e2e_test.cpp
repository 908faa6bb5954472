// Program and verify through the real serial adapter, against the emulator as its own process
// on a pty in real time, unpaced so that the test stays short; the chip's memories come back from
// the emulator's dump.
#include "core/buffer_fills.h"
#include "core/clock.h"
#include "core/hex_import.h"
#include "core/session.h"
#include "emusupport/emulator_process.h"
#include "link/board_link.h"
#include "link/qt_serial_port.h"
#include "steps/eeprom_write.h"
#include "steps/memory_verify.h"
#include "steps/program_write.h"
#include "support/recording_ui.h"

#include <QCoreApplication>

#include <cstdio>

#include <gtest/gtest.h>

using namespace tavrin;
using namespace tavrin::test;

namespace {

TEST(PtyProgram, WritesAndVerifiesAFlashPartOverTheRealSerialPath) {
    static int argc = 1;
    static char name[] = "test_steps";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) static QCoreApplication app(argc, argv);

    const std::string dump = EmulatorProcess::uniquePath("pty-program-dump") + ".hex";
    EmulatorProcess emulator({"--part", "PIC16F628A", "--baud", "0", "--dump", dump});
    std::string error;
    ASSERT_TRUE(emulator.start(&error)) << error;

    Session s;
    s.link.ComPortName = QString::fromStdString(emulator.portPath());
    s.device.SelectedDevice = QStringLiteral("PIC16F628A");
    s.device.ProgramType = QStringLiteral("FLASH1");
    s.device.PowerMode = QStringLiteral("VDD");
    s.device.ProgramWordCount = 2048;
    s.device.EepromByteCount = 128;
    FillIdConfigErased(s);
    for (int w = 0; w < 2048; ++w) {
        s.buffer.ProgramImage[2 * w] = std::uint8_t((w >> 5) & 0x3F);
        s.buffer.ProgramImage[2 * w + 1] = std::uint8_t(w * 3);
    }
    for (int k = 0; k < 128; ++k) {
        s.buffer.EepromImage[2 * k] = 0x3F;
        s.buffer.EepromImage[2 * k + 1] = std::uint8_t(255 - k);
    }

    RecordingUi ui;
    SteadyClock clock;
    QtSerialPort port;
    BoardLink link(s, ui, port, clock);
    QString check, program, eeprom, verifyProgram, verifyEeprom;
    link.CheckProgrammer(check);
    ASSERT_EQ(check, "OK");
    WriteProgramMemory(link.channel(), program);
    WriteEepromMemory(link.channel(), eeprom);
    VerifyProgramMemory(link.channel(), verifyProgram);
    VerifyEepromMemory(link.channel(), verifyEeprom);
    link.ClosePort();
    EXPECT_EQ(program, "OK");
    EXPECT_EQ(eeprom, "OK");
    EXPECT_EQ(verifyProgram, "OK");
    EXPECT_EQ(verifyEeprom, "OK");
    EXPECT_EQ(emulator.stop(), 0);

    // The emulator's dump, loaded like any HEX file, is the buffer that was written.
    Session loaded;
    loaded.device = s.device;
    FillProgramErased(loaded);
    FillEepromErased(loaded);
    FillIdConfigErased(loaded);
    LoadHexFile(loaded, ui, QString::fromStdString(dump));
    ASSERT_EQ(loaded.run.HexLoadResult, "OK");
    EXPECT_TRUE(std::equal(s.buffer.ProgramImage.begin(), s.buffer.ProgramImage.begin() + 4096,
                           loaded.buffer.ProgramImage.begin()));
    EXPECT_TRUE(std::equal(s.buffer.EepromImage.begin(), s.buffer.EepromImage.begin() + 256,
                           loaded.buffer.EepromImage.begin()));
    std::remove(dump.c_str());
}

} // namespace
