#include "program_run_line.h"

#include "module_context.h"
#include "program_result.h"
#include "result_log.h"

#include "core/clock.h"
#include "core/operator_ui.h"
#include "core/session.h"
#include "core/status.h"
#include "link/board_channel.h"
#include "link/board_link.h"
#include "link/port_messages.h"

namespace tavrin {

bool boardLost(ModuleContext& ctx) {
    return ctx.link.channel().lostSinceOpened();
}

ProgramRunLine::ProgramRunLine(ModuleContext& ctx, OperationSettings settings)
    : ctx_(ctx), settings_(std::move(settings)), sentBefore_(ctx.link.channel().bytesSent()) {}

void ProgramRunLine::judge(bool passed, const QString& failureReport) {
    RunState& run = ctx_.s.run;
    const std::int64_t elapsedSeconds = (ctx_.clock.nowUs() - run.OperationStartTimeUs) / 1000000;
    const QDateTime end = ctx_.now();
    if (passed) {
        ++run.PassCount;
        run.LastResultText = passText(elapsedSeconds, endTimeOfDay(end), run);
        ShowStatusMessage(ctx_.ui, run.LastResultText);
    } else {
        ++run.FailCount;
        run.LastResultText = failText(endTimeOfDay(end), run);
        ShowStatusMessage(ctx_.ui, QStringLiteral("red") + run.LastResultText);
    }
    write(run.LastResultText, end);
    if (!passed)
        ctx_.ui.messageBox(MessageIcon::Information, MessageButtons::Ok,
                           QStringLiteral("ベリファイ"), failureReport);
}

void ProgramRunLine::logResult(const QString& resultText) {
    write(resultText, ctx_.now());
}

void ProgramRunLine::close() {
    if (written_ || ctx_.link.channel().bytesSent() == sentBefore_) return;
    if (boardLost(ctx_))
        write(portLostText(ctx_.s.link.ComPortName), ctx_.now());
    else
        write(told_.isEmpty() ? ctx_.ui.lastStatusMessage() : told_, ctx_.now());
}

void ProgramRunLine::write(const QString& resultText, const QDateTime& when) {
    written_ = true;
    const Session& s = ctx_.s;
    writeLogLine(ctx_.ui, ctx_.dataDir,
                 programLogLine(s, resultText, settings_.idText.value_or(s.buffer.IdText),
                                ctx_.calibrationLabel, when));
}

} // namespace tavrin
