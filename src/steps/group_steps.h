// The read-back steps come in one variant per core group; a caller names its three variants once
// and lets the type's row pick one.
#pragma once

#include "read_commands.h"

#include <QString>

#include <functional>

namespace tavrin {

class BoardChannel;

using GroupStep = std::function<void(BoardChannel&, const ReadCommands&, QString&)>;

struct GroupSteps {
    GroupStep bit12;
    GroupStep bit14;
    GroupStep pic18;
};

// Sends the power letter, then runs the variant of the row's core group; a row of group None
// gets the power letter only.
void powerThenGroupStep(BoardChannel& channel, const ReadCommands& cmd, const GroupSteps& steps,
                        QString& result);

} // namespace tavrin
