#include "operation_guard.h"

#include "session.h"
#include "status.h"

namespace tavrin {

bool operationRunning(const Session& s) {
    return s.run.OperationRunning;
}

bool refuseDuringOperation(const Session& s, OperatorUi& ui) {
    if (!operationRunning(s)) return false;
    ShowStatusMessage(ui, kOperationRunningText);
    return true;
}

OperationScope::OperationScope(Session& s, OperatorUi& ui) : session_(s) {
    if (refuseDuringOperation(s, ui)) return;
    s.run.OperationRunning = true;
    held_ = true;
}

OperationScope::~OperationScope() {
    if (held_) session_.run.OperationRunning = false;
}

} // namespace tavrin
