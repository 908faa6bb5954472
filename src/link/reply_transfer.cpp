#include "reply_transfer.h"

#include "core/operator_ui.h"
#include "core/session.h"
#include "core/status.h"
#include "core/utilities.h"

namespace tavrin {

WaitResult receiveWithProgress(BoardChannel& channel, qint64 count, WaitLimit limit, AckRule acks,
                               double progressMaximum, double progressBase) {
    OperatorUi& ui = channel.ui();
    return channel.waitForBytes(count, limit, acks, [&](qint64 waiting) {
        ShowProgress(ui, ProgressMode::On, 0, progressMaximum, progressBase + double(waiting));
    });
}

WaitResult receiveWords(BoardChannel& channel, std::int32_t words, WaitLimit limit) {
    const qint64 total = 2 * qint64(words) + 1;
    const WaitResult wait =
        receiveWithProgress(channel, total, limit, AckRule::Every16, double(total));
    ShowProgress(channel.ui(), ProgressMode::Off, 0, 0, 0);
    if (wait == WaitResult::Complete) channel.takeReply();
    return wait;
}

const std::vector<std::uint8_t>* receivePic18Block(BoardChannel& channel,
                                                   const Pic18BlockRead& read,
                                                   const ReadBackFailures& failures,
                                                   QString& result) {
    channel.discardInput();
    channel.sendLetters(read.letters);
    channel.sendCount24(read.startPlusOne);
    channel.sendCount24(read.count);
    const WaitResult wait =
        receiveWithProgress(channel, qint64(read.count) + 1, WaitLimit::perBlock(), read.acks,
                            read.progressMaximum, read.progressBase);
    if (read.hideProgressAfterWait) ShowProgress(channel.ui(), ProgressMode::Off, 0, 0, 0);
    if (wait != WaitResult::Complete) {
        failWait(channel, result, wait, failures.shortReply);
        return nullptr;
    }
    const auto& reply = channel.takeReply();
    if (!endCodeAt(reply, std::size_t(read.count))) {
        failStep(channel, result, failures.endCodeMissing);
        return nullptr;
    }
    return &reply;
}

void failStep(BoardChannel& channel, QString& result, const QString& text, const QString& detail) {
    ShowProgress(channel.ui(), ProgressMode::Off, 0, 0, 0);
    ShowStatusMessage(channel.ui(), text, detail);
    result = result::NG;
}

void failWait(BoardChannel& channel, QString& result, WaitResult wait, const QString& text) {
    if (wait == WaitResult::PortGone) return failPortGone(channel, result);
    failStep(channel, result, text);
}

void failPortGone(BoardChannel& channel, QString& result) {
    ShowProgress(channel.ui(), ProgressMode::Off, 0, 0, 0);
    result = result::NG;
}

QByteArray wordBytes(std::uint8_t high, std::uint8_t low) {
    QByteArray bytes(2, '\0');
    bytes[0] = char(high);
    bytes[1] = char(low);
    return bytes;
}

std::int32_t pic18PanelsFor(std::int32_t programWords) {
    if (programWords <= 0) return 0;
    return (programWords + Pic18PanelWords - 1) / Pic18PanelWords;
}

QString hex3(std::int32_t value) {
    return hex4(value + 0x1000).right(3);
}

} // namespace tavrin
