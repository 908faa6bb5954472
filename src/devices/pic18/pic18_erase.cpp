// The board's bulk erases: the whole chip (which also releases code protection), the program
// memory block by block, one block, and the data EEPROM. Each is one code byte answered by the
// end code within 3 s.
#include "pic18_module.h"

#include "core/clock.h"
#include "core/operator_ui.h"
#include "core/session.h"
#include "link/board_channel.h"
#include "steps/erase_command.h"

namespace tavrin {

namespace {
const QString kChipErasing =
    QStringLiteral("チップ消去..........チップイレース中（コードプロテクト解除）..........");
const QString kChipNoAnswer = QStringLiteral(
    "チップ消去..........チップイレース（コードプロテクト解除）で通信エラーが起きました。");
const QString kChipFailed =
    QStringLiteral("チップ消去..........チップイレース（コードプロテクト解除）に失敗しました。");
const QString kBlockFailedHead =
    QStringLiteral("プログラムメモリ消去.........ＦＬＡＳＨプログラムメモリー");
const QString kProgramNoAnswer =
    QStringLiteral("プログラムメモリ消去..........通信エラーが起きました。");
constexpr int EraseLimitMs = 3000;

enum class EraseAnswer { EndCode, Other, None };

// Full-width digits in the block names.
QString blockName(int block) {
    if (block == 0) return QStringLiteral("ＢＯＯＴ");
    return QStringLiteral("ＢＬＯＣＫ") + QChar(0xFF10 + block);
}

EraseAnswer sendErase(BoardChannel& ch, std::uint8_t code) {
    ch.sendLetters("Xbd");
    ch.sendByte(code);
    const WaitResult wait = ch.waitForBytes(1, WaitLimit::total(EraseLimitMs));
    if (wait != WaitResult::Complete) return EraseAnswer::None;
    // Anything after the first byte is taken in and ignored.
    const auto& reply = ch.takeReply();
    return endCodeAt(reply, 0) ? EraseAnswer::EndCode : EraseAnswer::Other;
}
} // namespace

void Pic18Module::EraseChip(QString& result) {
    result.clear();
    status(kChipErasing);
    ch_.sendPowerLetter();
    ch_.discardInput();
    switch (sendErase(ch_, Pic18ChipEraseCode)) {
    case EraseAnswer::None:
        result = result::NG;
        return status(kChipNoAnswer);
    case EraseAnswer::EndCode:
        result = result::OK;
        return status(v_.eraseTexts->chipErased);
    case EraseAnswer::Other:
        result = result::NG;
        return status(kChipFailed);
    }
}

void Pic18Module::EraseBlock(QString& result, int block) {
    result.clear();
    if (v_.EraseBlockPauseMs > 0) clock_.sleepMs(v_.EraseBlockPauseMs);
    ch_.sendPowerLetter();
    const std::uint8_t code = block <= v_.EraseBlockCount ? pic18BlockEraseCode(block) : 0;
    ch_.discardInput();
    switch (sendErase(ch_, code)) {
    case EraseAnswer::None:
        result = result::ER;
        return status(v_.eraseTexts->blockNoAnswer);
    case EraseAnswer::EndCode:
        result = result::OK;
        return;
    case EraseAnswer::Other:
        result = result::NG;
        return;
    }
}

void Pic18Module::EraseProgramMemory(QString& result) {
    result.clear();
    for (int block = 0; block <= v_.EraseBlockCount; ++block) {
        status(v_.eraseTexts->blockUnderWay + blockName(block) + v_.eraseTexts->blockUnderWayTail);
        ui_.pumpEvents();
        QString blockResult;
        EraseBlock(blockResult, block);
        if (blockResult != result::OK) {
            result = result::NG;
            status(kBlockFailedHead + blockName(block) + v_.eraseTexts->blockFailedTail);
            if (blockResult == result::ER) status(kProgramNoAnswer);
            return;
        }
    }
    result = result::OK;
    status(v_.eraseTexts->programErased);
}

void Pic18Module::EraseEepromMemory(QString& result) {
    result.clear();
    status(v_.eraseTexts->eepromUnderWay);
    ch_.discardInput();
    ch_.sendPowerLetter();
    switch (sendErase(ch_, Pic18EepromEraseCode)) {
    case EraseAnswer::None:
        result = result::NG;
        return status(v_.eraseTexts->eepromNoAnswer);
    case EraseAnswer::EndCode:
        result = result::OK;
        return status(v_.eraseTexts->eepromErased);
    case EraseAnswer::Other:
        result = result::NG;
        return status(v_.eraseTexts->eepromFailed);
    }
}

} // namespace tavrin
