// The blank check: the board sums the flash program memory itself; the data EEPROM and the ID
// and configuration words are read whole and judged here.
#include "pic12_commands.h"
#include "pic12f683.h"

#include "core/operation_controls.h"
#include "core/operator_ui.h"
#include "core/session.h"
#include "core/status.h"
#include "devices/common/operation_epilogue.h"
#include "devices/common/result_log.h"
#include "link/board_channel.h"
#include "link/board_link.h"
#include "steps/blank_judgement.h"
#include "steps/config_area_read.h"

namespace tavrin::pic12 {

namespace {

const QString kBlank = QStringLiteral("YB");
const QString kWritten = QStringLiteral("NB");
constexpr int kReadLimitMs = 10000;

bool failed(const QString& r) {
    return r == result::ER || r == result::NG;
}

QString areaLine(const QString& name, const QString& r) {
    return name + QStringLiteral("\t：　") +
           (r == kBlank ? QStringLiteral("ブランク　　　　　　　　　　　　")
                        : QStringLiteral("コード書込済み　　　　　　　　　"));
}

} // namespace

void Pic12F683::BlankCheckProgramMemory(QString& result) {
    Session& s = ctx_.s;
    BoardChannel& ch = channel();
    result.clear();
    status(QStringLiteral("ブランクチェック中..........プログラムメモリー"));
    ch.pumpEvents();
    sendCommand(kPic12F683.programBlank);
    ch.sendCount16(s.device.ProgramWordCount);
    const WaitResult wait = ch.waitForBytes(3, WaitLimit::perBlock());
    const auto& r = ch.takeReply();
    if (wait != WaitResult::Complete || !endCodeAt(r, 2)) {
        result = result::ER;
        status(QStringLiteral("プログラムメモリブランクチェック失敗。　　"
                              "終了コードを受信できませんでした。"));
        return;
    }
    if (r[0] == 0x3F && r[1] == 0xFF) {
        result = kBlank;
        status(QStringLiteral("プログラムメモリは消去されています。"));
    } else {
        result = kWritten;
        status(QStringLiteral("プログラムメモリにコードが書き込まれています。"));
    }
}

void Pic12F683::BlankCheckEepromMemory(QString& result) {
    Session& s = ctx_.s;
    RunState& run = s.run;
    BoardChannel& ch = channel();
    result.clear();
    status(QStringLiteral("ブランクチェック中..........ＥＥＰＲＯＭデーターメモリ"));
    ch.pumpEvents();
    sendCommand(kPic12F683.eepromRead);
    const std::int32_t locations = s.device.EepromByteCount;
    ch.sendCount16(locations);
    run.EepromAndHigh = 0x3F;
    run.EepromAndLow = 0xFF;
    const WaitResult wait = ch.waitForBytes(2 * qint64(locations) + 1,
                                            WaitLimit::total(kReadLimitMs), AckRule::Every16);
    const auto& r = ch.takeReply();
    if (wait != WaitResult::Complete) {
        result = result::ER;
        status(QStringLiteral(
            "ＥＥＰＲＯＭデータメモリのブランクチェック中に通信エラーが発生しました。"));
        return;
    }
    if (!endCodeAt(r, 2 * std::size_t(locations))) {
        result = result::NG;
        status(
            QStringLiteral("ＥＥＰＲＯＭデータメモリのブランクチェックでエラーが発生しました。"));
        return;
    }
    for (std::int32_t i = 0; i < locations; ++i) {
        run.EepromAndHigh &= r[2 * i];
        run.EepromAndLow &= r[2 * i + 1];
    }
    // The filler byte of a location is not the chip's: only the data bytes decide.
    if (run.EepromAndLow == 0xFF) {
        result = kBlank;
        status(QStringLiteral("ＥＥＰＲＯＭデータメモリは消去されています。"));
    } else {
        result = kWritten;
        status(QStringLiteral("ＥＥＰＲＯＭデータメモリにコードが書き込まれています。"));
    }
}

void Pic12F683::BlankCheckConfigWords(QString& result, QString& cpFlag) {
    Session& s = ctx_.s;
    RunState& run = s.run;
    BoardChannel& ch = channel();
    result.clear();
    cpFlag = result::Skipped;
    status(QStringLiteral("ブランクチェック中..........コンフィグ・ＩＤワード"));
    ch.pumpEvents();
    sendConfigAreaLetters(ch, kPic12F683.configRead);
    if (readConfigArea16(ch) != AreaRead::Complete) {
        result = result::ER;
        status(QStringLiteral(
            "コンフィグ・ＩＤワードのブランクチェック中に通信エラーが発生しました。"));
        return;
    }
    const auto& r = s.link.ReceiveBuffer;
    if (!endCodeAt(r, 32)) {
        result = result::NG;
        status(QStringLiteral("コンフィグ・ＩＤワードのブランクチェックでエラーが発生しました。"));
        return;
    }
    // The calibration word sits at 0x2008, out of the judged words: one configuration word, no
    // band-gap bits.
    const IdConfigWords14 words = idConfigWords14Of(r);
    const std::int32_t summary = idConfigAnd14(words, IdConfigRule14{});
    run.ConfigAndHigh = summary >> 8;
    run.ConfigAndLow = summary & 0xFF;
    chipConfigWord_ = std::uint16_t(words.config1);
    if (isCodeProtected(words.config1, s.device.CodeProtectMask)) {
        cpFlag = result::CP;
        status(QStringLiteral("このデバイスはコードプロテクトされています。"));
        return;
    }
    if (idConfigAnd14Erased(summary, s.device.ConfigMask[1])) {
        result = kBlank;
        status(QStringLiteral("コンフィグ・ＩＤワードは消去されています。"));
    } else {
        result = kWritten;
        status(QStringLiteral("コンフィグ・ＩＤワードにコードが書き込まれています。"));
    }
}

void Pic12F683::BlankCheckDevice(QString& programResult, QString& eepromResult,
                                 QString& configResult, QString& cpFlag) {
    OperatorUi& ui = ctx_.ui;
    beginOperation(ctx_);
    const OperationEpilogue end(ctx_, OperationKind::Blank);
    BlankCheckProgramMemory(programResult);
    BlankCheckEepromMemory(eepromResult);
    BlankCheckConfigWords(configResult, cpFlag);

    if (failed(programResult) || failed(eepromResult) || failed(configResult)) {
        status(QStringLiteral("ブランクチェック中にエラーが発生しました。"));
    } else {
        if (cpFlag == result::CP) {
            status(QStringLiteral("このＰＩＣはコードプロテクトされています。"));
        } else if (programResult + eepromResult + configResult == QLatin1String("YBYBYB")) {
            status(QStringLiteral("このＰＩＣは消去されています。"));
        } else {
            status(QStringLiteral("このＰＩＣには、コードが書き込まれています。"));
            const QString text =
                areaLine(QStringLiteral("ＦＬＡＳＨプログラムメモリー"), programResult) +
                QStringLiteral("\r\n") +
                areaLine(QStringLiteral("ＥＥＰＲＯＭデーターメモリー"), eepromResult) +
                QStringLiteral("\r\n") +
                areaLine(QStringLiteral("コンフィグレーションワード　"), configResult) +
                QStringLiteral("\r\n") + QString(28, QChar(0x3000));
            ui.messageBox(MessageIcon::Exclamation, MessageButtons::Ok,
                          QStringLiteral("ブランクチェック"), text);
        }
        writeLogLine(ui, ctx_.dataDir, operationEndLine(OperationEnd::BlankCheck, ctx_.now()));
    }
}

} // namespace tavrin::pic12
