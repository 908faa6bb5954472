#include "config_verify.h"

#include "config_verify_parts.h"
#include "core/session.h"
#include "core/status.h"
#include "core/utilities.h"
#include "link/board_channel.h"

namespace tavrin {

using namespace config_verify;

namespace {

// "12F6" carries its ID words whole, and configuration bits 12-15 (the band-gap calibration
// among them) are the chip's, not the buffer's.
constexpr ByteCompare Compare12F6[]{
    {0, 0xFF}, {1, 0xFF}, {2, 0xFF}, {3, 0xFF},  {4, 0xFF},
    {5, 0xFF}, {6, 0xFF}, {7, 0xFF}, {14, 0x0F}, {15, 0xFF},
};

constexpr std::size_t IdLowBytes[] = {1, 3, 5, 7};

// One hexadecimal digit per ID word: the digit it carries.
QString idDigits(const std::vector<std::uint8_t>& reply) {
    QString digits;
    for (std::size_t at : IdLowBytes)
        digits += hex2(reply[at]).right(1);
    return digits;
}

} // namespace

namespace {
void verifyConfig(BoardChannel& channel, const ConfigAreaCommand* area, QString& cpFlag,
                  QString& result) {
    Session& s = channel.session();
    const ConfigAreaCommand* command = verifyOrReadWordsArea(channel, area, cpFlag, result);
    if (!command) return;
    const auto& reply = s.link.ReceiveBuffer;
    const bool is12F6 = QLatin1String(command->programType) == QLatin1String("12F6");
    const bool twoWords = command->layout == ConfigAreaLayout::Words16;
    const auto compared =
        is12F6 ? std::span<const ByteCompare>(Compare12F6) : idDigitsAndConfigWords(twoWords);
    if (countDifferences(reply, s.buffer.ConfigIdImage.data(), compared) == 0) {
        s.run.ConfigVerifyText = result::OK;
        s.run.IdVerifyText = result::OK;
        if (is12F6) s.run.ConfigWordText = hex2(reply[14]) + hex2(reply[15]);
        result = result::OK;
        return;
    }
    s.run.IdVerifyText = idDigits(reply);
    s.run.ConfigVerifyText = hex2(reply[14]) + hex2(reply[15]);
    if (twoWords) {
        s.run.ConfigVerifyText = QStringLiteral("CF1:") + s.run.ConfigVerifyText +
                                 QStringLiteral(",CF2:") + hex2(reply[16]) + hex2(reply[17]);
    }
    result = result::NG;
    ShowStatusMessage(channel.ui(), Mismatch + QStringLiteral("\r\n") + ProgrammedData +
                                        s.run.ConfigVerifyText + QStringLiteral("ＩＤ：") +
                                        s.run.IdVerifyText);
}
} // namespace

void VerifyConfigWords(BoardChannel& channel, QString& cpFlag, QString& result) {
    verifyConfig(channel, configAreaCommandOf(channel.session().device.ProgramType), cpFlag,
                 result);
}

void VerifyConfigWordsWith(BoardChannel& channel, const ConfigAreaCommand& command, QString& cpFlag,
                           QString& result) {
    verifyConfig(channel, &command, cpFlag, result);
}

} // namespace tavrin
