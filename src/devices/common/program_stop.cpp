#include "program_stop.h"

#include "module_context.h"
#include "operation_settings.h"
#include "result_log.h"

#include "core/session.h"
#include "link/board_channel.h"
#include "link/board_link.h"
#include "link/port_messages.h"

namespace tavrin {

bool boardLost(ModuleContext& ctx) {
    return ctx.link.channel().lostSinceOpened();
}

void logProgramStop(ModuleContext& ctx, const OperationSettings& settings, const QString& failure) {
    const Session& s = ctx.s;
    const QString told = boardLost(ctx) ? portLostText(s.link.ComPortName) : failure;
    writeLogLine(ctx.ui, ctx.dataDir,
                 programLogLine(s, told, settings.idText.value_or(s.buffer.IdText),
                                ctx.calibrationLabel, ctx.now()));
}

bool endedByLostBoard(ModuleContext& ctx, const OperationSettings& settings) {
    if (!boardLost(ctx)) return false;
    logProgramStop(ctx, settings, QString());
    return true;
}

} // namespace tavrin
