// The three writes of the programming sequence, each paced by the board's requests: program
// memory in 8-byte packets round-robin over the 8 KiB panels, the data EEPROM byte by byte, and
// the ID locations with CONFIG1..7 in eleven two-byte transfers. A failure report ("*") or an
// abort at any point ends the write as a failure, and so does a board that stops asking.
#include "pic18_module.h"

#include "core/clock.h"
#include "core/operator_ui.h"
#include "core/session.h"
#include "core/utilities.h"
#include "link/board_channel.h"
#include "link/paced_write.h"
#include "link/reply_transfer.h"

namespace tavrin {

namespace {
const QString kWritingProgram = QStringLiteral(
    "プログラミング..........ＦＬＡＳＨプログラムメモリーのプログラミング中..........");
const QString kProgramWritten = QStringLiteral("プログラムメモリのプログラミングに成功しました。");
const QString kProgramFailed = QStringLiteral("プログラムメモリのプログラミングに失敗しました。 ");
const QString kProgramOpeningTimedOut =
    QStringLiteral("プログラムメモリのプログラミングに失敗しました。 "
                   "コマンド送信後、タイムアウトが発生しました。");
const QString kProgramRefused = QStringLiteral(
    "プログラムメモリのプログラミングに失敗しました。  中断コードが返信されました。");
const QString kProgramEndMissing = QStringLiteral(
    "プログラムメモリのプログラミングに失敗しました。  終了コードを受信できませんでした。");
const QString kTimedOutAt = QStringLiteral("アドレスでタイムアウトが発生しました。");
const QString kReportedAt = QStringLiteral("アドレスで書き込みに失敗しました。");
const QString kNoEeprom =
    QStringLiteral("このデバイスは、ＥＥＰＲＯＭデータメモリを内蔵していません。");
const QString kEepromFailed =
    QStringLiteral("ＥＥＰＲＯＭデータメモリのプログラミングに失敗しました。　　");
const QString kEepromEndMissing = QStringLiteral(
    "ＥＥＰＲＯＭデータメモリのプログラミングに失敗しました。  終了コードを受信できませんでした。");
const QString kEepromTimedOut = QStringLiteral(
    "ＥＥＰＲＯＭデータメモリのプログラミングに失敗しました。  受信タイムアウトが発生しました。");
const QString kConfigFailed =
    QStringLiteral("ＩＤ・コンフィグのプログラミングに失敗しました。　　");
const QString kConfigEndMissing = QStringLiteral(
    "ＩＤ・ＣＯＮＦＩＧのプログラミングに失敗しました。  終了コードを受信できませんでした。");
const QString kConfigTimedOut = QStringLiteral(
    "ＩＤ・ＣＯＮＦＩＧのプログラミングに失敗しました。  受信タイムアウトが発生しました。");
const QString kConfigWritten = QStringLiteral("ＩＤ・ＣＯＮＦＩＧのプログラミングに成功しました。");
constexpr int PacketBytes = 8;
constexpr int AnswerLimitMs = 10000;

PacedWriteRules pic18Rules() {
    PacedWriteRules rules;
    rules.report = ReportRule::StarFirst;
    rules.abort = AbortRule::EndCodeFirst;
    rules.requestLimit = WaitLimit::total(AnswerLimitMs);
    rules.endLimit = WaitLimit::total(AnswerLimitMs);
    return rules;
}
} // namespace

void Pic18Module::WriteProgramMemory(QString& result) {
    status(kWritingProgram);
    ui_.pumpEvents();
    const std::int32_t panels = pic18PanelCount(s_.device.ProgramWordCount);
    s_.device.Pic18PanelCount = panels;
    ch_.sendPowerLetter();
    ch_.discardInput();
    sendHeader("Xwep", 0, panels + 1);
    const auto& image = s_.buffer.ProgramImage;
    constexpr int Rounds = Pic18PanelBytes / PacketBytes;
    // Packet k: offset (k / panels) * 8 inside panel k % panels.
    auto packetAddress = [&](int k) {
        return std::int64_t(k % panels) * Pic18PanelBytes + std::int64_t(k / panels) * PacketBytes;
    };
    const PacedWriteOutcome out = runPacedWrite(
        ch_, Rounds * panels,
        [&](int k) {
            const std::int64_t a = packetAddress(k);
            QByteArray packet(PacketBytes, '\0');
            for (int b = 0; b < PacketBytes; b += 2) {
                packet[b] = char(image[std::size_t(a + b + 1)]);
                packet[b + 1] = char(image[std::size_t(a + b)]);
            }
            return packet;
        },
        pic18Rules(),
        [&](int k) {
            if (k % panels != 0) return;
            showProgress18(ui_, true, 0, Pic18PanelBytes - 1, double((k / panels) * PacketBytes));
            ui_.pumpEvents();
        });
    showProgress18(ui_, false, 0, 0, 0);
    // Word addresses: four digits reach the end of the largest part.
    auto at = [&](int item) { return QStringLiteral("0x") + hex4(packetAddress(item) / 2); };
    using Kind = PacedWriteOutcome::Kind;
    result = result::NG;
    switch (out.kind) {
    case Kind::Completed:
        result = result::OK;
        return status(kProgramWritten);
    case Kind::PortGone:
        return;
    case Kind::RequestTimedOut:
    case Kind::EndTimedOut:
        if (out.itemsSent == 0) return status(kProgramOpeningTimedOut);
        return status(kProgramFailed, at(out.itemsSent - 1) + kTimedOutAt);
    case Kind::Abort:
        return status(kProgramRefused);
    case Kind::EndCodeMissing:
        return status(kProgramEndMissing);
    case Kind::FailureReport:
        return status(kProgramFailed, at(std::max(out.itemsSent - 1, 0)) + kReportedAt);
    }
}

void Pic18Module::WriteEepromMemory(QString& result) {
    const std::int32_t count = s_.device.EepromByteCount;
    if (count == 0) {
        status(kNoEeprom);
        result = result::Skipped;
        return;
    }
    ch_.sendPowerLetter();
    ch_.discardInput();
    sendHeader("Xwed", 1, count);
    const auto& image = s_.buffer.EepromImage;
    const PacedWriteOutcome out = runPacedWrite(
        ch_, count, [&](int k) { return QByteArray(1, char(image[std::size_t(k)])); }, pic18Rules(),
        [&](int k) { showProgress18(ui_, true, 0, count, k); });
    showProgress18(ui_, false, 0, 0, 0);
    using Kind = PacedWriteOutcome::Kind;
    result = result::NG;
    switch (out.kind) {
    case Kind::Completed:
        // A successful EEPROM write leaves the status line as it was.
        result = result::OK;
        return;
    case Kind::PortGone:
        return;
    case Kind::FailureReport: {
        // The report came in place of the request for location itemsSent; the byte sent last
        // is the one before it.
        const auto& sent = s_.link.SendBuffer;
        return status(kEepromFailed, QStringLiteral("( Address = ") + hex4(out.itemsSent) +
                                         QStringLiteral("  Write = ") +
                                         (sent.empty() ? QStringLiteral("--") : hex2(sent[0])) +
                                         QStringLiteral(" )"));
    }
    case Kind::RequestTimedOut:
    case Kind::EndTimedOut:
        return status(kEepromTimedOut);
    case Kind::Abort:
    case Kind::EndCodeMissing:
        return status(kEepromEndMissing);
    }
}

void Pic18Module::WriteConfigWords(QString& result) {
    constexpr int Transfers = 11;
    std::array<std::uint8_t, 2 * Transfers> block{};
    for (std::size_t i = 0; i < 8; ++i)
        block[i] = s_.buffer.Id18Image[i];
    for (int k = 1; k <= limits::ConfigWords; ++k) {
        const std::int32_t value = s_.device.ConfigValue[k] & 0xFFFF;
        block[std::size_t(8 + 2 * (k - 1))] = std::uint8_t(value % 256);
        block[std::size_t(9 + 2 * (k - 1))] = std::uint8_t(value / 256);
    }
    ch_.sendPowerLetter();
    ch_.discardInput();
    sendHeader("Xwec", Transfers, Transfers);
    const PacedWriteOutcome out = runPacedWrite(
        ch_, Transfers,
        [&](int k) { return wordBytes(block[std::size_t(2 * k)], block[std::size_t(2 * k + 1)]); },
        pic18Rules(),
        [&](int k) {
            // 1 ms after each transfer: before the next one goes out.
            if (k > 0) clock_.sleepMs(1);
            ui_.pumpEvents();
        });
    using Kind = PacedWriteOutcome::Kind;
    result = result::NG;
    switch (out.kind) {
    case Kind::Completed:
        result = result::OK;
        return status(kConfigWritten);
    case Kind::PortGone:
        return;
    case Kind::FailureReport:
        return status(kConfigFailed);
    case Kind::RequestTimedOut:
    case Kind::EndTimedOut:
        return status(kConfigTimedOut);
    case Kind::Abort:
    case Kind::EndCodeMissing:
        return status(kConfigEndMissing);
    }
}

} // namespace tavrin
