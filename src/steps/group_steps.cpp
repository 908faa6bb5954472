#include "group_steps.h"

#include "link/board_channel.h"

namespace tavrin {

void powerThenGroupStep(BoardChannel& channel, const ReadCommands& cmd, const GroupSteps& steps,
                        QString& result) {
    channel.sendPowerLetter();
    switch (cmd.group) {
    case CoreGroup::Bit12:
        return steps.bit12(channel, cmd, result);
    case CoreGroup::Bit14:
        return steps.bit14(channel, cmd, result);
    case CoreGroup::Pic18:
        return steps.pic18(channel, cmd, result);
    case CoreGroup::None:
        return;
    }
}

} // namespace tavrin
