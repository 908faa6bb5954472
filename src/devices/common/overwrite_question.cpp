#include "overwrite_question.h"

#include "module_context.h"
#include "program_run_line.h"

#include "core/operator_ui.h"
#include "core/session.h"
#include "core/status.h"
#include "link/board_channel.h"
#include "link/board_link.h"

namespace tavrin {

QString writtenLineFor(const QString& cpFlag) {
    return cpFlag == result::CP ? kWrittenProtectedLine : kWrittenLine;
}

bool overwriteAgreed(ModuleContext& ctx, const QString& firstLine, const QString& head) {
    RunState& run = ctx.s.run;
    run.HintAnswer = hint::Cancel;
    if (ctx.askOverwrite) run.HintAnswer = ctx.askOverwrite(firstLine, kOverwriteLine);
    ctx.link.channel().pumpEvents();
    if (consentsToOverwrite(run.HintAnswer)) return true;
    if (!boardLost(ctx)) ShowStatusMessage(ctx.ui, head + kOverwriteCancelled);
    return false;
}

OverwriteQuestion overwriteQuestionByMessageBox(OperatorUi& ui) {
    return [&ui](const QString& line1, const QString& line2) -> std::int16_t {
        const MessageAnswer answer =
            ui.messageBox(MessageIcon::Question, MessageButtons::OkCancel,
                          QStringLiteral("Tavrin Writer"), line1 + QStringLiteral("\r\n") + line2);
        const bool yes = answer == MessageAnswer::Ok || answer == MessageAnswer::Yes;
        return yes ? hint::Overwrite : hint::Cancel;
    };
}

} // namespace tavrin
