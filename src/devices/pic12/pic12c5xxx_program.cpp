// Program and Verify of the 12-bit parts: the 12-bit stream written and read back as for every
// 12-bit part, around this module's blank check. There is no erase, so the blank check and the
// overwrite question always run, and the chip's calibration word is known before the question.
// Every way out that reached the board leaves the run's line (program_run_line.h).
#include "pic12c5xxx.h"

#include "core/clock.h"
#include "core/operation_controls.h"
#include "core/operator_ui.h"
#include "core/session.h"
#include "core/status.h"
#include "devices/common/calibration_entry.h"
#include "devices/common/operation_epilogue.h"
#include "devices/common/overwrite_question.h"
#include "devices/common/program_result.h"
#include "devices/common/program_run_line.h"
#include "devices/common/result_log.h"
#include "devices/common/verify_exchange.h"
#include "link/board_channel.h"
#include "link/board_link.h"
#include "steps/config_verify.h"
#include "steps/config_write.h"
#include "steps/memory_verify.h"
#include "steps/program_write.h"

namespace tavrin::pic12 {

namespace {

const QString kCalibrationTitle = QStringLiteral("キャリブレーションデータ");

bool failed(const QString& r) {
    return r == result::NG || r == result::ER;
}

class TwelveBitProgram {
  public:
    TwelveBitProgram(ModuleContext& ctx, Pic12C5xxx& module)
        : ctx_(ctx), module_(module), s_(ctx.s), run_(ctx.s.run), ui_(ctx.ui),
          ch_(ctx.link.channel()), settings_(ctx.currentSettings()), line_(ctx, settings_) {}

    void run();

  private:
    void status(const QString& text) { ShowStatusMessage(ui_, text); }
    void refuse(const QString& text) {
        status(QStringLiteral("red") + text);
        ui_.messageBox(MessageIcon::Exclamation, MessageButtons::Ok, kCalibrationTitle, text);
    }
    // Lbl_Calib_ReadWrite_Data; the context keeps it for the log line.
    void setLabel(const QString& text) {
        ctx_.calibrationLabel = text;
        ui_.setControlText(Control::Lbl_Calib_ReadWrite_Data, text);
    }
    bool typedCalibrationUsable();
    bool blankCheckAllowsWriting();
    bool writeAndVerify();
    // A write that failed ends the run: its box and the run's line.
    bool writeFailed(const QString& title, const QString& text);
    bool endsForLostBoard() { return boardLost(ctx_); }
    void judge();

    ModuleContext& ctx_;
    Pic12C5xxx& module_;
    Session& s_;
    RunState& run_;
    OperatorUi& ui_;
    BoardChannel& ch_;
    const OperationSettings settings_;
    ProgramRunLine line_;
    TypedCalibration typed_;
};

void TwelveBitProgram::run() {
    beginOperation(ctx_);
    const OperationEpilogue end(ctx_, OperationKind::Program);
    setLabel(QStringLiteral("--"));
    ui_.refreshViews(ViewProgram | ViewEeprom);
    run_.ProgramVerifyResult = result::OK;
    run_.EepromVerifyResult = result::Skipped;
    run_.ConfigVerifyResult = result::OK;
    if (typedCalibrationUsable() && blankCheckAllowsWriting()) {
        ++run_.AttemptCount;
        if (writeAndVerify()) judge();
    }
    line_.close(); // before the controls come back
}

// The typed value is checked before anything is written: a value that cannot be written would
// leave the chip without its calibration.
bool TwelveBitProgram::typedCalibrationUsable() {
    if (settings_.keepChipCalibration) return true;
    const CalibrationCheck check = checkTypedCalibration(
        s_.device.ProgramType, settings_.calibrationText, settings_.bandgapText);
    if (!check.typed) {
        refuse(check.problem);
        return false;
    }
    typed_ = *check.typed;
    return true;
}

bool TwelveBitProgram::blankCheckAllowsWriting() {
    QString program, config, cpFlag = result::Skipped;
    module_.ReadForBlankCheck(program, config, cpFlag);
    if (endsForLostBoard()) return false;
    if (program == result::ER || config == result::ER) {
        status(QStringLiteral("redブランクチェック中に通信エラーが発生しました。"));
        return false;
    }
    if (program + config == QLatin1String("OKOK")) {
        status(QStringLiteral("ブランクチェック終了。　デバイスは消去されています。"));
        return true;
    }
    status(QStringLiteral("デバイスにコードが書き込まれています。"));
    // Keeping the chip's own calibration needs the word from this chip, before anything is
    // asked or written; the board's scans give it only when the rest of the chip is blank.
    if (settings_.keepChipCalibration && !run_.CalibWordRead) {
        module_.readCalibrationOfWrittenChip();
        if (endsForLostBoard()) return false;
        if (!run_.CalibWordRead) {
            refuse(QStringLiteral("ＰＩＣ内部のキャリブレーションデータを読み出せませんでした。"
                                  "書込みを中止しました。"));
            return false;
        }
        status(QStringLiteral("デバイスにコードが書き込まれています。"));
    }
    return overwriteAgreed(ctx_, writtenLineFor(cpFlag));
}

bool TwelveBitProgram::writeAndVerify() {
    status(QStringLiteral("プログラムメモリのプログラミング中.........."));
    ui_.pumpEvents();
    ch_.pauseMs(100);
    const std::optional<std::uint16_t> saved =
        run_.CalibWordRead
            ? std::optional<std::uint16_t>(run_.CalibWordHigh * 256 + run_.CalibWordLow)
            : std::nullopt;
    setLabel(QStringLiteral("R:") + calibrationWordText(saved) + QLatin1Char(','));
    placeCalibration(s_, ui_, settings_.keepChipCalibration, typed_);
    ui_.refreshViews(ViewProgram | ViewIdConfig);

    status(QStringLiteral("プログラムメモリのプログラミング中.........."));
    ui_.pumpEvents();
    ch_.pauseMs(200);
    WriteProgramMemory(ch_, run_.OperationResult);
    if (failed(run_.OperationResult))
        return writeFailed(QStringLiteral("プログラムメモリプログラミング"),
                           QStringLiteral("プログラムメモリのプログラミングに失敗しました。"));
    status(QStringLiteral("プログラムメモリのベリファイ中.........."));
    ui_.pumpEvents();
    ch_.pauseMs(200);
    s_.link.ReceiveBuffer.clear();
    VerifyProgramMemory(ch_, run_.ProgramVerifyResult);
    if (endsForLostBoard()) return false;
    setLabel(ctx_.calibrationLabel + QStringLiteral("W:") +
             calibrationWordText(calibrationWordReadBack(s_)));

    status(QStringLiteral("コンフィギュレーションワード プログラミング中.........."));
    ui_.pumpEvents();
    ch_.pauseMs(200);
    WriteConfigWords(ch_, run_.OperationResult);
    if (run_.OperationResult != result::OK)
        return writeFailed(QString(),
                           QStringLiteral("コンフィグレーションのプログラミングに失敗しました。"));
    status(QStringLiteral("コンフィギュレーションワードのベリファイ中.........."));
    QString cpFlag = result::Skipped;
    VerifyWrittenConfigWords(ch_, cpFlag, run_.ConfigVerifyResult);
    return !endsForLostBoard();
}

bool TwelveBitProgram::writeFailed(const QString& title, const QString& text) {
    if (endsForLostBoard()) return false;
    line_.stop(text);
    line_.close();
    ui_.messageBox(MessageIcon::Critical, MessageButtons::Ok, title, text);
    return false;
}

void TwelveBitProgram::judge() {
    line_.judge(programRunPassed(run_.ProgramVerifyResult, run_.EepromVerifyResult,
                                 run_.ConfigVerifyResult),
                verifyFailureReport(run_));
}

} // namespace

void Pic12C5xxx::ProgramDevice() {
    const PowerLetterN n(ctx_.s.device);
    TwelveBitProgram(ctx_, *this).run();
}

void Pic12C5xxx::VerifyDevice() {
    const PowerLetterN n(ctx_.s.device);
    Session& s = ctx_.s;
    RunState& run = s.run;
    OperatorUi& ui = ctx_.ui;
    BoardChannel& ch = ctx_.link.channel();
    beginOperation(ctx_);
    const OperationEpilogue end(ctx_, OperationKind::Verify);
    ui.refreshViews(ViewProgram | ViewEeprom);
    run.ProgramVerifyResult = result::OK;
    run.EepromVerifyResult = result::Skipped;
    run.ConfigVerifyResult = result::OK;
    run.CodeProtectState = result::Skipped;

    status(QStringLiteral("ベリファイ中..........コンフィギュレーションワード"));
    ui.pumpEvents();
    VerifyConfigWords(ch, run.CodeProtectState, run.ConfigVerifyResult);
    if (run.CodeProtectState == result::CP) {
        status(QStringLiteral("redこのデバイスはコードプロテクトされています。"));
        ui.messageBox(MessageIcon::Critical, MessageButtons::Ok, QStringLiteral("ベリファイ"),
                      QStringLiteral("このデバイスはコードプロテクトされています。\r"
                                     "ベリファイををスキップしました。             "));
        return;
    }
    if (!verifyExchangeFailed(run)) {
        status(QStringLiteral("ベリファイ中..........プログラムメモリー"));
        ui.pumpEvents();
        // The buffer's calibration word is the file's: a program run writes the chip's own or
        // the typed word there, never that one.
        tavrin::VerifyProgramMemoryExpecting(
            ch, calibrationAProgramRunWrites(s.device.ProgramType, ctx_.currentSettings()),
            run.ProgramVerifyResult);
    }
    run.VerifySummary = run.ProgramVerifyResult + run.EepromVerifyResult + run.ConfigVerifyResult;
    if (verifyExchangeFailed(run)) {
        reportVerifyExchangeFailure(ui, ch);
    } else if (run.VerifySummary == QLatin1String("OK--OK")) {
        status(QStringLiteral("ベリファイは正常終了しました。"));
    } else {
        status(QStringLiteral("redベリファイエラーを検出しました。"));
        ui.messageBox(MessageIcon::Critical, MessageButtons::Ok, QStringLiteral("ベリファイエラー"),
                      QStringLiteral("\r\nプログラムメモリ\t：　") + run.ProgramVerifyResult +
                          QStringLiteral("　　　　　\r") +
                          QStringLiteral("Ｃｏｎｆｉｇワード \t：　") + run.ConfigVerifyResult +
                          QStringLiteral("　（Ｃｏｎｆｉｇ：") + run.ConfigVerifyText +
                          QStringLiteral("）　　"));
    }
    writeLogLine(ui, ctx_.dataDir, operationEndLine(OperationEnd::Verify, ctx_.now()));
}

} // namespace tavrin::pic12
