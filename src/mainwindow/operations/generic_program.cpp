// The program operation for every part without a device module of its own: socket check,
// calibration saved, blank check and the overwrite question, chip erase, program memory and
// EEPROM written and verified, configuration merged, written and verified, then the verdict with
// the counters, the log line and, on failure, the verify box. A write that fails after the erase
// ends the run with its box; a board that goes away ends it at once. Every way out that reached
// the board leaves the run's line (program_run_line.h).
#include "devices/common/calibration_entry.h"
#include "devices/common/overwrite_question.h"
#include "devices/common/program_result.h"
#include "devices/common/program_run_line.h"
#include "devices/common/result_log.h"
#include "devices/common/verify_opening.h"
#include "generic_operations.h"
#include "operation_environment.h"

#include "core/clock.h"
#include "core/operator_ui.h"
#include "core/session.h"
#include "core/status.h"
#include "link/board_link.h"
#include "steps/blank_check.h"
#include "steps/calibration_word.h"
#include "steps/config_area_keep.h"
#include "steps/config_verify.h"
#include "steps/config_write.h"
#include "steps/eeprom_write.h"
#include "steps/erase.h"
#include "steps/memory_verify.h"
#include "steps/program_write.h"
#include "steps/read.h"

#include <array>
#include <optional>
#include <utility>
#include <vector>

namespace tavrin {

namespace {

// What the sequence does differently by programming type.
struct ProgramTypeSteps {
    const char* type;
    bool chipErase;   // erased before writing
    bool configMerge; // the chip's words 0x2004-0x2006 merged into the configuration written
};

constexpr std::array<ProgramTypeSteps, 15> kTypeSteps{{
    {"12C5", false, false},
    {"12C6", false, true},
    {"12F6", true, true},
    {"EPROM", false, true},
    {"EPROM2", false, true},
    {"FLASH0", true, true},
    {"FLASH1", true, true},
    {"FLASH2", true, true},
    {"FLASH4", true, true},
    {"FLASH4.9", true, true},
    {"FLASH8", true, true},
    {"18F_00", true, false},
    {"WRT400", true, true},
    {"WRT400A", true, true},
    {"", false, false}, // every other type
}};

const ProgramTypeSteps& stepsOf(const QString& type) {
    for (const ProgramTypeSteps& row : kTypeSteps)
        if (type == QLatin1String(row.type)) return row;
    return kTypeSteps.back();
}

bool isBlank(const QString& program, const QString& eeprom, const QString& config) {
    const QString joined = program + eeprom + config;
    return joined == QLatin1String("OK--OK") || joined == QLatin1String("OKOKOK");
}

bool failed(const QString& r) {
    return r == result::NG || r == result::ER;
}

class GenericProgram {
  public:
    GenericProgram(OperationEnvironment& env, const OperationSettings& settings,
                   QString& calibrationLabel)
        : env_(env), s_(env.s), run_(env.s.run), ui_(env.ui), ch_(env.link.channel()),
          settings_(settings), steps_(stepsOf(env.s.device.ProgramType)),
          calibrationLabel_(calibrationLabel), line_(env, settings) {}

    void run();

  private:
    void status(const QString& text) { ShowStatusMessage(ui_, text); }
    void statusAndPump(const QString& text) {
        status(text);
        ui_.pumpEvents();
    }
    void critical(const QString& title, const QString& text) {
        ui_.messageBox(MessageIcon::Critical, MessageButtons::Ok, title, text);
    }
    // The board went away (the loss is told): the run ends.
    bool endedForLoss() { return boardLost(env_); }
    // A write after the erase failed: the run's line with what the box tells, then the box.
    bool writeFailed(const QString& title, const QString& text) {
        if (endedForLoss()) return false;
        line_.stop(text);
        line_.close();
        critical(title, text);
        return false;
    }
    void setCalibrationLabel(const QString& text) {
        calibrationLabel_ = text;
        ui_.setControlText(Control::Lbl_Calib_ReadWrite_Data, text);
    }

    bool typedCalibrationUsable();
    void saveChipCalibration();
    bool blankCheckAllowsWriting();
    bool chipCalibrationKnown();
    bool saveChipEeprom();
    bool eraseChip();
    bool restoreChipEeprom();
    void putCalibrationIntoImages();
    bool writeProgramAndEeprom();
    bool verifyProgramAndEeprom();
    bool writeAndVerifyConfiguration();
    void judge();

    bool calibrated() const { return isCalibratedType(s_.device.ProgramType); }
    bool memoryOnly() const { return run_.ProgramMemoryOnlyMode; }
    bool configSkipped() const { return memoryOnly() && !run_.IncludeConfigInPartial; }

    OperationEnvironment& env_;
    Session& s_;
    RunState& run_;
    OperatorUi& ui_;
    BoardChannel& ch_;
    const OperationSettings& settings_;
    const ProgramTypeSteps& steps_;
    QString& calibrationLabel_;
    ProgramRunLine line_;
    TypedCalibration typed_;
    bool bandgapRead_ = false;
    QString cpFlag_;
    // What the chip's data EEPROM held before the chip erase of a program-memory-only run.
    std::optional<std::vector<std::uint8_t>> chipEeprom_;
};

void GenericProgram::run() {
    // The typed values are checked before the chip is touched: once it is erased, a value that
    // cannot be written would leave it without its calibration.
    if (!typedCalibrationUsable()) return;
    const bool socketChecked = resetVerifyResultsAndCheckSocket(ui_, ch_, run_);
    if (endedForLoss() || !socketChecked) return;
    ch_.pauseMs(300);

    saveChipCalibration();
    if (endedForLoss() || !blankCheckAllowsWriting()) return;
    if (!chipCalibrationKnown()) return;
    ch_.pauseMs(200);
    if (!saveChipEeprom()) return;
    if (!eraseChip()) return;

    ++run_.AttemptCount;
    statusAndPump(QStringLiteral("プログラムメモリのプログラミング中.........."));
    ch_.pauseMs(100);
    setCalibrationLabel(QString());
    if (calibrated()) putCalibrationIntoImages();

    if (!writeProgramAndEeprom()) return;
    if (!restoreChipEeprom()) return;
    if (!verifyProgramAndEeprom()) return;
    if (!configSkipped() && !writeAndVerifyConfiguration()) return;
    judge();
}

bool GenericProgram::typedCalibrationUsable() {
    if (!calibrated() || settings_.keepChipCalibration) return true;
    const CalibrationCheck check = checkTypedCalibration(
        s_.device.ProgramType, settings_.calibrationText, settings_.bandgapText);
    if (check.typed) {
        typed_ = *check.typed;
        return true;
    }
    status(QStringLiteral("red") + check.problem);
    ui_.messageBox(MessageIcon::Exclamation, MessageButtons::Ok,
                   QStringLiteral("キャリブレーションデータ"), check.problem);
    return false;
}

void GenericProgram::saveChipCalibration() {
    // What an earlier run read belongs to the chip of that run.
    run_.CalibWordRead = false;
    bandgapRead_ = false;
    const QString& type = s_.device.ProgramType;
    if (type == QLatin1String("12F6") || type == QLatin1String("12C6"))
        ReadCalibrationWord(ch_, run_.OperationResult);
    if (hasBandgapBits(type)) {
        QString bandgap;
        ReadBandgapBits(ch_, bandgap);
        bandgapRead_ = bandgap == result::OK;
    }
}

bool GenericProgram::blankCheckAllowsWriting() {
    if (settings_.skipBlankCheck) return true;
    status(QStringLiteral("ブランクチェック中.........."));
    QString program = result::Skipped, eeprom = result::Skipped, config = result::Skipped;
    QString cpFlag = result::Skipped;
    BlankCheckProgramMemory(ch_, program);
    if (endedForLoss() || program == result::ER) return false;
    BlankCheckEepromMemory(ch_, eeprom);
    if (endedForLoss() || eeprom == result::ER) return false;
    BlankCheckConfigWords(ch_, cpFlag, config);
    if (endedForLoss() || config == result::ER) return false;
    cpFlag_ = cpFlag;
    if (isBlank(program, eeprom, config)) {
        status(QStringLiteral("ブランクチェック終了。　デバイスは消去されています。"));
        return true;
    }
    status(QStringLiteral("デバイスにコードが書き込まれています。"));
    return overwriteAgreed(env_, writtenLineFor(cpFlag));
}

bool GenericProgram::chipCalibrationKnown() {
    if (!calibrated() || !settings_.keepChipCalibration) return true;
    const bool known =
        run_.CalibWordRead && (!hasBandgapBits(s_.device.ProgramType) || bandgapRead_);
    if (known) return true;
    // Writing a word left from another chip would lose this chip's factory calibration.
    const QString text = QStringLiteral(
        "ＰＩＣ内部のキャリブレーションデータを読み出せませんでした。書込みを中止しました。");
    status(QStringLiteral("red") + text);
    critical(QStringLiteral("キャリブレーションデータ"), text);
    return false;
}

// The chip erase before the writes takes the data EEPROM with it. A run of program memory alone
// reads the chip's EEPROM first and puts it back after the erase; only a protected chip, whose
// EEPROM cannot be read, loses it, and the person is told.
bool GenericProgram::saveChipEeprom() {
    if (!memoryOnly() || !steps_.chipErase || s_.device.EepromByteCount == 0) return true;
    if (cpFlag_.isEmpty()) {
        QString config;
        cpFlag_ = result::Skipped;
        BlankCheckConfigWords(ch_, cpFlag_, config);
        if (endedForLoss() || config == result::ER) return false;
    }
    if (cpFlag_ == result::CP) return true;
    statusAndPump(QStringLiteral("ＥＥＰＲＯＭデータメモリ読み出し中.........."));
    auto& image = s_.buffer.EepromImage;
    const std::vector<std::uint8_t> buffer = image;
    QString read;
    ReadEepromMemory(ch_, read);
    chipEeprom_ = std::exchange(image, buffer);
    ui_.refreshViews(ViewEeprom);
    if (read == result::OK) return true;
    chipEeprom_.reset();
    if (endedForLoss()) return false;
    const QString text =
        QStringLiteral("ＥＥＰＲＯＭデータメモリを読み出せませんでした。書込みを中止しました。");
    status(QStringLiteral("red") + text);
    critical(QStringLiteral("ＥＥＰＲＯＭデータメモリ"), text);
    return false;
}

bool GenericProgram::restoreChipEeprom() {
    if (!memoryOnly() || !steps_.chipErase || s_.device.EepromByteCount == 0) return true;
    if (!chipEeprom_) {
        status(
            QStringLiteral("コードプロテクトのため、ＥＥＰＲＯＭデータメモリーも消去しました。"));
        return true;
    }
    statusAndPump(QStringLiteral("ＥＥＰＲＯＭデータメモリのプログラミング.........."));
    auto& image = s_.buffer.EepromImage;
    std::swap(image, *chipEeprom_);
    QString written, verified;
    WriteEepromMemory(ch_, written);
    if (written == result::OK) VerifyEepromMemory(ch_, verified);
    std::swap(image, *chipEeprom_);
    if (written == result::OK && verified == result::OK) return true;
    return writeFailed(QStringLiteral("ＥＥＰＲＯＭデータメモリプログラミング"),
                       QStringLiteral("ＥＥＰＲＯＭデータメモリのプログラミングに失敗しました。"));
}

bool GenericProgram::eraseChip() {
    if (!steps_.chipErase) return true;
    status(QStringLiteral("チップイレース中.........."));
    EraseChip(env_.link, run_.OperationResult);
    if (endedForLoss()) return false;
    if (run_.OperationResult == result::OK) return true;
    status(QStringLiteral("チップイレース失敗。"));
    return false;
}

void GenericProgram::putCalibrationIntoImages() {
    const std::optional<std::uint16_t> saved =
        run_.CalibWordRead
            ? std::optional<std::uint16_t>(run_.CalibWordHigh * 256 + run_.CalibWordLow)
            : std::nullopt;
    setCalibrationLabel(QStringLiteral("R:") + calibrationWordText(saved) + QLatin1Char(','));
    placeCalibration(s_, ui_, settings_.keepChipCalibration, typed_);
    ui_.refreshViews(ViewProgram | ViewIdConfig);
}

bool GenericProgram::writeProgramAndEeprom() {
    statusAndPump(QStringLiteral("プログラムメモリのプログラミング中.........."));
    ch_.pauseMs(200);
    WriteProgramMemory(ch_, run_.OperationResult);
    if (failed(run_.OperationResult))
        return writeFailed(QStringLiteral("プログラムメモリプログラミング"),
                           QStringLiteral("プログラムメモリのプログラミングに失敗しました。"));
    if (memoryOnly()) return true;
    statusAndPump(QStringLiteral("ＥＥＰＲＯＭデータメモリのプログラミング.........."));
    WriteEepromMemory(ch_, run_.OperationResult);
    if (failed(run_.OperationResult))
        return writeFailed(
            QStringLiteral("ＥＥＰＲＯＭデータメモリプログラミング"),
            QStringLiteral("ＥＥＰＲＯＭデータメモリのプログラミングに失敗しました。"));
    return true;
}

bool GenericProgram::verifyProgramAndEeprom() {
    statusAndPump(QStringLiteral("プログラムメモリのベリファイ中.........."));
    ch_.pauseMs(200);
    // The calibration word is taken from this read-back, never from an earlier reply.
    s_.link.ReceiveBuffer.clear();
    VerifyProgramMemory(ch_, run_.ProgramVerifyResult);
    if (endedForLoss()) return false;
    if (calibrated())
        setCalibrationLabel(calibrationLabel_ + QStringLiteral("W:") +
                            calibrationWordText(calibrationWordReadBack(s_)));
    if (memoryOnly()) return true;
    statusAndPump(QStringLiteral("ＥＥＰＲＯＭデータメモリのベリファイ中.........."));
    VerifyEepromMemory(ch_, run_.EepromVerifyResult);
    return !endedForLoss();
}

bool GenericProgram::writeAndVerifyConfiguration() {
    if (steps_.configMerge) {
        statusAndPump(QStringLiteral("コンフィグレーションの修正データ修得中.........."));
        ReadConfigForMerge(ch_, run_.OperationResult);
        if (run_.OperationResult != result::OK)
            return writeFailed(
                QString(), QStringLiteral("コンフィグレーションの修正データ修得に失敗しました。"));
    }
    statusAndPump(QStringLiteral("コンフィギュレーションワード プログラミング中.........."));
    ch_.pauseMs(200);
    WriteConfigWords(ch_, run_.OperationResult);
    if (run_.OperationResult != result::OK)
        return writeFailed(QString(),
                           QStringLiteral("コンフィグレーションのプログラミングに失敗しました。"));
    status(QStringLiteral("コンフィギュレーションワードのベリファイ中.........."));
    QString cpFlag = result::Skipped;
    VerifyWrittenConfigWords(ch_, cpFlag, run_.ConfigVerifyResult);
    return !endedForLoss();
}

void GenericProgram::judge() {
    if (memoryOnly()) {
        run_.EepromVerifyResult = result::Skipped;
        if (!run_.IncludeConfigInPartial) run_.ConfigVerifyResult = result::Skipped;
    }
    line_.judge(programRunPassed(run_.ProgramVerifyResult, run_.EepromVerifyResult,
                                 run_.ConfigVerifyResult),
                verifyFailureReport(run_));
}

} // namespace

void runGenericProgram(OperationEnvironment& env, const OperationSettings& settings,
                       QString& calibrationLabel) {
    GenericProgram(env, settings, calibrationLabel).run();
}

} // namespace tavrin
