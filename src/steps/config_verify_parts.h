// What the two configuration verifies share: the exchanges, the failure texts, the 12-bit
// comparison and the PIC18 comparison.
#pragma once

#include "config_area_read.h"

#include <QString>

#include <cstdint>
#include <span>

namespace tavrin {

class BoardChannel;

namespace config_verify {

inline const QString EndCodeMissing = QStringLiteral(
    "コンフィギュレーションワードのベリファイに失敗しました。  終了コードを受信できませんでした。");
inline const QString ReplyShort =
    QStringLiteral("コンフィギュレーションワードベリファイ失敗。　　読み出しデータ不足。");
inline const QString Mismatch = QStringLiteral("コンフィギュレーションワードのベリファイエラー");
inline const QString ProgrammedData =
    QStringLiteral("デバイスにプログラミングされているデータ。ＣＯＮＦＩＧ：");

// One byte of the area reply compared with the reference on the given bits.
struct ByteCompare {
    std::size_t at;
    std::uint8_t bits;
};

// The ID words on the digit they carry (low four bits of the low byte), the configuration word
// whole; with twoConfigWords also configuration word 2. Words 0x2004-0x2006 never count.
std::span<const ByteCompare> idDigitsAndConfigWords(bool twoConfigWords);

// How many compared bytes differ.
int countDifferences(const std::vector<std::uint8_t>& reply, const std::uint8_t* reference,
                     std::span<const ByteCompare> compared);

// Sends the command of a 12-bit, 14-bit or two-word area and takes the reply into
// ReceiveBuffer. True when it is complete with its end code; otherwise the failure is shown and
// result is "ER". The code-protect test runs on every complete reply, before its end code is
// looked at.
bool readArea(BoardChannel& channel, const ConfigAreaCommand& command, QString& cpFlag,
              QString& result);

// 12-bit parts: the configuration word read against ConfigIdImage bytes 14-15, all 16 bits.
// Writes ConfigVerifyText.
void verifyWord12(BoardChannel& channel, const ConfigAreaCommand& command, QString& cpFlag,
                  QString& result);

// PIC18: the ID bytes against Id18Image (the low four bits of both), the defined configuration
// words against ConfigValue on their implemented bits, code protection from CONFIG5. Writes
// IdVerifyText and ConfigVerifyText.
void verifyPic18(BoardChannel& channel, QString& cpFlag, QString& result);

// The opening both verifies share: a type neither serves is refused, the 12-bit word and the
// PIC18 words are verified here whole, and a 14-bit area is read into ReceiveBuffer. Returns the
// 14-bit area's command when its reply is there to compare, else null (the result is set).
// command: the area to read, null for a type neither serves.
const ConfigAreaCommand* verifyOrReadWordsArea(BoardChannel& channel,
                                               const ConfigAreaCommand* command, QString& cpFlag,
                                               QString& result);

// A type neither check serves: "NG" without a word sent.
void refuseType(BoardChannel& channel, QString& result);

} // namespace config_verify
} // namespace tavrin
