#include "board_channel.h"
#include "config_verify.h"
#include "config_verify_parts.h"
#include "core/session.h"
#include "core/status.h"

namespace tavrin {

using namespace config_verify;

void VerifyWrittenConfigWords(BoardChannel& channel, QString& cpFlag, QString& result) {
    Session& s = channel.session();
    const ConfigAreaCommand* command = configAreaCommandOf(s.device.ProgramType);
    if (!command) return refuseType(channel, result);
    switch (command->layout) {
    case ConfigAreaLayout::Word12:
        return verifyWord12(channel, cpFlag, result);
    case ConfigAreaLayout::Pic18:
        // The PIC18 words were written from the PC buffer: compare with it as Verify does.
        return verifyPic18(channel, cpFlag, result);
    case ConfigAreaLayout::Words14:
    case ConfigAreaLayout::Words16:
        break;
    }
    if (!readArea(channel, *command, cpFlag, result)) return;
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

} // namespace tavrin
