// The device check before a program, read or verify run, and the bulk erases.
#include "pic12_commands.h"
#include "pic12f683.h"

#include "core/operator_ui.h"
#include "core/session.h"
#include "core/status.h"
#include "link/board_channel.h"
#include "link/board_link.h"
#include "steps/config_area_read.h"

namespace tavrin::pic12 {

namespace {

constexpr int kPic12F683Kind = 35; // DEVICE ID >> 5: 0x0460-0x047F
constexpr int kEraseLimitMs = 3000;

struct EraseTexts {
    QString running, done, failed, timedOut;
};

const EraseTexts kProgramErase{
    QStringLiteral("イレース..........ＦＬＡＳＨプログラムメモリー＆コンフィギュレーションワードの"
                   "イレース中.........."),
    QStringLiteral("イレース..........ＦＬＡＳＨプログラムメモリー＆コンフィギュレーションワードの"
                   "イレースしました。"),
    QStringLiteral("イレース..........ＦＬＡＳＨプログラムメモリー＆コンフィギュレーションワードの"
                   "イレースに失敗しました。"),
    QStringLiteral("イレース..........ＦＬＡＳＨプログラムメモリー＆コンフィギュレーションワード"
                   "イレースで通信エラーが起きました。"),
};

const EraseTexts kEepromErase{
    QStringLiteral("イレース..........ＥＥＰＲＯＭデータメモリーのイレース中.........."),
    QStringLiteral("イレース..........ＥＥＰＲＯＭデータメモリーのイレースしました。"),
    QStringLiteral("イレース..........ＥＥＰＲＯＭデータメモリーのイレースに失敗しました。"),
    QStringLiteral(
        "イレース..........ＥＥＰＲＯＭデータメモリーイレースで通信エラーが起きました。"),
};

} // namespace

void Pic12F683::CheckDeviceId(QString& result) {
    BoardChannel& ch = channel();
    status(QStringLiteral("マイコンの種類の確認中....."));
    ch.pumpEvents();
    sendConfigAreaLetters(ch, kPic12F683.configRead);
    // Sixteen bytes within 10 s; the end code after the host's "@" is bounded as well, so a
    // board that never sends it cannot keep the operation (and the window's controls) waiting.
    switch (readConfigArea14(ch, AckTiming::AfterSixteen)) {
    case AreaRead::Complete:
        break;
    case AreaRead::ShortFirst:
        result = result::NG;
        status(QStringLiteral("書込みマイコンの種類の確認失敗。　　読み出しデータ不足。"));
        return;
    case AreaRead::ShortRest:
        result = result::NG;
        status(QStringLiteral("モジュールチェック失敗。　　終了コードを受信できませんでした。"));
        return;
    }
    const auto& r = ctx_.s.link.ReceiveBuffer;
    if (!endCodeAt(r, 16)) {
        result = result::NG;
        status(QStringLiteral("モジュールチェック失敗。　　終了コードを受信できませんでした。"));
        return;
    }
    const int kind = ((r[12] & 0x3F) * 256 + r[13]) / 32;
    if (kind == kPic12F683Kind) {
        result = result::OK;
        status(QStringLiteral("書込みマイコンの種類の確認終了。"));
        return;
    }
    result = result::NG;
    if (kind == 0) {
        status(QStringLiteral("redマイコンがソケットに正しくセットされていません。"),
               QStringLiteral(
                   "キットの組立て直後の場合は、製作にミスがある可能性があります。"
                   "メニューバー ⇒ ヘルプ ⇒ 製作確認資料をご覧になり確認を行ってください。"));
        return;
    }
    const QString other =
        QStringLiteral("指定しているマイコンとソケットにセットしているマイコンの種類が違います。");
    status(other);
    const MessageAnswer answer = ctx_.ui.messageBox(
        MessageIcon::Critical, MessageButtons::OkCancel,
        QStringLiteral("書込みマイコンの種類の確認"),
        other + QStringLiteral("\r\n\r\n　継続する時は、　　『ＯＫ』　　 を押してください。\r\n"
                               "　中止する時は、『キャンセル』　を押してください。"),
        MessageDefault::Second);
    if (answer == MessageAnswer::Ok) result = result::OK;
}

void Pic12F683::erase(std::uint8_t code, bool eeprom, QString& result) {
    const EraseTexts& t = eeprom ? kEepromErase : kProgramErase;
    BoardChannel& ch = channel();
    result.clear();
    status(t.running);
    ch.discardInput();
    ch.sendPowerLetter();
    ch.sendLetters(kPic12F683.erase);
    ch.sendByteNoPause(code);
    const WaitResult wait = ch.waitForBytes(1, WaitLimit::total(kEraseLimitMs));
    if (wait != WaitResult::Complete) {
        ch.takeReply();
        result = eeprom ? result::ER : result::NG;
        if (wait == WaitResult::TimedOut) status(t.timedOut);
        return;
    }
    const auto& r = ch.takeReply();
    if (r.front() == wire::EndCode) {
        result = result::OK;
        status(t.done);
    } else {
        result = result::NG;
        status(t.failed);
    }
}

void Pic12F683::EraseProgramMemory(QString& result) {
    erase(kPic12F683.eraseProgram, false, result);
}

void Pic12F683::EraseEepromMemory(QString& result) {
    erase(kPic12F683.eraseEeprom, true, result);
}

void Pic12F683::EraseChip(QString& result) {
    RunState& run = ctx_.s.run;
    result.clear();
    status(kProgramErase.running);
    ctx_.ui.pumpEvents();
    channel().pauseMs(100);
    EraseProgramMemory(run.ProgramStepResult);
    if (run.ProgramStepResult != result::OK) {
        result = result::NG;
        status(QStringLiteral("イレース.........ＦＬＡＳＨプログラムメモリー＆コンフィグワードの"
                              "イレースに失敗しました。"));
        return;
    }
    status(kEepromErase.running);
    ctx_.ui.pumpEvents();
    channel().pauseMs(100);
    EraseEepromMemory(run.EepromStepResult);
    if (run.EepromStepResult != result::OK) {
        result = result::NG;
        status(QStringLiteral(
            "イレース.........ＥＥＰＲＯＭデータメモリーのイレースに失敗しました。"));
        return;
    }
    result = result::OK;
    status(QStringLiteral("イレース.........イレースしました。"));
}

} // namespace tavrin::pic12
