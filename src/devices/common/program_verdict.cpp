#include "program_verdict.h"

#include "module_context.h"
#include "program_result.h"
#include "result_log.h"

#include "core/clock.h"
#include "core/operator_ui.h"
#include "core/session.h"
#include "core/status.h"

namespace tavrin {

void tellProgramVerdict(ModuleContext& ctx, bool passed, const OperationSettings& settings,
                        const QString& calibrationLabel, const QString& failureReport) {
    Session& s = ctx.s;
    RunState& run = s.run;
    const std::int64_t elapsedSeconds = (ctx.clock.nowUs() - run.OperationStartTimeUs) / 1000000;
    const QDateTime end = ctx.now();
    if (passed) {
        ++run.PassCount;
        run.LastResultText = passText(elapsedSeconds, endTimeOfDay(end), run);
        ShowStatusMessage(ctx.ui, run.LastResultText);
    } else {
        ++run.FailCount;
        run.LastResultText = failText(endTimeOfDay(end), run);
        ShowStatusMessage(ctx.ui, QStringLiteral("red") + run.LastResultText);
    }
    writeLogLine(ctx.ui, ctx.dataDir,
                 programLogLine(s, run.LastResultText, settings.idText.value_or(s.buffer.IdText),
                                calibrationLabel, end));
    if (!passed)
        ctx.ui.messageBox(MessageIcon::Information, MessageButtons::Ok,
                          QStringLiteral("ベリファイ"), failureReport);
}

} // namespace tavrin
