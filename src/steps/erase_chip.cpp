#include "core/operation_controls.h"
#include "core/operator_ui.h"
#include "core/session.h"
#include "core/status.h"
#include "erase.h"
#include "erase_command.h"
#include "link/board_link.h"

namespace tavrin {

void EraseChip(BoardLink& link, QString& result) {
    BoardChannel& channel = link.channel();
    Session& s = channel.session();
    OperatorUi& ui = channel.ui();
    ui.setControlVisible(Control::CmbInit, false);
    ui.setControlVisible(Control::TxtInit, false);
    CheckDeviceSelected(s, ui, result);
    if (result == result::NG) return;
    link.CheckProgrammer(result);
    if (result == result::NG) return;
    link.DetectProgrammer();
    if (!s.link.ProgrammerDetected) return;
    ShowStatusMessage(ui, QStringLiteral("チップイレース(コードプロテクト解除)中....."));
    sendErase(channel, EraseArea::Chip, QStringLiteral("成功。"), QStringLiteral("失敗。"), result);
}

} // namespace tavrin
