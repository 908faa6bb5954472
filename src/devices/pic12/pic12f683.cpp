#include "pic12f683.h"

#include "core/status.h"
#include "link/board_channel.h"
#include "link/board_link.h"

namespace tavrin::pic12 {

Pic12F683::Pic12F683(ModuleContext& ctx) : ctx_(ctx) {}

BoardChannel& Pic12F683::channel() {
    return ctx_.link.channel();
}

void Pic12F683::status(const QString& text, const QString& detail) {
    ShowStatusMessage(ctx_.ui, text, detail);
}

// Every command of this part: input discarded, the power letter, the letters.
void Pic12F683::sendCommand(const char* letters) {
    BoardChannel& ch = channel();
    ch.discardInput();
    ch.sendPowerLetter();
    ch.sendLetters(letters);
}

} // namespace tavrin::pic12
