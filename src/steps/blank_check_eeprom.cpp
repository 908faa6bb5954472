#include "blank_check.h"

#include "core/session.h"
#include "core/status.h"
#include "link/board_channel.h"
#include "read_commands.h"

namespace tavrin {

namespace {

constexpr int EepromLimitMs = 10000;

const QString Failed = QStringLiteral("ＥＥＰＲＯＭデータメモリブランクチェック失敗。　　");
const QString ReplyShort = QStringLiteral("読み出しデータ不足。");
const QString EndCodeMissing = QStringLiteral("終了コードを受信できませんでした。");

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

void blankCheckPic18(BoardChannel& channel, const char* letters, QString& result) {
    Session& s = channel.session();
    const std::int32_t locations = s.device.EepromByteCount;
    channel.sendLetters(letters);
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
    BlankCheckEepromMemoryWith(
        channel, readCommandsOrUnserved(channel.session().device.ProgramType), result);
}

// The 14-bit parts send each location as a filler byte and the data byte, the PIC18 parts the
// data byte alone.
void BlankCheckEepromMemoryWith(BoardChannel& channel, const ReadCommands& row, QString& result) {
    Session& s = channel.session();
    if (s.device.EepromByteCount == 0) {
        result = result::Skipped;
        return;
    }
    ShowStatusMessage(channel.ui(),
                      QStringLiteral("ブランクチェック中..........ＥＥＰＲＯＭメモリ"));
    channel.sendPowerLetter();
    channel.discardInput();
    if (!row.eeprom) return;
    if (row.group == CoreGroup::Pic18) return blankCheckPic18(channel, row.eeprom, result);
    if (row.group == CoreGroup::Bit14) blankCheckPairs(channel, row.eeprom, result);
}

} // namespace tavrin
