// The failure paths of the writes, the merge and the verifies against the board emulator with a
// fault injected into one command: a failure report at item k, an abort, a board that falls
// silent at each wait, a wrong end code. Each ends with its result and its text, in bounded time.
#include "core/session.h"
#include "emusupport/emulated_board.h"
#include "link/board_link.h"
#include "step_fixture.h"
#include "steps/config_write.h"
#include "steps/eeprom_write.h"
#include "steps/memory_verify.h"
#include "steps/program_write.h"
#include "steps/read.h"

#include <functional>

using namespace tavrin;
using namespace tavrin::test;

namespace {

using Step = std::function<void(BoardChannel&, QString&)>;

struct FaultCase {
    const char* name;
    const char* part;
    const char* type;
    std::int32_t words;
    std::int32_t eepromBytes;
    const char* fault; // NAME[=ARG]@LETTERS, as the emulator's --fault takes it
    Step step;
    const char* result;
    QString status;
    double minSeconds; // the wait that had to run out first
    bool erasedEeprom = false;
};

void PrintTo(const FaultCase& c, std::ostream* os) {
    *os << c.name;
}

emu::BoardOptions withFault(const char* text) {
    emu::BoardOptions options;
    std::string error;
    const auto fault = emu::parseFault(text, &error);
    if (!fault) throw std::invalid_argument(error);
    options.faults.add(*fault);
    return options;
}

class EmulatedFault : public ::testing::TestWithParam<FaultCase> {
  protected:
    EmulatedFault() : bench(GetParam().part, withFault(GetParam().fault)) {
        const FaultCase& c = GetParam();
        s.link.ComPortName = QStringLiteral("emulated");
        s.device.SelectedDevice = QLatin1String(c.part);
        s.device.ProgramType = QLatin1String(c.type);
        s.device.PowerMode = QStringLiteral("VDD");
        s.device.ProgramWordCount = c.words;
        s.device.EepromByteCount = c.eepromBytes;
        for (int w = 0; w < c.words; ++w) {
            s.buffer.ProgramImage[2 * w] = std::uint8_t((w >> 8) & 0x0F);
            s.buffer.ProgramImage[2 * w + 1] = std::uint8_t(w);
        }
        // The factory calibration word of a one-time-programmable part stays as it is.
        const emu::Chip& chip = bench.board.chip();
        if (!chip.is(emu::Core::Pic18) && chip.part()->calibration != emu::Calibration::None) {
            const std::uint16_t calibration = chip.program[c.words - 1];
            s.buffer.ProgramImage[2 * c.words - 2] = std::uint8_t(calibration >> 8);
            s.buffer.ProgramImage[2 * c.words - 1] = std::uint8_t(calibration);
        }
        // EEPROM data that differs from the erased chip, except where a verify must find the
        // chip's data equal so that only its end code fails.
        for (int k = 0; k < c.eepromBytes; ++k) {
            s.buffer.EepromImage[2 * k] = 0x3F;
            s.buffer.EepromImage[2 * k + 1] = c.erasedEeprom ? 0xFF : std::uint8_t(k + 1);
        }
        // The erased ID and configuration words of the part's core.
        const std::uint8_t erasedHigh = chip.is(emu::Core::Bit12) ? 0x0F : 0x3F;
        for (int i = 0; i < 16; i += 2) {
            s.buffer.ConfigIdImage[i] = erasedHigh;
            s.buffer.ConfigIdImage[i + 1] = 0xFF;
            s.buffer.MergedConfigIdImage[i] = erasedHigh;
            s.buffer.MergedConfigIdImage[i + 1] = 0xFF;
        }
    }

    Session s;
    RecordingUi ui;
    EmulatedBoard bench;
    BoardLink link{s, ui, bench.port, bench.clock};
};

TEST_P(EmulatedFault, EndsWithItsResultAndText) {
    const FaultCase& c = GetParam();
    QString check;
    link.CheckProgrammer(check);
    ASSERT_EQ(check, "OK");
    const double start = double(bench.clock.nowUs()) / 1e6;
    QString result = QStringLiteral("preset");
    c.step(link.channel(), result);
    const double took = double(bench.clock.nowUs()) / 1e6 - start;
    EXPECT_EQ(result, c.result);
    EXPECT_EQ(ui.statusText, c.status);
    EXPECT_FALSE(ui.progressVisible);
    EXPECT_GE(took, c.minSeconds);
    EXPECT_LT(took, c.minSeconds + 15);
    // The board still answers the next operation's identification.
    link.ClosePort();
    link.CheckProgrammer(check);
    EXPECT_EQ(check, "OK");
}

const QString kProgramFailed = QStringLiteral("プログラムメモリのプログラミングに失敗しました。 ");
const QString kEepromFailed =
    QStringLiteral("ＥＥＰＲＯＭデータメモリのプログラミングに失敗しました。　　");
const QString kConfigFailed =
    QStringLiteral("コンフィギュレーションワードのプログラミングに失敗しました。　　");

INSTANTIATE_TEST_SUITE_P(
    Faults, EmulatedFault,
    ::testing::Values(
        // 14-bit program memory
        FaultCase{"ReportAtWord5", "PIC16F876A", "FLASH8", 8192, 256, "fail-at=5@wGe",
                  WriteProgramMemory, "NG",
                  kProgramFailed + " 0x5アドレスで書き込みに失敗しました。", 0},
        FaultCase{"AbortAtWord3", "PIC16F876A", "FLASH8", 8192, 256, "abort-at=3@wGe",
                  WriteProgramMemory, "NG",
                  QStringLiteral("プログラムメモリのプログラミングに失敗しました。  "
                                 "中断コードが返信されました。 "),
                  0},
        FaultCase{"SilentAtWord4", "PIC16F876A", "FLASH8", 8192, 256, "stall=4@wGe",
                  WriteProgramMemory, "NG",
                  kProgramFailed + " 0x4アドレスでタイムアウトが発生しました。", 10},
        FaultCase{"SilentAtEnd", "PIC16F876A", "FLASH8", 8192, 256, "stall=8192@wGe",
                  WriteProgramMemory, "NG",
                  QStringLiteral("プログラムメモリのプログラミングに失敗しました。  "
                                 "受信タイムアウトが発生しました。 "),
                  10},
        FaultCase{"WrongEnd", "PIC16F876A", "FLASH8", 8192, 256, "end-code=0x21@wGe",
                  WriteProgramMemory, "NG",
                  QStringLiteral("プログラムメモリのプログラミングに失敗しました。  "
                                 "終了コードを受信できませんでした。 "),
                  0},
        // 12-bit stream: the board gives up with the word it read back
        FaultCase{"ReportAtWord3Of12Bit", "PIC12C509A", "12C5", 1024, 0, "fail-at=3@wsp",
                  WriteProgramMemory, "NG",
                  QStringLiteral("プログラムメモリのプログラミングに失敗しました。  (ABT) "
                                 "0x2アドレスで書き込みに失敗しました。 ( Read = 0000 )"),
                  0},
        FaultCase{"SilentIn12Bit", "PIC12C509A", "12C5", 1024, 0, "stall=7@wsp", WriteProgramMemory,
                  "NG",
                  QStringLiteral("プログラムメモリのプログラミングに失敗しました。  (TMO) \r\n"
                                 "念のためデバイスと書き込みのオシレータ設定を確認してください。"),
                  10},
        FaultCase{"WrongEndOf12Bit", "PIC12C509A", "12C5", 1024, 0, "end-code=0x21@wsp",
                  WriteProgramMemory, "NG",
                  QStringLiteral("プログラムメモリのプログラミングに失敗しました。  (EOF) "), 0},
        // PIC18 blocks: four panels, block 5 is block 1 of panel 2
        FaultCase{"ReportAtBlock5", "PIC18F452", "18F_00", 16384, 256, "fail-at=5@Xwep",
                  WriteProgramMemory, "NG",
                  kProgramFailed + " 0x2008アドレスで書き込みに失敗しました。", 0},
        FaultCase{"SilentAfterOpening", "PIC18F452", "18F_00", 16384, 256, "stall=0@Xwep",
                  WriteProgramMemory, "NG",
                  QStringLiteral("プログラムメモリのプログラミングに失敗しました。 "
                                 "コマンド送信後、タイムアウトが発生しました。 "),
                  10},
        // EEPROM
        FaultCase{"EepromReportAt4", "PIC16F876A", "FLASH8", 8192, 256, "fail-at=4@wed",
                  WriteEepromMemory, "NG",
                  kEepromFailed + " ( Address =  4  Write = 0000  Read = 053F )", 0},
        FaultCase{"EepromSilent", "PIC16F876A", "FLASH8", 8192, 256, "stall=3@wed",
                  WriteEepromMemory, "NG",
                  QStringLiteral("ＥＥＰＲＯＭデータメモリのプログラミングに失敗しました。  "
                                 "受信タイムアウトが発生しました。 "),
                  10},
        FaultCase{"Pic18EepromReportAt7", "PIC18F452", "18F_00", 16384, 256, "fail-at=7@Xwed",
                  WriteEepromMemory, "NG", kEepromFailed + " ( Address = 0007  Write = 04 )", 0},
        // configuration
        FaultCase{"ConfigReportAt2", "PIC16F876A", "FLASH8", 8192, 256, "fail-at=2@wFc",
                  WriteConfigWords, "NG",
                  kConfigFailed + " \r\n( Address =  2  Read = ????  Write = 3FFF )", 0},
        FaultCase{"MergeSilent", "PIC16F876A", "FLASH8", 8192, 256, "stall=10@rsc",
                  ReadConfigForMerge, "NG",
                  QStringLiteral("コンフィギュレーションワード修正失敗。　　読み出しデータ不足。 "),
                  10},
        FaultCase{"MergeWrongEnd", "PIC16F876A", "FLASH8", 8192, 256, "end-code=0x21@rsc",
                  ReadConfigForMerge, "NG",
                  QStringLiteral("コンフィギュレーションワード修正失敗。　　"
                                 "終了コードを受信できませんでした。 "),
                  0},
        // verify
        FaultCase{"VerifyWrongEnd", "PIC16F876A", "FLASH8", 8192, 256, "end-code=0x21@rsp",
                  VerifyProgramMemory, "ER",
                  QStringLiteral("プログラムメモリ読み出し失敗。　　"
                                 "終了コードを受信できませんでした。 "),
                  0},
        FaultCase{"VerifySilent", "PIC16F876A", "FLASH8", 8192, 256, "stall=100@rsp",
                  VerifyProgramMemory, "ER",
                  QStringLiteral("プログラムメモリ ベリファイ失敗。　　読み出しデータ不足。 "), 10},
        FaultCase{"EepromVerifyWrongEnd", "PIC16F876A", "FLASH8", 8192, 256, "end-code=0x21@rsd",
                  VerifyEepromMemory, "ER",
                  QStringLiteral("ＥＥＰＲＯＭデータメモリの ベリファイエラー。  "
                                 "終了コードを受信できませんでした。 "),
                  0, true},
        FaultCase{"ReadSilent", "PIC16F876A", "FLASH8", 8192, 256, "stall=50@rsp",
                  ReadProgramMemory, "NG",
                  QStringLiteral("プログラムメモリ読み出し失敗。　　読み出しデータ不足。 "), 10}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
