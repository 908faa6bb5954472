#include "blank_check.h"

#include "core/session.h"
#include "core/status.h"
#include "link/board_channel.h"

#include <array>
#include <optional>

namespace tavrin {

namespace {

constexpr std::array<ProgramBlankRow, 14> Variants{{
    {"5X18", "bps", ScanCount::StreamWords, true, 0x0FFF},
    {"5X28", "bpl", ScanCount::StreamWords, true, 0x0FFF},
    {"12C6", "bs", ScanCount::LeaveLastOut, false, 0x3FFF},
    {"12F6", "bs", ScanCount::LeaveLastOut, false, 0x3FFF},
    {"EPROM", "bs", ScanCount::AllWords, false, 0x3FFF},
    {"FLASH0", "bs", ScanCount::AllWords, false, 0x3FFF},
    {"FLASH1", "bs", ScanCount::AllWords, false, 0x3FFF},
    {"FLASH2", "bs", ScanCount::AllWords, false, 0x3FFF},
    {"FLASH4", "bs", ScanCount::AllWords, false, 0x3FFF},
    {"FLASH4.9", "bs", ScanCount::AllWords, false, 0x3FFF},
    {"FLASH8", "bs", ScanCount::AllWords, false, 0x3FFF},
    {"EPROM2", "bS", ScanCount::AllWords, false, 0xFFFF},
    {"WRT400", "b8", ScanCount::AllWords, false, 0x3FFF},
    {"18F_00", "Xbs", ScanCount::Pic18Words, false, 0xFFFF},
}};

constexpr std::int32_t Erased12 = 0x0FFF;
constexpr int CalibratedStreamExtra = 1; // the calibration word after the program words
constexpr int IdWords = 4;

const ProgramBlankRow* variantOf(const QString& type) {
    for (const auto& v : Variants)
        if (type == QLatin1String(v.programType)) return &v;
    return nullptr;
}

const QString Failed = QStringLiteral("プログラムメモリブランクチェック失敗。　　");
const QString EndCodeMissing = QStringLiteral("終了コードを受信できませんでした。");
const QString ReplyShort = QStringLiteral("読み出しデータ不足。");

// One summary request: the reply whole, or nothing when it lacks bytes or its end code (the
// failure is then shown and the result is "ER").
std::optional<std::vector<std::uint8_t>> summary(BoardChannel& channel, qint64 replyBytes,
                                                 QString& result) {
    if (channel.waitForBytes(replyBytes, WaitLimit::perBlock()) != WaitResult::Complete) {
        channel.takeReply();
        result = result::ER;
        ShowStatusMessage(channel.ui(), Failed + ReplyShort);
        return std::nullopt;
    }
    const auto& reply = channel.takeReply();
    if (!endCodeAt(reply, std::size_t(replyBytes - 1))) {
        result = result::ER;
        ShowStatusMessage(channel.ui(), Failed + EndCodeMissing);
        return std::nullopt;
    }
    return reply;
}

std::int32_t wordAt(const std::vector<std::uint8_t>& reply, std::size_t at) {
    return reply[at] * 256 + reply[at + 1];
}

std::optional<std::int32_t> requestSummary12C5(BoardChannel& channel, std::int32_t count,
                                               QString& result) {
    channel.discardInput();
    channel.sendPowerLetter();
    channel.sendLetters("bs");
    channel.sendCount16(count);
    const auto reply = summary(channel, 3, result);
    if (!reply) return std::nullopt;
    return wordAt(*reply, 0);
}

// The board scans the 12-bit stream from the configuration word: W words leave the calibration
// word out, W + 1 take it in, W + 5 add the four ID words. Over erased words the summary is the
// erased word, and with only the calibration word programmed it is that word.
void blankCheck12C5(BoardChannel& channel, QString& result) {
    Session& s = channel.session();
    const std::int32_t words = s.device.ProgramWordCount;
    const auto programSummary = requestSummary12C5(channel, words, result);
    if (!programSummary) return;
    s.run.ProgramAndHigh = *programSummary >> 8;
    s.run.ProgramAndLow = *programSummary & 0xFF;
    if (*programSummary != Erased12) {
        result = result::NG;
        return;
    }
    const auto calibration = requestSummary12C5(channel, words + CalibratedStreamExtra, result);
    if (!calibration) {
        s.run.CalibWordRead = false;
        return;
    }
    s.run.CalibWordHigh = std::uint8_t(*calibration >> 8);
    s.run.CalibWordLow = std::uint8_t(*calibration & 0xFF);
    s.run.CalibWordRead = true;
    const auto withIds =
        requestSummary12C5(channel, words + CalibratedStreamExtra + IdWords, result);
    if (!withIds) return;
    result = *withIds == *calibration ? result::OK : result::NG;
}

} // namespace

namespace {
const QString Scanning = QStringLiteral("ブランクチェック中..........プログラムメモリー");

void scanProgram(BoardChannel& channel, const ProgramBlankRow& v, QString& result) {
    Session& s = channel.session();
    const std::int32_t words = s.device.ProgramWordCount;
    if (v.count == ScanCount::Pic18Words) channel.discardInput();
    channel.sendLetters(v.letters);
    switch (v.count) {
    case ScanCount::StreamWords:
        channel.sendCount16(words + 5);
        break;
    case ScanCount::LeaveLastOut:
        channel.sendCount16(words - 1);
        break;
    case ScanCount::AllWords:
        channel.sendCount16(words);
        break;
    case ScanCount::Pic18Words:
        channel.sendCount24(1);
        channel.sendCount24(words);
        break;
    }
    const int summaryAt = v.configFirst ? 2 : 0;
    const auto reply = summary(channel, summaryAt + 3, result);
    if (!reply) return;
    const std::int32_t value = wordAt(*reply, summaryAt);
    if (v.configFirst) {
        s.run.ConfigAndLow = (*reply)[0];
        s.run.ConfigAndHigh = (*reply)[1];
        s.run.ProgramAndHigh = value >> 8;
        s.run.ProgramAndLow = value & 0xFF;
    }
    result = value == v.erased ? result::OK : result::NG;
}
} // namespace

void BlankCheckProgramMemory(BoardChannel& channel, QString& result) {
    ShowStatusMessage(channel.ui(), Scanning);
    channel.discardInput();
    const QString& type = channel.session().device.ProgramType;
    if (type == QLatin1String("12C5")) {
        // Each of its three requests begins with its own power letter; the opening's letter is
        // the first request's.
        blankCheck12C5(channel, result);
        return;
    }
    channel.sendPowerLetter();
    if (const ProgramBlankRow* v = variantOf(type)) scanProgram(channel, *v, result);
}

void BlankCheckProgramMemoryWith(BoardChannel& channel, const ProgramBlankRow& row,
                                 QString& result) {
    ShowStatusMessage(channel.ui(), Scanning);
    channel.discardInput();
    channel.sendPowerLetter();
    scanProgram(channel, row, result);
}

} // namespace tavrin
