#include "pic16f87x_module.h"

#include "devices/common/module_context.h"

#include "core/session.h"
#include "link/board_channel.h"
#include "link/board_link.h"

namespace tavrin {

Pic16F87xModule::Pic16F87xModule(ModuleContext& ctx, const Pic16F87xVariant& variant)
    : ctx_(ctx), v_(variant) {}

Session& Pic16F87xModule::s() {
    return ctx_.s;
}

OperatorUi& Pic16F87xModule::ui() {
    return ctx_.ui;
}

BoardChannel& Pic16F87xModule::channel() {
    return ctx_.link.channel();
}

// The board answers nothing to the power letter; what is waiting after it is stale.
void Pic16F87xModule::startCommand() {
    BoardChannel& ch = channel();
    ch.sendPowerLetter();
    ch.discardInput();
}

} // namespace tavrin
