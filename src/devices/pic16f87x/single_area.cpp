// The extended programming window's two single-area runs: program memory with the ID and
// configuration words, or the data EEPROM alone. No blank check, no device check, no counting and
// no log line; the status line says how it went and the port is closed at the end.
#include "pic16f87x_module.h"

#include "devices/common/module_context.h"

#include "core/operator_ui.h"
#include "core/session.h"
#include "core/status.h"
#include "link/board_channel.h"
#include "link/board_link.h"

namespace tavrin {

namespace {

const QString kEepromStep = QStringLiteral("プログラムデータメモリー..........");

} // namespace

void Pic16F87xModule::ProgramProgramMemoryAndConfig() {
    RunState& run = s().run;
    BoardChannel& ch = channel();
    // One step after the other; the first that fails ends the run with its text.
    auto step = [&](const char* running, const char* failed, int pauseMs, auto&& body,
                    QString& result) {
        ShowStatusMessage(ui(), QString::fromUtf8(running));
        ch.pumpEvents();
        if (pauseMs) ch.pauseMs(pauseMs);
        body(result);
        if (result == result::OK) return true;
        ShowStatusMessage(ui(), QString::fromUtf8(failed));
        return false;
    };
    ui().refreshViews(ViewProgram);
    const bool done =
        step(
            "Ｆｌａｓｈプログラムメモリのプログラミング中..........",
            "Ｆｌａｓｈプログラムメモリのプログラミングに敗しました。", 0,
            [this](QString& r) { WriteProgramMemory(r); }, run.ProgramStepResult) &&
        step(
            "Ｆｌａｓｈプログラムメモリのベリファイ中..........",
            "Ｆｌａｓｈプログラムメモリのベリファイに敗しました。", 0,
            [this](QString& r) { VerifyProgramMemory(r); }, run.ProgramVerifyResult) &&
        step(
            "コンフィギュレーションワードのプログラミング中..........",
            "コンフィギュレーションワードのプログラミングに敗しました。", 200,
            [this](QString& r) { WriteConfigWords(r); }, run.ConfigStepResult) &&
        step(
            "コンフィギュレーションワードのベリファイ中..........",
            "コンフィギュレーションワードのベリファイに敗しました。", 0,
            [this, &run](QString& r) { VerifyConfigWords(r, run.CodeProtectState); },
            run.ConfigVerifyResult);
    if (done)
        ShowStatusMessage(ui(),
                          QStringLiteral("Ｆｌａｓｈプログラムメモリ＆コンフィグレーションワード "
                                         "プログラム終了"));
    ctx_.link.ClosePort();
    ui().setBusy(false);
}

void Pic16F87xModule::ProgramEepromMemory() {
    RunState& run = s().run;
    BoardChannel& ch = channel();
    auto step = [&](const QString& running, const QString& failed, auto&& body, QString& result) {
        ShowStatusMessage(ui(), kEepromStep + running);
        ch.pumpEvents();
        ch.pauseMs(50);
        body(result);
        if (result == result::OK) return true;
        ShowStatusMessage(ui(), kEepromStep + failed);
        return false;
    };
    ui().refreshViews(ViewEeprom);
    const bool done =
        step(
            QStringLiteral("ＥＥＰＲＯＭデータメモリーの消去中.........."),
            QStringLiteral("ＥＥＰＲＯＭデータメモリーの消去に失敗しました。"),
            [this](QString& r) { EraseEepromMemory(r); }, run.EepromStepResult) &&
        step(
            QStringLiteral("ＥＥＰＲＯＭデータメモリーのプログラミング中.........."),
            QStringLiteral("ＥＥＰＲＯＭデータメモリーのプログラミングに失敗しました。"),
            [this](QString& r) { WriteEepromMemory(r); }, run.EepromStepResult) &&
        step(
            QStringLiteral("ＥＥＰＲＯＭデータメモリーのベリファイ中.........."),
            QStringLiteral("ＥＥＰＲＯＭデータメモリーのベリファイに失敗しました。"),
            [this](QString& r) { VerifyEepromMemory(r); }, run.EepromVerifyResult);
    if (done)
        ShowStatusMessage(
            ui(), kEepromStep +
                      QStringLiteral("ＥＥＰＲＯＭデータメモリーのプログラミングに成功しました。"));
    ctx_.link.ClosePort();
    ui().setBusy(false);
}

} // namespace tavrin
