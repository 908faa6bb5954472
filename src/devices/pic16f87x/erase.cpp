// Erasing on the board: three single erases (code-protect release, program memory, data EEPROM),
// each one selector byte after the variant's erase letter, and the chip erase that chains them.
#include "pic16f87x_module.h"

#include "core/operator_ui.h"
#include "core/session.h"
#include "core/status.h"
#include "link/board_channel.h"

namespace tavrin {

namespace {
constexpr int EraseLimitMs = 3000;
constexpr int PauseBeforeStepMs = 100;
} // namespace

void Pic16F87xModule::singleErase(const QString& startText, std::uint8_t selector,
                                  QString& result) {
    BoardChannel& ch = channel();
    ShowStatusMessage(ui(), startText);
    ch.discardInput();
    startCommand();
    ch.sendLetter('b');
    ch.sendLetter(v_.eraseLetter);
    ch.sendByteNoPause(selector);
    const WaitResult wait = ch.waitForBytes(1, WaitLimit::total(EraseLimitMs));
    const bool erased = wait == WaitResult::Complete && endCodeAt(ch.takeReply(), 0);
    result = erased ? result::OK : result::ER;
    if (wait != WaitResult::Complete) s().run.OperationResult = result::ER;
    ShowStatusMessage(ui(), erased ? QStringLiteral("成功。") : QStringLiteral("失敗。"));
}

void Pic16F87xModule::EraseCodeProtect(QString& result) {
    singleErase(QStringLiteral("チップイレース(コードプロテクト解除)中....."),
                v_.codeProtectRelease, result);
}

void Pic16F87xModule::EraseProgramMemory(QString& result) {
    singleErase(QStringLiteral("Ｆｌａｓｈプログラムメモリ消去中....."), v_.programErase, result);
}

void Pic16F87xModule::EraseEepromMemory(QString& result) {
    singleErase(QStringLiteral("ＥＥＰＲＯＭデータメモリ消去中........."), v_.eepromErase, result);
}

bool Pic16F87xModule::chipEraseStep(const QString& runningText, const QString& failedText,
                                    QString& stepResult, void (Pic16F87xModule::*erase)(QString&)) {
    if (!runningText.isEmpty()) ShowStatusMessage(ui(), runningText);
    channel().pumpEvents();
    channel().pauseMs(PauseBeforeStepMs);
    (this->*erase)(stepResult);
    if (stepResult == result::OK) return true;
    ShowStatusMessage(ui(), failedText);
    return false;
}

void Pic16F87xModule::EraseChip(QString& result) {
    RunState& run = s().run;
    // The protection release of the A parts erases the configuration word; program memory
    // follows as a step of its own.
    const QString releasing = v_.eraseProgramSeparately
                                  ? QStringLiteral("コンフィグワードイレース")
                                  : QStringLiteral("プログラムメモリイレース");
    ShowStatusMessage(ui(), QStringLiteral("チップイレース(コードプロテクト解除)中....."));
    ShowStatusMessage(ui(), QStringLiteral("イレース..........プロテクト解除中（") + releasing +
                                QStringLiteral("）.........."));
    result = result::NG;
    if (!chipEraseStep(QString(),
                       QStringLiteral("イレース.........プロテクト解除（") + releasing +
                           QStringLiteral("）に失敗しました。"),
                       run.CpEraseResult, &Pic16F87xModule::EraseCodeProtect))
        return;
    if (v_.eraseProgramSeparately &&
        !chipEraseStep(
            QStringLiteral("イレース..........ＦＬＡＳＨプログラムメモリーのイレース中.........."),
            QStringLiteral(
                "イレース.........ＦＬＡＳＨプログラムメモリーのイレースに失敗しました。"),
            run.ProgramStepResult, &Pic16F87xModule::EraseProgramMemory))
        return;
    if (!chipEraseStep(
            QStringLiteral("イレース..........ＥＥＰＲＯＭデータメモリーのイレース中.........."),
            QStringLiteral("イレース.........ＥＥＰＲＯＭデータメモリーのイレースに失敗しました。"),
            run.EepromStepResult, &Pic16F87xModule::EraseEepromMemory))
        return;
    result = result::OK;
    ShowStatusMessage(ui(), QStringLiteral("イレース.........イレースしました。"));
}

} // namespace tavrin
