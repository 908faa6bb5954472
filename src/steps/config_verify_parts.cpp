#include "config_verify_parts.h"

#include "core/session.h"
#include "core/status.h"
#include "core/utilities.h"
#include "link/board_channel.h"

namespace tavrin::config_verify {

namespace {

constexpr std::int32_t Pic18IdStart = 0x200000;
constexpr std::int32_t Pic18ConfigStart = 0x300000;
constexpr std::int32_t Pic18IdBytes = 8;
constexpr std::int32_t Pic18ConfigBytes = 256;
constexpr int Pic18ProgressMaximum = 9;
constexpr int Cp5Word = 5;
// CONFIG5 bits 0-14 protect program memory; bit 15 protects the data EEPROM.
constexpr std::int32_t Cp5ProgramProtectBits = 0x7FFF;

const QString IdEndCodeMissing =
    QStringLiteral("ＩＤワードのベリファイに失敗しました。  終了コードを受信できませんでした。");
const QString IdReplyShort =
    QStringLiteral("ＩＤワードのベリファイに失敗しました。  読み出しデータ不足。");

std::size_t endCodePosition(ConfigAreaLayout layout) {
    switch (layout) {
    case ConfigAreaLayout::Word12:
        return 2;
    case ConfigAreaLayout::Words16:
        return 32;
    case ConfigAreaLayout::Words14:
    case ConfigAreaLayout::Pic18:
        break;
    }
    return 16;
}

AreaRead exchange(BoardChannel& channel, ConfigAreaLayout layout) {
    switch (layout) {
    case ConfigAreaLayout::Word12:
        return readConfigWord12(channel);
    case ConfigAreaLayout::Words16:
        return readConfigArea16(channel);
    case ConfigAreaLayout::Words14:
    case ConfigAreaLayout::Pic18:
        break;
    }
    return readConfigArea14(channel, AckTiming::AfterSixteen);
}

// PIC18 reads show their progress (maximum 9 bytes: a bar that never shows, as it always was).
AreaRead readPic18WithProgress(BoardChannel& channel, std::int32_t start, std::int32_t count) {
    OperatorUi& ui = channel.ui();
    const AreaRead read =
        readPic18Bytes(channel, start + 1, count, AckRule::Every8, [&ui](qint64 waiting) {
            ShowProgress(ui, ProgressMode::On, 0, Pic18ProgressMaximum, double(waiting));
        });
    ShowProgress(ui, ProgressMode::Off, 0, Pic18ProgressMaximum, 0);
    return read;
}

constexpr ByteCompare IdDigitsAndConfigWords[]{
    {1, 0x0F}, {3, 0x0F}, {5, 0x0F}, {7, 0x0F}, {14, 0xFF}, {15, 0xFF}, {16, 0xFF}, {17, 0xFF},
};
constexpr std::size_t OneConfigWord = 6;

} // namespace

std::span<const ByteCompare> idDigitsAndConfigWords(bool twoConfigWords) {
    std::span<const ByteCompare> all(IdDigitsAndConfigWords);
    return twoConfigWords ? all : all.first(OneConfigWord);
}

int countDifferences(const std::vector<std::uint8_t>& reply, const std::uint8_t* reference,
                     std::span<const ByteCompare> compared) {
    int differences = 0;
    for (const ByteCompare& c : compared)
        if ((reply[c.at] & c.bits) != (reference[c.at] & c.bits)) ++differences;
    return differences;
}

bool readArea(BoardChannel& channel, const ConfigAreaCommand& command, QString& cpFlag,
              QString& result) {
    sendConfigAreaLetters(channel, command.letters);
    // A reply that came short or without its end code is a failed exchange ("ER"), not a
    // difference.
    if (exchange(channel, command.layout) != AreaRead::Complete) {
        result = result::ER;
        ShowStatusMessage(channel.ui(), ReplyShort);
        return false;
    }
    const auto& reply = channel.session().link.ReceiveBuffer;
    testCodeProtection(channel, configWordOf(reply, command.layout), cpFlag);
    if (!endCodeAt(reply, endCodePosition(command.layout))) {
        result = result::ER;
        ShowStatusMessage(channel.ui(), EndCodeMissing);
        return false;
    }
    return true;
}

void verifyWord12(BoardChannel& channel, const ConfigAreaCommand& command, QString& cpFlag,
                  QString& result) {
    Session& s = channel.session();
    if (!readArea(channel, command, cpFlag, result)) return;
    const std::int32_t word = configWordOf(s.link.ReceiveBuffer, ConfigAreaLayout::Word12);
    s.run.ConfigVerifyText = hex4(word);
    const auto& image = s.buffer.ConfigIdImage;
    if (word == image[14] * 256 + image[15]) {
        result = result::OK;
        return;
    }
    result = result::NG;
    ShowStatusMessage(channel.ui(), Mismatch + QStringLiteral("\r\n") + ProgrammedData +
                                        QStringLiteral("0x") + s.run.ConfigVerifyText);
}

void verifyPic18(BoardChannel& channel, QString& cpFlag, QString& result) {
    Session& s = channel.session();
    OperatorUi& ui = channel.ui();
    const auto& reply = s.link.ReceiveBuffer;
    int differences = 0;

    channel.discardInput();
    channel.sendPowerLetter();
    if (readPic18WithProgress(channel, Pic18IdStart, Pic18IdBytes) != AreaRead::Complete) {
        s.run.IdVerifyText = result::NG;
        result = result::ER;
        ShowStatusMessage(ui, IdReplyShort);
        return;
    }
    s.run.IdVerifyText = result::OK;
    if (!endCodeAt(reply, Pic18IdBytes)) {
        // Nothing was compared: the caller's "OK" must not stand.
        s.run.IdVerifyText = result::NG;
        result = result::ER;
        ShowStatusMessage(ui, IdEndCodeMissing);
        return;
    }
    // An ID byte carries one digit: loads and reads keep whole bytes in Id18Image, so both sides
    // are compared on that digit alone.
    for (int i = 0; i < Pic18IdBytes; ++i) {
        if ((reply[i] & 0x0F) == (s.buffer.Id18Image[i] & 0x0F)) continue;
        ShowStatusMessage(ui, QStringLiteral("ＩＤワードのベリファイエラー"));
        ++differences;
        s.run.IdVerifyText = result::NG;
    }

    if (readPic18WithProgress(channel, Pic18ConfigStart, Pic18ConfigBytes) != AreaRead::Complete) {
        result = result::ER;
        ShowStatusMessage(ui, ReplyShort);
        return;
    }
    if (!endCodeAt(reply, Pic18ConfigBytes)) {
        result = result::ER;
        ShowStatusMessage(ui, EndCodeMissing);
        return;
    }
    // Configuration word k: CONFIGkL at byte 2k - 2, CONFIGkH at 2k - 1. Only the words the part
    // defines are compared, on their implemented bits.
    auto word = [&reply](int k) { return reply[2 * k - 1] * 256 + reply[2 * k - 2]; };
    for (int k = 1; k <= limits::ConfigWords; ++k) {
        if (!s.device.ConfigWordDefined[k]) continue;
        const std::int32_t mask = s.device.ConfigMask[k];
        if ((word(k) & mask) == (s.device.ConfigValue[k] & mask)) continue;
        s.run.ConfigVerifyText = result::NG;
        ++differences;
    }
    const std::int32_t programProtect = s.device.CpMaskCf5 & Cp5ProgramProtectBits;
    cpFlag = result::Skipped;
    if ((word(Cp5Word) & programProtect) != programProtect) {
        cpFlag = result::CP;
        ShowStatusMessage(ui, QStringLiteral("このデバイスはコードプロテクトされています。"));
    }
    if (differences == 0) {
        s.run.ConfigVerifyText = result::OK;
        s.run.IdVerifyText = result::OK;
        result = result::OK;
        return;
    }
    ShowStatusMessage(ui, Mismatch);
    result = result::NG;
}

const ConfigAreaCommand* verifyOrReadWordsArea(BoardChannel& channel,
                                               const ConfigAreaCommand* command, QString& cpFlag,
                                               QString& result) {
    if (!command) {
        refuseType(channel, result);
        return nullptr;
    }
    switch (command->layout) {
    case ConfigAreaLayout::Word12:
        verifyWord12(channel, *command, cpFlag, result);
        return nullptr;
    case ConfigAreaLayout::Pic18:
        // The PIC18 words were written from the PC buffer, so the written check compares with it
        // as Verify does.
        verifyPic18(channel, cpFlag, result);
        return nullptr;
    case ConfigAreaLayout::Words14:
    case ConfigAreaLayout::Words16:
        break;
    }
    return readArea(channel, *command, cpFlag, result) ? command : nullptr;
}

void refuseType(BoardChannel& channel, QString& result) {
    result = result::NG;
    ShowStatusMessage(channel.ui(),
                      QStringLiteral("コンフィギュレーションワードのベリファイに失敗しました。  "
                                     "このマイコンは、この操作に対応していません。"));
}

} // namespace tavrin::config_verify
