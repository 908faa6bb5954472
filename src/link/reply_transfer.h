// Pieces the generic read, write and verify steps share: a long reply received with progress and
// acknowledgements, and a step failure reported on the status line.
#pragma once

#include "board_channel.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

namespace tavrin {

// Waits for `count` bytes (acknowledging as `acks` says) while the progress bar shows
// progressBase + bytes waiting of progressMaximum. The progress is left on; the caller hides it.
WaitResult receiveWithProgress(BoardChannel& channel, qint64 count, WaitLimit limit, AckRule acks,
                               double progressMaximum, double progressBase = 0);

// The acknowledged read-back of 12-bit and 14-bit parts: `words` two-byte words and the end code,
// with progress. The bar is hidden when the wait ends; a complete reply is taken into
// ReceiveBuffer.
WaitResult receiveWords(BoardChannel& channel, std::int32_t words, WaitLimit limit);

// One PIC18 read-back: the letters, the 1-based start address and the byte count as 24-bit
// numbers, answered with `count` bytes and the end code, received with progress.
struct Pic18BlockRead {
    const char* letters;
    std::int32_t startPlusOne;
    std::int32_t count;
    AckRule acks;
    double progressMaximum;
    double progressBase;
    // Hide the bar as soon as the wait ends; a read of several blocks hides it after the last.
    bool hideProgressAfterWait;
};

// The texts a read-back fails with.
struct ReadBackFailures {
    const QString& shortReply;
    const QString& endCodeMissing;
};

// The texts every part shows when the read-back of a verify (program memory as panels, data
// EEPROM) or of an EEPROM read fails, device modules included.
const ReadBackFailures& programPanelVerifyFailures();
const ReadBackFailures& eepromVerifyFailures();
const ReadBackFailures& eepromReadFailures();

// The reply (in ReceiveBuffer), or null when it came short or without its end code; then the
// failure is shown and the result is "NG".
const std::vector<std::uint8_t>* receivePic18Block(BoardChannel& channel,
                                                   const Pic18BlockRead& read,
                                                   const ReadBackFailures& failures,
                                                   QString& result);

// PIC18 program memory (ProgramWordCount words), one block read a panel, the last panel to the
// part's end. Each panel's words go into `into` at the panel's place in image layout (low byte
// first), then stored(base, bytes) runs for them. Sets Pic18PanelCount and hides the bar after the
// last panel. False after a panel failed (shown, result "NG").
bool receivePanels18(BoardChannel& channel, const char* letters, const ReadBackFailures& failures,
                     std::vector<std::uint8_t>& into, QString& result,
                     const std::function<void(std::int32_t base, std::int32_t bytes)>& stored = {});

// Hides the progress bar, shows the failure text and its detail (empty unless given) and sets the
// result to "NG".
void failStep(BoardChannel& channel, QString& result, const QString& text,
              const QString& detail = QString());

// The port went away, which was reported already: the bar hides and the result is "NG".
void failPortGone(BoardChannel& channel, QString& result);

// A wait that did not complete: a port that went away was reported already, so only the result
// changes; a time-out shows its text.
void failWait(BoardChannel& channel, QString& result, WaitResult wait, const QString& text);

// The two bytes of a word as one send, high byte first.
QByteArray wordBytes(std::uint8_t high, std::uint8_t low);

// Program words per PIC18 panel, and bytes.
constexpr std::int32_t Pic18PanelWords = 4096;
constexpr std::int32_t Pic18PanelBytes = 8192;

// Panels a PIC18 part of programWords words spans: every word lies in one, so a part smaller than
// half a panel still gets one, and a part that ends inside a panel gets that panel too.
std::int32_t pic18PanelsFor(std::int32_t programWords);

// Hex text of the last three digits of value + 0x1000 (device-ID and revision labels).
QString hex3(std::int32_t value);

} // namespace tavrin
