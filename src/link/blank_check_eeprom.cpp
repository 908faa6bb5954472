#include "blank_check.h"

#include "board_channel.h"
#include "core/session.h"
#include "core/status.h"

#include <QStringList>

namespace tavrin {

namespace {

constexpr int EepromLimitMs = 10000;

const QString Failed = QStringLiteral("ＥＥＰＲＯＭデータメモリブランクチェック失敗。　　");
const QString ReplyShort = QStringLiteral("読み出しデータ不足。");
const QString EndCodeMissing = QStringLiteral("終了コードを受信できませんでした。");

// The letters of the 14-bit parts: each location comes as a filler byte and the data byte.
const char* pairLettersOf(const QString& type) {
    static const QStringList readBySd{"FLASH0", "FLASH1", "FLASH4", "FLASH4.9", "FLASH8", "12F6"};
    if (readBySd.contains(type, Qt::CaseSensitive)) return "rsd";
    if (type == QLatin1String("WRT400")) return "r8d";
    return nullptr;
}

void blankCheckPairs(BoardChannel& channel, const char* letters, QString& result) {
    Session& s = channel.session();
    const std::int32_t locations = s.device.EepromByteCount;
    s.run.EepromAndHigh = 0x3F;
    s.run.EepromAndLow = 0xFF;
    channel.sendLetters(letters);
    channel.sendCount16(locations);
    const qint64 replyBytes = 2 * qint64(locations) + 1;
    if (channel.waitForBytes(replyBytes, WaitLimit::total(EepromLimitMs), AckRule::Every16) !=
        WaitResult::Complete) {
        channel.takeReply();
        result = result::ER;
        ShowStatusMessage(channel.ui(), Failed + ReplyShort);
        return;
    }
    const auto& reply = channel.takeReply();
    if (!endCodeAt(reply, std::size_t(replyBytes - 1))) {
        result = result::ER;
        ShowStatusMessage(channel.ui(), Failed + EndCodeMissing);
        return;
    }
    for (qint64 i = 0; i + 1 < replyBytes; i += 2) {
        s.run.EepromAndHigh &= reply[i];
        s.run.EepromAndLow &= reply[i + 1];
    }
    result = s.run.EepromAndLow == 0xFF ? result::OK : result::NG;
}

void blankCheckPic18(BoardChannel& channel, QString& result) {
    Session& s = channel.session();
    const std::int32_t locations = s.device.EepromByteCount;
    channel.sendLetters("Xrsd");
    channel.sendCount24(1);
    channel.sendCount24(locations);
    const qint64 replyBytes = qint64(locations) + 1;
    if (channel.waitForBytes(replyBytes, WaitLimit::total(EepromLimitMs)) != WaitResult::Complete) {
        channel.takeReply();
        result = result::ER;
        ShowStatusMessage(channel.ui(), Failed + ReplyShort);
        return;
    }
    const auto& reply = channel.takeReply();
    if (!endCodeAt(reply, std::size_t(locations))) {
        // A reply without its end code says nothing about the chip: "ER", so that the program
        // sequence stops instead of taking it for a written chip.
        result = result::ER;
        ShowStatusMessage(channel.ui(),
                          QStringLiteral("ＥＥＰＲＯＭデータメモリ読み出し失敗。　　") +
                              EndCodeMissing);
        return;
    }
    s.run.EepromAndLow = 0xFF;
    for (std::int32_t i = 0; i < locations; ++i)
        s.run.EepromAndLow &= reply[i];
    result = s.run.EepromAndLow == 0xFF ? result::OK : result::NG;
}

} // namespace

void BlankCheckEepromMemory(BoardChannel& channel, QString& result) {
    Session& s = channel.session();
    if (s.device.EepromByteCount == 0) {
        result = result::Skipped;
        return;
    }
    ShowStatusMessage(channel.ui(),
                      QStringLiteral("ブランクチェック中..........ＥＥＰＲＯＭメモリ"));
    channel.sendPowerLetter();
    channel.discardInput();
    const QString& type = s.device.ProgramType;
    if (type == QLatin1String("18F_00")) {
        blankCheckPic18(channel, result);
        return;
    }
    if (const char* letters = pairLettersOf(type)) blankCheckPairs(channel, letters, result);
}

} // namespace tavrin
