// The Verify operation for every part without a device module of its own: socket check, the ID
// and configuration words first (a protected part reads back nothing worth comparing), then
// program memory and EEPROM, with the differing locations listed in the memory views.
#include "devices/common/calibration_entry.h"
#include "devices/common/result_log.h"
#include "devices/common/verify_exchange.h"
#include "devices/common/verify_opening.h"
#include "generic_operations.h"
#include "operation_environment.h"

#include "core/operator_ui.h"
#include "core/session.h"
#include "core/status.h"
#include "link/board_link.h"
#include "steps/config_verify.h"
#include "steps/memory_verify.h"

namespace tavrin {

namespace {

QString verifyReport(const RunState& run) {
    QString text = QStringLiteral("\r\nプログラムメモリ\t：　") + run.ProgramVerifyResult +
                   QStringLiteral("　　　　　\r");
    if (run.EepromVerifyResult != result::Skipped)
        text += QStringLiteral("ＥＥＰＲＯＭデータメモリ\t：　") + run.EepromVerifyResult +
                QStringLiteral("　　　　　\r");
    text += QStringLiteral("Ｃｏｎｆｉｇワード \t：　") + run.ConfigVerifyResult +
            QStringLiteral("　（Ｃｏｎｆｉｇ：") + run.ConfigVerifyText +
            QStringLiteral("，ＩＤ：") + run.IdVerifyText + QStringLiteral("）　　");
    return text;
}

} // namespace

void runGenericVerify(OperationEnvironment& env) {
    Session& s = env.s;
    RunState& run = s.run;
    OperatorUi& ui = env.ui;
    BoardChannel& ch = env.link.channel();
    ShowStatusMessage(ui, QStringLiteral("ベリファイ中..........コンフィギュレーションワード"));
    ui.pumpEvents();
    if (!resetVerifyResultsAndCheckSocket(ui, ch, run)) return;

    run.CodeProtectState = result::Skipped;
    ShowStatusMessage(ui, QStringLiteral("ベリファイ中..........コンフィギュレーションワード"));
    VerifyConfigWords(ch, run.CodeProtectState, run.ConfigVerifyResult);
    if (run.CodeProtectState == result::CP) {
        ShowStatusMessage(ui, QStringLiteral("redこのデバイスはコードプロテクトされています。"));
        ui.messageBox(MessageIcon::Critical, MessageButtons::Ok, QStringLiteral("ベリファイ"),
                      QStringLiteral("このデバイスはコードプロテクトされています。\r"
                                     "ベリファイををスキップしました。             "));
        return;
    }
    if (!verifyExchangeFailed(run)) {
        ShowStatusMessage(ui, QStringLiteral("ベリファイ中..........プログラムメモリー"));
        ui.pumpEvents();
        // The buffer's calibration word is the file's: a program run writes the chip's own or
        // the typed word there, never that one.
        VerifyProgramMemoryExpecting(
            ch, calibrationAProgramRunWrites(s.device.ProgramType, env.currentSettings()),
            run.ProgramVerifyResult);
    }
    if (!verifyExchangeFailed(run)) {
        ShowStatusMessage(ui, QStringLiteral("ベリファイ中..........ＥＥＰＲＯＭデータメモリ"));
        ui.pumpEvents();
        VerifyEepromMemory(ch, run.EepromVerifyResult);
    }

    run.VerifySummary = run.ProgramVerifyResult + run.EepromVerifyResult + run.ConfigVerifyResult;
    if (verifyExchangeFailed(run)) {
        reportVerifyExchangeFailure(ui, ch);
    } else if (run.VerifySummary == QLatin1String("OK--OK") ||
               run.VerifySummary == QLatin1String("OKOKOK")) {
        ShowStatusMessage(ui, QStringLiteral("ベリファイは正常終了しました。"));
    } else {
        ShowStatusMessage(ui, QStringLiteral("redベリファイエラーを検出しました。"));
        ui.messageBox(MessageIcon::Critical, MessageButtons::Ok, QStringLiteral("ベリファイエラー"),
                      verifyReport(run));
    }
    writeLogLine(ui, env.dataDir, operationEndLine(OperationEnd::Verify, env.now()));
}

} // namespace tavrin
