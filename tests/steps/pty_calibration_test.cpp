// The calibration keep of a "12F6" part over the real serial path: the application's
// QSerialPort adapter on the steady clock, talking to the board emulator running as its own
// process on a pty. The chip's memories come back as the emulator's Intel HEX dump.
#include "core/clock.h"
#include "core/session.h"
#include "emulator/intel_hex.h"
#include "emusupport/emulator_process.h"
#include "link/board_link.h"
#include "link/qt_serial_port.h"
#include "part_records.h"
#include "steps/blank_check.h"
#include "steps/calibration_word.h"
#include "steps/config_area_keep.h"
#include "steps/config_verify.h"
#include "steps/erase.h"
#include "steps/socket_check.h"
#include "support/recording_ui.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tavrin::test {
namespace {

std::uint16_t wordAt(const emu::ByteImage& image, std::uint32_t wordAddress) {
    const auto lo = image.find(2 * wordAddress);
    const auto hi = image.find(2 * wordAddress + 1);
    if (lo == image.end() || hi == image.end()) return 0;
    return std::uint16_t(hi->second << 8 | lo->second);
}

TEST(PtyCalibration, TwelveF6CalibrationAndBandgapSurviveAChipErase) {
    const std::string dump = EmulatorProcess::uniquePath("tavrin-steps-dump") + ".hex";
    EmulatorProcess board({"--part", "PIC12F675", "--set", "calibration=0x345C", "--set",
                           "bandgap=1", "--dump", dump});
    std::string error;
    ASSERT_TRUE(board.start(&error)) << error;

    Session s;
    loadPartRecord(s.device, QStringLiteral("PIC12F675"));
    s.link.ComPortName = QString::fromStdString(board.portPath());
    RecordingUi ui;
    SteadyClock clock;
    QtSerialPort port;
    BoardLink link(s, ui, port, clock);
    BoardChannel& channel = link.channel();

    QString result;
    link.CheckProgrammer(result);
    ASSERT_EQ(result, result::OK);
    CheckDeviceId(channel, result);
    EXPECT_EQ(result, result::OK);
    ReadCalibrationWord(channel, result);
    EXPECT_EQ(result, result::OK);
    EXPECT_EQ(s.run.CalibWordLow, 0x5C);
    ReadBandgapBits(channel, result);
    EXPECT_EQ(result, result::OK);
    EXPECT_EQ(s.run.BandgapBits, 1);

    EraseChip(link, result);
    EXPECT_EQ(result, result::OK);
    QString blank = result::Skipped;
    BlankCheckProgramMemory(channel, blank);
    EXPECT_EQ(blank, result::OK);

    WriteCalibrationWord(channel, result);
    EXPECT_EQ(result, result::OK);
    WriteConfigAreaWords(channel, result);
    EXPECT_EQ(result, result::OK);

    std::copy_n(s.link.ConfigAreaReply.begin(), 16, s.buffer.ConfigIdImage.begin());
    QString cp;
    VerifyConfigWords(channel, cp, result);
    EXPECT_EQ(result, result::OK);
    EXPECT_EQ(cp, result::Skipped);
    link.ClosePort();

    EXPECT_EQ(board.stop(), 0);
    const auto text = EmulatorProcess::readFile(dump);
    ASSERT_TRUE(text);
    const auto image = emu::parseIntelHex(*text, &error);
    ASSERT_TRUE(image) << error;
    EXPECT_EQ(wordAt(*image, 1023), 0x345C);
    EXPECT_EQ(wordAt(*image, 0x2007) >> 12 & 3, 1);
    EXPECT_EQ(wordAt(*image, 0), 0x3FFF);
}

} // namespace
} // namespace tavrin::test
