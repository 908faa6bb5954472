// The configuration and ID area kept across an erase: read whole into ConfigAreaReply, with the
// band-gap calibration bits (configuration bits 13:12 of "12F6" parts) taken out of it, and
// written back word by word afterwards.
#pragma once

#include "calibration_word.h"

#include <QString>

namespace tavrin {

class BoardChannel;

// Reads words 0x2000-0x2007 into ConfigAreaReply and, when the reply ends in "@", bits 13:12 of
// the configuration word into BandgapBits. result: "OK" or "NG".
void ReadBandgapBits(BoardChannel& channel, QString& result);

// Writes the eight words of ConfigAreaReply back, one per board request. With
// CalibrationSource::Chip the area must hold a complete read ("@" in its last byte): an area
// that was never read, or whose read failed, is not written ("NG"). result: "OK" or "NG".
void WriteConfigAreaWords(BoardChannel& channel, QString& result,
                          CalibrationSource source = CalibrationSource::Chip);

} // namespace tavrin
