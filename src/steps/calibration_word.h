// The oscillator calibration word: a RETLW (0x34, value) in the last program word of the parts
// that carry one. It is read before an erase and written back after it.
#pragma once

#include <QString>

namespace tavrin {

class BoardChannel;

// Where the value about to be written came from.
enum class CalibrationSource {
    // Read from the chip in this run: it is written only when that read succeeded.
    Chip,
    // Typed by the person (or otherwise chosen by the caller): written as it stands.
    Typed,
};

// "12F6" and "12C6": reads the last program word into CalibWordHigh/CalibWordLow and marks it
// read (CalibWordRead). result: "OK" or "ER". Other types: only the power letter goes out and
// result keeps what the caller passed.
void ReadCalibrationWord(BoardChannel& channel, QString& result);

// Writes 0x34, CalibWordLow as the last program word. result: "OK", "ER", or "" for a type that
// has no such word. With CalibrationSource::Chip a word that was not read is not written ("ER").
void WriteCalibrationWord(BoardChannel& channel, QString& result,
                          CalibrationSource source = CalibrationSource::Chip);

} // namespace tavrin
