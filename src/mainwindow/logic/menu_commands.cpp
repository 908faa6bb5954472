#include "menu_commands.h"

#include "main_context.h"

#include "core/operation_controls.h"
#include "core/status.h"

namespace tavrin {

void ToggleBlankSkip(MainContext& ctx) {
    ctx.toggles.blankSkip = !ctx.toggles.blankSkip;
    saveBlankSkip(ctx.settings, ctx.toggles.blankSkip);
    UpdateProgramButton(ctx.s, ctx.ui, ctx.toggles.blankSkip);
}

void ToggleComMode1(MainContext& ctx) {
    ctx.toggles.comMode1 = !ctx.toggles.comMode1;
    saveComMode1(ctx.settings, ctx.toggles.comMode1);
    // The link reads the serial mode from the session when it next looks for the board.
    ctx.s.app.ComMode1Checked = ctx.toggles.comMode1;
    ShowStatusMessage(ctx.ui, kComMode1Hint, QString());
}

void ToggleBoardInformation(MainContext& ctx) {
    ctx.toggles.boardInformation = !ctx.toggles.boardInformation;
    saveBoardInformation(ctx.settings, ctx.toggles.boardInformation);
    ctx.view.showBoardWindow(ctx.toggles.boardInformation);
}

void ToggleLock(MainContext& ctx) {
    ctx.toggles.lock = !ctx.toggles.lock;
    if (!ctx.toggles.lock) {
        EnableOperationControls(ctx.s, ctx.ui);
    } else {
        DisableOperationControls(ctx.ui);
        for (Control c : kContinuousModeButtons)
            ctx.ui.setControlEnabled(c, true);
        ctx.ui.focusControl(Control::Command_pogram);
    }
    ctx.view.hideEditingWindows();
}

QString informationText() {
    return QStringLiteral(
        "プログラムコードファイルを読み込む際はチェックサムの確認をしていませんが、プログラムコード"
        "を\n"
        "保存するときは、正規のチェックサムを生成しています。 \n"
        "したがい、ファイルをエディタなどで、直接、修正し、その後ロード、保存することで  \n"
        "プログラムコードの変更を行うことができます。\n"
        "\n"
        "重要\n"
        "PIC16F8XXシリーズのプログラミングを行う時は、PB3/PGM端子をGNDに接続して下さい。\n"
        "PIC16C715,PIC16C642,PIC16C662は書き込みプロトコルが異なるためサポートしていません。 \n"
        "PIC16C52,PIC14000,PIC16C92Xは未対応です。 ");
}

} // namespace tavrin
