#include "operation_epilogue.h"

#include "module_context.h"
#include "operation_settings.h"

#include "core/operation_controls.h"
#include "core/operator_ui.h"
#include "link/board_link.h"

namespace tavrin {

void beginOperation(ModuleContext& ctx) {
    DisableOperationControls(ctx.ui);
    ctx.ui.setBusy(true);
}

void finishOperation(ModuleContext& ctx, OperationKind kind, const OperationSettings& settings) {
    OperatorUi& ui = ctx.ui;
    ctx.link.ClosePort();
    if (settings.continuousMode && kind != OperationKind::Read) {
        for (Control c : kContinuousModeButtons)
            ui.setControlEnabled(c, true);
    } else {
        EnableOperationControls(ctx.s, ui);
    }
    ui.setBusy(false);
    if (kind == OperationKind::Program) ui.focusControl(Control::Command_pogram);
}

OperationEpilogue::OperationEpilogue(ModuleContext& ctx, OperationKind kind)
    : ctx_(ctx), kind_(kind), continuousMode_(ctx.currentSettings().continuousMode) {}

OperationEpilogue::~OperationEpilogue() {
    OperationSettings settings;
    settings.continuousMode = continuousMode_;
    finishOperation(ctx_, kind_, settings);
}

} // namespace tavrin
