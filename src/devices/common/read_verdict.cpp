#include "read_verdict.h"

#include "module_context.h"
#include "result_log.h"

#include "core/operator_ui.h"
#include "core/session.h"
#include "core/status.h"
#include "core/utilities.h"

namespace tavrin {

namespace {

QString findingText(ReadFinding finding) {
    switch (finding) {
    case ReadFinding::Erased:
        return QStringLiteral("読み出し完了。　デバイスは消去されています。");
    case ReadFinding::Written:
        return QStringLiteral("読み出し完了。");
    case ReadFinding::Protected:
        break;
    }
    return QStringLiteral("redコードプロテクトされています。（または不適切なデータがコードプロテ"
                          "クトビットにセットされています。）");
}

void writeEndLine(ModuleContext& ctx) {
    writeLogLine(ctx.ui, ctx.dataDir, operationEndLine(OperationEnd::Read, ctx.now()));
}

} // namespace

void tellReadVerdict(ModuleContext& ctx, ReadFinding finding) {
    ShowStatusMessage(ctx.ui, findingText(finding));
    finishCompleteRead(ctx);
}

void finishCompleteRead(ModuleContext& ctx) {
    ctx.ui.setControlText(Control::LblCheckSUM, CalcProgramChecksum(ctx.s));
    writeEndLine(ctx);
}

void finishFailedRead(ModuleContext& ctx) {
    writeEndLine(ctx);
}

} // namespace tavrin
