// Read and Verify from the main window, and the EEPROM-only programming of the extended window.
// Each checks the chip in the socket first, then works area by area.
#include "pic12f683.h"
#include "read_summary.h"

#include "core/config_grids.h"
#include "core/operation_controls.h"
#include "core/operator_ui.h"
#include "core/session.h"
#include "core/status.h"
#include "core/utilities.h"
#include "devices/common/operation_epilogue.h"
#include "devices/common/read_verdict.h"
#include "devices/common/result_log.h"
#include "devices/common/verify_exchange.h"
#include "link/board_channel.h"
#include "link/board_link.h"

namespace tavrin::pic12 {

namespace {

QString verifyReport(const RunState& run) {
    return QStringLiteral("\r\nプログラムメモリ\t：　") + run.ProgramVerifyResult +
           QStringLiteral("　　　　　\r") + QStringLiteral("ＥＥＰＲＯＭデータメモリ\t：　") +
           run.EepromVerifyResult + QStringLiteral("　　　　　\r") +
           QStringLiteral("Ｃｏｎｆｉｇワード \t：　") + run.ConfigVerifyResult +
           QStringLiteral("　（Ｃｏｎｆｉｇ：") + run.ConfigVerifyText +
           QStringLiteral("，ＩＤ：") + run.IdVerifyText + QStringLiteral("）　　");
}

} // namespace

void Pic12F683::ReadDevice() {
    Session& s = ctx_.s;
    RunState& run = s.run;
    OperatorUi& ui = ctx_.ui;
    beginOperation(ctx_);
    const OperationEpilogue end(ctx_, OperationKind::Read);
    ui.setControlText(Control::Lbl_ID_Rev, QString());
    ui.setControlText(Control::Lbl_ID_Dev, QString());
    run.CodeProtectState = result::Skipped;

    CheckDeviceId(run.ConfigStepResult);
    const bool checked = run.ConfigStepResult != result::NG;
    bool read = checked;
    if (read) {
        status(QStringLiteral("プログラムメモリ読み出し中.........."));
        ReadProgramMemory(run.ProgramStepResult);
        read = run.ProgramStepResult == result::OK;
    }
    if (read) {
        status(QStringLiteral("ＥＥＰＲＯＭデータメモリ読み出し中.........."));
        ReadEepromMemory(run.EepromStepResult);
        read = run.EepromStepResult == result::OK;
    }
    if (read) {
        status(QStringLiteral("コンフィギュレーションワード読み出し中.........."));
        ReadConfigWords(run.ConfigStepResult, run.CodeProtectState);
        read = run.ConfigStepResult == result::OK;
    }
    if (read)
        finishRead(ctx_,
                   (run.ProgramAndHigh & run.EepromAndHigh & run.ConfigAndHigh) * 256 +
                       (run.ProgramAndLow & run.EepromAndLow & run.ConfigAndLow),
                   0x3FFF, [&run] { return run.CodeProtectState == result::CP; });
    else if (checked)
        finishFailedRead(ctx_);
    s.device.ConfigFromDevice = false;
}

void Pic12F683::VerifyDevice() {
    Session& s = ctx_.s;
    RunState& run = s.run;
    OperatorUi& ui = ctx_.ui;
    beginOperation(ctx_);
    const OperationEpilogue end(ctx_, OperationKind::Verify);
    status(QStringLiteral("ベリファイ中..........コンフィギュレーションワード"));
    ui.pumpEvents();
    ui.refreshViews(ViewProgram | ViewEeprom);
    run.ProgramVerifyResult = result::OK;
    run.EepromVerifyResult = result::OK;
    run.ConfigVerifyResult = result::OK;
    run.CodeProtectState = result::Skipped;

    CheckDeviceId(run.ConfigStepResult);
    if (run.ConfigStepResult != result::NG) {
        status(QStringLiteral("ベリファイ中..........コンフィギュレーションワード"));
        VerifyConfigWords(run.ConfigVerifyResult, run.CodeProtectState);
        if (run.CodeProtectState == result::CP) {
            status(QStringLiteral("redこのデバイスはコードプロテクトされています。"));
            ui.messageBox(MessageIcon::Critical, MessageButtons::Ok, QStringLiteral("ベリファイ"),
                          QStringLiteral("このデバイスはコードプロテクトされています。\r"
                                         "ベリファイををスキップしました。             "));
        } else {
            if (!verifyExchangeFailed(run)) {
                status(QStringLiteral("ベリファイ中..........プログラムメモリー"));
                ui.pumpEvents();
                VerifyProgramMemory(run.ProgramVerifyResult);
            }
            if (!verifyExchangeFailed(run)) {
                status(QStringLiteral("ベリファイ中..........ＥＥＰＲＯＭデータメモリ"));
                ui.pumpEvents();
                VerifyEepromMemory(run.EepromVerifyResult);
            }
            run.VerifySummary =
                run.ProgramVerifyResult + run.EepromVerifyResult + run.ConfigVerifyResult;
            if (verifyExchangeFailed(run)) {
                reportVerifyExchangeFailure(ui, channel());
            } else if (run.VerifySummary == QLatin1String("OKOKOK")) {
                status(QStringLiteral("ベリファイは正常終了しました。"));
            } else {
                status(QStringLiteral("redベリファイエラーを検出しました。"));
                ui.messageBox(MessageIcon::Critical, MessageButtons::Ok,
                              QStringLiteral("ベリファイエラー"), verifyReport(run));
            }
            writeLogLine(ui, ctx_.dataDir, operationEndLine(OperationEnd::Verify, ctx_.now()));
        }
    }
}

void Pic12F683::ProgramEepromMemory() {
    RunState& run = ctx_.s.run;
    OperatorUi& ui = ctx_.ui;
    ui.setBusy(true);
    CheckDeviceId(run.ConfigStepResult);
    if (run.ConfigStepResult != result::NG) {
        EraseEepromMemory(run.EepromStepResult);
        if (run.EepromStepResult == result::OK) WriteEepromMemory(run.EepromStepResult);
        if (run.EepromStepResult == result::OK) {
            VerifyEepromMemory(run.EepromVerifyResult);
            if (run.EepromVerifyResult == result::OK)
                status(QStringLiteral("ＥＥＰＲＯＭデータメモリのプログラミングが終了しました。"));
            else
                status(QStringLiteral("redＥＥＰＲＯＭデータメモリのベリファイに失敗しました。"));
        }
    }
    ctx_.link.ClosePort();
    ui.setBusy(false);
}

} // namespace tavrin::pic12
