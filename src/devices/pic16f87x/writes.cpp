// The three board-paced writes: program memory, data EEPROM, and the eight ID and configuration
// words. The board asks for every word (or location) with one request byte and ends with "@";
// several bytes where a request is due are its failure report or abort, never a request.
#include "pic16f87x_module.h"

#include "core/operator_ui.h"
#include "core/session.h"
#include "core/status.h"
#include "core/utilities.h"
#include "link/board_channel.h"
#include "link/paced_write.h"
#include "link/program_size.h"
#include "link/reply_transfer.h"

#include <array>

namespace tavrin {

namespace {

using Kind = PacedWriteOutcome::Kind;

const QString kProgramFailed = QStringLiteral("プログラムメモリのプログラミングに失敗しました。");
const QString kEepromFailed =
    QStringLiteral("ＥＥＰＲＯＭデータメモリのプログラミングに失敗しました。");
const QString kConfigFailed =
    QStringLiteral("コンフィギュレーションワードのプログラミングに失敗しました。");
const QString kEndCodeMissing = QStringLiteral("  終了コードを受信できませんでした。");

// The words 0x2004-0x2006 cannot be programmed; bit 7 of their high byte asks the board to skip
// them. The mark goes into the copy that is sent, never into the PC buffer.
constexpr std::array<int, 3> kReservedHighBytes{8, 10, 12};
constexpr std::uint8_t kSkipMark = 0x80;

// A location or word index as the failure details show it: decimal, a blank before values of 0
// and above.
QString indexText(int index) {
    return index >= 0 ? QStringLiteral(" ") + QString::number(index) : QString::number(index);
}

std::uint8_t byteOr0(const std::vector<std::uint8_t>& bytes, std::size_t i) {
    return i < bytes.size() ? bytes[i] : 0;
}

PacedWriteRules rulesWith(ReportRule report, AbortRule abort, WaitLimit limit) {
    PacedWriteRules rules;
    rules.report = report;
    rules.abort = abort;
    rules.singleByteRequests = true;
    rules.requestLimit = limit;
    rules.endLimit = limit;
    return rules;
}

} // namespace

void Pic16F87xModule::WriteProgramMemory(QString& result) {
    BoardChannel& ch = channel();
    Session& ss = s();
    ShowStatusMessage(ui(),
                      QStringLiteral("Ｆｌａｓｈプログラムメモリ プログラミング中.........."));
    ch.pumpEvents();
    ch.discardInput();
    startCommand();
    ch.sendLetters(v_.programWrite);
    const std::int32_t words = sendProgramSize(ch);
    const auto& image = ss.buffer.ProgramImage;
    const PacedWriteOutcome out = runPacedWrite(
        ch, words, [&image](int k) { return wordBytes(image[2 * k], image[2 * k + 1]); },
        rulesWith(ReportRule::StarFirst, AbortRule::EndCodeFirst, WaitLimit::total(10000)),
        [&](int k) { ShowProgress(ui(), ProgressMode::On, 0, 2.0 * words - 1, 2.0 * k); });
    ShowProgress(ui(), ProgressMode::Off, 0, 0, 0);
    result = result::NG;
    switch (out.kind) {
    case Kind::Completed:
        result = result::OK;
        ShowStatusMessage(ui(), QStringLiteral("プログラムメモリのプログラミングに成功しました。"));
        return;
    case Kind::EndCodeMissing:
        ShowStatusMessage(ui(), kProgramFailed + kEndCodeMissing);
        return;
    case Kind::FailureReport:
    case Kind::Abort:
        ShowStatusMessage(ui(), kProgramFailed + QStringLiteral("  中断コードが返信されました。"));
        return;
    case Kind::RequestTimedOut:
        // The word whose request did not come.
        ShowStatusMessage(ui(), kProgramFailed + QStringLiteral(" "),
                          QStringLiteral("0x") + QString::number(out.itemsSent, 16).toUpper() +
                              QStringLiteral("アドレスでタイムアウトが発生しました。"));
        return;
    case Kind::EndTimedOut:
        ShowStatusMessage(ui(),
                          kProgramFailed + QStringLiteral("  受信タイムアウトが発生しました。"));
        return;
    case Kind::PortGone:
        return;
    }
}

void Pic16F87xModule::WriteEepromMemory(QString& result) {
    BoardChannel& ch = channel();
    Session& ss = s();
    ShowStatusMessage(ui(), QStringLiteral("ＥＥＰＲＯＭデータメモリ プログラミング中.........."));
    ch.pumpEvents();
    const std::int32_t count = ss.device.EepromByteCount;
    if (count == 0) {
        ShowStatusMessage(
            ui(), QStringLiteral("このデバイスは、ＥＥＰＲＯＭデータメモリを内蔵していません。"));
        result = result::Skipped;
        return;
    }
    startCommand();
    ch.sendLetters(v_.eepromWrite);
    ch.sendCount16(count);
    const auto& image = ss.buffer.EepromImage;
    const PacedWriteOutcome out = runPacedWrite(
        ch, count, [&image](int k) { return wordBytes(image[2 * k], image[2 * k + 1]); },
        rulesWith(ReportRule::StarFirst, AbortRule::EndCodeFirst, WaitLimit::perBlock()),
        [&](int k) { ShowProgress(ui(), ProgressMode::On, 0, 2.0 * count + 1, 2.0 * k); });
    ShowProgress(ui(), ProgressMode::Off, 0, 0, 0);
    result = result::NG;
    switch (out.kind) {
    case Kind::Completed:
        result = result::OK;
        ShowStatusMessage(
            ui(), QStringLiteral("ＥＥＰＲＯＭデータメモリのプログラミングに成功しました。"));
        return;
    case Kind::FailureReport: {
        // The report names what the board read back; the last location sent is in SendBuffer.
        const auto& sent = ss.link.SendBuffer;
        ShowStatusMessage(ui(), kEepromFailed + QStringLiteral("　　"),
                          QStringLiteral("( Address = ") + indexText(out.itemsSent - 1) +
                              QStringLiteral("  Write = ") + hex2(byteOr0(out.reply, 2)) +
                              hex2(byteOr0(out.reply, 1)) + QStringLiteral("  Read = ") +
                              hex2(byteOr0(sent, 1)) + hex2(byteOr0(sent, 0)) +
                              QStringLiteral(" )"));
        return;
    }
    case Kind::EndCodeMissing:
    case Kind::Abort:
    case Kind::RequestTimedOut:
    case Kind::EndTimedOut:
        ShowStatusMessage(ui(), kEepromFailed + kEndCodeMissing);
        return;
    case Kind::PortGone:
        return;
    }
}

void Pic16F87xModule::WriteConfigWords(QString& result) {
    BoardChannel& ch = channel();
    Session& ss = s();
    ShowStatusMessage(ui(),
                      QStringLiteral("コンフィギュレーションワード プログラミング中.........."));
    ch.pumpEvents();
    ch.discardInput();
    startCommand();
    ch.sendLetters(v_.configWrite);
    ch.sendCount16(8); // start offset 0, eight words
    std::array<std::uint8_t, 16> words{};
    std::copy_n(ss.buffer.ConfigIdImage.begin(), words.size(), words.begin());
    for (int i : kReservedHighBytes)
        words[i] |= kSkipMark;
    const PacedWriteOutcome out = runPacedWrite(
        ch, 8, [&words](int k) { return wordBytes(words[2 * k], words[2 * k + 1]); },
        rulesWith(ReportRule::ExactlyFour, AbortRule::EndCodeFirst, WaitLimit::perBlock()));
    if (out.kind == Kind::Completed) {
        result = result::OK;
        ShowStatusMessage(
            ui(), QStringLiteral("コンフィギュレーションワードのプログラミングに成功しました。"));
        return;
    }
    result = result::NG;
    if (out.kind == Kind::PortGone) return;
    // The board's report is not decoded: the detail names the last word sent, as it was sent.
    const int last = out.itemsSent - 1;
    const QString written =
        last >= 0 ? hex2(words[2 * last]) + hex2(words[2 * last + 1]) : QStringLiteral("----");
    ShowStatusMessage(ui(), kConfigFailed + QStringLiteral("　　"),
                      QStringLiteral("\r\n( Address = ") + indexText(last) +
                          QStringLiteral("  Read = ????  Write = ") + written +
                          QStringLiteral(" )"));
}

} // namespace tavrin
