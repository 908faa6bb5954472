#include "socket_check.h"

#include "config_area_read.h"
#include "core/operator_ui.h"
#include "core/session.h"
#include "core/status.h"
#include "link/board_channel.h"

#include <QStringList>

#include <array>
#include <utility>

namespace tavrin {

namespace {

// The PIC16F7x carry the DEVICE IDs 0x0600, 0x0620, 0x0640 and 0x0660 (73, 74, 76, 77): shifted
// by five the 77 gives 51. (102 is its ID shifted by four, which no chip would ever match.)
constexpr std::array<std::pair<const char*, int>, 50> DeviceIds{{
    {"PIC12C672", 41},   {"PIC12CE674", 47},  {"PIC16C554", 511},  {"PIC16C558", 511},
    {"PIC16C620", 511},  {"PIC16C620A", 36},  {"PIC16C621", 511},  {"PIC16C621A", 37},
    {"PIC16C622", 511},  {"PIC16C622A", 39},  {"PIC16C62A", 511},  {"PIC16C63", 511},
    {"PIC16C63A", 12},   {"PIC16C64", 511},   {"PIC16C64A", 511},  {"PIC16C65B", 14},
    {"PIC16C67", 30},    {"PIC16C71", 511},   {"PIC16C711", 511},  {"PIC16C710", 511},
    {"PIC16C715", 511},  {"PIC16C72", 511},   {"PIC16C73B", 13},   {"PIC16C74A", 511},
    {"PIC16C76", 29},    {"PIC16C77", 31},    {"PIC12F629", 124},  {"PIC12F675", 126},
    {"PIC12F683", 35},   {"PIC16F628", 62},   {"PIC16F628A", 131}, {"PIC16F648A", 136},
    {"PIC16F630", 134},  {"PIC16F676", 135},  {"PIC16F74", 49},    {"PIC16F77", 51},
    {"PIC16F819", 39},   {"PIC16F84", 511},   {"PIC16F84A", 43},   {"PIC16F870", 104},
    {"PIC16F871", 105},  {"PIC16F873", 75},   {"PIC16F874", 73},   {"PIC16F876", 79},
    {"PIC16F877", 77},   {"PIC16F873A", 114}, {"PIC16F874A", 115}, {"PIC16F876A", 112},
    {"PIC16F877A", 113}, {"PIC16F88", 59},
}};

const QString OtherKind =
    QStringLiteral("指定しているマイコンとソケットにセットしているマイコンの種類が違います。");

// Types whose part has nothing to read here: the check passes at once.
bool passesUnread(const QString& type) {
    static const QStringList types{"5X18", "5X28", "12C5", "18F_00"};
    return types.contains(type, Qt::CaseSensitive);
}

void fail(BoardChannel& channel, const DeviceIdCheck& check, const QString& why, QString& result) {
    result = result::NG;
    ShowStatusMessage(channel.ui(), check.failedPrefix + why);
}

bool personGoesOn(OperatorUi& ui) {
    const QString text = OtherKind + QStringLiteral("\r\n\r\n") +
                         QStringLiteral("　継続する時は、　　『ＯＫ』　　 を押してください。") +
                         QStringLiteral("\r\n") +
                         QStringLiteral("　中止する時は、『キャンセル』　を押してください。");
    // Enter must not carry on with a chip the person did not choose.
    return ui.messageBox(MessageIcon::Critical, MessageButtons::OkCancel,
                         QStringLiteral("書込みマイコンの種類の確認"), text,
                         MessageDefault::Second) == MessageAnswer::Ok;
}

} // namespace

std::optional<int> expectedDeviceId(const QString& deviceName) {
    for (const auto& [name, id] : DeviceIds)
        if (deviceName == QLatin1String(name)) return id;
    return std::nullopt;
}

namespace {

void announce(BoardChannel& channel, const DeviceIdCheck& check) {
    ShowStatusMessage(channel.ui(), check.checking);
    channel.pumpEvents();
    channel.discardInput();
}

// The power letter goes with the read: a letter sent alone, where no read follows, would only
// stand in front of the next step's own.
void readAndJudge(BoardChannel& channel, const DeviceIdCheck& check, QString& result) {
    Session& s = channel.session();
    OperatorUi& ui = channel.ui();
    channel.sendPowerLetter();
    channel.sendLetters(check.letters);
    switch (readConfigArea14(channel, AckTiming::AfterSixteen)) {
    case AreaRead::Complete:
        break;
    case AreaRead::ShortFirst:
    case AreaRead::ShortRest:
        return fail(channel, check, QStringLiteral("読み出しデータ不足。"), result);
    }
    const auto& reply = s.link.ReceiveBuffer;
    if (!endCodeAt(reply, 16))
        return fail(channel, check, QStringLiteral("終了コードを受信できませんでした。"), result);
    const int id = (reply[12] & 0x3F) * 256 + reply[13];
    const int kind = id >> 5;
    if (kind == 0) {
        result = result::NG;
        ShowStatusMessage(
            ui, QStringLiteral("redマイコンがソケットに正しくセットされていません。"),
            QStringLiteral(
                "キットの組立て直後の場合は、製作にミスがある可能性があります。"
                "メニューバー ⇒ ヘルプ ⇒ 製作確認資料をご覧になり確認を行ってください。"));
        return;
    }
    if (!check.expectedKind || *check.expectedKind == kind) {
        result = result::OK;
        ShowStatusMessage(ui, check.passed);
        return;
    }
    result = result::NG;
    ShowStatusMessage(ui, OtherKind);
    const bool goesOn = check.otherKindGoesOn ? check.otherKindGoesOn(ui, kind) : personGoesOn(ui);
    if (goesOn) result = result::OK;
}

} // namespace

void CheckDeviceId(BoardChannel& channel, QString& result) {
    Session& s = channel.session();
    DeviceIdCheck check;
    announce(channel, check);
    const QString& type = s.device.ProgramType;
    if (passesUnread(type)) {
        result = result::OK;
        return;
    }
    const ConfigAreaCommand* command = configAreaCommandOf(type);
    const bool readable = command && (command->layout == ConfigAreaLayout::Words14 ||
                                      command->layout == ConfigAreaLayout::Words16);
    // The generic steps do not serve other types: stop here, before an operation that would
    // otherwise pass on steps that did nothing.
    if (!readable) {
        return fail(channel, check, QStringLiteral("このマイコンは、この操作に対応していません。"),
                    result);
    }
    check.letters = command->letters;
    check.expectedKind = expectedDeviceId(s.device.SelectedDevice);
    readAndJudge(channel, check, result);
}

void CheckDeviceIdWith(BoardChannel& channel, const DeviceIdCheck& check, QString& result) {
    announce(channel, check);
    readAndJudge(channel, check, result);
}

} // namespace tavrin
