#include "reply_transfer.h"

#include "core/operator_ui.h"
#include "core/session.h"
#include "core/status.h"
#include "core/utilities.h"

#include <algorithm>

namespace tavrin {

namespace {
const QString kPanelVerifyShort =
    QStringLiteral("プログラムメモリ ベリファイ失敗。　　読み出しデータ不足。");
const QString kPanelVerifyEndMissing =
    QStringLiteral("プログラムメモリ ベリファイ失敗。　　終了コードを受信できませんでした。");
const QString kEepromVerifyShort =
    QStringLiteral("ＥＥＰＲＯＭデータメモリの ベリファイエラー。  読み出しデータ不足。");
const QString kEepromVerifyEndMissing = QStringLiteral(
    "ＥＥＰＲＯＭデータメモリの ベリファイエラー。  終了コードを受信できませんでした。");
const QString kEepromReadShort =
    QStringLiteral("ＥＥＰＲＯＭデータメモリ読み出し失敗。　　読み出しデータ不足。");
const QString kEepromReadEndMissing =
    QStringLiteral("ＥＥＰＲＯＭデータメモリ読み出し失敗。　　終了コードを受信できませんでした。");
} // namespace

const ReadBackFailures& programPanelVerifyFailures() {
    static const ReadBackFailures failures{kPanelVerifyShort, kPanelVerifyEndMissing};
    return failures;
}
const ReadBackFailures& eepromVerifyFailures() {
    static const ReadBackFailures failures{kEepromVerifyShort, kEepromVerifyEndMissing};
    return failures;
}
const ReadBackFailures& eepromReadFailures() {
    static const ReadBackFailures failures{kEepromReadShort, kEepromReadEndMissing};
    return failures;
}

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

bool receivePanels18(BoardChannel& channel, const char* letters, const ReadBackFailures& failures,
                     std::vector<std::uint8_t>& into, QString& result,
                     const std::function<void(std::int32_t base, std::int32_t bytes)>& stored) {
    const std::int32_t words = channel.session().device.ProgramWordCount;
    const std::int32_t panels = pic18PanelsFor(words);
    channel.session().device.Pic18PanelCount = panels;
    const double progressMax = double(panels) * Pic18PanelBytes;
    for (std::int32_t p = 1; p <= panels; ++p) {
        const std::int32_t base = (p - 1) * Pic18PanelBytes;
        // A part that ends inside its last panel is read to its end, not beyond it.
        const std::int32_t bytes = std::min(Pic18PanelBytes, 2 * words - base);
        const auto* reply = receivePic18Block(
            channel, {letters, base + 1, bytes, AckRule::Every8, progressMax, double(base), false},
            failures, result);
        if (!reply) return false;
        for (std::int32_t k = 0; k + 1 < bytes; k += 2) {
            into[base + k] = (*reply)[k + 1];
            into[base + k + 1] = (*reply)[k];
        }
        if (stored) stored(base, bytes);
    }
    ShowProgress(channel.ui(), ProgressMode::Off, 0, 0, 0);
    return true;
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
