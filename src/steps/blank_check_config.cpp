#include "blank_check.h"

#include "blank_judgement.h"
#include "config_area_read.h"
#include "core/session.h"
#include "core/status.h"
#include "link/board_channel.h"

namespace tavrin {

namespace {

const QString Failed = QStringLiteral("コンフィギュレーションワードブランクチェック失敗。　　");
const QString ReadFailed =
    QStringLiteral("コンフィギュレーションワードブランクチェック読み出し失敗。　　");
const QString ReplyShort = QStringLiteral("読み出しデータ不足。");
const QString EndCodeMissing = QStringLiteral("終了コードを受信できませんでした。");

void shortReply(BoardChannel& channel, QString& result) {
    result = result::ER;
    ShowStatusMessage(channel.ui(), Failed + ReplyShort);
}

void missingEndCode(BoardChannel& channel, QString& result) {
    result = result::ER;
    ShowStatusMessage(channel.ui(), Failed + EndCodeMissing);
}

void blankCheck12(BoardChannel& channel, QString& cpFlag, QString& result) {
    Session& s = channel.session();
    if (readConfigWord12(channel) != AreaRead::Complete) return shortReply(channel, result);
    const auto& reply = s.link.ReceiveBuffer;
    if (!endCodeAt(reply, 2)) return missingEndCode(channel, result);
    const std::int32_t word = configWordOf(reply, ConfigAreaLayout::Word12);
    testCodeProtection(channel, word, cpFlag);
    s.run.ConfigAndHigh = reply[0];
    s.run.ConfigAndLow = reply[1];
    result = configWord12Erased(s.device.SelectedDevice, word) ? result::OK : result::NG;
}

// The ID and configuration words of a 14-bit area reply must AND to the erased word, or to
// the implemented bits of configuration word 1 on parts whose unimplemented bits read 0.
void judgeArea14(BoardChannel& channel, const std::vector<std::uint8_t>& reply,
                 const ConfigAreaCommand& command, QString& result) {
    Session& s = channel.session();
    const std::int32_t andWord = idConfigAnd14(idConfigWords14Of(reply), idConfigRule14Of(command));
    s.run.ConfigAndHigh = andWord >> 8;
    s.run.ConfigAndLow = andWord & 0xFF;
    result = idConfigAnd14Erased(andWord, s.device.ConfigMask[1]) ? result::OK : result::NG;
}

void blankCheck14(BoardChannel& channel, const ConfigAreaCommand& command, QString& cpFlag,
                  QString& result) {
    Session& s = channel.session();
    if (readConfigArea14(channel, AckTiming::AtOnce) != AreaRead::Complete)
        return shortReply(channel, result);
    const auto& reply = s.link.ReceiveBuffer;
    if (!endCodeAt(reply, 16)) return missingEndCode(channel, result);
    testCodeProtection(channel, configWordOf(reply, ConfigAreaLayout::Words14), cpFlag);
    judgeArea14(channel, reply, command, result);
}

void blankCheck16(BoardChannel& channel, const ConfigAreaCommand& command, QString& cpFlag,
                  QString& result) {
    Session& s = channel.session();
    if (readConfigArea16(channel) != AreaRead::Complete) {
        // A reply that did not arrive says nothing about the chip: "ER", never "not erased".
        result = result::ER;
        ShowStatusMessage(channel.ui(), ReadFailed + ReplyShort);
        return;
    }
    const auto& reply = s.link.ReceiveBuffer;
    if (!endCodeAt(reply, 32)) return missingEndCode(channel, result);
    testCodeProtection(channel, configWordOf(reply, ConfigAreaLayout::Words16), cpFlag);
    judgeArea14(channel, reply, command, result);
}

constexpr std::int32_t Pic18IdStart = 0x200000;
constexpr std::int32_t Pic18ConfigStart = 0x300000;
constexpr std::int32_t Pic18IdBytes = 8;
constexpr std::int32_t Pic18ConfigBytes = 256;

// Erased ID bytes read 0xFF; an erased configuration word has every implemented bit set. Only
// the words the part defines are judged; the code-protect flag is left alone.
void blankCheckPic18(BoardChannel& channel, QString& result) {
    Session& s = channel.session();
    const auto& reply = s.link.ReceiveBuffer;
    if (readPic18Bytes(channel, Pic18IdStart + 1, Pic18IdBytes, AckRule::Every8FromZero) !=
        AreaRead::Complete)
        return shortReply(channel, result);
    if (!endCodeAt(reply, Pic18IdBytes)) return missingEndCode(channel, result);
    s.run.ConfigAndLow = 0xFF;
    for (int i = 0; i < Pic18IdBytes; ++i)
        s.run.ConfigAndLow &= reply[i];
    QString verdict = s.run.ConfigAndLow == 0xFF ? result::OK : result::NG;
    if (readPic18Bytes(channel, Pic18ConfigStart + 1, Pic18ConfigBytes, AckRule::Every8FromZero) !=
        AreaRead::Complete)
        return shortReply(channel, result);
    if (!endCodeAt(reply, Pic18ConfigBytes)) return missingEndCode(channel, result);
    Pic18ConfigWords words{};
    for (int k = 1; k <= limits::ConfigWords; ++k)
        words[std::size_t(k)] = reply[2 * k - 1] * 256 + reply[2 * k - 2];
    if (!pic18GenericConfigErased(s.device, words)) verdict = result::NG;
    result = verdict;
}

const QString Checking = QStringLiteral("ブランクチェック中..........コンフィグ・ＩＤワード");

void checkArea(BoardChannel& channel, const ConfigAreaCommand& command, QString& cpFlag,
               QString& result) {
    if (command.layout == ConfigAreaLayout::Pic18) return blankCheckPic18(channel, result);
    channel.sendLetters(command.letters);
    switch (command.layout) {
    case ConfigAreaLayout::Word12:
        return blankCheck12(channel, cpFlag, result);
    case ConfigAreaLayout::Words14:
        return blankCheck14(channel, command, cpFlag, result);
    case ConfigAreaLayout::Words16:
        return blankCheck16(channel, command, cpFlag, result);
    case ConfigAreaLayout::Pic18:
        break;
    }
}

} // namespace

void BlankCheckConfigWords(BoardChannel& channel, QString& cpFlag, QString& result) {
    Session& s = channel.session();
    ShowStatusMessage(channel.ui(), Checking);
    channel.discardInput();
    channel.sendPowerLetter();
    if (const ConfigAreaCommand* command = configAreaCommandOf(s.device.ProgramType))
        checkArea(channel, *command, cpFlag, result);
}

void BlankCheckConfigWordsWith(BoardChannel& channel, const ConfigAreaCommand& command,
                               QString& cpFlag, QString& result) {
    ShowStatusMessage(channel.ui(), Checking);
    channel.discardInput();
    channel.sendPowerLetter();
    checkArea(channel, command, cpFlag, result);
}

} // namespace tavrin
