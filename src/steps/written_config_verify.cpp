#include "config_verify.h"
#include "config_verify_parts.h"
#include "core/session.h"
#include "core/status.h"
#include "link/board_channel.h"

namespace tavrin {

using namespace config_verify;

namespace {
void verifyWritten(BoardChannel& channel, const ConfigAreaCommand* area, QString& cpFlag,
                   QString& result) {
    Session& s = channel.session();
    const ConfigAreaCommand* command = verifyOrReadWordsArea(channel, area, cpFlag, result);
    if (!command) return;
    // The reference is what was sent: the buffer's words with the chip's own 0x2004-0x2006.
    const bool twoWords = command->layout == ConfigAreaLayout::Words16;
    if (countDifferences(s.link.ReceiveBuffer, s.buffer.MergedConfigIdImage.data(),
                         idDigitsAndConfigWords(twoWords)) == 0) {
        result = result::OK;
        return;
    }
    result = result::NG;
    ShowStatusMessage(channel.ui(), Mismatch);
}
} // namespace

void VerifyWrittenConfigWords(BoardChannel& channel, QString& cpFlag, QString& result) {
    verifyWritten(channel, configAreaCommandOf(channel.session().device.ProgramType), cpFlag,
                  result);
}

void VerifyWrittenConfigWordsWith(BoardChannel& channel, const ConfigAreaCommand& command,
                                  QString& cpFlag, QString& result) {
    verifyWritten(channel, &command, cpFlag, result);
}

} // namespace tavrin
