// Pieces the generic read, write and verify steps share: a long reply received with progress and
// acknowledgements, and a step failure reported on the status line.
#pragma once

#include "board_channel.h"

#include <QByteArray>
#include <QString>

#include <cstdint>

namespace tavrin {

// Waits for `count` bytes (acknowledging as `acks` says) while the progress bar shows
// progressBase + bytes waiting of progressMaximum. The progress is left on; the caller hides it.
WaitResult receiveWithProgress(BoardChannel& channel, qint64 count, WaitLimit limit, AckRule acks,
                               double progressMaximum, double progressBase = 0);

// Hides the progress bar, shows the failure text with an empty detail and sets the result.
void failStep(BoardChannel& channel, QString& result, const QString& text,
              const QString& detail = QString(), const QString& code = QStringLiteral("NG"));

// A wait that did not complete: a port that went away was reported already, so only the result
// changes; a time-out shows its text.
void failWait(BoardChannel& channel, QString& result, WaitResult wait, const QString& text);

// The two bytes of a word as one send, high byte first.
QByteArray wordBytes(std::uint8_t high, std::uint8_t low);

// Opens one of several PIC18 commands of a procedure. The procedure's power letter went out
// before the first; every later command starts with one of its own, as every command does,
// because a board may take "X" after a finished command for nothing.
void beginPic18Command(BoardChannel& channel, bool first);

// Program words per PIC18 panel, and bytes.
constexpr std::int32_t Pic18PanelWords = 4096;
constexpr std::int32_t Pic18PanelBytes = 8192;

// Panels a PIC18 part of programWords words spans: every word lies in one, so a part smaller than
// half a panel still gets one, and a part that ends inside a panel gets that panel too.
std::int32_t pic18PanelsFor(std::int32_t programWords);

// Hex text of the last three digits of value + 0x1000 (device-ID and revision labels).
QString hex3(std::int32_t value);

} // namespace tavrin
