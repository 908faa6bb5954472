#include "calibration_word.h"

#include "core/session.h"
#include "core/status.h"
#include "link/board_channel.h"

#include <QStringList>

namespace tavrin {

namespace {

constexpr int SingleWordLimitMs = 3000;
constexpr std::uint8_t Retlw = 0x34;

bool readServes(const QString& type) {
    return type == QLatin1String("12F6") || type == QLatin1String("12C6");
}

bool writeServes(const QString& type) {
    static const QStringList types{"12F6",   "12C6",   "EPROM",    "EPROM2", "FLASH0", "FLASH1",
                                   "FLASH2", "FLASH4", "FLASH4.9", "FLASH8", "WRT400"};
    return types.contains(type, Qt::CaseSensitive);
}

const QString ReadDone = QStringLiteral("指定プログラムメモリのデータリード成功。");
const QString ReadFailed = QStringLiteral("指定プログラムメモリのデータリード失敗。");
const QString WriteDone = QStringLiteral("指定プログラムメモリのデータライト成功。");
const QString WriteFailed = QStringLiteral("指定プログラムメモリのデータライト失敗。");

} // namespace

void ReadCalibrationWord(BoardChannel& channel, QString& result) {
    Session& s = channel.session();
    ShowStatusMessage(channel.ui(),
                      QStringLiteral("指定プログラムメモリのデータリード中.........."));
    channel.discardInput();
    channel.sendPowerLetter();
    // Other types have no word to read; "b r" without its count would leave the board waiting
    // for one that the next re-identification would supply.
    if (!readServes(s.device.ProgramType)) {
        ShowStatusMessage(channel.ui(), ReadFailed);
        return;
    }
    channel.sendLetters("br");
    channel.sendCount16(s.device.ProgramWordCount);
    bool read = false;
    if (channel.waitForBytes(3, WaitLimit::total(SingleWordLimitMs)) == WaitResult::Complete) {
        const auto& reply = channel.takeReply();
        read = endCodeAt(reply, 2);
        if (read) {
            s.run.CalibWordHigh = reply[0];
            s.run.CalibWordLow = reply[1];
        }
    }
    // The word held from an earlier read belongs to whatever chip was read then.
    s.run.CalibWordRead = read;
    result = read ? result::OK : result::ER;
    ShowStatusMessage(channel.ui(), read ? ReadDone : ReadFailed);
}

void WriteCalibrationWord(BoardChannel& channel, QString& result, CalibrationSource source) {
    Session& s = channel.session();
    ShowStatusMessage(channel.ui(),
                      QStringLiteral("指定プログラムメモリのデータライト中.........."));
    channel.discardInput();
    result = QString();
    if (!writeServes(s.device.ProgramType)) {
        // "b w" without its arguments would make the next re-identification a chip write.
        channel.sendPowerLetter();
        ShowStatusMessage(channel.ui(), WriteFailed);
        return;
    }
    // A factory calibration value lives only on the chip: never replace it with a value that
    // was not read from it.
    if (source == CalibrationSource::Chip && !s.run.CalibWordRead) {
        result = result::ER;
        ShowStatusMessage(channel.ui(), WriteFailed);
        return;
    }
    channel.sendPowerLetter();
    channel.sendLetters("bw");
    channel.sendCount16(s.device.ProgramWordCount);
    channel.sendByte(Retlw);
    channel.sendByte(s.run.CalibWordLow);
    bool written = false;
    if (channel.waitForBytes(1, WaitLimit::total(SingleWordLimitMs)) == WaitResult::Complete)
        written = endCodeAt(channel.takeReply(), 0);
    result = written ? result::OK : result::ER;
    ShowStatusMessage(channel.ui(), written ? WriteDone : WriteFailed);
}

} // namespace tavrin
