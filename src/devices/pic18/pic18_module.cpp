// The framing pieces every PIC18 procedure shares, and the device-ID check that opens the read,
// verify and program sequences.
#include "pic18_module.h"

#include "core/clock.h"
#include "core/operator_ui.h"
#include "core/session.h"
#include "core/status.h"
#include "devices/common/module_context.h"
#include "link/board_channel.h"
#include "link/board_link.h"
#include "link/reply_transfer.h"

#include <cmath>

namespace tavrin {

namespace {
const QString kChecking = QStringLiteral("デバイスチェック中..........");
const QString kIdShort = QStringLiteral("モジュールチェック失敗。　　読み出しデータ不足。");
const QString kIdEndMissing =
    QStringLiteral("モジュールチェック失敗。　　終了コードを受信できませんでした。");
const QString kConfirmed = QStringLiteral("書込みマイコンの種類の確認終了。");
const QString kNotSeated = QStringLiteral("redマイコンがソケットに正しくセットされていません。");
const QString kNotSeatedDetail = QStringLiteral(
    "キットの組立て直後の場合は、製作にミスがある可能性があります。メニューバー ⇒ ヘルプ ⇒ "
    "製作確認資料をご覧になり確認を行ってください。");
const QString kOtherPart =
    QStringLiteral("指定しているマイコンとソケットにセットしているマイコンの種類が違います。");
const QString kOtherPartTitle = QStringLiteral("書込みマイコンの種類の確認");
} // namespace

std::int32_t pic18PanelCount(std::int32_t programWords) {
    // The default rounding mode sends halves to the even neighbour.
    return std::int32_t(std::nearbyint(double(programWords + 1) / 4096.0));
}

QString pic18ProtectionState(std::int32_t cpMask, std::int32_t config5) {
    const std::int32_t program = cpMask & 0x7FFF;
    const std::int32_t data = cpMask & 0x8000;
    QString state;
    state += (config5 & program) != program ? QLatin1Char('P') : QLatin1Char('-');
    state += (config5 & data) != data ? QLatin1Char('D') : QLatin1Char('-');
    return state;
}

bool pic18ConfigWordsErased(ConfigErasedTest test, const DeviceRecord& device,
                            const Pic18ConfigWords& words) {
    for (int k = 1; k <= limits::ConfigWords; ++k) {
        const auto i = std::size_t(k);
        const std::int32_t s = (device.ConfigMask[i] & 0xFFFF) | device.ConfigFixed[i];
        const bool erased =
            test == ConfigErasedTest::Covering ? (words[i] & s) == s : words[i] == s;
        if (!erased) return false;
    }
    return true;
}

void showProgress18(OperatorUi& ui, bool on, double minimum, double maximum, double value) {
    if (!on || value == maximum) ui.showProgressBar(false, minimum, maximum, value, QString());
    if (!on) return;
    const std::int64_t step = std::int64_t(maximum / 200.0);
    if (step == 0 || std::int64_t(value) % step != 0) return;
    const auto percent = std::int64_t(value / maximum * 100.0);
    ui.showProgressBar(true, minimum, maximum, value, QString::number(percent) + QLatin1Char('%'));
    ui.pumpEvents();
}

Pic18Module::Pic18Module(const Pic18Variant& variant, ModuleContext& ctx)
    : v_(variant), ctx_(ctx), s_(ctx.s), ui_(ctx.ui), ch_(ctx.link.channel()), clock_(ctx.clock),
      settings_(ctx.currentSettings()) {}

void Pic18Module::status(const QString& message, const QString& detail) {
    ShowStatusMessage(ui_, message, detail);
    QString shown = message;
    if (shown.left(3).toUpper() == QLatin1String("RED"))
        shown = shown.mid(3);
    else if (shown.left(4).toUpper() == QLatin1String(" RED"))
        shown = shown.mid(4);
    lastStatus_ = detail.isEmpty() ? shown : shown + QLatin1Char(' ') + detail;
}

void Pic18Module::pause(int ms) {
    ui_.pumpEvents();
    clock_.sleepMs(ms);
}

void Pic18Module::sendHeader(const char* letters, std::int32_t start, std::int32_t count) {
    ch_.sendLetters(letters);
    ch_.sendCount24(start);
    ch_.sendCount24(count);
}

bool Pic18Module::sizesFit() {
    const auto& d = s_.device;
    return d.ProgramWordCount > 0 && d.ProgramWordCount <= 65536 && d.EepromByteCount >= 0 &&
           std::size_t(d.EepromByteCount) <= limits::EepromImageBytes;
}

QString Pic18Module::protectionFrom(std::int32_t config5) {
    const QString state = pic18ProtectionState(s_.device.CpMaskCf5, config5);
    s_.run.Pic18ProgramProtect = state.left(1);
    s_.run.Pic18DataProtect = state.mid(1, 1);
    return state;
}

void Pic18Module::CheckDeviceId(QString& result) {
    status(kChecking);
    ui_.pumpEvents();
    ch_.sendPowerLetter();
    s_.link.ReceiveBuffer.clear(); // stays empty when the reply never came
    // No acknowledgement: two bytes never make a block.
    const auto* reply = receivePic18Block(ch_, {"Xrsc", 0x3FFFFF, 2, AckRule::None, 3, 0, true},
                                          {kIdShort, kIdEndMissing}, result);
    if (!reply) {
        lastStatus_ = s_.link.ReceiveBuffer.empty() ? kIdShort : kIdEndMissing;
        return;
    }
    const std::int32_t id = (*reply)[1] * 256 + (*reply)[0];
    const std::int32_t kind = id / 32;
    if (kind == v_.ExpectedDeviceKind) {
        status(kConfirmed);
        result = result::OK;
        return;
    }
    if (kind == 0) {
        status(kNotSeated, kNotSeatedDetail);
        result = result::NG;
        return;
    }
    status(kOtherPart);
    result = result::NG;
    const QString text = kOtherPart + QStringLiteral("\r\n\r\n") +
                         QStringLiteral("　継続する時は、　　『ＯＫ』　　 を押してください。") +
                         QStringLiteral("\r\n") +
                         QStringLiteral("　中止する時は、『キャンセル』　を押してください。");
    // Enter must not carry on with the wrong chip: Cancel is the default.
    if (ui_.messageBox(MessageIcon::Critical, MessageButtons::OkCancel, kOtherPartTitle, text,
                       MessageDefault::Second) == MessageAnswer::Ok)
        result = result::OK;
}

} // namespace tavrin
