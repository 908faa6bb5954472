// One area at a time: the writes, the verifies and the reads of program memory, data EEPROM and
// the ID and configuration words. They travel as the part's programming type sends them.
#include "pic12_commands.h"
#include "pic12f683.h"

#include "core/operator_ui.h"
#include "core/session.h"
#include "core/status.h"
#include "core/utilities.h"
#include "link/board_channel.h"
#include "link/board_link.h"
#include "link/reply_transfer.h"
#include "steps/config_area_read.h"
#include "steps/config_verify.h"
#include "steps/config_write.h"
#include "steps/eeprom_write.h"
#include "steps/memory_verify.h"
#include "steps/program_write.h"
#include "steps/read.h"

namespace tavrin::pic12 {

void Pic12F683::WriteProgramMemory(QString& result) {
    WriteProgramMemoryWith(channel(), kPic12F683ProgramWrite, result);
}

void Pic12F683::WriteEepromMemory(QString& result) {
    WriteEepromMemoryWith(channel(), kPic12F683EepromWrite, result);
}

void Pic12F683::CollectConfigFixedData(QString& result) {
    ReadConfigForMerge(channel(), result);
}

void Pic12F683::WriteConfigWords(QString& result) {
    WriteConfigWordsWith(channel(), kPic12F683ConfigWrite, result);
}

void Pic12F683::VerifyProgramMemory(QString& result) {
    VerifyProgramMemoryWith(channel(), kPic12F683Reads, result);
}

void Pic12F683::VerifyEepromMemory(QString& result) {
    VerifyEepromMemoryWith(channel(), kPic12F683Reads, result);
}

void Pic12F683::VerifyConfigWords(QString& result, QString& cpFlag) {
    // Against what the program run has just written, or against the PC buffer (Verify).
    VerifyConfigWordsWith(channel(), kPic12F683ConfigArea, cpFlag, result);
}

void Pic12F683::ReadProgramMemory(QString& result) {
    ReadProgramMemoryWith(channel(), kPic12F683Reads, result);
}

void Pic12F683::ReadEepromMemory(QString& result) {
    ReadEepromMemoryWith(channel(), kPic12F683Reads, result);
}

// The whole configuration area 0x2000-0x200F: ID words, device ID, configuration word and the
// calibration word at 0x2008, which the calibration tab shows field by field.
void Pic12F683::ReadConfigWords(QString& result, QString& cpFlag) {
    Session& s = ctx_.s;
    RunState& run = s.run;
    OperatorUi& ui = ctx_.ui;
    BoardChannel& ch = channel();
    s.device.ConfigFromDevice = true;
    cpFlag.clear();
    status(QStringLiteral("コンフィギュレーションワード読み出し中....."));
    ch.pumpEvents();
    sendConfigAreaLetters(ch, kPic12F683.configRead);
    if (readConfigArea16(ch) != AreaRead::Complete) {
        result = result::NG;
        status(
            QStringLiteral("コンフィギュレーションワード読み出し失敗。　　読み出しデータ不足。"));
        return;
    }
    const auto& r = s.link.ReceiveBuffer;
    if (!endCodeAt(r, 32)) {
        result = result::NG;
        status(QStringLiteral("コンフィギュレーションワード読み出し失敗。　　"
                              "終了コードを受信できませんでした。"));
        return;
    }
    ui.setControlText(Control::Lbl_ID_Rev, hex3(r[13] & 0x1F));
    ui.setControlText(Control::Lbl_ID_Dev, hex3(((r[12] & 0x3F) * 256 + r[13]) / 32));
    auto& config = s.buffer.ConfigIdImage;
    run.ConfigAndHigh = 255;
    run.ConfigAndLow = 255;
    for (std::size_t i = 0; i < 16; i += 2) {
        config[i] = r[i];
        config[i + 1] = r[i + 1];
        if (i <= 6 || i == 14) {
            run.ConfigAndHigh &= r[i];
            run.ConfigAndLow &= r[i + 1];
        }
    }
    QString id;
    for (int k : {1, 3, 5, 7})
        id += NibbleToHexChar(config[k] & 0x0F);
    s.buffer.IdText = id;
    ui.setControlText(Control::Text_ID, id);
    showCalibrationWord(std::uint16_t(r[16] * 256 + r[17]));

    const std::int32_t word = r[14] * 256 + r[15];
    if (isCodeProtected(word, s.device.CodeProtectMask)) {
        cpFlag = result::CP;
        status(QStringLiteral("リード..........このデバイスはコードプロテクトされています。"));
    }
    ui.refreshViews(ViewIdConfig);
    result = result::OK;
    status(QStringLiteral("コンフィギュレーションワード読み出し終了"));
}

} // namespace tavrin::pic12
