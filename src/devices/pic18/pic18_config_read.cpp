// Reads the ID locations, the configuration bytes and the device ID in one go, shows them and
// derives the erased state and the code protection of the chip.
#include "pic18_module.h"

#include "core/operator_ui.h"
#include "core/session.h"
#include "core/utilities.h"
#include "link/board_channel.h"
#include "link/reply_transfer.h"

namespace tavrin {

namespace {
const QString kReadingConfig =
    QStringLiteral("リード..........コンフィギュレーションワードのリード中..........");
const QString kIdShort = QStringLiteral("ＩＤワードの読み出し失敗。　　読み出しデータ不足。");
const QString kIdEndMissing =
    QStringLiteral("ＩＤワードの読み出し失敗。　　終了コードを受信できませんでした。");
const QString kConfigShort =
    QStringLiteral("コンフィギュレーションワードの読み出し失敗。　　読み出しデータ不足。");
const QString kConfigEndMissing = QStringLiteral(
    "コンフィギュレーションワードの読み出し失敗。　　終了コードを受信できませんでした。");
const QString kDeviceIdShort =
    QStringLiteral("デバイスＩＤの読み出し失敗。　　読み出しデータ不足。");
const QString kDeviceIdEndMissing =
    QStringLiteral("デバイスＩＤの読み出し失敗。　　終了コードを受信できませんでした。");
} // namespace

// The status that names what a protection state protects; empty for "--".
QString pic18ProtectionText(const QString& state) {
    if (state == QLatin1String("P-"))
        return QStringLiteral("プログラムメモリがコードプロテクトされています。");
    if (state == QLatin1String("-D"))
        return QStringLiteral("ＥＥＰＲＯＭデータメモリがコードプロテクトされています。");
    if (state == QLatin1String("PD"))
        return QStringLiteral(
            "プログラムメモリ＆ＥＥＰＲＯＭデータメモリがコードプロテクトされています。");
    return QString();
}

void Pic18Module::ReadConfigWords(QString& result, QString& protectFlags) {
    status(kReadingConfig);
    ui_.pumpEvents();
    DeviceRecord& d = s_.device;
    PcBuffer& buf = s_.buffer;
    RunState& run = s_.run;
    d.ConfigFromDevice = true;
    if (v_.LetterBeforeInputClear) {
        ch_.sendPowerLetter();
        ch_.discardInput();
    } else {
        ch_.discardInput();
        ch_.sendPowerLetter();
    }
    // Every reply's end code is tested: a reply cut short must not become the ID, the
    // configuration or the protection state of this chip.
    const auto* reply = receivePic18Block(ch_, {"Xrsc", 0x200001, 8, AckRule::Every8, 9, 0, true},
                                          {kIdShort, kIdEndMissing}, result);
    if (!reply) return;
    QString id;
    for (std::size_t i = 0; i < 8; ++i) {
        buf.Id18Image[i] = (*reply)[i];
        id += NibbleToHexChar((*reply)[i] & 0x0F);
    }
    buf.IdText = id;
    ui_.setControlText(Control::Text_ID, id);

    reply = receivePic18Block(ch_, {"Xrsc", 0x300001, 256, AckRule::Every8, 9, 0, true},
                              {kConfigShort, kConfigEndMissing}, result);
    if (!reply) return;
    for (std::size_t i = 0; i < 256; ++i)
        buf.Config18Bytes[i] = (*reply)[i];
    Pic18ConfigWords words{};
    for (int k = 1; k <= limits::ConfigWords; ++k) {
        d.ConfigValue[k] =
            (*reply)[std::size_t(2 * k - 2)] + 256 * (*reply)[std::size_t(2 * k - 1)];
        words[std::size_t(k)] = d.ConfigValue[k];
    }
    const bool erased = pic18ConfigWordsErased(v_.configErasedTest, d, words);
    run.ConfigAndHigh = run.ConfigAndLow = erased ? 255 : 0;
    ui_.refreshViews(ViewConfigGrids | ViewIdConfig);

    reply = receivePic18Block(ch_, {"Xrsc", 0x3FFFFF, 2, AckRule::None, 9, 0, true},
                              {kDeviceIdShort, kDeviceIdEndMissing}, result);
    if (!reply) return;
    const std::int32_t b0 = (*reply)[0];
    const std::int32_t b1 = (*reply)[1];
    buf.Pic18DeviceIdBytes = {b0, b1};
    ui_.setControlText(Control::Label_DEV_id, QStringLiteral("0x") + hex3((b1 * 256 + b0) / 32));
    ui_.setControlText(Control::Label_DEV_rev, QStringLiteral("0x") + hex3(b0 & 0x1F));

    protectFlags = protectionFrom(d.ConfigValue[5]);
    const QString protection = pic18ProtectionText(protectFlags);
    status(protection.isEmpty() ? QStringLiteral("読み出し完了。") : protection);
    ui_.pumpEvents();
    result = result::OK;
}

} // namespace tavrin
