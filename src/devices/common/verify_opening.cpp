#include "verify_opening.h"

#include "core/operator_ui.h"
#include "core/session.h"
#include "core/status.h"
#include "steps/socket_check.h"

namespace tavrin {

bool resetVerifyResultsAndCheckSocket(OperatorUi& ui, BoardChannel& channel, RunState& run) {
    ui.refreshViews(ViewProgram | ViewEeprom);
    run.ProgramVerifyResult = result::OK;
    run.EepromVerifyResult = result::OK;
    run.ConfigVerifyResult = result::OK;

    QString socket;
    CheckDeviceId(channel, socket);
    return socket != result::NG;
}

} // namespace tavrin
