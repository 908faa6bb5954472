#include "program_write.h"

#include "core/operator_ui.h"
#include "core/session.h"
#include "core/status.h"
#include "core/utilities.h"
#include "link/board_channel.h"
#include "link/paced_write.h"
#include "link/program_size.h"
#include "link/reply_transfer.h"

#include <array>
#include <string>

namespace tavrin {

namespace {

const QString kWritten = QStringLiteral("プログラムメモリのプログラミングに成功しました。");
const QString kFailed = QStringLiteral("プログラムメモリのプログラミングに失敗しました。 ");
const QString kFailedTmo =
    QStringLiteral("プログラムメモリのプログラミングに失敗しました。  (TMO)");
const QString kFailedAbt =
    QStringLiteral("プログラムメモリのプログラミングに失敗しました。  (ABT)");
const QString kFailedRxo =
    QStringLiteral("プログラムメモリのプログラミングに失敗しました。  (RXO)");
const QString kFailedEof =
    QStringLiteral("プログラムメモリのプログラミングに失敗しました。  (EOF)");
const QString kOscillatorHint =
    QStringLiteral("\r\n念のためデバイスと書き込みのオシレータ設定を確認してください。");
const QString kAborted = QStringLiteral(
    "プログラムメモリのプログラミングに失敗しました。  中断コードが返信されました。");
const QString kNoEnd = QStringLiteral(
    "プログラムメモリのプログラミングに失敗しました。  受信タイムアウトが発生しました。");
const QString kEndMissing = QStringLiteral(
    "プログラムメモリのプログラミングに失敗しました。  終了コードを受信できませんでした。");
const QString kOpeningTimedOut = QStringLiteral("プログラムメモリのプログラミングに失敗しました。 "
                                                "コマンド送信後、タイムアウトが発生しました。");
const QString kTimedOutAt = QStringLiteral("アドレスでタイムアウトが発生しました。");
const QString kRefusedAt = QStringLiteral("アドレスで書き込みに失敗しました。");
const QString kConfigRefused =
    QStringLiteral("コンフィギュレーションワードの書き込みに失敗しました。");

using Stream = WriteStream;

// FLASH0's letters are followed by a letter for its family, added below.
constexpr std::array<ProgramWriteRow, 15> kVariants{{
    {"5X18", "wps", Stream::Bit12},
    {"5X28", "wpl", Stream::Bit12},
    {"12C5", "wsp", Stream::Bit12},
    {"12C6", "wsp", Stream::Bit14},
    {"12F6", "we8", Stream::Bit14},
    {"EPROM", "wsp", Stream::Bit14},
    {"EPROM2", "wSp", Stream::Bit14},
    {"FLASH0", "we", Stream::Bit14},
    {"FLASH1", "we8", Stream::Bit14},
    {"FLASH2", "wEe", Stream::Bit14},
    {"FLASH4", "wHe", Stream::Bit14},
    {"FLASH4.9", "wHe", Stream::Bit14},
    {"FLASH8", "wGe", Stream::Bit14},
    {"WRT400", "w84", Stream::Bit14},
    {"18F_00", "Xwep", Stream::Pic18},
}};

const ProgramWriteRow* variantFor(const QString& type) {
    for (const auto& v : kVariants)
        if (type == QLatin1String(v.type)) return &v;
    return nullptr;
}

// FLASH0 parts differ in their write algorithm by family, told by the device name.
char flash0Letter(const QString& device) {
    if (device.left(8) == QLatin1String("PIC16F87")) return '8';
    if (device.left(8) == QLatin1String("PIC16F62")) return '5';
    if (device.left(7) == QLatin1String("PIC16F7")) return '1';
    return 'f';
}

QString hexAddress(std::int64_t value) {
    return QStringLiteral("0x") + QString::number(value, 16).toUpper();
}

QString hexAddress4(std::int64_t value) {
    return QStringLiteral("0x") + QString::number(value, 16).toUpper().rightJustified(4, u'0');
}

void succeed(BoardChannel& ch, QString& result) {
    ShowProgress(ch.ui(), ProgressMode::Off, 0, 0, 0);
    ShowStatusMessage(ch.ui(), kWritten);
    result = result::OK;
}

// The 12-bit and 14-bit word streams: word k goes out as bytes 2k and 2k + 1, the bar counting
// two bytes a word.
PacedWriteOutcome sendWordStream(BoardChannel& ch, const std::vector<std::uint8_t>& bytes,
                                 int words, AbortRule abort, double progressMax) {
    PacedWriteRules rules;
    rules.report = ReportRule::StarFirst;
    rules.abort = abort;
    return runPacedWrite(
        ch, words, [&](int k) { return wordBytes(bytes[2 * k], bytes[2 * k + 1]); }, rules,
        [&](int k) { ShowProgress(ch.ui(), ProgressMode::On, 0, progressMax, 2.0 * k); });
}

// An erased calibration word (0x0FFF) is put back as MOVLW with the value kept in the
// calibration instruction, so that the part keeps a working calibration.
void restoreCalibration12(Session& s) {
    const DeviceRecord& dev = s.device;
    const std::int32_t n = dev.ProgramWordCount;
    if (dev.CalibrationInstruction.isEmpty() || n <= 0) return;
    if (s.run.CalibWordHigh * 256 + s.run.CalibWordLow != 0x0FFF) return;
    auto& image = s.buffer.ProgramImage;
    image[2 * n - 2] = 0x0C;
    const std::int32_t value =
        parseNumber(QStringLiteral("0x") + dev.CalibrationInstruction.right(2));
    if (value >= 0 && value <= 0xFF) image[2 * n - 1] = std::uint8_t(value);
}

// What stream word k is: word 0 the configuration word, words 1.. the program words, then the
// ID words, which take the addresses after the program as in the verify's report.
QString streamItem12(int k) {
    if (k == 0) return kConfigRefused;
    return hexAddress(k - 1) + kRefusedAt;
}

void writeStream12(BoardChannel& ch, QString& result) {
    Session& s = ch.session();
    DeviceRecord& dev = s.device;
    const std::int32_t n = dev.ProgramWordCount;
    restoreCalibration12(s);
    const std::int32_t words = sendStreamSize(ch);

    auto& stream = s.link.ProgramStreamBuffer;
    const auto& image = s.buffer.ProgramImage;
    const auto& config = s.buffer.ConfigIdImage;
    stream.assign(2 * std::size_t(words) + 1, 0);
    // The configuration word goes out unprotected: protection comes with the configuration
    // write at the end, after the verify has read the program back.
    const std::int32_t configWord = (config[14] * 256 + config[15]) | dev.CodeProtectMask;
    stream[0] = std::uint8_t((configWord >> 8) & 0xFF);
    stream[1] = std::uint8_t(configWord & 0xFF);
    std::copy(image.begin(), image.begin() + 2 * n, stream.begin() + 2);
    std::copy(config.begin(), config.begin() + 8, stream.begin() + 2 + 2 * n);

    const PacedWriteOutcome out =
        sendWordStream(ch, stream, words, AbortRule::EndCodeThird, 2.0 * (n + 4));

    using Kind = PacedWriteOutcome::Kind;
    switch (out.kind) {
    case Kind::Completed:
        return succeed(ch, result);
    case Kind::PortGone:
        return failPortGone(ch, result);
    case Kind::RequestTimedOut:
        return failStep(ch, result, kFailedTmo, kOscillatorHint);
    case Kind::Abort:
        // The 12-bit board gives up with the word it read back from the item written last:
        // the detail names that item, so a word that did not program is found.
        if (out.itemsSent == 0 || out.reply.size() < 2) return failStep(ch, result, kFailedAbt);
        return failStep(ch, result, kFailedAbt,
                        streamItem12(out.itemsSent - 1) + QStringLiteral(" ( Read = ") +
                            hex2(out.reply[0]) + hex2(out.reply[1]) + QStringLiteral(" )"));
    case Kind::EndTimedOut:
        return failStep(ch, result, kFailedRxo, kOscillatorHint);
    case Kind::EndCodeMissing:
        return failStep(ch, result, kFailedEof);
    case Kind::FailureReport:
        return failStep(ch, result, kFailed, streamItem12(std::max(out.itemsSent - 1, 0)));
    }
}

void writeStream14(BoardChannel& ch, QString& result) {
    Session& s = ch.session();
    const std::int32_t words = sendProgramSize(ch);
    const auto& image = s.buffer.ProgramImage;

    const PacedWriteOutcome out =
        sendWordStream(ch, image, words, AbortRule::EndCodeFirst, 2.0 * words - 1);

    using Kind = PacedWriteOutcome::Kind;
    switch (out.kind) {
    case Kind::Completed:
        return succeed(ch, result);
    case Kind::PortGone:
        return failPortGone(ch, result);
    case Kind::RequestTimedOut:
        // The board did not ask for word itemsSent: that is where the transfer stopped.
        return failStep(ch, result, kFailed, hexAddress(out.itemsSent) + kTimedOutAt);
    case Kind::Abort:
        return failStep(ch, result, kAborted);
    case Kind::EndTimedOut:
        return failStep(ch, result, kNoEnd);
    case Kind::EndCodeMissing:
        return failStep(ch, result, kEndMissing);
    case Kind::FailureReport:
        return failStep(ch, result, kFailed,
                        hexAddress(std::max(out.itemsSent - 1, 0)) + kRefusedAt);
    }
}

// Blocks go out round by round: block j of every panel, then block j + 8 of every panel.
void writeBlocks18(BoardChannel& ch, const ProgramWriteRow& v, QString& result) {
    Session& s = ch.session();
    const std::int32_t panels = pic18PanelsFor(s.device.ProgramWordCount);
    ch.sendLetters(v.letters);
    ch.sendCount24(0);
    // The board takes the panel count plus one.
    ch.sendCount24(panels + 1);
    const auto& image = s.buffer.ProgramImage;
    constexpr int BlockBytes = 8;
    constexpr int Rounds = Pic18PanelBytes / BlockBytes;
    const int blocks = Rounds * panels;
    auto blockAddress = [&](int k) {
        const int round = k / panels;
        const int panel = k % panels;
        return std::int64_t(panel) * Pic18PanelBytes + std::int64_t(round) * BlockBytes;
    };

    PacedWriteRules rules;
    rules.report = ReportRule::StarFirst;
    rules.abort = AbortRule::EndCodeFirst;
    const PacedWriteOutcome out = runPacedWrite(
        ch, blocks,
        [&](int k) {
            const std::int64_t base = blockAddress(k);
            QByteArray block(BlockBytes, '\0');
            for (int b = 0; b < BlockBytes; b += 2) {
                block[b] = char(image[base + b + 1]);
                block[b + 1] = char(image[base + b]);
            }
            return block;
        },
        rules,
        [&](int k) {
            if (k % panels != 0) return;
            ShowProgress(ch.ui(), ProgressMode::On, 0, Pic18PanelBytes - 1,
                         double((k / panels) * BlockBytes));
        });

    using Kind = PacedWriteOutcome::Kind;
    switch (out.kind) {
    case Kind::Completed:
        return succeed(ch, result);
    case Kind::PortGone:
        return failPortGone(ch, result);
    case Kind::RequestTimedOut:
    case Kind::EndTimedOut:
        if (out.itemsSent == 0) return failStep(ch, result, kOpeningTimedOut);
        return failStep(ch, result, kFailed,
                        hexAddress4(blockAddress(out.itemsSent - 1)) + kTimedOutAt);
    case Kind::Abort:
        return failStep(ch, result, kAborted);
    case Kind::EndCodeMissing:
        return failStep(ch, result, kEndMissing);
    case Kind::FailureReport:
        return failStep(ch, result, kFailed,
                        hexAddress4(blockAddress(std::max(out.itemsSent - 1, 0))) + kRefusedAt);
    }
}

} // namespace

void WriteProgramMemory(BoardChannel& ch, QString& result) {
    Session& s = ch.session();
    const ProgramWriteRow* v = variantFor(s.device.ProgramType);
    if (!v) {
        ch.discardInput();
        ch.sendPowerLetter();
        return;
    }
    if (s.device.ProgramType != QLatin1String("FLASH0"))
        return WriteProgramMemoryWith(ch, *v, result);
    const std::string letters = std::string(v->letters) + flash0Letter(s.device.SelectedDevice);
    WriteProgramMemoryWith(ch, {v->type, letters.c_str(), v->stream}, result);
}

void WriteProgramMemoryWith(BoardChannel& ch, const ProgramWriteRow& row, QString& result) {
    ch.discardInput();
    ch.sendPowerLetter();
    switch (row.stream) {
    case Stream::Bit12:
        ch.sendLetters(row.letters);
        return writeStream12(ch, result);
    case Stream::Bit14:
        ch.sendLetters(row.letters);
        return writeStream14(ch, result);
    case Stream::Pic18:
        return writeBlocks18(ch, row, result);
    }
}

} // namespace tavrin
