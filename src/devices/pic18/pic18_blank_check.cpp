// The Blank operation and the three area checks the programming sequence also runs: program
// memory scanned by the board itself, data EEPROM and the ID/configuration area read and tested
// here. No device-ID check: the blank check runs whatever part sits in the socket.
#include "pic18_module.h"

#include "core/clock.h"
#include "core/operator_ui.h"
#include "core/session.h"
#include "devices/common/module_context.h"
#include "devices/common/operation_epilogue.h"
#include "devices/common/result_log.h"
#include "link/board_channel.h"
#include "link/reply_transfer.h"

namespace tavrin {

namespace {
const QString kChecking = QStringLiteral("ブランクチェック中..........");
const QString kCheckingProgram =
    QStringLiteral("ブランクチェック中..........プログラムメモリー.....");
const QString kCheckingProgramLong =
    QStringLiteral("ブランクチェック中..........プログラムメモリー.....３０秒ほどお待ちください。");
const QString kElapsed = QStringLiteral("秒経過");
const QString kProgramNoAnswer =
    QStringLiteral("プログラムメモリブランクチェック失敗。　　読み出しデータ不足。");
const QString kProgramEndMissing =
    QStringLiteral("プログラムメモリブランクチェック失敗。　　終了コードを受信できませんでした。");
const QString kCheckingEeprom =
    QStringLiteral("ブランクチェック中..........ＥＥＰＲＯＭメモリ.....");
const QString kEepromShort =
    QStringLiteral("ＥＥＰＲＯＭデータメモリブランクチェック失敗。　　読み出しデータ不足。");
const QString kEepromEndMissing =
    QStringLiteral("ＥＥＰＲＯＭデータメモリ読み出し失敗。　　終了コードを受信できませんでした。");
const QString kCheckingConfig =
    QStringLiteral("ブランクチェック中..........コンフィグ・ＩＤワード.....");
const QString kConfigShort =
    QStringLiteral("コンフィグ・ＩＤワードブランクチェック失敗。　　読み出しデータ不足。");
const QString kConfigEndMissing = QStringLiteral(
    "コンフィグ・ＩＤワードブランクチェック失敗。　　終了コードを受信できませんでした。");
const QString kBlank = QStringLiteral("デバイスは消去されています。\r\n");
const QString kNotBlank = QStringLiteral("redデバイスは消去されてません。。\r\n");
const QString kNB = QStringLiteral("NB");
constexpr int EepromLimitMs = 10000;
constexpr int ElapsedTickMs = 1000;

QString verdict(const QString& result) {
    if (result == result::OK) return QStringLiteral("：　ブランク。") + QString(13, QChar(0x3000));
    return QStringLiteral("：　消去されていません。") + QString(8, QChar(0x3000));
}
} // namespace

void Pic18Module::BlankCheckProgramMemory(QString& result) {
    const QString& message = v_.BlankWaitShowsElapsed ? kCheckingProgramLong : kCheckingProgram;
    status(message);
    ch_.sendPowerLetter();
    ch_.discardInput();
    sendHeader("Xbs", 1, s_.device.ProgramWordCount);
    // The board answers only after scanning the whole memory: one bound for the whole scan,
    // waited for in one-second slices when the person is shown the seconds passing.
    const std::int64_t startUs = clock_.nowUs();
    WaitResult wait = WaitResult::TimedOut;
    for (;;) {
        const std::int64_t elapsedMs = (clock_.nowUs() - startUs) / 1000;
        if (elapsedMs > v_.BlankScanLimitMs) break;
        const int sliceMs = v_.BlankWaitShowsElapsed
                                ? ElapsedTickMs - int(elapsedMs % ElapsedTickMs)
                                : int(v_.BlankScanLimitMs - elapsedMs);
        wait = ch_.waitForBytes(3, WaitLimit::total(sliceMs));
        if (wait != WaitResult::TimedOut) break;
        if (v_.BlankWaitShowsElapsed) {
            const std::int64_t seconds = (clock_.nowUs() - startUs) / 1000000;
            status(message, QString::number(seconds) + kElapsed);
            ui_.pumpEvents();
        }
    }
    if (wait == WaitResult::PortGone) return failPortGone(ch_, result);
    if (wait != WaitResult::Complete) {
        status(kProgramNoAnswer);
        result = result::ER;
        return;
    }
    const auto& reply = ch_.takeReply();
    if (!endCodeAt(reply, 2)) {
        status(kProgramEndMissing);
        result = result::ER;
        return;
    }
    result = reply[0] == 0xFF && reply[1] == 0xFF ? result::OK : result::NG;
}

void Pic18Module::BlankCheckEepromMemory(QString& result) {
    status(kCheckingEeprom);
    const std::int32_t count = s_.device.EepromByteCount;
    ch_.sendPowerLetter();
    ch_.discardInput();
    sendHeader("Xrsd", 1, count);
    const WaitResult wait = ch_.waitForBytes(count + 1, WaitLimit::total(EepromLimitMs));
    if (wait == WaitResult::PortGone) return failPortGone(ch_, result);
    if (wait != WaitResult::Complete) {
        status(kEepromShort);
        result = result::ER;
        return;
    }
    const auto& reply = ch_.takeReply();
    s_.run.EepromAndLow = 255;
    if (!endCodeAt(reply, std::size_t(count))) {
        status(kEepromEndMissing);
        result = result::NG;
        return;
    }
    for (std::int32_t i = 0; i < count; ++i)
        s_.run.EepromAndLow &= reply[std::size_t(i)];
    result = s_.run.EepromAndLow == 255 ? result::OK : result::NG;
}

void Pic18Module::BlankCheckConfigWords(QString& result, QString& protectFlags) {
    status(kCheckingConfig);
    const DeviceRecord& d = s_.device;
    protectFlags = QStringLiteral("--");
    ch_.sendPowerLetter();
    // A reply cut short is a communication failure, not a verdict on the chip.
    QString read;
    const auto* reply =
        receivePic18Block(ch_, {"Xrsc", 0x200001, 8, AckRule::Every8FromZero, 9, 0, true},
                          {kConfigShort, kConfigEndMissing}, read);
    if (!reply) {
        result = result::ER;
        return;
    }
    s_.run.ConfigAndLow = 255;
    for (std::size_t i = 0; i < 8; ++i)
        s_.run.ConfigAndLow &= (*reply)[i];
    result = s_.run.ConfigAndLow == 255 ? result::OK : result::NG;
    clock_.sleepMs(20);
    // The configuration bytes are read by the same sequence as the IDs, power letter first.
    ch_.sendPowerLetter();
    reply = receivePic18Block(ch_, {"Xrsc", 0x300001, 256, AckRule::Every8FromZero, 9, 0, true},
                              {kConfigShort, kConfigEndMissing}, read);
    if (!reply) {
        result = result::ER;
        return;
    }
    Pic18ConfigWords words{};
    for (int k = 1; k <= limits::ConfigWords; ++k)
        words[std::size_t(k)] =
            (*reply)[std::size_t(2 * k - 2)] + 256 * (*reply)[std::size_t(2 * k - 1)];
    if (!pic18ConfigWordsErased(kPic18BlankCheckTest, d, words)) result = kNB;
    protectFlags = protectionFrom(words[5]);
    const QString protection = pic18ProtectionText(protectFlags);
    if (!protection.isEmpty()) status(protection);
}

void Pic18Module::BlankCheckDevice() {
    RunState& run = s_.run;
    beginOperation(ctx_);
    status(kChecking);
    run.ProgramStepResult = run.EepromStepResult = run.ConfigStepResult = result::Skipped;
    run.CodeProtectState = result::Skipped;
    ui_.refreshViews(ViewProgram);
    if (sizesFit()) {
        BlankCheckProgramMemory(run.ProgramStepResult);
        BlankCheckEepromMemory(run.EepromStepResult);
        BlankCheckConfigWords(run.ConfigStepResult, run.CodeProtectState);
    }
    run.ChipEraseResult = run.ProgramStepResult + run.EepromStepResult + run.ConfigStepResult;
    if (run.ChipEraseResult == QLatin1String("OKOKOK")) {
        status(kBlank);
    } else {
        status(kNotBlank);
        const QString crlf = QStringLiteral("\r\n");
        const QString text =
            QStringLiteral("プログラムメモリ\t") + verdict(run.ProgramStepResult) + crlf +
            QStringLiteral("ＥＥＰＲＯＭデータメモリ\t") + verdict(run.EepromStepResult) + crlf +
            QStringLiteral("ＣＯＮＦＩＧ　，　ＩＤ\t") + verdict(run.ConfigStepResult) + crlf +
            pic18ProtectionText(run.CodeProtectState);
        ui_.messageBox(MessageIcon::Exclamation, MessageButtons::Ok,
                       QStringLiteral("ブランクチェック"), text);
    }
    writeLogLine(ui_, ctx_.dataDir, operationEndLine(OperationEnd::BlankCheck, ctx_.now()));
    finishOperation(ctx_, OperationKind::Blank, settings_);
    ui_.focusControl(Control::frmMain);
}

} // namespace tavrin
