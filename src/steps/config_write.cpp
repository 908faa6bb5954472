#include "config_write.h"

#include "core/operator_ui.h"
#include "core/program_type.h"
#include "core/session.h"
#include "core/status.h"
#include "core/utilities.h"
#include "link/board_channel.h"
#include "link/paced_write.h"
#include "link/reply_transfer.h"

#include <array>

namespace tavrin {

namespace {

const QString kMergeEndMissing =
    QStringLiteral("コンフィギュレーションワード修正失敗。　　終了コードを受信できませんでした。");
const QString kMergeShort =
    QStringLiteral("コンフィギュレーションワード修正失敗。　　読み出しデータ不足。");
const QString kConfigWritten =
    QStringLiteral("コンフィギュレーションワードのプログラミングに成功しました。");
const QString kConfigFailed =
    QStringLiteral("コンフィギュレーションワードのプログラミングに失敗しました。　　");
const QString kConfigTimedOut = QStringLiteral("コンフィギュレーションワードのプログラミングに失敗"
                                               "しました。  受信タイムアウトが発生しました。");
const QString kPic18Report = QStringLiteral("ＩＤ・コンフィグのプログラミングに失敗しました。　　");
const QString kPic18EndMissing = QStringLiteral(
    "ＩＤ・ＣＯＮＦＩＧのプログラミングに失敗しました。  終了コードを受信できませんでした。");
const QString kPic18TimedOut = QStringLiteral(
    "ＩＤ・ＣＯＮＦＩＧのプログラミングに失敗しました。  受信タイムアウトが発生しました。");
const QString kPic18Written = QStringLiteral("ＩＤ・ＣＯＮＦＩＧのプログラミングに成功しました。");

using ConfigLayout = ConfigWriteLayout;

constexpr std::array<ConfigWriteRow, 15> kVariants{{
    {"5X18", "wps", ConfigLayout::Word12, 1},
    {"5X28", "wpl", ConfigLayout::Word12, 1},
    {"12C5", "wsc", ConfigLayout::Word12, 1},
    {"12C6", "wsc", ConfigLayout::Area14, 8},
    {"EPROM", "wsc", ConfigLayout::Area14, 8},
    {"EPROM2", "wSc", ConfigLayout::Area14, 8},
    {"12F6", "wec", ConfigLayout::Area14, 8},
    {"FLASH0", "wec", ConfigLayout::Area14, 8},
    {"FLASH1", "wec", ConfigLayout::Area14, 8},
    {"FLASH2", "wEc", ConfigLayout::Area14, 8},
    {"FLASH4", "wFc", ConfigLayout::Area14, 8},
    {"FLASH8", "wFc", ConfigLayout::Area14, 8},
    {"FLASH4.9", "wJc", ConfigLayout::Area14, 9},
    {"WRT400", "w8c", ConfigLayout::Area14, 8},
    {"18F_00", "Xwec", ConfigLayout::Pic18, 11},
}};

const ConfigWriteRow* variantFor(const QString& type) {
    for (const auto& v : kVariants)
        if (type == QLatin1String(v.type)) return &v;
    return nullptr;
}

// A single byte that is not the end code still may have its second byte on the way.
constexpr int SecondByteGraceMs = 50;

void writeWord12(BoardChannel& ch, QString& result) {
    Session& s = ch.session();
    const auto& config = s.buffer.ConfigIdImage;
    ch.sendCount16(1);
    const WaitResult request = ch.waitForBytes(1, WaitLimit::perBlock());
    if (request != WaitResult::Complete) return failWait(ch, result, request, kConfigTimedOut);
    ch.takeReply();
    ch.sendData(wordBytes(config[14], config[15]));
    const WaitResult answer = ch.waitForBytes(1, WaitLimit::perBlock());
    if (answer != WaitResult::Complete) return failWait(ch, result, answer, kConfigTimedOut);
    ch.pauseMs(1);
    std::vector<std::uint8_t> r = ch.takeReply();
    if (r.size() == 1 && !endCodeAt(r, 0) &&
        ch.waitForBytes(1, WaitLimit::total(SecondByteGraceMs)) == WaitResult::Complete) {
        const auto& more = ch.takeReply();
        r.insert(r.end(), more.begin(), more.end());
        s.link.ReceiveBuffer = r;
    }
    if (endCodeAt(r, 0)) {
        ShowStatusMessage(ch.ui(), kConfigWritten);
        result = result::OK;
        return;
    }
    const QString written = hex2(config[14]) + hex2(config[15]);
    // A lone byte carries no word read back; it is shown as unknown rather than guessed.
    const QString read = r.size() >= 2 ? hex2(r[0]) + hex2(r[1]) : QStringLiteral("????");
    ShowStatusMessage(ch.ui(), kConfigFailed + QStringLiteral("\r\n"),
                      QStringLiteral("( Read = ") + read + QStringLiteral("  Write = ") + written +
                          QStringLiteral(" )"));
    result = result::NG;
    // The bits above the low nibble may not exist on the part: a match below them is a pass.
    if (r.size() >= 2 && r[1] == (config[15] & 0x0F)) result = result::OK;
}

QString signOrBlank(int value) {
    return value < 0 ? QString::number(value) : QStringLiteral(" ") + QString::number(value);
}

void writeArea14(BoardChannel& ch, const ConfigWriteRow& v, QString& result) {
    Session& s = ch.session();
    auto& merged = s.buffer.MergedConfigIdImage;
    const bool marks = QLatin1String(v.type) != QLatin1String("EPROM2");
    ch.sendCount16(v.words);
    // Words 0x2004-0x2006 go out marked so that the board leaves the chip's own words alone.
    if (marks)
        for (int i : {8, 10, 12})
            merged[i] |= 0x80;
    PacedWriteRules rules;
    rules.report = ReportRule::ExactlyFour;
    const PacedWriteOutcome out = runPacedWrite(
        ch, v.words, [&](int k) { return wordBytes(merged[2 * k], merged[2 * k + 1]); }, rules);
    if (marks)
        for (int i : {8, 10, 12})
            merged[i] &= 0x3F;

    using Kind = PacedWriteOutcome::Kind;
    switch (out.kind) {
    case Kind::Completed:
        ShowStatusMessage(ch.ui(), kConfigWritten);
        result = result::OK;
        return;
    case Kind::PortGone:
        result = result::NG;
        return;
    case Kind::RequestTimedOut:
    case Kind::EndTimedOut:
        return failStep(ch, result, kConfigTimedOut);
    case Kind::FailureReport:
    case Kind::Abort:
    case Kind::EndCodeMissing:
        break;
    }
    // The word concerned is the last one sent. A refusal before the first word names word 0
    // with an unknown value instead of a word that never went out.
    const auto& sent = s.link.SendBuffer;
    const bool anySent = out.itemsSent > 0 && sent.size() >= 2;
    const QString written = anySent ? hex2(sent[0]) + hex2(sent[1]) : QStringLiteral("????");
    const int index = anySent ? out.itemsSent - 1 : 0;
    failStep(ch, result, kConfigFailed,
             QStringLiteral("\r\n( Address = ") + signOrBlank(index) +
                 QStringLiteral("  Read = ????  Write = ") + written + QStringLiteral(" )"));
}

void writePic18(BoardChannel& ch, const ConfigWriteRow& v, QString& result) {
    Session& s = ch.session();
    std::array<std::uint8_t, 22> packet{};
    for (int i = 0; i < 8; ++i)
        packet[i] = s.buffer.Id18Image[i];
    for (int k = 1; k <= limits::ConfigWords; ++k) {
        const std::int32_t value = s.device.ConfigValue[k];
        packet[6 + 2 * k] = std::uint8_t(value & 0xFF);
        packet[7 + 2 * k] = std::uint8_t((value >> 8) & 0xFF);
    }
    ch.discardInput();
    ch.sendLetters(v.letters);
    ch.sendCount24(v.words);
    ch.sendCount24(v.words);
    PacedWriteRules rules;
    rules.report = ReportRule::StarFirst;
    const PacedWriteOutcome out = runPacedWrite(
        ch, v.words, [&](int k) { return wordBytes(packet[2 * k], packet[2 * k + 1]); }, rules);
    ShowProgress(ch.ui(), ProgressMode::Off, 0, 0, 0);

    using Kind = PacedWriteOutcome::Kind;
    switch (out.kind) {
    case Kind::Completed:
        ShowStatusMessage(ch.ui(), kPic18Written);
        result = result::OK;
        return;
    case Kind::PortGone:
        result = result::NG;
        return;
    case Kind::FailureReport:
        return failStep(ch, result, kPic18Report);
    case Kind::RequestTimedOut:
    case Kind::EndTimedOut:
        return failStep(ch, result, kPic18TimedOut);
    case Kind::Abort:
    case Kind::EndCodeMissing:
        return failStep(ch, result, kPic18EndMissing);
    }
}

} // namespace

void ReadConfigForMerge(BoardChannel& ch, QString& result) {
    Session& s = ch.session();
    const QString& type = s.device.ProgramType;
    const char* letters = type == QLatin1String("EPROM2")   ? "rSc"
                          : type == QLatin1String("WRT400") ? "r8c"
                                                            : "rsc";
    ch.discardInput();
    ch.sendPowerLetter();
    ch.sendLetters(letters);
    ch.sendCount16(8);
    WaitResult wait = ch.waitForBytes(16, WaitLimit::perBlock());
    if (wait == WaitResult::Complete) {
        ch.acknowledge();
        wait = ch.waitForBytes(17, WaitLimit::perBlock());
    }
    if (wait != WaitResult::Complete) return failWait(ch, result, wait, kMergeShort);
    const auto& r = ch.takeReply();
    if (!endCodeAt(r, 16)) return failStep(ch, result, kMergeEndMissing);

    auto& config = s.buffer.ConfigIdImage;
    auto& merged = s.buffer.MergedConfigIdImage;
    for (int i = 0; i < 8; ++i)
        merged[i] = config[i];
    for (int i = 8; i < 14; ++i)
        merged[i] = r[i];
    for (int i = 14; i < 28; ++i)
        merged[i] = config[i];
    if (type == QLatin1String("EPROM2")) {
        for (int i = 0; i < 8; i += 2)
            SetWordParityBits(config[i], config[i + 1]);
        config[14] |= 0xC0;
    }
    result = result::OK;
}

void WriteConfigWords(BoardChannel& ch, QString& result) {
    if (const ConfigWriteRow* v = variantFor(ch.session().device.ProgramType))
        return WriteConfigWordsWith(ch, *v, result);
    ch.discardInput();
    ch.sendPowerLetter();
}

void WriteConfigWordsWith(BoardChannel& ch, const ConfigWriteRow& row, QString& result) {
    ch.discardInput();
    ch.sendPowerLetter();
    switch (row.layout) {
    case ConfigLayout::Word12:
        ch.sendLetters(row.letters);
        return writeWord12(ch, result);
    case ConfigLayout::Area14:
        ch.sendLetters(row.letters);
        return writeArea14(ch, row, result);
    case ConfigLayout::Pic18:
        return writePic18(ch, row, result);
    }
}

} // namespace tavrin
