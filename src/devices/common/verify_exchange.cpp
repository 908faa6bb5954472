#include "verify_exchange.h"

#include "core/operator_ui.h"
#include "core/session.h"
#include "core/status.h"
#include "link/board_channel.h"

namespace tavrin {

bool verifyExchangeFailed(const RunState& run) {
    return run.ConfigVerifyResult == result::ER || run.ProgramVerifyResult == result::ER ||
           run.EepromVerifyResult == result::ER;
}

void reportVerifyExchangeFailure(OperatorUi& ui, const BoardChannel& ch) {
    if (ch.lostSinceOpened()) return;
    const QString text = QStringLiteral("ベリファイ中に通信エラーが発生しました。");
    ShowStatusMessage(ui, QStringLiteral("red") + text);
    ui.messageBox(MessageIcon::Critical, MessageButtons::Ok, QStringLiteral("ベリファイ"),
                  text + QStringLiteral("\rベリファイを完了できませんでした。"));
}

} // namespace tavrin
