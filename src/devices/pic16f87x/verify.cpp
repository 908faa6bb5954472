// Verify: each area read back and compared with the PC buffer. Program memory and EEPROM use the
// read-back comparison every 14-bit part shares, with this family's read letters; the ID and
// configuration words are compared here.
#include "pic16f87x_module.h"

#include "devices/common/module_context.h"
#include "devices/common/operation_epilogue.h"
#include "devices/common/result_log.h"
#include "devices/common/verify_exchange.h"

#include "core/operator_ui.h"
#include "core/session.h"
#include "core/status.h"
#include "core/utilities.h"
#include "link/board_channel.h"
#include "steps/memory_verify.h"
#include "steps/read_commands.h"

namespace tavrin {

namespace {

const QString kConfigEndMissing = QStringLiteral(
    "コンフィギュレーションワードのベリファイに失敗しました。  終了コードを受信できませんでした。");
const QString kProtected = QStringLiteral("このデバイスはコードプロテクトされています。");

// The read-back letters with the family letter in place.
struct FamilyReads {
    char program[4];
    char eeprom[4];
    char config[4];
    ReadCommands row() const { return {"FLASH8", CoreGroup::Bit14, program, eeprom, config}; }
};

FamilyReads readsOf(const Pic16F87xVariant& v) {
    const char f = v.familyLetter;
    return {{'r', f, 'p', 0}, {'r', f, 'd', 0}, {'r', f, 'c', 0}};
}

} // namespace

void Pic16F87xModule::VerifyProgramMemory(QString& result) {
    ShowStatusMessage(ui(), QStringLiteral("ベリファイ中..........プログラムメモリー"));
    channel().pumpEvents();
    const FamilyReads reads = readsOf(v_);
    VerifyProgramMemoryWith(channel(), reads.row(), result);
}

void Pic16F87xModule::VerifyEepromMemory(QString& result) {
    ShowStatusMessage(ui(), QStringLiteral("ベリファイ中..........データメモリー"));
    const FamilyReads reads = readsOf(v_);
    VerifyEepromMemoryWith(channel(), reads.row(), result);
}

void Pic16F87xModule::VerifyConfigWords(QString& result, QString& cpState) {
    BoardChannel& ch = channel();
    Session& ss = s();
    RunState& run = ss.run;
    ShowStatusMessage(ui(), QStringLiteral("ベリファイ中..........コンフィギュレーションワード"));
    startCommand();
    ch.sendLetter('r');
    ch.sendLetter(v_.familyLetter);
    ch.sendLetter('c');
    ch.sendCount16(8);
    // Until the reply is there whole, nothing was compared: the exchange failed.
    result = result::ER;
    const WaitResult wait = ch.waitForBytes(17, WaitLimit::perBlock(), AckRule::Every16);
    if (wait == WaitResult::PortGone) return;
    const auto& r = ch.takeReply();
    if (!endCodeAt(r, 16)) {
        ShowStatusMessage(ui(), kConfigEndMissing);
        return;
    }
    result = result::NG;
    const std::int32_t config = r[14] * 256 + r[15];
    const std::int32_t cpMask = ss.device.CodeProtectMask;
    cpState = QStringLiteral("--");
    if ((config & cpMask) != cpMask) {
        cpState = result::CP;
        ShowStatusMessage(ui(), kProtected);
    }
    run.ConfigVerifyText = hex4(config);
    QString ids;
    for (int i = 0; i < 8; i += 2)
        ids += NibbleToHexChar(r[i + 1] & 0x0F);
    run.IdVerifyText = ids;

    // The ID words count by their low four bits (what the ID entry sets), the configuration word
    // in full; 0x2004-0x2006 are the chip's own.
    const auto& image = ss.buffer.ConfigIdImage;
    bool same = config == image[14] * 256 + image[15];
    for (int i = 0; i < 8; i += 2)
        same = same && (r[i + 1] & 0x0F) == (image[i + 1] & 0x0F);
    if (same) {
        result = result::OK;
        return;
    }
    ShowStatusMessage(ui(),
                      QStringLiteral("コンフィギュレーションワードのベリファイエラー\r\n"
                                     "デバイスにプログラミングされているデータ。ＣＯＮＦＩＧ：") +
                          run.ConfigVerifyText + QStringLiteral("ＩＤ：") + run.IdVerifyText);
}

void Pic16F87xModule::VerifyDevice() {
    Session& ss = s();
    RunState& run = ss.run;
    {
        beginOperation(ctx_);
        OperationEpilogue epilogue(ctx_, OperationKind::Verify);
        ShowStatusMessage(ui(),
                          QStringLiteral("ベリファイ中..........コンフィギュレーションワード"));
        channel().pumpEvents();
        ui().refreshViews(ViewEeprom | ViewProgram);
        run.ProgramVerifyResult = run.EepromVerifyResult = run.ConfigVerifyResult = result::OK;
        if (v_.check == SocketCheck::DeviceKind) {
            CheckDeviceId(run.ConfigStepResult);
            if (run.ConfigStepResult == result::NG) return;
        }
        VerifyConfigWords(run.ConfigVerifyResult, run.CodeProtectState);
        if (run.CodeProtectState == result::CP) {
            ShowStatusMessage(ui(), QStringLiteral("red") + kProtected);
            ui().messageBox(MessageIcon::Critical, MessageButtons::Ok, QStringLiteral("ベリファイ"),
                            kProtected + QStringLiteral("\r") +
                                QStringLiteral("ベリファイををスキップしました。             "));
            return;
        }
        if (!verifyExchangeFailed(run)) {
            ShowStatusMessage(ui(), QStringLiteral("ベリファイ中..........プログラムメモリー"));
            channel().pumpEvents();
            VerifyProgramMemory(run.ProgramVerifyResult);
        }
        if (!verifyExchangeFailed(run)) {
            ShowStatusMessage(ui(),
                              QStringLiteral("ベリファイ中..........ＥＥＰＲＯＭデータメモリ"));
            channel().pumpEvents();
            VerifyEepromMemory(run.EepromVerifyResult);
        }
        reportVerify();
        BoardChannel& ch = channel();
        ch.pumpEvents();
        ch.pauseMs(200);
        ch.pumpEvents();
        ch.pauseMs(200);
        ch.pumpEvents();
        writeLogLine(ui(), ctx_.dataDir, operationEndLine(OperationEnd::Verify, ctx_.now()));
    }
    ui().focusControl(Control::frmMain);
}

void Pic16F87xModule::reportVerify() {
    RunState& run = s().run;
    run.VerifySummary = run.ProgramVerifyResult + run.EepromVerifyResult + run.ConfigVerifyResult;
    if (verifyExchangeFailed(run)) {
        reportVerifyExchangeFailure(ui(), channel());
        return;
    }
    if (run.VerifySummary == QLatin1String("OK--OK") ||
        run.VerifySummary == QLatin1String("OKOKOK")) {
        ShowStatusMessage(ui(), QStringLiteral("ベリファイは正常終了しました。"));
        return;
    }
    ShowStatusMessage(ui(), QStringLiteral("redベリファイエラーを検出しました。"));
    const QString gap = QStringLiteral("　　　　　");
    run.VerifyReportProgram = QStringLiteral("プログラムメモリ\t：　") + run.ProgramVerifyResult +
                              gap + QStringLiteral("\r");
    run.VerifyReportEeprom = run.EepromVerifyResult == result::Skipped
                                 ? QString()
                                 : QStringLiteral("ＥＥＰＲＯＭデータメモリ\t：　") +
                                       run.EepromVerifyResult + gap + QStringLiteral("\r");
    run.VerifyReportConfig = QStringLiteral("Ｃｏｎｆｉｇワード \t：　") + run.ConfigVerifyResult +
                             QStringLiteral("　（Ｃｏｎｆｉｇ：") + run.ConfigVerifyText +
                             QStringLiteral("，ＩＤ：") + run.IdVerifyText +
                             QStringLiteral("）　　");
    ui().messageBox(MessageIcon::Critical, MessageButtons::Ok, QStringLiteral("ベリファイエラー"),
                    QStringLiteral("\r\n") + run.VerifyReportProgram + run.VerifyReportEeprom +
                        run.VerifyReportConfig);
}

} // namespace tavrin
