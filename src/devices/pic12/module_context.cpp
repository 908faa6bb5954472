#include "module_context.h"

#include "core/operation_controls.h"
#include "core/operator_ui.h"
#include "link/board_link.h"

namespace tavrin::pic12 {

void endOperation(ModuleContext& ctx, OperationKind kind) {
    const OperationSettings settings = ctx.settings ? ctx.settings() : OperationSettings{};
    ctx.link.ClosePort();
    if (settings.continuousMode && kind != OperationKind::Read) {
        for (Control c : {Control::Command_pogram, Control::Command_blank, Control::Command_Vrify})
            ctx.ui.setControlEnabled(c, true);
    } else {
        EnableOperationControls(ctx.s, ctx.ui);
    }
    ctx.ui.setBusy(false);
    ctx.ui.focusControl(kind == OperationKind::Program ? Control::Command_pogram
                                                       : Control::frmMain);
}

} // namespace tavrin::pic12
