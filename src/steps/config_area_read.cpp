#include "config_area_read.h"

#include "core/session.h"
#include "core/status.h"

#include <array>

namespace tavrin {

namespace {

constexpr std::array<ConfigAreaCommand, 14> Commands{{
    {"5X18", "rps", ConfigAreaLayout::Word12},
    {"5X28", "rpl", ConfigAreaLayout::Word12},
    {"12C5", "rsc", ConfigAreaLayout::Word12},
    {"12C6", "rsc", ConfigAreaLayout::Words14},
    {"12F6", "rsc", ConfigAreaLayout::Words14},
    {"EPROM", "rsc", ConfigAreaLayout::Words14},
    {"FLASH0", "rsc", ConfigAreaLayout::Words14},
    {"FLASH1", "rsc", ConfigAreaLayout::Words14},
    {"FLASH2", "rsc", ConfigAreaLayout::Words14},
    {"FLASH4", "rsc", ConfigAreaLayout::Words14},
    {"FLASH8", "rsc", ConfigAreaLayout::Words14},
    {"EPROM2", "rSc", ConfigAreaLayout::Words14},
    {"WRT400", "r8c", ConfigAreaLayout::Words14},
    {"FLASH4.9", "rsc", ConfigAreaLayout::Words16},
}};

constexpr ConfigAreaCommand Pic18Command{"18F_00", "Xrsp", ConfigAreaLayout::Pic18};

AreaRead shortfall(WaitResult r, AreaRead whenShort) {
    return r == WaitResult::Complete ? AreaRead::Complete : whenShort;
}

} // namespace

const ConfigAreaCommand* configAreaCommandOf(const QString& programType) {
    if (programType == QLatin1String(Pic18Command.programType)) return &Pic18Command;
    for (const auto& c : Commands)
        if (programType == QLatin1String(c.programType)) return &c;
    return nullptr;
}

void sendConfigAreaLetters(BoardChannel& channel, const char* letters) {
    channel.discardInput();
    channel.sendPowerLetter();
    channel.sendLetters(letters);
    channel.discardInput();
}

AreaRead readConfigWord12(BoardChannel& channel) {
    channel.sendCount16(1);
    const WaitResult r = channel.waitForBytes(3, WaitLimit::perBlock());
    channel.takeReply();
    return shortfall(r, AreaRead::ShortFirst);
}

AreaRead readConfigArea14(BoardChannel& channel, AckTiming ack) {
    channel.sendCount16(8);
    if (ack == AckTiming::AtOnce) {
        channel.acknowledge();
        const WaitResult r = channel.waitForBytes(17, WaitLimit::perBlock());
        channel.takeReply();
        return shortfall(r, AreaRead::ShortFirst);
    }
    if (channel.waitForBytes(16, WaitLimit::total(WaitLimit::BlockMs)) != WaitResult::Complete) {
        channel.takeReply();
        return AreaRead::ShortFirst;
    }
    channel.acknowledge();
    const WaitResult r = channel.waitForBytes(17, WaitLimit::perBlock());
    channel.takeReply();
    return shortfall(r, AreaRead::ShortRest);
}

AreaRead readConfigArea16(BoardChannel& channel) {
    channel.sendCount16(16);
    const WaitResult r =
        channel.waitForBytes(33, WaitLimit::total(WaitLimit::BlockMs), AckRule::Every16);
    channel.takeReply();
    return shortfall(r, AreaRead::ShortFirst);
}

AreaRead readPic18Bytes(BoardChannel& channel, std::int32_t startPlusOne, std::int32_t count,
                        AckRule acks, const std::function<void(qint64)>& onCount) {
    channel.discardInput();
    channel.sendLetters(Pic18Command.letters);
    channel.sendCount24(startPlusOne);
    channel.sendCount24(count);
    const WaitResult r = channel.waitForBytes(count + 1, WaitLimit::perBlock(), acks, onCount);
    channel.takeReply();
    return shortfall(r, AreaRead::ShortFirst);
}

std::int32_t configWordOf(const std::vector<std::uint8_t>& reply, ConfigAreaLayout layout) {
    const std::size_t at = layout == ConfigAreaLayout::Word12 ? 0 : 14;
    if (reply.size() < at + 2) return 0;
    return reply[at] * 256 + reply[at + 1];
}

bool isCodeProtected(std::int32_t configWord, std::int32_t codeProtectMask) {
    return (configWord & codeProtectMask) != codeProtectMask;
}

void testCodeProtection(BoardChannel& channel, std::int32_t configWord, QString& cpFlag) {
    cpFlag = result::Skipped;
    if (!isCodeProtected(configWord, channel.session().device.CodeProtectMask)) return;
    cpFlag = result::CP;
    ShowStatusMessage(channel.ui(), QStringLiteral("このデバイスはコードプロテクトされています。"));
}

} // namespace tavrin
