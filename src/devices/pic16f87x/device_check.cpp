// Which chip (or which of the board's modules) is in place: the device-ID word read from the
// configuration area and compared with the variant's.
#include "pic16f87x_module.h"

#include "core/operator_ui.h"
#include "core/session.h"
#include "core/status.h"
#include "link/board_channel.h"

namespace tavrin {

namespace {

struct CheckTexts {
    QString start, match, shortReply;
};

const QString kEndCodeMissing =
    QStringLiteral("モジュールチェック失敗。　　終了コードを受信できませんでした。");
const QString kOtherKind =
    QStringLiteral("指定しているマイコンとソケットにセットしているマイコンの種類が違います。");
const QString kNoChipDetail = QStringLiteral(
    "キットの組立て直後の場合は、製作にミスがある可能性があります。メニューバー ⇒ ヘルプ ⇒ "
    "製作確認資料をご覧になり確認を行ってください。");

CheckTexts textsFor(SocketCheck check) {
    if (check == SocketCheck::Module)
        return {QStringLiteral("モジュールチェック中....."),
                QStringLiteral("モジュールチェック終了。"),
                QStringLiteral("モジュールチェック失敗。　　読み出しデータ不足。")};
    return {QStringLiteral("マイコンの種類の確認中....."),
            QStringLiteral("書込みマイコンの種類の確認終了。"),
            QStringLiteral("書込みマイコンの種類の確認失敗。　　読み出しデータ不足。")};
}

// The chip's kind: the device-ID word at 0x2006 without its revision bits.
int deviceKind(const std::vector<std::uint8_t>& area) {
    return ((area[12] & 0x3F) * 256 + area[13]) / 32;
}

} // namespace

void Pic16F87xModule::CheckDeviceId(QString& result) {
    BoardChannel& ch = channel();
    const CheckTexts texts = textsFor(v_.check);
    ShowStatusMessage(ui(), texts.start);
    ch.pumpEvents();
    ch.discardInput();
    startCommand();
    ch.sendLetter('r');
    ch.sendLetter(v_.familyLetter);
    ch.sendLetter('c');
    ch.sendCount16(8); // start offset 0, eight words: 0x2000-0x2007

    result = result::NG;
    const WaitResult first = ch.waitForBytes(16, WaitLimit::total(10000));
    if (first == WaitResult::PortGone) return;
    if (first == WaitResult::TimedOut) {
        ShowStatusMessage(ui(), texts.shortReply);
        return;
    }
    ch.acknowledge();
    // The end code follows the acknowledgement at once; a board that never sends it must not hold
    // the operation.
    if (ch.waitForBytes(17, WaitLimit::perBlock()) == WaitResult::PortGone) return;
    const auto& area = ch.takeReply();
    if (!endCodeAt(area, 16)) {
        ShowStatusMessage(ui(), kEndCodeMissing);
        return;
    }

    const int kind = deviceKind(area);
    if (kind == v_.expectedDeviceId) {
        ShowStatusMessage(ui(), texts.match);
        result = result::OK;
        return;
    }
    if (kind == 0) {
        ShowStatusMessage(ui(), QString::fromUtf8(v_.emptySocketText),
                          v_.check == SocketCheck::DeviceKind ? kNoChipDetail : QString());
        return;
    }
    if (v_.check == SocketCheck::DeviceKind) {
        ShowStatusMessage(ui(), kOtherKind);
        const MessageAnswer answer = ui().messageBox(
            MessageIcon::Critical, MessageButtons::OkCancel,
            QStringLiteral("書込みマイコンの種類の確認"),
            kOtherKind + QStringLiteral("\r\n\r\n") +
                QStringLiteral("　継続する時は、　　『ＯＫ』　　 を押してください。") +
                QStringLiteral("\r\n") +
                QStringLiteral("　中止する時は、『キャンセル』　を押してください。"),
            MessageDefault::Second);
        if (answer == MessageAnswer::Ok) result = result::OK;
        return;
    }
    ShowStatusMessage(ui(), QStringLiteral("モジュールが違います。"));
    const QString other = QString::fromUtf8(v_.siblingModule);
    ui().messageBox(MessageIcon::Critical, MessageButtons::Ok, QStringLiteral("モジュールチェック"),
                    QStringLiteral("『") + other +
                        QStringLiteral("』モジュールがセットされています。") +
                        QStringLiteral("\r\n") + QStringLiteral("「デバイス選択」で『") + other +
                        QStringLiteral("』を選んでやり直してください。") + QStringLiteral("\r\n") +
                        QStringLiteral("ＨＥＸファイルは、") + other +
                        QStringLiteral("用を使用してください。"));
}

} // namespace tavrin
