// The Program button's whole run: the chip checked, blank checked (with the question before a
// written chip is overwritten), erased, written and verified area by area, then judged, counted
// and logged. Every way out that reached the board leaves the run's line (program_run_line.h).
#include "pic16f87x_module.h"

#include "devices/common/module_context.h"
#include "devices/common/operation_epilogue.h"
#include "devices/common/overwrite_question.h"
#include "devices/common/program_result.h"
#include "devices/common/program_run_line.h"

#include "core/clock.h"
#include "core/operator_ui.h"
#include "core/session.h"
#include "core/status.h"
#include "link/board_channel.h"
#include "link/board_link.h"

namespace tavrin {

namespace {
constexpr int StepPauseMs = 200;
const QString kProgramming =
    QStringLiteral("Ｆｌａｓｈプログラムメモリ プログラミング中..........");
} // namespace

void Pic16F87xModule::ProgramDevice() {
    Session& ss = s();
    RunState& run = ss.run;
    BoardChannel& ch = channel();
    const OperationSettings settings = ctx_.currentSettings();
    run.OperationStartTimeUs = ctx_.clock.nowUs();
    beginOperation(ctx_);
    OperationEpilogue epilogue(ctx_, OperationKind::Program);
    ProgramRunLine line(ctx_, settings);
    ui().setControlText(Control::Lbl_Calib_ReadWrite_Data, QString());
    ui().refreshViews(ViewProgram | ViewEeprom);
    run.ProgramVerifyResult = run.EepromVerifyResult = run.ConfigVerifyResult = result::OK;

    QString check;
    ch.pumpEvents();
    if (v_.check == SocketCheck::Module) {
        // The module is checked with the programming status already showing, and anything but a
        // plain match stops the run.
        ShowStatusMessage(ui(), kProgramming);
        ch.pumpEvents();
        CheckDeviceId(check);
        if (boardLost(ctx_) || check != result::OK) return;
    } else {
        CheckDeviceId(check);
        if (boardLost(ctx_) || check == result::NG) return;
        ShowStatusMessage(ui(), kProgramming);
        ch.pumpEvents();
    }

    if (!settings.skipBlankCheck) {
        QString p = result::Skipped, e = result::Skipped, c = result::Skipped;
        ShowStatusMessage(ui(), QStringLiteral("ブランクチェック中.........."));
        BlankCheckProgramMemory(p);
        if (boardLost(ctx_) || p == result::ER) return;
        BlankCheckEepromMemory(e);
        if (boardLost(ctx_) || e == result::ER) return;
        BlankCheckConfigWords(c, run.CodeProtectState);
        if (boardLost(ctx_) || c == result::ER) return;
        const QString joined = p + e + c;
        if (joined == QLatin1String("YB--YB") || joined == QLatin1String("YBYBYB")) {
            ShowStatusMessage(
                ui(), QStringLiteral("ブランクチェック終了。　デバイスは消去されています。"));
        } else {
            ShowStatusMessage(ui(), QStringLiteral("デバイスにコードが書き込まれています。"));
            if (!overwriteAgreed(ctx_, writtenLineFor(run.CodeProtectState))) return;
        }
    }

    // The chip is erased on every run, blank or not.
    ch.pauseMs(StepPauseMs);
    ShowStatusMessage(ui(), QStringLiteral("チップイレース中.........."));
    ch.pumpEvents();
    QString erase;
    EraseChip(erase);
    if (boardLost(ctx_)) return;
    if (erase != result::OK) {
        ShowStatusMessage(ui(), QStringLiteral("チップイレース失敗。"));
        return;
    }

    ++run.AttemptCount;
    // From here the chip is being written: a write that fails ends the run with its box and the
    // run's line.
    auto writeFailed = [&](const QString& title, const QString& text) {
        if (boardLost(ctx_)) return;
        line.stop(text);
        line.close();
        ui().messageBox(MessageIcon::Critical, MessageButtons::Ok, title, text);
    };
    ShowStatusMessage(ui(),
                      QStringLiteral("Ｆｌａｓｈプログラムメモリのプログラミング中.........."));
    ch.pumpEvents();
    ch.pauseMs(StepPauseMs);
    QString written;
    WriteProgramMemory(written);
    if (written != result::OK) {
        ctx_.link.ClosePort();
        return writeFailed(QStringLiteral("プログラムメモリプログラミング"),
                           QStringLiteral("プログラムメモリのプログラミングに失敗しました。"));
    }
    const bool memoryOnly = run.ProgramMemoryOnlyMode;
    if (!memoryOnly) {
        ShowStatusMessage(ui(),
                          QStringLiteral("ＥＥＰＲＯＭデータメモリのプログラミング.........."));
        ch.pumpEvents();
        WriteEepromMemory(written);
        if (written == result::ER || written == result::NG)
            return writeFailed(
                QStringLiteral("ＥＥＰＲＯＭデータメモリプログラミング"),
                QStringLiteral("ＥＥＰＲＯＭデータメモリのプログラミングに失敗しました。"));
    }
    ShowStatusMessage(ui(), QStringLiteral("プログラムメモリのベリファイ中.........."));
    ch.pumpEvents();
    ch.pauseMs(StepPauseMs);
    VerifyProgramMemory(run.ProgramVerifyResult);
    if (boardLost(ctx_)) return;
    if (!memoryOnly) {
        ShowStatusMessage(ui(), QStringLiteral("ＥＥＰＲＯＭデータメモリのベリファイ中.........."));
        ch.pumpEvents();
        VerifyEepromMemory(run.EepromVerifyResult);
        if (boardLost(ctx_)) return;
    }
    if (!memoryOnly || run.IncludeConfigInPartial) {
        ShowStatusMessage(
            ui(), QStringLiteral("コンフィギュレーションワード プログラミング中.........."));
        ch.pumpEvents();
        ch.pauseMs(StepPauseMs);
        WriteConfigWords(written);
        if (written != result::OK)
            return writeFailed(
                QString(), QStringLiteral("コンフィグレーションのプログラミングに失敗しました。"));
        ShowStatusMessage(ui(),
                          QStringLiteral("コンフィギュレーションワードのベリファイ中.........."));
        VerifyConfigWords(run.ConfigVerifyResult, run.CodeProtectState);
        if (boardLost(ctx_)) return;
    }
    programVerdict(line);
}

void Pic16F87xModule::programVerdict(ProgramRunLine& line) {
    RunState& run = s().run;
    if (run.ProgramMemoryOnlyMode) {
        run.EepromVerifyResult = result::Skipped;
        if (!run.IncludeConfigInPartial) run.ConfigVerifyResult = result::Skipped;
    }
    line.judge(
        programRunPassed(run.ProgramVerifyResult, run.EepromVerifyResult, run.ConfigVerifyResult),
        verifyFailureReport(run));
}

} // namespace tavrin
