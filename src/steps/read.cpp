#include "read.h"

#include "core/buffer_fills.h"
#include "core/operator_ui.h"
#include "core/session.h"
#include "core/status.h"
#include "core/utilities.h"
#include "group_steps.h"
#include "link/board_channel.h"
#include "link/program_size.h"
#include "link/reply_transfer.h"
#include "read_commands.h"

namespace tavrin {

namespace {

const QString kProgramEndMissing12 =
    QStringLiteral("プログラムメモリ読み出し失敗。　　終了コードを受信できませんでした。");
const QString kProgramEndMissing = QStringLiteral(
    "プログラムメモリ読み出しブランクチェック失敗。　　終了コードを受信できませんでした。");
const QString kProgramShort =
    QStringLiteral("プログラムメモリ読み出し失敗。　　読み出しデータ不足。");
const QString kNoEeprom =
    QStringLiteral("ＯＴＰ版は、ＥＥＰＲＯＭデータメモリを内蔵していません。");
const QString kConfigShort =
    QStringLiteral("コンフィギュレーションワード読み出し失敗。　　読み出しデータ不足。");
const QString kConfigEndMissing = QStringLiteral(
    "コンフィギュレーションワード読み出し失敗。　　終了コードを受信できませんでした。");

void andInto(std::int32_t& accumulator, std::uint8_t byte) {
    accumulator &= byte;
}

// Stores reply[from + j] in image[j] for every j below `bytes`, two bytes a word, and ANDs each
// word's first byte into `high` and its second into `low`.
void storeWords(std::vector<std::uint8_t>& image, const std::vector<std::uint8_t>& reply,
                std::size_t from, std::int64_t bytes, std::int32_t& high, std::int32_t& low) {
    for (std::int64_t j = 0; j + 1 < bytes; j += 2) {
        image[j] = reply[from + j];
        image[j + 1] = reply[from + j + 1];
        andInto(high, reply[from + j]);
        andInto(low, reply[from + j + 1]);
    }
}

// The 12-bit stream: configuration word, program words, four ID words.
void readProgram12(BoardChannel& ch, const ReadCommands& cmd, QString& result) {
    Session& s = ch.session();
    DeviceRecord& dev = s.device;
    RunState& run = s.run;
    auto& image = s.buffer.ProgramImage;
    auto& config = s.buffer.ConfigIdImage;
    ch.sendLetters(cmd.program);
    const std::int32_t stream = sendStreamSize(ch);

    const WaitResult wait = receiveWords(ch, stream, WaitLimit::perBlock());
    if (wait != WaitResult::Complete) return failWait(ch, result, wait, kProgramShort);
    const auto& r = s.link.ReceiveBuffer;

    const bool calibrated = !dev.CalibrationInstruction.isEmpty();
    const std::int32_t S2 = 2 * stream;
    run.ReadDataLastIndex = S2 - (calibrated ? 11 : 9);
    if (!endCodeAt(r, std::size_t(S2))) return failStep(ch, result, kProgramEndMissing12);

    if (calibrated) {
        run.CalibWordHigh = r[S2 - 10];
        run.CalibWordLow = r[S2 - 9];
        dev.CalibrationInstruction = QStringLiteral("movlw 0x") + hex2(run.CalibWordLow);
        ch.ui().setControlText(Control::Text_Calib_Data, hex2(run.CalibWordLow));
    }
    run.ProgramAndHigh = 255;
    run.ProgramAndLow = 255;
    storeWords(image, r, 2, run.ReadDataLastIndex - 1, run.ProgramAndHigh, run.ProgramAndLow);
    // The last program word goes into the image whether or not it is the calibration word.
    image[S2 - 12] = r[S2 - 10];
    image[S2 - 11] = r[S2 - 9];

    FillIdConfigErased(s);
    run.IdAndHigh = 255;
    run.IdAndLow = 255;
    for (int k = 0; k < 8; ++k) {
        config[k] = r[S2 - 8 + k];
        andInto(k % 2 == 0 ? run.IdAndHigh : run.IdAndLow, config[k]);
    }
    run.ConfigAndHigh = 255;
    run.ConfigAndLow = 255;
    config[14] = r[0];
    config[15] = r[1];
    andInto(run.ConfigAndHigh, r[0]);
    andInto(run.ConfigAndLow, r[1]);

    QString id;
    for (int k : {1, 3, 5, 7})
        id += NibbleToHexChar(config[k] & 0x0F);
    s.buffer.IdText = id;
    ch.ui().setControlText(Control::Text_ID, id);
    ch.ui().refreshViews(ViewProgram | ViewIdConfig);
    result = result::OK;
}

void readProgram14(BoardChannel& ch, const ReadCommands& cmd, QString& result) {
    Session& s = ch.session();
    DeviceRecord& dev = s.device;
    RunState& run = s.run;
    auto& image = s.buffer.ProgramImage;
    const std::int32_t words = dev.ProgramWordCount;
    ch.sendLetters(cmd.program);
    ch.sendCount16(words);

    const WaitResult wait = receiveWords(ch, words, WaitLimit::perBlock());
    if (wait != WaitResult::Complete) return failWait(ch, result, wait, kProgramShort);
    const auto& r = s.link.ReceiveBuffer;

    const bool calibrated = !dev.CalibrationInstruction.isEmpty();
    const std::int32_t P2 = 2 * words;
    run.ReadDataLastIndex = P2 - (calibrated ? 3 : 1);
    if (!endCodeAt(r, std::size_t(P2))) return failStep(ch, result, kProgramEndMissing);

    if (calibrated && words > 0) {
        run.CalibWordHigh = r[P2 - 2];
        run.CalibWordLow = r[P2 - 1];
        dev.CalibrationInstruction = QStringLiteral("retlw 0x") + hex2(run.CalibWordLow);
        ch.ui().setControlText(Control::Text_Calib_Data, hex2(run.CalibWordLow));
    }
    run.ProgramAndHigh = 255;
    run.ProgramAndLow = 255;
    storeWords(image, r, 0, run.ReadDataLastIndex + 1, run.ProgramAndHigh, run.ProgramAndLow);
    if (words > 0) {
        image[P2 - 2] = r[P2 - 2];
        image[P2 - 1] = r[P2 - 1];
    }
    ch.ui().refreshViews(ViewProgram);
    result = result::OK;
}

void readProgram18(BoardChannel& ch, const ReadCommands& cmd, QString& result) {
    Session& s = ch.session();
    RunState& run = s.run;
    auto& image = s.buffer.ProgramImage;
    result = result::OK;
    run.ProgramAndHigh = 255;
    run.ProgramAndLow = 255;
    // The blank summary: the AND of every low and every high byte read.
    auto summarise = [&](std::int32_t base, std::int32_t bytes) {
        for (std::int32_t e = 0; e + 1 < bytes; e += 2) {
            andInto(run.ProgramAndLow, image[base + e]);
            andInto(run.ProgramAndHigh, image[base + e + 1]);
        }
    };
    if (!receivePanels18(ch, cmd.program, {kProgramShort, kProgramEndMissing}, image, result,
                         summarise))
        return;
    ch.ui().refreshViews(ViewProgram);
}

void readEeprom14(BoardChannel& ch, const ReadCommands& cmd, QString& result) {
    Session& s = ch.session();
    RunState& run = s.run;
    auto& image = s.buffer.EepromImage;
    const std::int32_t count = s.device.EepromByteCount;
    ch.sendLetters(cmd.eeprom);
    run.EepromAndHigh = 63;
    run.EepromAndLow = 255;
    ch.sendCount16(count);
    const WaitResult wait = receiveWords(ch, count, WaitLimit::total(10000));
    const ReadBackFailures& failures = eepromReadFailures();
    if (wait != WaitResult::Complete) return failWait(ch, result, wait, failures.shortReply);
    const auto& r = s.link.ReceiveBuffer;
    if (!endCodeAt(r, std::size_t(2 * count))) return failStep(ch, result, failures.endCodeMissing);
    const std::size_t stored = std::min<std::size_t>(2 * std::size_t(count), image.size());
    storeWords(image, r, 0, std::int64_t(stored), run.EepromAndHigh, run.EepromAndLow);
    ch.ui().refreshViews(ViewEeprom);
    result = result::OK;
}

void readEeprom18(BoardChannel& ch, const ReadCommands& cmd, QString& result) {
    Session& s = ch.session();
    RunState& run = s.run;
    auto& image = s.buffer.EepromImage;
    const std::int32_t count = s.device.EepromByteCount;
    run.EepromAndHigh = 255;
    run.EepromAndLow = 255;
    const auto* reply =
        receivePic18Block(ch, {cmd.eeprom, 1, count, AckRule::None, double(count) + 1, 0, true},
                          eepromReadFailures(), result);
    if (!reply) return;
    const auto& r = *reply;
    const std::size_t stored = std::min<std::size_t>(std::size_t(count), image.size());
    for (std::size_t i = 0; i < stored; ++i) {
        image[i] = r[i];
        andInto(run.EepromAndLow, r[i]);
    }
    ch.ui().refreshViews(ViewEeprom);
    result = result::OK;
}

void readConfig12(BoardChannel& ch, const ReadCommands& cmd, QString& result) {
    auto& config = ch.session().buffer.ConfigIdImage;
    ch.sendLetters(cmd.config);
    ch.sendCount16(1);
    const WaitResult wait = ch.waitForBytes(3, WaitLimit::perBlock());
    if (wait != WaitResult::Complete) return failWait(ch, result, wait, kConfigShort);
    const auto& r = ch.takeReply();
    if (!endCodeAt(r, 2)) return failStep(ch, result, kConfigEndMissing);
    config[14] = r[0];
    config[15] = r[1];
    ch.ui().refreshViews(ViewIdConfig);
    result = result::OK;
}

// Device ID and revision from the word at 0x2006 (bytes 12 and 13 of the area).
void showDeviceId14(OperatorUi& ui, std::uint8_t high, std::uint8_t low) {
    ui.setControlText(Control::Lbl_ID_Rev, QString());
    ui.setControlText(Control::Lbl_ID_Dev, QString());
    ui.setControlText(Control::Lbl_ID_Rev, hex3(low & 0x1F));
    ui.setControlText(Control::Lbl_ID_Dev, hex3(((high & 0x3F) * 256 + low) / 32));
}

void readConfig14(BoardChannel& ch, const ReadCommands& cmd, QString& result) {
    Session& s = ch.session();
    RunState& run = s.run;
    auto& config = s.buffer.ConfigIdImage;
    const QLatin1String type(cmd.type);
    const bool twoWords = cmd.configWords == 16;
    ch.sendLetters(cmd.config);
    std::size_t endAt;
    WaitResult wait;
    if (twoWords) {
        ch.sendCount16(0x10);
        endAt = 32;
        wait = ch.waitForBytes(33, WaitLimit::total(10000), AckRule::Every16);
    } else {
        ch.sendCount16(8);
        endAt = 16;
        wait = ch.waitForBytes(16, WaitLimit::total(10000));
        if (wait == WaitResult::Complete) {
            ch.acknowledge();
            wait = ch.waitForBytes(17, WaitLimit::perBlock());
        }
    }
    if (wait != WaitResult::Complete) return failWait(ch, result, wait, kConfigShort);
    const auto& r = ch.takeReply();
    if (!endCodeAt(r, endAt)) return failStep(ch, result, kConfigEndMissing);

    showDeviceId14(ch.ui(), r[12], r[13]);
    run.ConfigAndHigh = 255;
    run.ConfigAndLow = 255;
    const int stored = twoWords ? 18 : 16;
    for (int i = 0; i < stored; ++i)
        config[i] = r[i];
    for (int i = 0; i < stored; i += 2) {
        if (i >= 8 && i <= 12) continue; // 0x2004-0x2006 are the chip's own words
        andInto(run.ConfigAndHigh, r[i]);
        andInto(run.ConfigAndLow, r[i + 1]);
    }
    if (type == QLatin1String("12F6"))
        ch.ui().setControlText(Control::Text_BG, QString::number((config[14] & 0x30) / 16));
    result = result::OK;
    if (type == QLatin1String("EPROM2")) {
        for (int i = 0; i < 8; i += 2)
            SetWordParityBits(config[i], config[i + 1]);
        config[14] |= 0xC0;
    }
    ch.ui().refreshViews(ViewIdConfig);
}

// One PIC18 read of the configuration read: `count` bytes from device address start - 1.
bool readPic18Block(BoardChannel& ch, const ReadCommands& cmd, std::int32_t start,
                    std::int32_t count, QString& result) {
    // The end code is tested here too: a reply cut short must not become ID or configuration.
    return receivePic18Block(
               ch, {cmd.config, start, count, AckRule::Every8, double(count) + 1, 0, true},
               {kConfigShort, kConfigEndMissing}, result) != nullptr;
}

void readConfig18(BoardChannel& ch, const ReadCommands& cmd, QString& result) {
    Session& s = ch.session();
    PcBuffer& buf = s.buffer;
    OperatorUi& ui = ch.ui();
    const auto& r = s.link.ReceiveBuffer;

    if (!readPic18Block(ch, cmd, 0x200001, 8, result)) return;
    QString id;
    for (int i = 0; i < 8; ++i) {
        buf.Id18Image[i] = r[i];
        id += NibbleToHexChar(r[i] & 0x0F);
    }
    buf.IdText = id;
    ui.setControlText(Control::Text_ID, id);

    if (!readPic18Block(ch, cmd, 0x300001, 256, result)) return;
    for (int i = 0; i < 256; ++i)
        buf.Config18Bytes[i] = r[i];
    for (int k = 1; k <= limits::ConfigWords; ++k)
        s.device.ConfigValue[k] = r[2 * k - 2] + 256 * r[2 * k - 1];
    ui.refreshViews(ViewConfigGrids | ViewIdConfig);

    if (!readPic18Block(ch, cmd, 0x3FFFFF, 2, result)) return;
    buf.Pic18DeviceIdBytes = {r[0], r[1]};
    ui.setControlText(Control::Label_DEV_id, QStringLiteral("0x") + hex3((r[1] * 256 + r[0]) / 32));
    ui.setControlText(Control::Label_DEV_rev, QStringLiteral("0x") + hex3(r[0] & 0x1F));
    result = result::OK;
}

} // namespace

namespace {
// Input left from an earlier exchange is dropped before the 12-bit and 14-bit reads; the PIC18
// reads clear it themselves.
void discardBeforeWordRead(BoardChannel& channel, const ReadCommands& row) {
    if (row.group == CoreGroup::Bit12 || row.group == CoreGroup::Bit14) channel.discardInput();
}
} // namespace

void ReadProgramMemory(BoardChannel& channel, QString& result) {
    ReadProgramMemoryWith(channel, readCommandsOrUnserved(channel.session().device.ProgramType),
                          result);
}

void ReadProgramMemoryWith(BoardChannel& channel, const ReadCommands& row, QString& result) {
    discardBeforeWordRead(channel, row);
    powerThenGroupStep(channel, row, {readProgram12, readProgram14, readProgram18}, result);
}

void ReadEepromMemory(BoardChannel& channel, QString& result) {
    ReadEepromMemoryWith(channel, readCommandsOrUnserved(channel.session().device.ProgramType),
                         result);
}

void ReadEepromMemoryWith(BoardChannel& channel, const ReadCommands& row, QString& result) {
    Session& s = channel.session();
    if (s.device.EepromByteCount == 0) {
        ShowStatusMessage(channel.ui(), kNoEeprom);
        result = result::Skipped;
        return;
    }
    const bool served = row.eeprom && row.group != CoreGroup::None;
    if (served) discardBeforeWordRead(channel, row);
    channel.sendPowerLetter();
    if (!served) return;
    if (row.group == CoreGroup::Pic18) return readEeprom18(channel, row, result);
    readEeprom14(channel, row, result);
}

void ReadConfigWords(BoardChannel& channel, QString& result) {
    ReadConfigWordsWith(channel, readCommandsOrUnserved(channel.session().device.ProgramType),
                        result);
}

void ReadConfigWordsWith(BoardChannel& channel, const ReadCommands& row, QString& result) {
    // From here on the configuration values are the chip's own; the grids show them unchanged.
    channel.session().device.ConfigFromDevice = true;
    discardBeforeWordRead(channel, row);
    powerThenGroupStep(channel, row, {readConfig12, readConfig14, readConfig18}, result);
}

} // namespace tavrin
