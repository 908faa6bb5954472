// The Read operation and its program-memory and EEPROM steps. Program memory comes back whole
// in 8-byte packets (the larger part) or panel by panel; either way into a scratch copy that
// replaces the buffer only when the whole read succeeded.
#include "pic18_module.h"

#include "core/clock.h"
#include "core/operator_ui.h"
#include "core/session.h"
#include "core/utilities.h"
#include "devices/common/module_context.h"
#include "devices/common/operation_epilogue.h"
#include "devices/common/program_run_line.h"
#include "devices/common/read_verdict.h"
#include "link/board_channel.h"
#include "link/reply_transfer.h"

#include <algorithm>

namespace tavrin {

namespace {
const QString kReadingProgram =
    QStringLiteral("リード..........ＦＬＡＳＨプログラムメモリーのリード中..........");
const QString kReadingEeprom =
    QStringLiteral("リード..........ＥＥＰＲＯＭデータメモリーのリード中..........");
const QString kReadingConfig =
    QStringLiteral("リード..........コンフィギュレーションワードのリード中..........");
const QString kProgramRead = QStringLiteral("プログラムメモリ読み出し完了。");
const QString kProgramReadError = QStringLiteral("プログラムメモリ リードエラー。");
const QString kPanelShort =
    QStringLiteral("プログラムメモリ読み出しブランクチェック失敗。　　読み出しデータ不足。");
const QString kPanelEndMissing = QStringLiteral(
    "プログラムメモリ読み出しブランクチェック失敗。　　終了コードを受信できませんでした。");
const QString kEepromRead = QStringLiteral("ＥＥＰＲＯＭデータメモリ読み出し完了。");
const QString kErased =
    QStringLiteral("リード..........リード終了。　デバイスは消去されています。");
const QString kWrittenHead = QStringLiteral("リード..........リード終了。　");
const QString kWrittenTail = QStringLiteral("にコードが書き込まれています。");
const QString kWritten =
    QStringLiteral("リード..........リード終了。　デバイスにコードが書き込まれています。");
const QString kWrongConfig =
    QStringLiteral("（不適切なデータがコンフィグワードにセットされています。）");
const QString kProtectedP = QStringLiteral(
    "redリード..........リード終了。　プログラムメモリがコードプロテクトされています。");
const QString kProtectedD = QStringLiteral(
    "redリード..........リード終了。　ＥＥＰＲＯＭデータメモリコードプロテクトされています。");
const QString kProtectedPD =
    QStringLiteral("redリード..........リード終了。　プログラムメモリ＆"
                   "ＥＥＰＲＯＭデータメモリがコードプロテクトされています。");

// A packet that does not arrive within this gives up the whole-memory read.
constexpr int PacketLimitMs = 3000;
constexpr std::int32_t PacketBytes = 8;

void andInto(std::int32_t& acc, std::uint8_t byte) {
    acc &= byte;
}
} // namespace

bool Pic18Module::receiveWholeMemory(std::vector<std::uint8_t>& into, QString& result) {
    const std::int32_t bytes = 2 * s_.device.ProgramWordCount;
    // The request asks for one word more than the memory holds; that word comes after the last
    // packet, is taken with the end code and dropped.
    const std::int32_t asked = bytes + 2;
    ch_.discardInput();
    sendHeader("Xrsp", 1, asked);
    std::vector<std::uint8_t> pending;
    // Collects what the board sends until `n` bytes are pending; false when a packet is late.
    auto collect = [&](std::size_t n) {
        while (pending.size() < n) {
            const WaitResult wait =
                ch_.waitForBytes(qint64(n - pending.size()), WaitLimit::total(PacketLimitMs));
            if (wait != WaitResult::Complete) return false;
            const auto& reply = ch_.takeReply();
            pending.insert(pending.end(), reply.begin(), reply.end());
        }
        return true;
    };
    std::int32_t taken = 0;
    while (taken < bytes) {
        if (!collect(std::size_t(PacketBytes))) {
            result = result::NG;
            return false;
        }
        // A memory that ends inside a packet leaves the rest of it to the word past the end.
        for (std::int32_t k = 0; k < PacketBytes && taken + k < bytes; k += 2) {
            into[std::size_t(taken + k)] = pending[std::size_t(k + 1)];
            into[std::size_t(taken + k + 1)] = pending[std::size_t(k)];
        }
        pending.erase(pending.begin(), pending.begin() + PacketBytes);
        taken += PacketBytes;
        ch_.sendData(QByteArray(1, char(wire::Acknowledge)));
        showProgress18(ui_, true, 0, double(asked), taken);
    }
    // The word past the end and the end code follow the last acknowledgement. Without the end
    // code the packets cannot be trusted to be the memory asked for, so the read fails like the
    // panel reads do.
    const std::size_t endCode = std::size_t(asked - taken);
    if (!collect(endCode + 1) || !endCodeAt(pending, endCode)) {
        result = result::NG;
        return false;
    }
    result = result::OK;
    return true;
}

bool Pic18Module::receiveProgram(std::vector<std::uint8_t>& into, QString& result, bool verify) {
    into.assign(2 * std::size_t(s_.device.ProgramWordCount), 0);
    if (v_.transfer == ProgramTransfer::WholeMemory) {
        ch_.sendPowerLetter();
        return receiveWholeMemory(into, result);
    }
    ch_.discardInput();
    ch_.sendPowerLetter();
    const ReadBackFailures failures =
        verify ? programPanelVerifyFailures() : ReadBackFailures{kPanelShort, kPanelEndMissing};
    if (!receivePanels18(ch_, "Xrsp", failures, into, result)) return false;
    s_.device.Pic18PanelCount = pic18PanelCount(s_.device.ProgramWordCount);
    result = result::OK;
    return true;
}

void Pic18Module::ReadProgramMemory(QString& result) {
    status(kReadingProgram);
    ui_.pumpEvents();
    result.clear();
    RunState& run = s_.run;
    std::vector<std::uint8_t> read;
    const bool ok = receiveProgram(read, result, false);
    if (ok) {
        // Only a complete read replaces the buffer.
        std::copy(read.begin(), read.end(), s_.buffer.ProgramImage.begin());
        run.ProgramAndHigh = 255;
        run.ProgramAndLow = 255;
        for (std::size_t i = 0; i + 1 < read.size(); i += 2) {
            andInto(run.ProgramAndLow, read[i]);
            andInto(run.ProgramAndHigh, read[i + 1]);
        }
    }
    showProgress18(ui_, false, 0, 0, 0);
    if (v_.transfer == ProgramTransfer::WholeMemory) {
        // A lost board has said so already; its notice stays the last status.
        if (ok || !boardLost(ctx_)) status(ok ? kProgramRead : kProgramReadError);
        ui_.refreshViews(ViewProgram);
    } else if (ok) {
        ui_.refreshViews(ViewProgram);
        status(kProgramRead);
    }
    ui_.pumpEvents();
}

void Pic18Module::ReadEepromMemory(QString& result) {
    status(kReadingEeprom);
    ui_.pumpEvents();
    RunState& run = s_.run;
    const std::int32_t count = s_.device.EepromByteCount;
    ch_.sendPowerLetter();
    run.EepromAndHigh = 255;
    run.EepromAndLow = 255;
    const auto* reply = receivePic18Block(ch_, {"Xrsd", 1, count, AckRule::None, 9, 0, true},
                                          eepromReadFailures(), result);
    if (!reply) {
        lastStatus_ = eepromReadFailures().endCodeMissing;
        return;
    }
    for (std::int32_t i = 0; i < count; ++i) {
        s_.buffer.EepromImage[std::size_t(i)] = (*reply)[std::size_t(i)];
        andInto(run.EepromAndLow, (*reply)[std::size_t(i)]);
    }
    ui_.refreshViews(ViewEeprom);
    status(kEepromRead);
    result = result::OK;
}

void Pic18Module::ReadDevice() {
    RunState& run = s_.run;
    beginOperation(ctx_);
    run.ConfigStepResult.clear();
    CheckDeviceId(run.ConfigStepResult);
    bool complete = false;
    const bool started = run.ConfigStepResult != result::NG && sizesFit();
    if (started) {
        status(kReadingProgram);
        ui_.pumpEvents();
        ReadProgramMemory(run.ProgramStepResult);
        if (run.ProgramStepResult != result::NG) {
            status(kReadingEeprom);
            ui_.pumpEvents();
            ReadEepromMemory(run.EepromStepResult);
        }
        if (run.ProgramStepResult != result::NG && run.EepromStepResult != result::NG) {
            status(kReadingConfig);
            ui_.pumpEvents();
            ReadConfigWords(run.ConfigStepResult, run.CodeProtectState);
            complete = run.ConfigStepResult != result::NG;
        }
    }
    if (complete) {
        run.ProgramAndHigh = run.ProgramAndHigh * 256 + run.ProgramAndLow;
        run.EepromAndHigh = run.EepromAndHigh * 256 + run.EepromAndLow;
        run.ConfigAndHigh = run.ConfigAndHigh * 256 + run.ConfigAndLow;
        const bool program = run.ProgramAndHigh != 0xFFFF;
        const bool eeprom = run.EepromAndHigh != 0xFFFF;
        const bool config = run.ConfigAndHigh != 0xFFFF;
        if (!program && !eeprom && !config) {
            status(kErased);
        } else if (run.CodeProtectState == QLatin1String("--")) {
            if (v_.ReadSummaryNamesAreas) {
                QString names;
                if (program) names += QStringLiteral("FLASH-Program ");
                if (eeprom) names += QStringLiteral("Data-EEPROM ");
                if (config) names += QStringLiteral("Config-bit ");
                status(kWrittenHead, names + kWrittenTail);
            } else {
                status(kWritten);
            }
        } else if (run.CodeProtectState == QLatin1String("P-")) {
            status(kProtectedP + kWrongConfig);
        } else if (run.CodeProtectState == QLatin1String("-D")) {
            status(kProtectedD + kWrongConfig);
        } else {
            status(kProtectedPD + kWrongConfig);
        }
        finishCompleteRead(ctx_);
    } else if (started) {
        finishFailedRead(ctx_);
    }
    s_.device.ConfigFromDevice = false;
    finishOperation(ctx_, OperationKind::Read, settings_);
    ui_.focusControl(Control::frmMain);
}

} // namespace tavrin
