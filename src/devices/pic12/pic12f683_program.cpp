// The Program operation: device check, blank check and the overwrite question, bulk erase,
// program memory and EEPROM written and verified, the ID and configuration words collected,
// written and verified, then the verdict with the counters, the log line and, on failure, the
// verify box. The calibration word at 0x2008 survives the erase and is never written.
#include "pic12_commands.h"
#include "pic12f683.h"

#include "core/clock.h"
#include "core/operation_controls.h"
#include "core/operator_ui.h"
#include "core/session.h"
#include "core/status.h"
#include "devices/common/operation_epilogue.h"
#include "devices/common/overwrite_question.h"
#include "devices/common/program_result.h"
#include "devices/common/program_run_line.h"
#include "devices/common/result_log.h"
#include "link/board_channel.h"
#include "link/board_link.h"
#include "steps/config_verify.h"

namespace tavrin::pic12 {

namespace {

const QString kStep = QStringLiteral("プログラミング..........");
const QString kResultFiller = QStringLiteral("　　　　　");

bool failed(const QString& r) {
    return r == result::ER || r == result::NG;
}

QString verifyReport(const RunState& run) {
    return QStringLiteral("Ｆｌａｓｈプログラムメモリ\t=　 ") + run.ProgramVerifyResult +
           kResultFiller + QStringLiteral("\r\n") +
           QStringLiteral("ＥＥＰＲＯＭデータメモリ　\t=　 ") + run.EepromVerifyResult +
           kResultFiller + QStringLiteral("\r\n") +
           QStringLiteral("コンフィグレーションワード\t= 　") + run.ConfigVerifyResult +
           kResultFiller + QStringLiteral("\r\n");
}

} // namespace

void Pic12F683::ProgramDevice() {
    Session& s = ctx_.s;
    RunState& run = s.run;
    OperatorUi& ui = ctx_.ui;
    run.OperationStartTimeUs = ctx_.clock.nowUs();
    beginOperation(ctx_);
    const OperationEpilogue end(ctx_, OperationKind::Program);
    // Every way out leaves the run's line: the verdict's, or what the run last told the person
    // (the loss, when the board went away).
    ProgramRunLine line(ctx_, ctx_.currentSettings());
    ui.refreshViews(ViewProgram | ViewEeprom);
    ctx_.calibrationLabel = QStringLiteral("--");
    ui.setControlText(Control::Lbl_Calib_ReadWrite_Data, ctx_.calibrationLabel);
    run.ProgramVerifyResult = result::OK;
    run.EepromVerifyResult = result::OK;
    run.ConfigVerifyResult = result::OK;
    run.CodeProtectState = result::Skipped;
    chipConfigWord_.reset();
    ui.pumpEvents();
    runToVerdict(line);
}

void Pic12F683::runToVerdict(ProgramRunLine& line) {
    RunState& run = ctx_.s.run;
    CheckDeviceId(run.ConfigStepResult);
    if (boardLost(ctx_) || run.ConfigStepResult == result::NG) return;
    if (!blankCheckAllowsWriting() || !eraseForProgramming()) return;
    // An attempt is counted where the verdict will count a pass or a failure: a run of program
    // memory alone has none, and would show as a failure in "Fail =".
    if (!run.ProgramMemoryOnlyMode) ++run.AttemptCount;
    if (!writeAndVerify()) return;
    if (run.ProgramMemoryOnlyMode) return tellProgramMemoryOnlyEnd();
    judge(line);
}

bool Pic12F683::blankCheckAllowsWriting() {
    RunState& run = ctx_.s.run;
    const OperationSettings settings = ctx_.currentSettings();
    if (settings.skipBlankCheck) return true;
    status(kStep + QStringLiteral("ブランクチェック中.........."));
    ctx_.ui.pumpEvents();
    run.ProgramStepResult = result::Skipped;
    run.EepromStepResult = result::Skipped;
    run.ConfigStepResult = result::Skipped;
    BlankCheckProgramMemory(run.ProgramStepResult);
    BlankCheckEepromMemory(run.EepromStepResult);
    BlankCheckConfigWords(run.ConfigStepResult, run.CodeProtectState);
    if (boardLost(ctx_)) return false;
    const QString ended = kStep + QStringLiteral("ブランクチェック終了");
    if (failed(run.ProgramStepResult)) {
        status(ended + QStringLiteral("（ＦＳＬＡＨプログラムメモリー）通信エラー。"));
        return false;
    }
    if (failed(run.EepromStepResult)) {
        status(ended + QStringLiteral("（ＥＥＰＲＯＭデータメモリー）通信エラー。"));
        return false;
    }
    if (failed(run.ConfigStepResult)) {
        status(ended + QStringLiteral("（コンフィギュレーションワード）通信エラー。"));
        return false;
    }
    if (run.ProgramStepResult + run.EepromStepResult + run.ConfigStepResult ==
        QLatin1String("YBYBYB")) {
        status(ended + QStringLiteral("。　デバイスは消去されています。"));
        return true;
    }
    status(ended + QStringLiteral("。　デバイスにコードが書き込まれています。"));
    return overwriteAgreed(ctx_, writtenLineFor(run.CodeProtectState), kStep);
}

// The bulk erase. A run of program memory alone keeps the data EEPROM, unless the EEPROM is
// protected: then it is erased too, and the person is told.
bool Pic12F683::eraseForProgramming() {
    RunState& run = ctx_.s.run;
    const QString erasing = kStep + QStringLiteral("チップイレース(コードプロテクト解除)");
    status(erasing + QStringLiteral("中.........."));
    ctx_.ui.pumpEvents();
    bool eepromKept = false;
    if (run.ProgramMemoryOnlyMode) {
        if (!chipConfigWord_) {
            QString config, cpFlag;
            BlankCheckConfigWords(config, cpFlag);
            if (boardLost(ctx_)) return false;
            if (!chipConfigWord_) {
                status(kStep + QStringLiteral("ブランクチェック終了（コンフィギュレーションワード）"
                                              "通信エラー。"));
                return false;
            }
            status(erasing + QStringLiteral("中.........."));
        }
        // Only a bulk erase releases data protection, and it takes the data with it.
        eepromKept = (*chipConfigWord_ & kPic12F683.dataProtectBit) != 0;
    }
    EraseProgramMemory(run.ProgramStepResult);
    if (eepromKept)
        run.EepromStepResult = result::OK;
    else
        EraseEepromMemory(run.EepromStepResult);
    if (boardLost(ctx_)) return false;
    if (run.ProgramStepResult + run.EepromStepResult != QLatin1String("OKOK")) {
        status(erasing + QStringLiteral("　失敗。"));
        return false;
    }
    if (run.ProgramMemoryOnlyMode && !eepromKept)
        status(erasing + QStringLiteral("　成功。　コードプロテクトのため、"
                                        "ＥＥＰＲＯＭデータメモリーも消去しました。"));
    else
        status(erasing + QStringLiteral("　成功。"));
    return true;
}

bool Pic12F683::writeAndVerify() {
    RunState& run = ctx_.s.run;
    BoardChannel& ch = channel();
    auto pause = [&] {
        ctx_.ui.pumpEvents();
        ch.pauseMs(50);
    };
    // A step that failed ends the run with its status (unless the board went away).
    auto stop = [&](const QString& text) {
        if (!boardLost(ctx_)) status(text);
        return false;
    };
    const QString flash = kStep + QStringLiteral("ＦＬＡＳＨプログラムメモリーの");
    const QString eeprom = kStep + QStringLiteral("ＥＥＰＲＯＭデータメモリーの");
    status(flash + QStringLiteral("プログラミング中.........."));
    pause();
    WriteProgramMemory(run.ProgramStepResult);
    if (run.ProgramStepResult != result::OK)
        return stop(flash + QStringLiteral("プログラミングに失敗しました。"));
    if (!run.ProgramMemoryOnlyMode) {
        status(eeprom + QStringLiteral("プログラミング中.........."));
        pause();
        WriteEepromMemory(run.EepromStepResult);
        if (run.EepromStepResult != result::OK)
            return stop(eeprom + QStringLiteral("プログラミングに失敗しました。"));
    }
    status(flash + QStringLiteral("ベリファイ中.........."));
    pause();
    VerifyProgramMemory(run.ProgramVerifyResult);
    if (boardLost(ctx_)) return false;
    if (run.ProgramVerifyResult != result::OK)
        status(flash + QStringLiteral("ベリファイに失敗しました。"));
    if (!run.ProgramMemoryOnlyMode) {
        status(eeprom + QStringLiteral("ベリファイ中.........."));
        pause();
        VerifyEepromMemory(run.EepromVerifyResult);
        if (boardLost(ctx_)) return false;
        if (run.EepromVerifyResult != result::OK)
            status(eeprom + QStringLiteral("ベリファイに失敗しました。"));
    }
    status(kStep + QStringLiteral("コンフィグレーションワードの固定データ収集中.........."));
    pause();
    CollectConfigFixedData(run.ConfigStepResult);
    if (run.ConfigStepResult != result::OK)
        return stop(kStep +
                    QStringLiteral("コンフィグレーションワードの修正データ収集に失敗しました。"));
    const QString config = kStep + QStringLiteral("コンフィギュレーションワードの");
    status(config + QStringLiteral("プログラミング中.........."));
    pause();
    WriteConfigWords(run.ConfigStepResult);
    if (run.ConfigStepResult != result::OK)
        return stop(kStep +
                    QStringLiteral("コンフィグレーションワードのプログラミングに失敗しました。"));
    status(config + QStringLiteral("ベリファイ中.........."));
    pause();
    VerifyWrittenConfigWordsWith(ch, kPic12F683ConfigArea, run.CodeProtectState,
                                 run.ConfigVerifyResult);
    if (boardLost(ctx_)) return false;
    if (run.ConfigVerifyResult != result::OK)
        status(config + QStringLiteral("ベリファイに失敗しました。"));
    return true;
}

// Only all three areas verified pass: the part always has its EEPROM.
void Pic12F683::judge(ProgramRunLine& line) {
    const RunState& run = ctx_.s.run;
    line.judge(run.ProgramVerifyResult + run.EepromVerifyResult + run.ConfigVerifyResult ==
                   QLatin1String("OKOKOK"),
               verifyReport(run));
}

// A run of program memory alone has no verdict; its last word is the first verify that failed,
// so a failure is not left behind the steps that followed it.
void Pic12F683::tellProgramMemoryOnlyEnd() {
    const RunState& run = ctx_.s.run;
    if (run.ProgramVerifyResult != result::OK)
        status(kStep + QStringLiteral("ＦＬＡＳＨプログラムメモリーのベリファイに失敗しました。"));
    else if (run.ConfigVerifyResult != result::OK)
        status(kStep + QStringLiteral("コンフィギュレーションワードのベリファイに失敗しました。"));
    else
        status(QStringLiteral(
            "Ｆｌａｓｈプログラムメモリ＆コンフィグレーションワード プログラム終了"));
}

} // namespace tavrin::pic12
