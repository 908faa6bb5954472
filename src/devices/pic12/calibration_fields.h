// The PIC12F683 calibration word at 0x2008 and the three lists of the main window's calibration
// tab that show it: BOD (bits 2:0), POR (bits 4:3) and FCAL (bits 12:6, signed).
#pragma once

#include <QStringList>

#include <cstdint>

namespace tavrin::pic12 {

QStringList bodCalibrationItems();
QStringList porCalibrationItems();
QStringList fcalCalibrationItems(); // -64 .. 63

// The list index each field of the word selects (the FCAL index is its value plus 64).
struct CalibrationIndexes {
    int bod = 7;
    int por = 3;
    int fcal = 127;
};
CalibrationIndexes calibrationIndexes(std::uint16_t word);

} // namespace tavrin::pic12
