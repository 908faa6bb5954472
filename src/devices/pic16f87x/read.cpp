// Reading the chip into the PC buffer: program memory, data EEPROM, and the ID and configuration
// words with the device ID, then whether the chip was erased or protected.
#include "pic16f87x_module.h"

#include "devices/common/module_context.h"
#include "devices/common/operation_epilogue.h"
#include "devices/common/read_verdict.h"

#include "core/config_grids.h"
#include "core/operator_ui.h"
#include "core/session.h"
#include "core/status.h"
#include "core/utilities.h"
#include "link/board_channel.h"
#include "link/reply_transfer.h"

namespace tavrin {

namespace {

const QString kProgramEndMissing =
    QStringLiteral("プログラムメモリ読み出し失敗。　　終了コードを受信できませんでした。");
const QString kProgramShort =
    QStringLiteral("プログラムメモリ読み出し失敗。　　読み出しデータ不足。");
const QString kEepromShort =
    QStringLiteral("ＥＥＰＲＯＭデータメモリ読み出し失敗。　　読み出しデータ不足。");
const QString kEepromEndMissing =
    QStringLiteral("ＥＥＰＲＯＭデータメモリ読み出し失敗。　　終了コードを受信できませんでした。");
const QString kConfigShort =
    QStringLiteral("コンフィギュレーションワード読み出し失敗。　　読み出しデータ不足。");
const QString kConfigEndMissing = QStringLiteral(
    "コンフィギュレーションワード読み出し失敗。　　終了コードを受信できませんでした。");

} // namespace

void Pic16F87xModule::ReadProgramMemory(QString& result) {
    BoardChannel& ch = channel();
    Session& ss = s();
    RunState& run = ss.run;
    const std::int32_t words = ss.device.ProgramWordCount;
    ShowStatusMessage(ui(), QStringLiteral("Ｆｌａｓｈプログラムメモリ読み出し中....."));
    ch.pumpEvents();
    startCommand();
    ch.sendLetter('r');
    ch.sendLetter(v_.familyLetter);
    ch.sendLetter('p');
    ch.sendCount16(words);
    const qint64 expected = 2 * qint64(words) + 1;
    const WaitResult wait = receiveWithProgress(ch, expected, WaitLimit::perBlock(),
                                                AckRule::Every16, double(expected));
    ShowProgress(ui(), ProgressMode::Off, 0, 0, 0);
    if (wait != WaitResult::Complete) return failWait(ch, result, wait, kProgramShort);
    const auto& r = ch.takeReply();
    run.ReadDataLastIndex = 2 * words - 1;
    if (!endCodeAt(r, 2 * std::size_t(words))) return failStep(ch, result, kProgramEndMissing);
    auto& image = ss.buffer.ProgramImage;
    run.ProgramAndHigh = 255;
    run.ProgramAndLow = 255;
    for (std::int32_t i = 0; i + 1 <= run.ReadDataLastIndex; i += 2) {
        image[i] = r[i];
        image[i + 1] = r[i + 1];
        run.ProgramAndHigh &= r[i];
        run.ProgramAndLow &= r[i + 1];
    }
    ui().refreshViews(ViewProgram);
    result = result::OK;
    ShowStatusMessage(ui(), QStringLiteral("Ｆｌａｓｈプログラムメモリ読み出し終了"));
}

void Pic16F87xModule::ReadEepromMemory(QString& result) {
    BoardChannel& ch = channel();
    Session& ss = s();
    RunState& run = ss.run;
    const std::int32_t count = ss.device.EepromByteCount;
    if (count == 0) {
        ShowStatusMessage(
            ui(), QStringLiteral("ＯＴＰ版は、ＥＥＰＲＯＭデータメモリを内蔵していません。"));
        result = result::Skipped;
        return;
    }
    ShowStatusMessage(ui(), QStringLiteral("ＥＥＰＲＯＭデータメモリ読み出し中....."));
    ch.pumpEvents();
    startCommand();
    ch.sendLetter('r');
    ch.sendLetter(v_.familyLetter);
    ch.sendLetter('d');
    run.EepromAndHigh = 0x3F;
    run.EepromAndLow = 0xFF;
    ch.sendCount16(count);
    const qint64 expected = 2 * qint64(count) + 1;
    const WaitResult wait = receiveWithProgress(ch, expected, WaitLimit::total(10000),
                                                AckRule::Every16, double(expected));
    ShowProgress(ui(), ProgressMode::Off, 0, 0, 0);
    if (wait != WaitResult::Complete) return failWait(ch, result, wait, kEepromShort);
    const auto& r = ch.takeReply();
    if (!endCodeAt(r, 2 * std::size_t(count))) return failStep(ch, result, kEepromEndMissing);
    auto& image = ss.buffer.EepromImage;
    for (std::int32_t i = 0; i + 1 < 2 * count && std::size_t(i + 1) < image.size(); i += 2) {
        image[i] = r[i];
        image[i + 1] = r[i + 1];
        run.EepromAndHigh &= r[i];
        run.EepromAndLow &= r[i + 1];
    }
    ui().refreshViews(ViewEeprom);
    ShowStatusMessage(ui(), QStringLiteral("ＥＥＰＲＯＭデータメモリ読み出し終了"));
    result = result::OK;
}

void Pic16F87xModule::ReadConfigWords(QString& result, QString& cpFlag) {
    BoardChannel& ch = channel();
    Session& ss = s();
    RunState& run = ss.run;
    ss.device.ConfigFromDevice = true;
    ShowStatusMessage(ui(), QStringLiteral("コンフィギュレーションワード読み出し中....."));
    ch.pumpEvents();
    startCommand();
    ch.sendLetter('r');
    ch.sendLetter(v_.familyLetter);
    ch.sendLetter('c');
    ch.sendCount16(8);
    const WaitResult first = ch.waitForBytes(16, WaitLimit::total(10000));
    if (first != WaitResult::Complete) return failWait(ch, result, first, kConfigShort);
    ch.acknowledge();
    // The end code follows at once; a board that never sends it must not hold the operation.
    if (ch.waitForBytes(17, WaitLimit::perBlock()) == WaitResult::PortGone)
        return failWait(ch, result, WaitResult::PortGone, kConfigShort);
    const auto& r = ch.takeReply();
    if (!endCodeAt(r, 16)) return failStep(ch, result, kConfigEndMissing);

    ui().setControlText(Control::Lbl_ID_Rev, QString());
    ui().setControlText(Control::Lbl_ID_Dev, QString());
    ui().setControlText(Control::Lbl_ID_Rev, hex3(r[13] & 0x1F));
    ui().setControlText(Control::Lbl_ID_Dev, hex3(((r[12] & 0x3F) * 256 + r[13]) / 32));

    auto& config = ss.buffer.ConfigIdImage;
    run.ConfigAndHigh = 255;
    run.ConfigAndLow = 255;
    for (int i = 0; i <= 14; i += 2) {
        config[i] = r[i];
        config[i + 1] = r[i + 1];
        if (i >= 8 && i <= 12) continue; // 0x2004-0x2006: reserved words and the device ID
        run.ConfigAndHigh &= r[i];
        run.ConfigAndLow &= r[i + 1];
    }
    cpFlag = QString();
    const std::int32_t word = r[14] * 256 + r[15];
    const std::int32_t cpMask = ss.device.CodeProtectMask;
    if ((word & cpMask) != cpMask) {
        cpFlag = result::CP;
        ShowStatusMessage(
            ui(), QStringLiteral("リード..........このデバイスはコードプロテクトされています。"));
    }
    ui().refreshViews(ViewIdConfig);
    result = result::OK;
    ShowStatusMessage(ui(), QStringLiteral("コンフィギュレーションワード読み出し終了"));
}

void Pic16F87xModule::ReadDevice() {
    Session& ss = s();
    RunState& run = ss.run;
    {
        beginOperation(ctx_);
        OperationEpilogue epilogue(ctx_, OperationKind::Read);
        ui().setControlText(Control::Lbl_ID_Rev, QString());
        ui().setControlText(Control::Lbl_ID_Dev, QString());
        CheckDeviceId(run.ConfigStepResult);
        const bool checked = run.ConfigStepResult != result::NG;
        bool fine = checked;
        if (fine) {
            ShowStatusMessage(ui(), QStringLiteral("プログラムメモリ読み出し中.........."));
            ReadProgramMemory(run.ProgramStepResult);
            fine = run.ProgramStepResult != result::NG;
        }
        if (fine) {
            ShowStatusMessage(ui(), QStringLiteral("ＥＥＰＲＯＭデータメモリ読み出し中.........."));
            ReadEepromMemory(run.EepromStepResult);
            fine = run.EepromStepResult != result::NG;
        }
        if (fine) {
            ShowStatusMessage(ui(),
                              QStringLiteral("コンフィギュレーションワード読み出し中.........."));
            ReadConfigWords(run.ConfigStepResult, run.CodeProtectState);
            fine = run.ConfigStepResult != result::NG;
        }
        if (fine)
            readSummary();
        else if (checked)
            finishFailedRead(ctx_);
        ss.device.ConfigFromDevice = false;
    }
    ui().focusControl(Control::frmMain);
}

void Pic16F87xModule::readSummary() {
    Session& ss = s();
    RunState& run = ss.run;
    const auto& config = ss.buffer.ConfigIdImage;
    for (int k = 1; k <= limits::ConfigWords; ++k) {
        if (ss.device.ConfigWordDefined[k] == 0) continue;
        ss.device.ConfigValue[k] = (config[12 + 2 * k] & 0x3F) * 256 + config[13 + 2 * k];
    }
    RefreshConfigGrids(ss);
    ui().refreshViews(ViewConfigGrids | ViewIdConfig);

    // A part without EEPROM read nothing there: accumulators left from an earlier read must not
    // decide whether this chip is erased.
    const bool eeprom = run.EepromStepResult == result::OK;
    run.ProgramAndHigh &= run.ConfigAndHigh & (eeprom ? run.EepromAndHigh : 0xFF);
    run.ProgramAndLow &= run.ConfigAndLow & (eeprom ? run.EepromAndLow : 0xFF);
    tellReadVerdict(ctx_, readFinding(run.ProgramAndHigh * 256 + run.ProgramAndLow == 0x3FFF,
                                      run.CodeProtectState == result::CP));
}

} // namespace tavrin
