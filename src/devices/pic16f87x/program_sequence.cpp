// The Program button's whole run: the chip checked, blank checked (with the question before a
// written chip is overwritten), erased, written and verified area by area, then judged, counted
// and logged.
#include "pic16f87x_module.h"

#include "devices/common/module_context.h"
#include "devices/common/operation_epilogue.h"
#include "devices/common/overwrite_question.h"
#include "devices/common/program_result.h"
#include "devices/common/program_stop.h"
#include "devices/common/result_log.h"

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
        if (endedByLostBoard(ctx_, settings) || check != result::OK) return;
    } else {
        CheckDeviceId(check);
        if (endedByLostBoard(ctx_, settings) || check == result::NG) return;
        ShowStatusMessage(ui(), kProgramming);
        ch.pumpEvents();
    }

    if (!settings.skipBlankCheck) {
        QString p = result::Skipped, e = result::Skipped, c = result::Skipped;
        ShowStatusMessage(ui(), QStringLiteral("ブランクチェック中.........."));
        BlankCheckProgramMemory(p);
        if (endedByLostBoard(ctx_, settings) || p == result::ER) return;
        BlankCheckEepromMemory(e);
        if (endedByLostBoard(ctx_, settings) || e == result::ER) return;
        BlankCheckConfigWords(c, run.CodeProtectState);
        if (endedByLostBoard(ctx_, settings) || c == result::ER) return;
        const QString joined = p + e + c;
        if (joined == QLatin1String("YB--YB") || joined == QLatin1String("YBYBYB")) {
            ShowStatusMessage(
                ui(), QStringLiteral("ブランクチェック終了。　デバイスは消去されています。"));
        } else {
            ShowStatusMessage(ui(), QStringLiteral("デバイスにコードが書き込まれています。"));
            run.HintAnswer = hint::Cancel;
            if (ctx_.askOverwrite)
                run.HintAnswer =
                    ctx_.askOverwrite(writtenLineFor(run.CodeProtectState), kOverwriteLine);
            ch.pumpEvents();
            if (!consentsToOverwrite(run.HintAnswer)) {
                ShowStatusMessage(ui(), QStringLiteral("上書き操作をキャンセルしました。"));
                return;
            }
        }
    }

    // The chip is erased on every run, blank or not.
    ch.pauseMs(StepPauseMs);
    ShowStatusMessage(ui(), QStringLiteral("チップイレース中.........."));
    ch.pumpEvents();
    QString erase;
    EraseChip(erase);
    if (endedByLostBoard(ctx_, settings)) return;
    if (erase != result::OK) {
        ShowStatusMessage(ui(), QStringLiteral("チップイレース失敗。"));
        return;
    }

    ++run.AttemptCount;
    // From here the chip is being written: a write that fails ends the run with its box and the
    // run's line.
    auto writeFailed = [&](const QString& title, const QString& text) {
        if (endedByLostBoard(ctx_, settings)) return;
        logProgramStop(ctx_, settings, text);
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
    if (endedByLostBoard(ctx_, settings)) return;
    if (!memoryOnly) {
        ShowStatusMessage(ui(), QStringLiteral("ＥＥＰＲＯＭデータメモリのベリファイ中.........."));
        ch.pumpEvents();
        VerifyEepromMemory(run.EepromVerifyResult);
        if (endedByLostBoard(ctx_, settings)) return;
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
        if (endedByLostBoard(ctx_, settings)) return;
    }
    programVerdict();
}

void Pic16F87xModule::programVerdict() {
    Session& ss = s();
    RunState& run = ss.run;
    const std::int64_t elapsedSeconds = (ctx_.clock.nowUs() - run.OperationStartTimeUs) / 1000000;
    const QDateTime end = ctx_.now();
    if (run.ProgramMemoryOnlyMode) {
        run.EepromVerifyResult = result::Skipped;
        if (!run.IncludeConfigInPartial) run.ConfigVerifyResult = result::Skipped;
    }
    const bool passed =
        programRunPassed(run.ProgramVerifyResult, run.EepromVerifyResult, run.ConfigVerifyResult);
    if (passed) {
        ++run.PassCount;
        run.LastResultText = passText(elapsedSeconds, endTimeOfDay(end), run);
        ShowStatusMessage(ui(), run.LastResultText);
    } else {
        ++run.FailCount;
        run.LastResultText = failText(endTimeOfDay(end), run);
        ShowStatusMessage(ui(), QStringLiteral("red") + run.LastResultText);
    }
    const OperationSettings settings = ctx_.currentSettings();
    writeLogLine(ui(), ctx_.dataDir,
                 programLogLine(ss, run.LastResultText, settings.idText.value_or(ss.buffer.IdText),
                                ctx_.calibrationLabel, end));
    if (!passed)
        ui().messageBox(MessageIcon::Information, MessageButtons::Ok, QStringLiteral("ベリファイ"),
                        verifyFailureReport(run));
}

} // namespace tavrin
