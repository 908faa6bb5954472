#include "memory_verify.h"

#include "core/operator_ui.h"
#include "core/session.h"
#include "core/status.h"
#include "core/utilities.h"
#include "group_steps.h"
#include "link/board_channel.h"
#include "link/program_size.h"
#include "link/reply_transfer.h"
#include "mismatch_line.h"
#include "read_commands.h"

namespace tavrin {

namespace {

const QString kStreamEndMissing =
    QStringLiteral("プログラムメモリ読み出し失敗。　　終了コードを受信できませんでした。");
const QString kTooManyNotice = QStringLiteral("これ以降もエラーがある可能性があります。\r\n\r\n");
const QString kTooMany = QStringLiteral("プログラムメモリ ベリファイエラー。");
const QString kNoEeprom =
    QStringLiteral("このデバイスは、ＥＥＰＲＯＭデータメモリを内蔵していません。");

// Listing stops after this many differing program words.
constexpr int MaxListedDifferences = 100;

// Counts the differing program words of one verify, lists them, and stops the listing with a
// notice once there are more than MaxListedDifferences.
class ProgramComparison {
  public:
    ProgramComparison(BoardChannel& ch, QString& result) : ch_(ch), result_(result) {}

    // Returns false when the comparison must stop.
    bool compare(std::int64_t address, std::int32_t expected, std::int32_t read,
                 std::int32_t index) {
        if (expected != read) {
            ch_.ui().appendProgramViewLine(programMismatchLine(address, expected, read));
            ++differences_;
            result_ = result::NG;
        }
        if (differences_ > MaxListedDifferences) {
            ch_.ui().appendProgramViewLine(kTooManyNotice);
            ShowStatusMessage(ch_.ui(), kTooMany);
            return false;
        }
        ch_.session().run.LastVerifyIndex = index;
        return true;
    }

  private:
    BoardChannel& ch_;
    QString& result_;
    int differences_ = 0;
};

// A read-back that came short, late or without its end code says nothing about the chip: the
// exchange failed ("ER"), which is no difference between the chip and the buffer ("NG").
void failExchange(BoardChannel& ch, QString& result, WaitResult wait, const QString& text) {
    failWait(ch, result, wait, text);
    result = result::ER;
}

void failEndCode(BoardChannel& ch, QString& result, const QString& text) {
    failStep(ch, result, text);
    result = result::ER;
}

std::int32_t wordAt(const std::vector<std::uint8_t>& bytes, std::size_t i) {
    return bytes[i] * 256 + bytes[i + 1];
}

// The word compared at program word w: the image's, except at the calibration address when the
// caller expects another word there (or none: then the chip's own word is taken as it is).
class ExpectedProgram {
  public:
    ExpectedProgram(const Session& s, const ExpectedCalibration& calibration)
        : image_(s.buffer.ProgramImage), calibration_(calibration),
          calibrationAddress_(s.device.CalibrationInstruction.isEmpty()
                                  ? -1
                                  : std::int64_t(s.device.ProgramWordCount) - 1) {}

    std::int32_t at(std::int64_t address, std::size_t imageIndex, std::int32_t read) const {
        if (address == calibrationAddress_ && !calibration_.fromImage)
            return calibration_.word ? std::int32_t(*calibration_.word) : read;
        return image_[imageIndex] * 256 + image_[imageIndex + 1];
    }

  private:
    const std::vector<std::uint8_t>& image_;
    const ExpectedCalibration& calibration_;
    std::int64_t calibrationAddress_;
};

// The stream holds the configuration word, the program and the four ID words; the ID words are
// compared like program words at the addresses after the program.
void verifyStream12(BoardChannel& ch, const ReadCommands& cmd,
                    const ExpectedCalibration& calibration, QString& result) {
    Session& s = ch.session();
    const std::int32_t n = s.device.ProgramWordCount;
    ch.sendLetters(cmd.program);
    const std::int32_t words = sendStreamSize(ch);
    const WaitResult wait = receiveWords(ch, words, WaitLimit::perBlock());
    if (wait != WaitResult::Complete)
        return failExchange(ch, result, wait, programPanelVerifyFailures().shortReply);
    const auto& r = s.link.ReceiveBuffer;
    if (!endCodeAt(r, 2 * std::size_t(words))) return failEndCode(ch, result, kStreamEndMissing);

    result = result::OK;
    auto& image = s.buffer.ProgramImage;
    std::copy(s.buffer.ConfigIdImage.begin(), s.buffer.ConfigIdImage.begin() + 8,
              image.begin() + 2 * n);
    const ExpectedProgram expected(s, calibration);
    ProgramComparison comparison(ch, result);
    for (std::int32_t i = 2; i <= 2 * words - 2; i += 2) {
        const std::int32_t read = wordAt(r, i);
        if (!comparison.compare(i / 2 - 1, expected.at(i / 2 - 1, i - 2, read), read, i)) return;
    }
}

void verifyWords14(BoardChannel& ch, const ReadCommands& cmd,
                   const ExpectedCalibration& calibration, QString& result) {
    Session& s = ch.session();
    ch.sendLetters(cmd.program);
    const std::int32_t n = sendProgramSize(ch);
    const WaitResult wait = receiveWords(ch, n, WaitLimit::perBlock());
    if (wait != WaitResult::Complete)
        return failExchange(ch, result, wait, programPanelVerifyFailures().shortReply);
    const auto& r = s.link.ReceiveBuffer;
    // A reply without its end code is not a read-back to trust, whatever its data bytes say.
    if (!endCodeAt(r, 2 * std::size_t(n))) return failEndCode(ch, result, kStreamEndMissing);

    // The 12F6's last word is its oscillator calibration, the chip's own and not compared.
    const bool calibrationLast = QLatin1String(cmd.type) == QLatin1String("12F6");
    if (calibrationLast && n > 0) s.run.OscCalWordText = hex4(wordAt(r, 2 * std::size_t(n) - 2));
    result = result::OK;
    const ExpectedProgram expected(s, calibration);
    ProgramComparison comparison(ch, result);
    const std::int32_t last = calibrationLast ? n - 2 : n - 1;
    for (std::int32_t w = 0; w <= last; ++w) {
        const std::int32_t read = wordAt(r, 2 * w);
        if (!comparison.compare(w, expected.at(w, 2 * std::size_t(w), read), read, 2 * w)) return;
    }
}

void verifyPanels18(BoardChannel& ch, const ReadCommands& cmd, QString& result) {
    Session& s = ch.session();
    const std::int32_t n = s.device.ProgramWordCount;
    const std::int32_t panels = pic18PanelsFor(n);
    result = result::OK;
    std::vector<std::uint8_t> readBackBytes(std::size_t(panels) * Pic18PanelBytes, 0);
    if (!receivePanels18(ch, cmd.program, programPanelVerifyFailures(), readBackBytes, result)) {
        result = result::ER;
        return;
    }
    result = result::OK;
    const auto& image = s.buffer.ProgramImage;
    ProgramComparison comparison(ch, result);
    // Every word is compared, the last one included. Both words are formed alike from the image
    // layout, so the text shows the bytes in device address order.
    for (std::int32_t i = 0; i <= 2 * n - 2; i += 2) {
        const std::int32_t read = readBackBytes[i] + 256 * readBackBytes[i + 1];
        const std::int32_t expected = image[i] + 256 * image[i + 1];
        if (!comparison.compare(i / 2, expected, read, i)) return;
    }
}

// Compares the bytes first, first + step, ... below end of the read-back with EepromImage; each
// differing one is listed as location i / step and makes the result "NG".
void compareEeprom(BoardChannel& ch, const std::vector<std::uint8_t>& readBack, std::size_t first,
                   std::size_t step, std::size_t end, QString& result) {
    const auto& image = ch.session().buffer.EepromImage;
    for (std::size_t i = first; i < end; i += step) {
        if (readBack[i] == image[i]) continue;
        ch.ui().appendEepromViewLine(
            eepromMismatchLine(std::int64_t(i / step), image[i], readBack[i]));
        result = result::NG;
    }
}

void verifyEeprom14(BoardChannel& ch, const ReadCommands& cmd, QString& result) {
    Session& s = ch.session();
    const std::int32_t count = s.device.EepromByteCount;
    ch.discardInput();
    ch.sendLetters(cmd.eeprom);
    ch.sendCount16(count);
    const WaitResult wait = receiveWords(ch, count, WaitLimit::perBlock());
    const ReadBackFailures& failures = eepromVerifyFailures();
    if (wait != WaitResult::Complete) return failExchange(ch, result, wait, failures.shortReply);
    const auto& r = s.link.ReceiveBuffer;
    // A reply without its end code is not compared: its differences would be no chip's.
    if (!endCodeAt(r, 2 * std::size_t(count)))
        return failEndCode(ch, result, failures.endCodeMissing);
    const auto& image = s.buffer.EepromImage;
    const std::size_t compared = std::min<std::size_t>(2 * std::size_t(count), image.size());
    result = result::OK;
    // Only the data byte of each location counts; the filler byte before it does not.
    compareEeprom(ch, r, 1, 2, compared, result);
}

void verifyEeprom18(BoardChannel& ch, const ReadCommands& cmd, QString& result) {
    Session& s = ch.session();
    const std::int32_t count = s.device.EepromByteCount;
    const auto* reply =
        receivePic18Block(ch, {cmd.eeprom, 1, count, AckRule::None, double(count) + 1, 0, true},
                          eepromVerifyFailures(), result);
    if (!reply) {
        result = result::ER;
        return;
    }
    const auto& r = *reply;
    result = result::OK;
    const auto& image = s.buffer.EepromImage;
    const std::size_t compared = std::min<std::size_t>(std::size_t(count), image.size());
    compareEeprom(ch, r, 0, 1, compared, result);
}

void verifyProgramWith(BoardChannel& ch, const ReadCommands& row,
                       const ExpectedCalibration& calibration, QString& result) {
    ch.discardInput();
    auto withCalibration = [&calibration](auto step) {
        return [step, &calibration](BoardChannel& c, const ReadCommands& r, QString& res) {
            step(c, r, calibration, res);
        };
    };
    powerThenGroupStep(
        ch, row, {withCalibration(verifyStream12), withCalibration(verifyWords14), verifyPanels18},
        result);
}

} // namespace

void VerifyProgramMemory(BoardChannel& ch, QString& result) {
    VerifyProgramMemoryExpecting(ch, {}, result);
}

void VerifyProgramMemoryExpecting(BoardChannel& ch, const ExpectedCalibration& calibration,
                                  QString& result) {
    verifyProgramWith(ch, readCommandsOrUnserved(ch.session().device.ProgramType), calibration,
                      result);
}

void VerifyProgramMemoryWith(BoardChannel& ch, const ReadCommands& row, QString& result) {
    verifyProgramWith(ch, row, {}, result);
}

void VerifyEepromMemory(BoardChannel& ch, QString& result) {
    VerifyEepromMemoryWith(ch, readCommandsOrUnserved(ch.session().device.ProgramType), result);
}

void VerifyEepromMemoryWith(BoardChannel& ch, const ReadCommands& row, QString& result) {
    Session& s = ch.session();
    if (s.device.EepromByteCount == 0) {
        ShowStatusMessage(ch.ui(), kNoEeprom);
        result = result::Skipped;
        return;
    }
    result = QString();
    ch.sendPowerLetter();
    if (!row.eeprom || row.group == CoreGroup::None) return;
    if (row.group == CoreGroup::Pic18) return verifyEeprom18(ch, row, result);
    verifyEeprom14(ch, row, result);
}

} // namespace tavrin
