// The Verify operation and its program-memory and EEPROM compares. A chip whose configuration
// shows code protection is not compared at all: it would only read back zeros.
#include "pic18_module.h"

#include "core/clock.h"
#include "core/operator_ui.h"
#include "core/session.h"
#include "devices/common/module_context.h"
#include "devices/common/operation_epilogue.h"
#include "devices/common/program_run_line.h"
#include "devices/common/result_log.h"
#include "devices/common/verify_exchange.h"
#include "link/board_channel.h"
#include "link/reply_transfer.h"
#include "steps/mismatch_line.h"

namespace tavrin {

namespace {
const QString kVerifyingConfig =
    QStringLiteral("ベリファイ..........コンフィギュレーションワードのベリファイ中..........");
const QString kVerifyingProgram =
    QStringLiteral("ベリファイ..........ＦＬＡＳＨプログラムメモリーのベリファイ中..........");
const QString kVerifyingEeprom =
    QStringLiteral("ベリファイ..........ＥＥＰＲＯＭデータメモリーのベリファイ中..........");
const QString kProgramVerified = QStringLiteral("プログラムメモリ ベリファイ完了。");
const QString kProgramVerifyError = QStringLiteral("プログラムメモリ ベリファイエラー。");
const QString kMoreErrors = QStringLiteral("これ以降もエラーがある可能性があります。\r\n\r\n");
const QString kEepromVerified = QStringLiteral("ＥＥＰＲＯＭデータメモリの ベリファイ成功。");
const QString kEepromVerifyError = QStringLiteral("ＥＥＰＲＯＭデータメモリの ベリファイエラー。");
const QString kAllMatch = QStringLiteral("ベリファイは正常終了しました。");
const QString kMismatch = QStringLiteral("redベリファイエラーを検出しました。");
const QString kVerifyErrorTitle = QStringLiteral("ベリファイエラー");
const QString kVerifyTitle = QStringLiteral("ベリファイ");
const QString kSkipped = QStringLiteral("ベリファイををスキップしました。             ");
const QString kFiller8 = QStringLiteral("　　　　　　　　");
constexpr int MismatchLinesShown = 101;
} // namespace

void Pic18Module::VerifyProgramMemory(QString& result) {
    const bool whole = v_.transfer == ProgramTransfer::WholeMemory;
    if (whole) {
        status(kVerifyingProgram);
        ui_.pumpEvents();
    }
    result.clear();
    std::vector<std::uint8_t> read;
    if (!receiveProgram(read, result, true)) {
        showProgress18(ui_, false, 0, 0, 0);
        // A board that went away has had its last word (status line and box).
        if (whole && !boardLost(ctx_)) status(kProgramVerifyError);
        // The read-back failed: nothing was compared.
        result = result::ER;
        return;
    }
    showProgress18(ui_, false, 0, 0, 0);
    result = result::OK;
    const auto& image = s_.buffer.ProgramImage;
    int errors = 0;
    // Every word is compared, the last one included.
    for (std::size_t i = 0; i + 1 < read.size(); i += 2) {
        if (image[i] != read[i] || image[i + 1] != read[i + 1]) {
            // The larger part shows instruction words, the panel parts the bytes in address order.
            const std::int32_t x =
                whole ? image[i] * 256 + image[i + 1] : image[i] + image[i + 1] * 256;
            const std::int32_t r =
                whole ? read[i] * 256 + read[i + 1] : read[i] + read[i + 1] * 256;
            ui_.appendProgramViewLine(programMismatchLine(std::int64_t(i / 2), x, r));
            result = result::NG;
            if (++errors >= MismatchLinesShown) {
                ui_.appendProgramViewLine(kMoreErrors);
                if (!whole) status(kProgramVerifyError);
                break;
            }
        }
        s_.run.LastVerifyIndex = std::int32_t(i);
    }
    if (whole) {
        if (result == result::OK) {
            status(kProgramVerified);
            ui_.refreshViews(ViewProgram);
        } else {
            status(kProgramVerifyError);
        }
    }
}

void Pic18Module::VerifyEepromMemory(QString& result) {
    const std::int32_t count = s_.device.EepromByteCount;
    ch_.sendPowerLetter();
    result.clear();
    const auto* reply = receivePic18Block(ch_, {"Xrsd", 1, count, AckRule::None, 9, 0, true},
                                          eepromVerifyFailures(), result);
    if (!reply) {
        result = result::ER;
        return;
    }
    result = result::OK;
    for (std::int32_t i = 0; i < count; ++i) {
        const std::uint8_t expected = s_.buffer.EepromImage[std::size_t(i)];
        const std::uint8_t got = (*reply)[std::size_t(i)];
        if (expected != got) {
            ui_.appendEepromViewLine(eepromMismatchLine(i, expected, got));
            result = result::NG;
        }
    }
    status(result == result::OK ? kEepromVerified : kEepromVerifyError);
}

void Pic18Module::VerifyDevice() {
    RunState& run = s_.run;
    beginOperation(ctx_);
    ui_.refreshViews(ViewProgram | ViewEeprom);
    run.ConfigStepResult.clear();
    CheckDeviceId(run.ConfigStepResult);
    if (run.ConfigStepResult != result::NG && sizesFit()) {
        run.ProgramVerifyResult.clear();
        run.EepromVerifyResult.clear();
        run.ConfigVerifyResult.clear();
        status(kVerifyingConfig);
        pause(100);
        VerifyConfigWords(run.ConfigVerifyResult, run.CodeProtectState);
        if (run.CodeProtectState != QLatin1String("--")) {
            QString sentence = QStringLiteral(
                "プログラム＆ＥＥＰＲＯＭデータ メモリがコードプロテクトされています。");
            if (run.CodeProtectState == QLatin1String("P-")) {
                status(QStringLiteral(
                    "redベリファイ..........プログラムメモリーがコードプロテクトされています。"));
                sentence = QStringLiteral("プログラムメモリがコードプロテクトされています。");
            } else if (run.CodeProtectState == QLatin1String("-D")) {
                status(QStringLiteral("redベリファイ..........ＥＥＰＲＯＭデータメモリがコードプ"
                                      "ロテクトされています。"));
                sentence =
                    QStringLiteral("ＥＥＰＲＯＭデータメモリがコードプロテクトされています。");
            } else if (run.CodeProtectState == QLatin1String("PD")) {
                status(QStringLiteral("redベリファイ..........プログラム＆ＥＥＰＲＯＭデータ "
                                      "メモリがコードプロテクトされています。"));
            }
            ui_.messageBox(MessageIcon::Critical, MessageButtons::Ok, kVerifyTitle,
                           sentence + QLatin1Char('\r') + kSkipped);
        } else {
            if (!verifyExchangeFailed(run)) {
                status(kVerifyingProgram);
                pause(100);
                VerifyProgramMemory(run.ProgramVerifyResult);
            }
            if (!verifyExchangeFailed(run)) {
                status(kVerifyingEeprom);
                pause(100);
                VerifyEepromMemory(run.EepromVerifyResult);
            }
            run.VerifySummary =
                run.ProgramVerifyResult + run.EepromVerifyResult + run.ConfigVerifyResult;
            if (verifyExchangeFailed(run)) {
                reportVerifyExchangeFailure(ui_, ch_);
            } else if (run.VerifySummary == QLatin1String("OKOKOK")) {
                status(kAllMatch);
            } else {
                status(kMismatch);
                const QString tab = QStringLiteral("\t");
                const QString colon = QStringLiteral("：　");
                run.VerifyReportProgram = QStringLiteral("ＦＬＡＳＨプログラムメモリー") + tab +
                                          colon + run.ProgramVerifyResult + kFiller8 +
                                          QLatin1Char('\r');
                run.VerifyReportEeprom = QStringLiteral("ＥＥＰＲＯＭデータメモリー　") + tab +
                                         colon + run.EepromVerifyResult + kFiller8 +
                                         QLatin1Char('\r');
                run.VerifyReportConfig = QStringLiteral("コンフィグレーションワード　") + tab +
                                         colon + run.ConfigVerifyResult + kFiller8 +
                                         QLatin1Char('\r');
                run.VerifyReportValues = QStringLiteral("（Ｃｏｎｆｉｇ　： ") +
                                         run.Pic18ConfigVerifyResult +
                                         QStringLiteral("　，　ＩＤ　： ") +
                                         run.Pic18IdVerifyResult + QStringLiteral("）　　");
                ui_.messageBox(MessageIcon::Critical, MessageButtons::Ok, kVerifyErrorTitle,
                               QStringLiteral("\r\n") + run.VerifyReportProgram +
                                   run.VerifyReportEeprom + run.VerifyReportConfig +
                                   run.VerifyReportValues);
            }
            pause(200);
            ui_.pumpEvents();
            writeLogLine(ui_, ctx_.dataDir, operationEndLine(OperationEnd::Verify, ctx_.now()));
        }
    }
    finishOperation(ctx_, OperationKind::Verify, settings_);
    ui_.focusControl(Control::frmMain);
}

} // namespace tavrin
