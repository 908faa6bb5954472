#include "config_area_keep.h"

#include "config_area_read.h"
#include "core/session.h"
#include "core/status.h"
#include "core/utilities.h"
#include "link/board_channel.h"
#include "link/paced_write.h"

#include <algorithm>

namespace tavrin {

namespace {

constexpr int AreaWords = 8;
constexpr std::size_t AreaReplyBytes = 17;
constexpr std::size_t ConfigHighByte = 14;

const QString ReadFailed = QStringLiteral("コンフィギュレーションワード読み出し失敗。　　");
const QString WriteDone =
    QStringLiteral("コンフィギュレーションワードのプログラミングに成功しました。");
const QString WriteFailed =
    QStringLiteral("コンフィギュレーションワードのプログラミングに失敗しました。　　");

// "( Address = n  Read = ????  Write = hhll )" for the last word sent; the board's report is
// not decoded.
QString failureDetail(const std::array<std::uint8_t, 17>& area, int itemsSent) {
    const int index = std::max(itemsSent - 1, 0);
    const QString written =
        itemsSent > 0 ? hex2(area[2 * index]) + hex2(area[2 * index + 1]) : QStringLiteral("????");
    return QStringLiteral("\r\n( Address = ") + QLatin1Char(' ') + QString::number(index) +
           QStringLiteral("  Read = ????  Write = ") + written + QStringLiteral(" )");
}

} // namespace

void ReadBandgapBits(BoardChannel& channel, QString& result) {
    Session& s = channel.session();
    sendConfigAreaLetters(channel, "rsc");
    result = QString();
    const AreaRead read = readConfigArea14(channel, AckTiming::AfterSixteen);
    const auto& reply = s.link.ReceiveBuffer;
    if (read != AreaRead::Complete) {
        result = result::NG;
        ShowStatusMessage(channel.ui(), ReadFailed + QStringLiteral("読み出しデータ不足。"));
        return;
    }
    std::copy_n(reply.begin(), AreaReplyBytes, s.link.ConfigAreaReply.begin());
    if (!endCodeAt(reply, 16)) {
        result = result::NG;
        ShowStatusMessage(channel.ui(),
                          ReadFailed + QStringLiteral("終了コードを受信できませんでした。"));
        return;
    }
    s.run.BandgapBits = (reply[ConfigHighByte] & 0x30) >> 4;
    result = result::OK;
}

void WriteConfigAreaWords(BoardChannel& channel, QString& result, CalibrationSource source) {
    Session& s = channel.session();
    const auto& area = s.link.ConfigAreaReply;
    channel.discardInput();
    result = QString();
    // Without a complete read the area holds zeros or a failed reply: written back it would
    // clear the IDs, switch code protection on and lose the band-gap calibration.
    if (source == CalibrationSource::Chip && area[16] != wire::EndCode) {
        result = result::NG;
        ShowStatusMessage(
            channel.ui(), WriteFailed,
            QStringLiteral("\r\n( コンフィギュレーションワードを読み出していません )"));
        return;
    }
    channel.sendPowerLetter();
    channel.sendLetters("wec");
    channel.sendCount16(AreaWords);
    PacedWriteRules rules;
    rules.report = ReportRule::ExactlyFour;
    const PacedWriteOutcome outcome = runPacedWrite(
        channel, AreaWords,
        [&area](int k) {
            return QByteArray{reinterpret_cast<const char*>(area.data()) + 2 * k, 2};
        },
        rules);
    if (outcome.kind == PacedWriteOutcome::Kind::Completed) {
        result = result::OK;
        ShowStatusMessage(channel.ui(), WriteDone);
        return;
    }
    result = result::NG;
    ShowStatusMessage(channel.ui(), WriteFailed, failureDetail(area, outcome.itemsSent));
}

} // namespace tavrin
