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

void failStep(BoardChannel& channel, QString& result, const QString& text, const QString& detail,
              const QString& code) {
    ShowProgress(channel.ui(), ProgressMode::Off, 0, 0, 0);
    ShowStatusMessage(channel.ui(), text, detail);
    result = code;
}

void failWait(BoardChannel& channel, QString& result, WaitResult wait, const QString& text) {
    if (wait == WaitResult::PortGone) {
        ShowProgress(channel.ui(), ProgressMode::Off, 0, 0, 0);
        result = result::NG;
        return;
    }
    failStep(channel, result, text);
}

QByteArray wordBytes(std::uint8_t high, std::uint8_t low) {
    QByteArray bytes(2, '\0');
    bytes[0] = char(high);
    bytes[1] = char(low);
    return bytes;
}

void beginPic18Command(BoardChannel& channel, bool first) {
    channel.discardInput();
    if (!first) channel.sendPowerLetter();
}

std::int32_t pic18PanelsFor(std::int32_t programWords) {
    if (programWords <= 0) return 0;
    return (programWords + Pic18PanelWords - 1) / Pic18PanelWords;
}

QString hex3(std::int32_t value) {
    return hex4(value + 0x1000).right(3);
}

} // namespace tavrin
