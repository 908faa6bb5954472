// Reads the ID locations and the configuration bytes back and compares them with the buffer:
// the ID by its low nibbles, each configuration word under its mask and fixed bits. The
// protection state is always this chip's: a reply cut short leaves it cleared, never an earlier
// chip's.
#include "pic18_module.h"

#include "core/operator_ui.h"
#include "core/session.h"
#include "core/utilities.h"
#include "link/board_channel.h"
#include "link/reply_transfer.h"

namespace tavrin {

namespace {
const QString kIdShort =
    QStringLiteral("ＩＤワードのベリファイに失敗しました。  読み出しデータ不足。");
const QString kIdEndMissing =
    QStringLiteral("ＩＤワードのベリファイに失敗しました。  終了コードを受信できませんでした。");
const QString kIdMismatch = QStringLiteral("ＩＤワードのベリファイエラー");
const QString kConfigShort = QStringLiteral(
    "コンフィギュレーションワードのベリファイに失敗しました。  読み出しデータ不足。");
const QString kConfigEndMissing = QStringLiteral("コンフィギュレーションワードのベリファイに失敗"
                                                 "しました。  終了コードを受信できませんでした。");
const QString kConfigMismatch = QStringLiteral("コンフィギュレーションワードのベリファイエラー");
const QString kReplyError = QStringLiteral(" ERROR");
constexpr int ComparedWords = 128;
} // namespace

void Pic18Module::VerifyConfigWords(QString& result, QString& protectFlags) {
    RunState& run = s_.run;
    const DeviceRecord& d = s_.device;
    result = result::OK;
    protectFlags = QStringLiteral("--");
    run.Pic18ProgramProtect = run.Pic18DataProtect = QStringLiteral("-");
    run.Pic18IdVerifyResult = run.Pic18ConfigVerifyResult = result::OK;

    ch_.sendPowerLetter();
    const auto* reply = receivePic18Block(ch_, {"Xrsc", 0x200001, 8, AckRule::Every8, 9, 0, true},
                                          {kIdShort, kIdEndMissing}, result);
    if (!reply) {
        result = result::ER;
        run.Pic18IdVerifyResult = kReplyError;
        run.Pic18ConfigVerifyResult = kReplyError;
        return;
    }
    for (std::size_t i = 0; i < 8; ++i) {
        if ((((*reply)[i] ^ s_.buffer.Id18Image[i]) & 0x0F) != 0) {
            status(kIdMismatch);
            result = result::NG;
        }
    }
    if (result == result::NG) {
        run.Pic18IdVerifyResult = QStringLiteral("0x") + hex2((*reply)[3]) + hex2((*reply)[2]) +
                                  hex2((*reply)[1]) + hex2((*reply)[0]);
    }

    // The configuration read begins again with the power letter, as the ID read did.
    ch_.sendPowerLetter();
    QString configResult;
    reply = receivePic18Block(ch_, {"Xrsc", 0x300001, 256, AckRule::Every8, 9, 0, true},
                              {kConfigShort, kConfigEndMissing}, configResult);
    if (!reply) {
        result = result::ER;
        run.Pic18ConfigVerifyResult = kReplyError;
        run.ConfigVerifyText = result::NG;
        return;
    }
    for (int k = 1; k <= ComparedWords; ++k) {
        const std::int32_t word =
            (*reply)[std::size_t(2 * k - 2)] + 256 * (*reply)[std::size_t(2 * k - 1)];
        if (((word & d.ConfigMask[k]) | d.ConfigFixed[k]) != d.ConfigValue[k])
            run.Pic18ConfigVerifyResult = result::NG;
    }
    if (run.Pic18IdVerifyResult != result::OK || run.Pic18ConfigVerifyResult != result::OK) {
        status(kConfigMismatch);
        result = result::NG;
    } else {
        result = result::OK;
    }
    const std::int32_t word5 = (*reply)[8] + 256 * (*reply)[9];
    protectFlags = protectionFrom(word5);
    const QString protection = pic18ProtectionText(protectFlags);
    if (!protection.isEmpty()) status(protection);
}

} // namespace tavrin
