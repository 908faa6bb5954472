#include "read_summary.h"

#include "core/config_grids.h"
#include "core/operator_ui.h"
#include "core/session.h"
#include "core/status.h"
#include "core/utilities.h"
#include "devices/common/module_context.h"
#include "devices/common/read_verdict.h"

namespace tavrin::pic12 {

void finishRead(ModuleContext& ctx, std::int32_t summary, std::int32_t erased,
                const std::function<bool()>& protectedChip) {
    Session& s = ctx.s;
    OperatorUi& ui = ctx.ui;
    const auto& config = s.buffer.ConfigIdImage;
    for (int k = 1; k <= limits::ConfigWords; ++k)
        if (s.device.ConfigWordDefined[k] != 0)
            s.device.ConfigValue[k] = (config[12 + 2 * k] & 0x3F) * 256 + config[13 + 2 * k];
    RefreshConfigGrids(s);
    ui.refreshViews(ViewAll);
    tellReadVerdict(ctx, readFinding(summary == erased, summary != erased && protectedChip()));
}

} // namespace tavrin::pic12
