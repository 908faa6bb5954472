#include "erase.h"

#include "erase_command.h"

#include "core/operator_ui.h"
#include "core/session.h"
#include "core/status.h"
#include "link/board_channel.h"

#include <QStringList>

#include <algorithm>
#include <utility>
#include <vector>

namespace tavrin {

namespace {

// What a part has in place of an erase code.
constexpr int PowerLetterOnly = -1; // the power letter goes out and the wait for "@" fails
constexpr int LeaveAlone = -2;      // nothing is sent and the result is not touched
constexpr int Pic18Blocks = -3;     // program memory goes block by block (below)

struct EraseCodes {
    const char* letters; // after the power letter
    int chip;
    int program;
    int eeprom;
};

constexpr int EraseLimitMs = 3000;

// The blocks after the boot block hold 4096 words each on the PIC18 parts of the table, so that
// the part's program size gives their number.
constexpr std::int32_t Pic18BlockWords = 4096;

// Names compare exactly, case and every character.
const std::vector<std::pair<QStringList, EraseCodes>>& eraseTable() {
    static const std::vector<std::pair<QStringList, EraseCodes>> table{
        {{"PIC12F629", "PIC12F675", "PIC16F630", "PIC16F676", "PIC16F627A", "PIC16F628A",
          "PIC16F648A"},
         {"bd", 7, 8, 9}},
        {{"PIC16F627", "PIC16F628", "PIC16F84A"}, {"bd", 4, 5, 6}},
        {{"PIC16C84", "PIC16F83", "PIC16F84", "PIC16F870", "PIC16F871", "PIC16F872", "PIC16F873",
          "PIC16F874", "PIC16F876", "PIC16F877"},
         {"bd", 1, 2, 3}},
        {{"QZ-WRT400"}, {"bD", 1, 2, 3}},
        {{"WRT400"}, {"bD", PowerLetterOnly, 2, 3}},
        {{"PIC16F818", "PIC16F819", "PIC16F87", "PIC16F88", "PIC16F873A", "PIC16F874A",
          "PIC16F876A", "PIC16F877A"},
         {"bd", 10, 11, 12}},
        // The 16F7x have no EEPROM; their chip erase also clears program memory.
        {{"PIC16F73", "PIC16F74", "PIC16F76", "PIC16F77"}, {"bd", 8, PowerLetterOnly, LeaveAlone}},
        // The PIC18 codes are the ones the PIC18 modules send after the same letters; a command
        // without a code would leave the board waiting for one that the next re-identification
        // would supply. Their chip erase takes the data EEPROM too, so program memory alone is
        // erased block by block, and the EEPROM has a code of its own.
        {{"PIC18F242", "PIC18F252", "PIC18F442", "PIC18F452", "PIC18F248", "PIC18F258", "PIC18F448",
          "PIC18F458"},
         {"Xbd", Pic18ChipEraseCode, Pic18Blocks, Pic18EepromEraseCode}},
    };
    return table;
}

constexpr EraseCodes UnknownPart{"", PowerLetterOnly, PowerLetterOnly, PowerLetterOnly};

EraseCodes eraseCodesOf(const QString& name) {
    for (const auto& [names, codes] : eraseTable())
        if (names.contains(name, Qt::CaseSensitive)) return codes;
    return UnknownPart;
}

int codeFor(const EraseCodes& codes, EraseArea area) {
    switch (area) {
    case EraseArea::Chip:
        return codes.chip;
    case EraseArea::Program:
        return codes.program;
    case EraseArea::Eeprom:
        break;
    }
    return codes.eeprom;
}

} // namespace

bool eraseApplies(const QString& deviceName, EraseArea area) {
    return codeFor(eraseCodesOf(deviceName), area) != LeaveAlone;
}

bool erasesProgramAlone(const QString& deviceName) {
    const int code = eraseCodesOf(deviceName).program;
    return code >= 0 || code == Pic18Blocks;
}

// A byte left over from an earlier exchange must not pass for the board's answer, so the input
// is cleared before the command.
namespace {
void eraseWithOptionalCode(BoardChannel& channel, const EraseCode* erase, const QString& doneText,
                           const QString& failedText, QString& result, int limitMs) {
    channel.discardInput();
    channel.sendPowerLetter();
    if (erase) {
        channel.sendLetters(erase->letters);
        channel.sendByteNoPause(erase->code);
    }
    bool erased = false;
    if (channel.waitForBytes(1, WaitLimit::total(limitMs)) == WaitResult::Complete)
        erased = endCodeAt(channel.takeReply(), 0);
    result = erased ? result::OK : result::ER;
    ShowStatusMessage(channel.ui(), erased ? doneText : failedText);
}
} // namespace

void sendErase(BoardChannel& channel, EraseArea area, const QString& doneText,
               const QString& failedText, QString& result) {
    const EraseCodes codes = eraseCodesOf(channel.session().device.SelectedDevice);
    const int code = codeFor(codes, area);
    const EraseCode erase{codes.letters, std::uint8_t(code)};
    eraseWithOptionalCode(channel, code >= 0 ? &erase : nullptr, doneText, failedText, result,
                          EraseLimitMs);
}

void sendEraseCode(BoardChannel& channel, const EraseCode& erase, const QString& doneText,
                   const QString& failedText, QString& result, int limitMs) {
    eraseWithOptionalCode(channel, &erase, doneText, failedText, result, limitMs);
}

std::uint8_t pic18BlockEraseCode(int block) {
    if (block == 0) return 0x83;
    if (block >= 1 && block <= Pic18MaxBlock) return std::uint8_t(0x88 + block - 1);
    return 0;
}

void EraseProgramMemory(BoardChannel& channel, QString& result) {
    ShowStatusMessage(channel.ui(), QStringLiteral("Ｆｌａｓｈプログラムメモリ消去中........."));
    channel.pumpEvents();
    const QString done = QStringLiteral("プログラムメモリを消去ました。");
    const QString failed = QStringLiteral("プログラムメモリを消去に失敗しました。");
    const EraseCodes codes = eraseCodesOf(channel.session().device.SelectedDevice);
    if (codes.program != Pic18Blocks)
        return sendErase(channel, EraseArea::Program, done, failed, result);
    // A failed block ends the erase: the blocks after it are left as they are.
    const int blocks =
        std::clamp(channel.session().device.ProgramWordCount / Pic18BlockWords, 0, Pic18MaxBlock);
    for (int block = 0; block <= blocks; ++block) {
        const EraseCode erase{codes.letters, pic18BlockEraseCode(block)};
        eraseWithOptionalCode(channel, &erase, done, failed, result, EraseLimitMs);
        if (result != result::OK) return;
    }
}

void EraseEepromMemory(BoardChannel& channel, QString& result) {
    if (!eraseApplies(channel.session().device.SelectedDevice, EraseArea::Eeprom)) return;
    ShowStatusMessage(channel.ui(), QStringLiteral("ＥＥＰＲＯＭデータメモリ消去中........."));
    channel.pumpEvents();
    sendErase(channel, EraseArea::Eeprom, QStringLiteral("成功。"), QStringLiteral("失敗。"),
              result);
}

} // namespace tavrin
