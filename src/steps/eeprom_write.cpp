#include "eeprom_write.h"

#include "core/operator_ui.h"
#include "core/session.h"
#include "core/status.h"
#include "core/utilities.h"
#include "link/board_channel.h"
#include "link/paced_write.h"
#include "link/reply_transfer.h"

#include <array>

namespace tavrin {

namespace {

const QString kNoEeprom =
    QStringLiteral("このデバイスは、ＥＥＰＲＯＭデータメモリを内蔵していません。");
const QString kWritten = QStringLiteral("ＥＥＰＲＯＭデータメモリのプログラミングに成功しました。");
const QString kFailed =
    QStringLiteral("ＥＥＰＲＯＭデータメモリのプログラミングに失敗しました。　　");
const QString kEndMissing = QStringLiteral(
    "ＥＥＰＲＯＭデータメモリのプログラミングに失敗しました。  終了コードを受信できませんでした。");
const QString kTimedOut = QStringLiteral(
    "ＥＥＰＲＯＭデータメモリのプログラミングに失敗しました。  受信タイムアウトが発生しました。");

constexpr std::array<EepromWriteRow, 8> kVariants{{
    {"12F6", "wed", false},
    {"FLASH0", "wed", false},
    {"FLASH1", "wed", false},
    {"FLASH8", "wed", false},
    {"FLASH4", "wId", false},
    {"FLASH4.9", "wId", false},
    {"WRT400", "w8d", false},
    {"18F_00", "Xwed", true},
}};

void writeEeprom(BoardChannel& ch, const EepromWriteRow* v, QString& result);

const EepromWriteRow* variantFor(const QString& type) {
    for (const auto& v : kVariants)
        if (type == QLatin1String(v.type)) return &v;
    return nullptr;
}

QString signOrBlank(int value) {
    return value < 0 ? QString::number(value) : QStringLiteral(" ") + QString::number(value);
}

QString pairAt(const std::vector<std::uint8_t>& bytes, std::size_t i) {
    return i < bytes.size() ? hex2(bytes[i]) : QStringLiteral("??");
}

// The board reports the location written last. Its detail keeps the board's layout: "Write"
// shows the report's bytes, "Read" the two bytes sent, second byte first.
QString reportDetail14(const PacedWriteOutcome& out, const std::vector<std::uint8_t>& sent) {
    const bool anySent = out.itemsSent > 0 && sent.size() >= 2;
    return QStringLiteral("( Address = ") + signOrBlank(out.itemsSent - 1) +
           QStringLiteral("  Write = ") + pairAt(out.reply, 2) + pairAt(out.reply, 1) +
           QStringLiteral("  Read = ") +
           (anySent ? hex2(sent[1]) + hex2(sent[0]) : QStringLiteral("????")) +
           QStringLiteral(" )");
}

// The location concerned is the last one sent, shown with the byte sent for it.
QString reportDetail18(const PacedWriteOutcome& out, const std::vector<std::uint8_t>& sent) {
    if (out.itemsSent == 0 || sent.empty()) return QStringLiteral("( Address = ----  Write = -- )");
    return QStringLiteral("( Address = ") + hex4(out.itemsSent - 1) + QStringLiteral("  Write = ") +
           hex2(sent[0]) + QStringLiteral(" )");
}

} // namespace

void WriteEepromMemory(BoardChannel& ch, QString& result) {
    const EepromWriteRow* v = variantFor(ch.session().device.ProgramType);
    writeEeprom(ch, v, result);
}

void WriteEepromMemoryWith(BoardChannel& ch, const EepromWriteRow& row, QString& result) {
    writeEeprom(ch, &row, result);
}

namespace {
void writeEeprom(BoardChannel& ch, const EepromWriteRow* v, QString& result) {
    Session& s = ch.session();
    const std::int32_t count = s.device.EepromByteCount;
    if (count == 0) {
        ShowStatusMessage(ch.ui(), kNoEeprom);
        result = result::Skipped;
        return;
    }
    ch.sendPowerLetter();
    if (!v) return;
    ch.discardInput();
    ch.sendLetters(v->letters);

    const auto& image = s.buffer.EepromImage;
    // The image holds 1024 two-byte locations or 2048 PIC18 bytes; nothing beyond it is sent.
    const int perLocation = v->pic18 ? 1 : 2;
    const int locations = std::min<std::int32_t>(count, std::int32_t(image.size()) / perLocation);
    if (v->pic18) {
        ch.sendCount24(1);
        ch.sendCount24(locations);
    } else {
        ch.sendCount16(locations);
    }
    PacedWriteRules rules;
    rules.report = ReportRule::StarFirst;
    const double progressMax = v->pic18 ? double(count) : 2.0 * count + 1;
    const PacedWriteOutcome out = runPacedWrite(
        ch, locations,
        [&](int k) {
            if (v->pic18) return QByteArray(1, char(image[k]));
            return wordBytes(image[2 * k], image[2 * k + 1]);
        },
        rules,
        [&](int k) {
            ShowProgress(ch.ui(), ProgressMode::On, 0, progressMax, double(perLocation * k));
        });

    using Kind = PacedWriteOutcome::Kind;
    switch (out.kind) {
    case Kind::Completed:
        ShowProgress(ch.ui(), ProgressMode::Off, 0, 0, 0);
        ShowStatusMessage(ch.ui(), kWritten);
        result = result::OK;
        return;
    case Kind::PortGone:
        return failPortGone(ch, result);
    case Kind::FailureReport: {
        const auto& sent = s.link.SendBuffer;
        return failStep(ch, result, kFailed,
                        v->pic18 ? reportDetail18(out, sent) : reportDetail14(out, sent));
    }
    case Kind::RequestTimedOut:
    case Kind::EndTimedOut:
        return failStep(ch, result, kTimedOut);
    case Kind::Abort:
    case Kind::EndCodeMissing:
        return failStep(ch, result, kEndMissing);
    }
}
} // namespace

} // namespace tavrin
