// The blank check: program memory is scanned on the board, which returns the AND of all words;
// the EEPROM and the configuration area are read and ANDed here.
#include "pic16f87x_module.h"

#include "devices/common/module_context.h"
#include "devices/common/operation_epilogue.h"
#include "devices/common/result_log.h"

#include "core/operator_ui.h"
#include "core/session.h"
#include "core/status.h"
#include "link/board_channel.h"
#include "steps/blank_judgement.h"
#include "steps/config_area_read.h"

namespace tavrin {

namespace {

const QString kBlank = QStringLiteral("YB");
const QString kNotBlank = QStringLiteral("NB");

const QString kProgramEndMissing =
    QStringLiteral("プログラムメモリブランクチェック失敗。　　終了コードを受信できませんでした。");
const QString kEepromShort =
    QStringLiteral("ＥＥＰＲＯＭデータメモリブランクチェック失敗。　　読み出しデータ不足。");
const QString kEepromEndMissing = QStringLiteral(
    "ＥＥＰＲＯＭデータメモリブランクチェック失敗。　　終了コードを受信できませんでした。");
const QString kConfigEndMissing = QStringLiteral(
    "コンフィギュレーションワードブランクチェック失敗。　　終了コードを受信できませんでした。");
const QString kProtected = QStringLiteral("このデバイスはコードプロテクトされています。");

const QString kAreaBlank = QStringLiteral("：　ブランク。　　　　　　　　　　　　　");
const QString kAreaWritten = QStringLiteral("：　消去されていません。　　　　　　　　");

QString areaLine(const char* area, const QString& areaResult) {
    return QString::fromUtf8(area) + QLatin1Char('\t') +
           (areaResult == kBlank ? kAreaBlank : kAreaWritten) + QStringLiteral("\r\n");
}

} // namespace

void Pic16F87xModule::BlankCheckProgramMemory(QString& result) {
    BoardChannel& ch = channel();
    ShowStatusMessage(ui(), QStringLiteral("ブランクチェック中..........プログラムメモリー"));
    startCommand();
    ch.sendLetter('b');
    ch.sendLetter(v_.familyLetter);
    ch.sendCount16(s().device.ProgramWordCount);
    result = result::ER;
    // A board that does not answer counts as one whose answer lacks the end code.
    if (ch.waitForBytes(3, WaitLimit::perBlock()) == WaitResult::PortGone) return;
    const auto& r = ch.takeReply();
    if (!endCodeAt(r, 2)) {
        ShowStatusMessage(ui(), kProgramEndMissing);
        return;
    }
    result = r[0] * 256 + r[1] == 0x3FFF ? kBlank : kNotBlank;
}

void Pic16F87xModule::BlankCheckEepromMemory(QString& result) {
    BoardChannel& ch = channel();
    RunState& run = s().run;
    const std::int32_t count = s().device.EepromByteCount;
    if (count == 0) {
        result = result::Skipped;
        return;
    }
    ShowStatusMessage(ui(), QStringLiteral("ブランクチェック中..........ＥＥＰＲＯＭメモリ"));
    startCommand();
    ch.sendLetter('r');
    ch.sendLetter(v_.familyLetter);
    ch.sendLetter('d');
    ch.sendCount16(count);
    run.EepromAndHigh = 0x3F;
    run.EepromAndLow = 0xFF;
    result = result::ER;
    switch (ch.waitForBytes(2 * qint64(count) + 1, WaitLimit::total(10000), AckRule::Every16)) {
    case WaitResult::PortGone:
        return;
    case WaitResult::TimedOut:
        ShowStatusMessage(ui(), kEepromShort);
        return;
    case WaitResult::Complete:
        break;
    }
    const auto& r = ch.takeReply();
    if (!endCodeAt(r, 2 * std::size_t(count))) {
        ShowStatusMessage(ui(), kEepromEndMissing);
        return;
    }
    for (std::int32_t i = 0; i < 2 * count; i += 2) {
        run.EepromAndHigh &= r[i];
        run.EepromAndLow &= r[i + 1];
    }
    // The filler byte of each location does not count.
    result = run.EepromAndLow == 0xFF ? kBlank : kNotBlank;
}

void Pic16F87xModule::BlankCheckConfigWords(QString& result, QString& cpFlag) {
    BoardChannel& ch = channel();
    RunState& run = s().run;
    ShowStatusMessage(ui(), QStringLiteral("ブランクチェック中..........コンフィグ・ＩＤワード"));
    startCommand();
    ch.sendLetter('r');
    ch.sendLetter(v_.familyLetter);
    ch.sendLetter('c');
    ch.sendCount16(8);
    // The one acknowledgement of the 16 bytes goes out before they arrive.
    ch.acknowledge();
    result = result::ER;
    if (ch.waitForBytes(17, WaitLimit::perBlock()) == WaitResult::PortGone) return;
    const auto& r = ch.takeReply();
    if (!endCodeAt(r, 16)) {
        ShowStatusMessage(ui(), kConfigEndMissing);
        return;
    }
    cpFlag = QStringLiteral("--");
    const IdConfigWords14 words = idConfigWords14Of(r);
    if (isCodeProtected(words.config1, s().device.CodeProtectMask)) {
        cpFlag = result::CP;
        ShowStatusMessage(ui(), kProtected);
    }
    // The ID words and the configuration word; 0x2004-0x2006 (the device ID) do not count.
    const std::int32_t and16 = idConfigAnd14(words, IdConfigRule14{});
    run.ConfigAndHigh = and16 >> 8;
    run.ConfigAndLow = and16 & 0xFF;
    result = idConfigAnd14Erased(and16, s().device.ConfigMask[1]) ? kBlank : kNotBlank;
}

void Pic16F87xModule::BlankCheckDevice(QString& programResult, QString& eepromResult,
                                       QString& configResult, QString& cpFlag) {
    {
        beginOperation(ctx_);
        OperationEpilogue epilogue(ctx_, OperationKind::Blank);
        ShowStatusMessage(ui(), QStringLiteral("ブランクチェック中.........."));
        programResult = eepromResult = configResult = result::Skipped;
        ui().refreshViews(ViewProgram);
        BlankCheckProgramMemory(programResult);
        BlankCheckEepromMemory(eepromResult);
        BlankCheckConfigWords(configResult, cpFlag);
        finishBlankCheck(programResult, eepromResult, configResult, cpFlag);
    }
    ui().focusControl(Control::frmMain);
}

void Pic16F87xModule::finishBlankCheck(const QString& p, const QString& e, const QString& c,
                                       const QString& cpFlag) {
    const QString joined = p + e + c;
    if (p == result::ER || e == result::ER || c == result::ER) {
        ShowStatusMessage(ui(), QStringLiteral("red通信エラーが発生しました。\r\n"));
    } else if (joined == QLatin1String("YB--YB") || joined == QLatin1String("YBYBYB")) {
        ShowStatusMessage(ui(), QStringLiteral("デバイスは消去されています。\r\n"));
    } else {
        ShowStatusMessage(ui(), QStringLiteral("redデバイスは消去されてません。。\r\n"));
        QString report = areaLine("プログラムメモリ", p) + areaLine("ＥＥＰＲＯＭデータメモリ", e) +
                         areaLine("ＣＯＮＦＩＧ　，　ＩＤ", c);
        if (cpFlag == result::CP) report += kProtected;
        ui().messageBox(MessageIcon::Exclamation, MessageButtons::Ok,
                        QStringLiteral("ブランクチェック"), report);
    }
    writeLogLine(ui(), ctx_.dataDir, operationEndLine(OperationEnd::BlankCheck, ctx_.now()));
}

} // namespace tavrin
