// The Program operation: device check, blank check with the overwrite question, erase, writes
// and verifies of program memory, EEPROM, ID and configuration, the verdict with its counters,
// the log line. The extended window's program-memory-only run leaves the chip's data EEPROM
// alone: it erases the program blocks instead of the whole chip. Every way out that reached the
// board leaves the run's line (program_run_line.h).
#include "pic18_module.h"

#include "core/clock.h"
#include "core/operator_ui.h"
#include "core/session.h"
#include "devices/common/module_context.h"
#include "devices/common/operation_epilogue.h"
#include "devices/common/overwrite_question.h"
#include "devices/common/program_result.h"
#include "devices/common/program_run_line.h"
#include "devices/common/result_log.h"
#include "link/board_channel.h"

namespace tavrin {

namespace {
const QString kHead = QStringLiteral("プログラミング..........");
const QString kBlankChecking = QStringLiteral("ブランクチェック中..........");
const QString kProgramNoAnswer =
    QStringLiteral("ブランクチェック終了（ＦＳＬＡＨプログラムメモリー）通信エラー。");
const QString kEepromNoAnswer =
    QStringLiteral("ブランクチェック終了（ＥＥＰＲＯＭデータメモリー）通信エラー。");
const QString kConfigNoAnswer =
    QStringLiteral("ブランクチェック終了（コンフィギュレーションワード）通信エラー。");
const QString kBlank = QStringLiteral("ブランクチェック終了。　デバイスは消去されています。");
const QString kWritten =
    QStringLiteral("ブランクチェック終了。　デバイスにコードが書き込まれています。");
const QString kErasing = QStringLiteral("チップイレース(コードプロテクト解除)中..........");
const QString kEraseFailed = QStringLiteral("チップイレース(コードプロテクト解除)　失敗。");
const QString kErased = QStringLiteral("チップイレース(コードプロテクト解除)　成功。");
const QString kBlocksErasing = QStringLiteral("ＦＬＡＳＨプログラムメモリーの消去中..........");
const QString kBlocksEraseFailed =
    QStringLiteral("ＦＬＡＳＨプログラムメモリーの消去に失敗しました。");
const QString kWritingProgram =
    QStringLiteral("ＦＬＡＳＨプログラムメモリーのプログラミング中..........");
const QString kProgramWriteFailed =
    QStringLiteral("ＦＬＡＳＨプログラムメモリーのプログラミングに失敗しました。");
const QString kWritingEeprom =
    QStringLiteral("ＥＥＰＲＯＭデータメモリーのプログラミング中..........");
const QString kEepromWriteFailed =
    QStringLiteral("ＥＥＰＲＯＭデータメモリーのプログラミングに失敗しました。");
const QString kVerifyingProgram =
    QStringLiteral("ＦＬＡＳＨプログラムメモリーのベリファイ中..........");
const QString kProgramVerifyFailed =
    QStringLiteral("ＦＬＡＳＨプログラムメモリーのベリファイに失敗しました。");
const QString kVerifyingEeprom =
    QStringLiteral("ＥＥＰＲＯＭデータメモリーのベリファイ中..........");
const QString kEepromVerifyFailed =
    QStringLiteral("ＥＥＰＲＯＭデータメモリーのベリファイに失敗しました。");
const QString kWritingConfig =
    QStringLiteral("コンフィギュレーションワードのプログラミング中..........");
const QString kConfigWriteFailed =
    QStringLiteral("コンフィグレーションワードのプログラミングに失敗しました。");
const QString kVerifyingConfig =
    QStringLiteral("コンフィギュレーションワードのベリファイ中..........");
const QString kConfigVerifyFailed =
    QStringLiteral("コンフィギュレーションワードのベリファイに失敗しました。");
const QString kProtectedTitle = QStringLiteral("プログラムメモリの消去");
const QString kProtectedQuestion = QStringLiteral(
    "プログラムメモリがコードプロテクトされているため、ブロックごとには消去できません。\r\n"
    "チップイレースを行うと、ＥＥＰＲＯＭデータメモリも消去されます。\r\n\r\n"
    "チップイレースを行う時は『ＯＫ』を、中止する時は『キャンセル』を押してください。");
const QString kFiller5 = QStringLiteral("　　　　　");
} // namespace

// Erase before writing. The whole chip, unless only program memory is programmed: then the
// boot block and the program blocks, so that the data EEPROM stays as the chip holds it. A chip
// whose program memory is protected can only be released by the chip erase, which takes the
// EEPROM with it: the person decides.
void Pic18Module::programEraseStep(bool programOnly, QString& stopText) {
    RunState& run = s_.run;
    const bool programProtected = run.CodeProtectState.startsWith(QLatin1Char('P'));
    if (programOnly && !programProtected) {
        status(kHead + kBlocksErasing);
        pause(100);
        EraseProgramMemory(run.ProgramStepResult);
        if (boardLost(ctx_)) return;
        if (run.ProgramStepResult != result::OK) {
            status(kHead + kBlocksEraseFailed);
            stopText = lastStatus_;
        }
        return;
    }
    if (programOnly && ui_.messageBox(MessageIcon::Exclamation, MessageButtons::OkCancel,
                                      kProtectedTitle, kProtectedQuestion) != MessageAnswer::Ok) {
        run.ProgramStepResult = result::NG;
        status(kHead + kOverwriteCancelled);
        stopText = lastStatus_;
        return;
    }
    status(kHead + kErasing);
    pause(100);
    EraseChip(run.ProgramStepResult);
    if (boardLost(ctx_)) return;
    if (run.ProgramStepResult != result::OK) {
        status(kHead + kEraseFailed);
        stopText = lastStatus_;
        return;
    }
    status(kHead + kErased);
}

void Pic18Module::ProgramDevice() {
    RunState& run = s_.run;
    const bool programOnly = run.ProgramMemoryOnlyMode;
    const bool withConfig = !programOnly || run.IncludeConfigInPartial;
    beginOperation(ctx_);
    ProgramRunLine line(ctx_, settings_);
    run.OperationStartTimeUs = clock_.nowUs();
    ui_.setControlText(Control::Lbl_Calib_ReadWrite_Data, QStringLiteral("--"));
    ui_.refreshViews(ViewProgram | ViewEeprom);
    run.ProgramVerifyResult = run.EepromVerifyResult = run.ConfigVerifyResult = result::OK;
    ui_.pumpEvents();

    // What ended the run early, as the person was told it. A board that went away ends it at
    // once, its loss the last word.
    QString stopText;
    auto stop = [&](const QString& text) {
        if (!boardLost(ctx_)) status(kHead + text);
        stopText = lastStatus_;
    };
    auto going = [&] { return stopText.isEmpty() && !boardLost(ctx_); };

    run.ConfigStepResult.clear();
    CheckDeviceId(run.ConfigStepResult);
    if (run.ConfigStepResult == result::NG || !sizesFit()) stopText = lastStatus_;

    if (going() && !settings_.skipBlankCheck) {
        status(kHead + kBlankChecking);
        ui_.pumpEvents();
        run.ProgramStepResult = run.EepromStepResult = run.ConfigStepResult = result::Skipped;
        run.CodeProtectState = result::Skipped;
        BlankCheckProgramMemory(run.ProgramStepResult);
        if (programOnly)
            run.EepromStepResult = result::OK;
        else
            BlankCheckEepromMemory(run.EepromStepResult);
        BlankCheckConfigWords(run.ConfigStepResult, run.CodeProtectState);
        // A board that went away has had its last word: nothing more is asked or told.
        if (going()) {
            if (run.ProgramStepResult == result::ER) {
                clock_.sleepMs(100);
                stop(kProgramNoAnswer);
            } else if (run.EepromStepResult == result::ER) {
                clock_.sleepMs(100);
                stop(kEepromNoAnswer);
            } else if (run.ConfigStepResult == result::ER) {
                clock_.sleepMs(100);
                stop(kConfigNoAnswer);
            } else if (run.ProgramStepResult + run.EepromStepResult + run.ConfigStepResult ==
                       QLatin1String("OKOKOK")) {
                status(kHead + kBlank);
            } else {
                status(kHead + kWritten);
                if (!overwriteAgreed(ctx_, kWrittenLine, kHead))
                    stopText = kHead + kOverwriteCancelled;
            }
        }
    }

    if (going()) {
        programEraseStep(programOnly, stopText);
        // An attempt is counted where the verdict will count a pass or a failure.
        if (going() && !programOnly) ++run.AttemptCount;
    }
    if (going()) {
        status(kHead + kWritingProgram);
        pause(100);
        WriteProgramMemory(run.ProgramStepResult);
        if (run.ProgramStepResult != result::OK) stop(kProgramWriteFailed);
    }
    if (going() && !programOnly) {
        status(kHead + kWritingEeprom);
        pause(100);
        WriteEepromMemory(run.EepromStepResult);
        if (run.EepromStepResult != result::OK && run.EepromStepResult != result::Skipped)
            stop(kEepromWriteFailed);
    }
    if (going()) {
        status(kHead + kVerifyingProgram);
        pause(100);
        VerifyProgramMemory(run.ProgramVerifyResult);
        if (run.ProgramVerifyResult != result::OK && going()) status(kHead + kProgramVerifyFailed);
        if (!programOnly && going()) {
            status(kHead + kVerifyingEeprom);
            pause(100);
            VerifyEepromMemory(run.EepromVerifyResult);
            if (run.EepromVerifyResult != result::OK && going())
                status(kHead + kEepromVerifyFailed);
        }
    }
    if (going() && withConfig) {
        status(kHead + kWritingConfig);
        ui_.pumpEvents();
        clock_.sleepMs(200);
        WriteConfigWords(run.ConfigStepResult);
        if (run.ConfigStepResult != result::OK) {
            stop(kConfigWriteFailed);
        } else {
            status(kHead + kVerifyingConfig);
            ui_.pumpEvents();
            clock_.sleepMs(200);
            VerifyConfigWords(run.ConfigVerifyResult, run.CodeProtectState);
            if (run.ConfigVerifyResult != result::OK && going())
                status(kHead + kConfigVerifyFailed);
        }
    }

    const bool judged = going();
    if (judged && programOnly) {
        run.LastResultText = run.ProgramVerifyResult == result::OK
                                 ? QStringLiteral("プログラムメモリのプログラミング成功。")
                                 : QStringLiteral("プログラムメモリのプログラミング失敗。");
        if (run.IncludeConfigInPartial)
            run.LastResultText +=
                QLatin1Char('\r') +
                (run.ConfigVerifyResult == result::OK
                     ? QStringLiteral("コンフィグワードのプログラミング成功。")
                     : QStringLiteral("コンフィグワードのプログラミングエラー。"));
        status(run.LastResultText);
    } else if (judged) {
        const std::int64_t elapsedSeconds = (clock_.nowUs() - run.OperationStartTimeUs) / 1000000;
        const QString t = endTimeOfDay(ctx_.now());
        if (run.ProgramVerifyResult + run.EepromVerifyResult + run.ConfigVerifyResult ==
            QLatin1String("OKOKOK")) {
            ++run.PassCount;
            run.LastResultText = passText(elapsedSeconds, t, run);
            status(run.LastResultText);
        } else {
            ++run.FailCount;
            run.LastResultText = failText(t, run);
            status(QStringLiteral("red") + run.LastResultText);
            const QString crlf = QStringLiteral("\r\n");
            ui_.messageBox(
                MessageIcon::Information, MessageButtons::Ok, QStringLiteral("ベリファイ"),
                QStringLiteral("Ｆｌａｓｈプログラムメモリ\t=　 ") + run.ProgramVerifyResult +
                    kFiller5 + crlf + QStringLiteral("ＥＥＰＲＯＭデータメモリ　\t=　 ") +
                    run.EepromVerifyResult + kFiller5 + crlf +
                    QStringLiteral("コンフィグレーションワード\t= 　") + run.ConfigVerifyResult +
                    kFiller5 + crlf);
        }
    }
    if (judged)
        line.logResult(run.LastResultText);
    else
        line.stop(stopText);
    line.close(); // before the controls come back
    finishOperation(ctx_, OperationKind::Program, settings_);
}

} // namespace tavrin
