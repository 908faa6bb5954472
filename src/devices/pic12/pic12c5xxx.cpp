// Blank and Read of the 12-bit parts.
#include "pic12c5xxx.h"
#include "read_summary.h"

#include "core/config_grids.h"
#include "core/operation_controls.h"
#include "core/operator_ui.h"
#include "core/session.h"
#include "core/status.h"
#include "core/utilities.h"
#include "devices/common/operation_epilogue.h"
#include "devices/common/read_verdict.h"
#include "devices/common/result_log.h"
#include "link/board_channel.h"
#include "link/board_link.h"
#include "link/program_size.h"
#include "link/reply_transfer.h"
#include "steps/blank_judgement.h"
#include "steps/config_area_read.h"
#include "steps/read.h"

namespace tavrin::pic12 {

namespace {

constexpr std::int32_t kErased12 = 0x0FFF;
constexpr std::uint8_t kMovlwHigh = 0x0C;

const QString kBlankLine = QStringLiteral("：　ブランク。　　　　　　　　　　　　　");
const QString kWrittenLine = QStringLiteral("：　消去されていません。　　　　　　　　");
const QString kProtected = QStringLiteral("このデバイスはコードプロテクトされています。");

QString calibrationPlace(const Session& s, std::optional<std::uint16_t> word) {
    return QStringLiteral("キャリブレーションデータ格納アドレス(0x") +
           hex4(s.device.ProgramWordCount - 1) + QStringLiteral(")のデータは0x") +
           (word ? hex4(*word) : QStringLiteral("----")) + QStringLiteral(" です。");
}

} // namespace

PowerLetterN::PowerLetterN(DeviceRecord& device) : device_(device), saved_(device.PowerMode) {
    device_.PowerMode = QStringLiteral("VDD");
}

PowerLetterN::~PowerLetterN() {
    device_.PowerMode = saved_;
}

Pic12C5xxx::Pic12C5xxx(ModuleContext& ctx) : ctx_(ctx) {}

void Pic12C5xxx::status(const QString& text) {
    ShowStatusMessage(ctx_.ui, text);
}

std::optional<std::uint16_t> Pic12C5xxx::calibrationRead() const {
    const RunState& run = ctx_.s.run;
    if (!run.CalibWordRead) return std::nullopt;
    return std::uint16_t(run.CalibWordHigh * 256 + run.CalibWordLow);
}

void Pic12C5xxx::ReadForBlankCheck(QString& programResult, QString& configResult, QString& cpFlag) {
    Session& s = ctx_.s;
    RunState& run = s.run;
    BoardChannel& ch = ctx_.link.channel();
    status(QStringLiteral("ブランクチェック中.........."));
    programResult = result::Skipped;
    configResult = result::Skipped;
    ctx_.ui.refreshViews(ViewProgram);
    // A word read for an earlier chip says nothing about this one.
    run.CalibWordRead = false;
    status(QStringLiteral("ブランクチェック中..........プログラムメモリー"));
    scanProgramMemory(programResult);

    status(QStringLiteral("ブランクチェック中..........コンフィグ・ＩＤワード"));
    sendConfigAreaLetters(ch, "rsc");
    const auto& r = s.link.ReceiveBuffer;
    if (readConfigWord12(ch) != AreaRead::Complete || !endCodeAt(r, 2)) {
        configResult = result::ER;
        status(QStringLiteral("コンフィギュレーションワードブランクチェック失敗。　　"
                              "終了コードを受信できませんでした。"));
        return;
    }
    cpFlag = result::Skipped;
    const std::int32_t word = r[0] * 256 + r[1];
    if (isCodeProtected(word, s.device.CodeProtectMask)) {
        cpFlag = result::CP;
        status(kProtected);
    }
    run.ConfigAndHigh = r[0];
    run.ConfigAndLow = r[1];
    configResult = configWord12Erased(s.device.SelectedDevice, word) ? result::OK : result::NG;
}

// The board's scan of the first `count` stream words: their AND, high byte first, then "@".
std::optional<std::uint16_t> Pic12C5xxx::scan(std::int32_t count, bool endCodeNeeded) {
    BoardChannel& ch = ctx_.link.channel();
    ch.discardInput();
    ch.sendPowerLetter();
    ch.sendLetters("bs");
    ch.sendCount16(count);
    const WaitResult wait = ch.waitForBytes(3, WaitLimit::perBlock());
    const auto& r = ch.takeReply();
    if (wait != WaitResult::Complete || (endCodeNeeded && !endCodeAt(r, 2))) return std::nullopt;
    return std::uint16_t(r[0] * 256 + r[1]);
}

// W words leave the calibration word out, W + 1 take it in, W + 5 add the four ID words: over an
// otherwise erased chip the second scan is the calibration word itself.
void Pic12C5xxx::scanProgramMemory(QString& programResult) {
    RunState& run = ctx_.s.run;
    const std::int32_t words = ctx_.s.device.ProgramWordCount;
    const auto program = scan(words, true);
    if (!program) {
        programResult = result::ER;
        status(QStringLiteral("プログラムメモリブランクチェック失敗。　　"
                              "終了コードを受信できませんでした。"));
        return;
    }
    run.ProgramAndHigh = *program >> 8;
    run.ProgramAndLow = *program & 0xFF;
    if (*program != kErased12) {
        programResult = result::NG;
        return;
    }
    // The later replies are taken whole but their end codes are not the point: a reply that
    // does not come at all is a communication failure all the same.
    const auto calibration = scan(words + 1, false);
    const auto withIds = calibration ? scan(words + 5, false) : std::nullopt;
    if (!withIds) {
        programResult = result::ER;
        status(QStringLiteral("プログラムメモリブランクチェック失敗。　　読み出しデータ不足。"));
        return;
    }
    run.CalibWordHigh = std::uint8_t(*calibration >> 8);
    run.CalibWordLow = std::uint8_t(*calibration & 0xFF);
    run.CalibWordRead = true;
    programResult = *withIds == *calibration ? result::OK : result::NG;
}

void Pic12C5xxx::BlankCheckDevice() {
    const PowerLetterN n(ctx_.s.device);
    OperatorUi& ui = ctx_.ui;
    beginOperation(ctx_);
    const OperationEpilogue end(ctx_, OperationKind::Blank);
    ui.setControlVisible(Control::CmbInit, false);
    ui.setControlVisible(Control::TxtInit, false);
    ui.setControlText(Control::Lbl_Calib_ReadWrite_Data, QStringLiteral("--"));
    ui.pumpEvents();

    QString program, config, cpFlag = result::Skipped;
    ReadForBlankCheck(program, config, cpFlag);
    const QString place = calibrationPlace(ctx_.s, calibrationRead());
    if (program == result::ER || config == result::ER) {
        // Nothing is known about the chip: saying it is written would be a guess.
        status(QStringLiteral("redブランクチェック中に通信エラーが発生しました。"));
    } else if (program + config == QLatin1String("OKOK")) {
        status(QStringLiteral("デバイスは消去されています。\r\n") + place);
    } else {
        status(QStringLiteral("redデバイスは消去されてません。。\r\n") + place);
        RunState& run = ctx_.s.run;
        run.BlankReportText = QStringLiteral("プログラムメモリ　ｏｒ　ＩＤ\t") +
                              (program == result::OK ? kBlankLine : kWrittenLine) +
                              QStringLiteral("\r\n");
        const QString configLine = QStringLiteral("ＣＯＮＦＩＧ.ワード　　　　\t") +
                                   (config == result::OK ? kBlankLine : kWrittenLine) +
                                   QStringLiteral("\r\n");
        ui.messageBox(
            MessageIcon::Exclamation, MessageButtons::Ok, QStringLiteral("ブランクチェック"),
            run.BlankReportText + configLine + (cpFlag == result::CP ? kProtected : QString()));
    }
    writeLogLine(ui, ctx_.dataDir, operationEndLine(OperationEnd::BlankCheck, ctx_.now()));
}

void Pic12C5xxx::ReadDevice() {
    const PowerLetterN n(ctx_.s.device);
    Session& s = ctx_.s;
    RunState& run = s.run;
    OperatorUi& ui = ctx_.ui;
    BoardChannel& ch = ctx_.link.channel();
    beginOperation(ctx_);
    const OperationEpilogue end(ctx_, OperationKind::Read);
    ui.setControlVisible(Control::CmbInit, false);
    ui.setControlVisible(Control::TxtInit, false);
    ui.setControlText(Control::Lbl_ID_Rev, QString());
    ui.setControlText(Control::Lbl_ID_Dev, QString());
    ui.setControlText(Control::Lbl_Calib_ReadWrite_Data, QStringLiteral("--"));
    ui.pumpEvents();
    status(QStringLiteral("プログラムメモリ読み出し中.........."));

    QString program = result::NG;
    run.CalibWordRead = false;
    tavrin::ReadProgramMemory(ch, program);
    if (program == result::OK) {
        run.CalibWordRead = !s.device.CalibrationInstruction.isEmpty();
        const auto& config = s.buffer.ConfigIdImage;
        QString about = QStringLiteral("READ");
        for (int k = 0; k < 8; k += 2)
            about += QLatin1Char(':') + hex2(config[k]) + hex2(config[k + 1]);
        ui.setControlText(Control::frmAbout_Label_ID_Word, about);

        status(QStringLiteral("コンフィギュレーションワード読み出し中.........."));
        ui.pumpEvents();
        QString configResult = result::NG;
        tavrin::ReadConfigWords(ch, configResult);
        if (configResult == result::OK) {
            finishRead(ctx_,
                       (run.ProgramAndHigh & run.ConfigAndHigh & run.IdAndHigh) * 256 +
                           (run.ProgramAndLow & run.ConfigAndLow & run.IdAndLow),
                       kErased12, [&s] { return s.device.CodeProtectOn; });
        } else {
            finishFailedRead(ctx_);
        }
    } else {
        finishFailedRead(ctx_);
    }
    s.device.ConfigFromDevice = false;
}

void Pic12C5xxx::readCalibrationOfWrittenChip() {
    Session& s = ctx_.s;
    RunState& run = s.run;
    BoardChannel& ch = ctx_.link.channel();
    ch.discardInput();
    ch.sendPowerLetter();
    ch.sendLetters("rsp");
    const std::int32_t stream = sendStreamSize(ch);
    if (receiveWords(ch, stream, WaitLimit::perBlock()) != WaitResult::Complete) return;
    const auto& r = s.link.ReceiveBuffer;
    const std::size_t end = 2 * std::size_t(stream);
    if (!endCodeAt(r, end)) return;
    // A protected chip reads zeros: that is no calibration value.
    if (r[end - 10] != kMovlwHigh) return;
    run.CalibWordHigh = r[end - 10];
    run.CalibWordLow = r[end - 9];
    run.CalibWordRead = true;
}

} // namespace tavrin::pic12
