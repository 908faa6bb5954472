// The oscillator calibration word and, on "12F6" parts, the band-gap bits that the program
// sequence puts into the images before writing: the chip's own values saved before the erase,
// or the values the person typed.
#pragma once

#include "steps/memory_verify.h"

#include <QString>

#include <cstdint>
#include <optional>

namespace tavrin {

struct Session;
class OperatorUi;
struct OperationSettings;

// "12C5", "12C6" and "12F6": parts whose last program word is the calibration word.
bool isCalibratedType(const QString& programType);
bool hasBandgapBits(const QString& programType);

struct TypedCalibration {
    std::uint8_t value = 0;   // Text_Calib_Data
    std::uint8_t bandgap = 0; // Text_BG ("12F6" only)
};

// The typed values, or the reason they cannot be used (one or two hex digits; 0 to 3).
struct CalibrationCheck {
    std::optional<TypedCalibration> typed;
    QString problem;
};
CalibrationCheck checkTypedCalibration(const QString& programType, const QString& valueText,
                                       const QString& bandgapText);

// The word for the label: four hex digits, or "----" when it is not known.
QString calibrationWordText(std::optional<std::uint16_t> word);

// Puts the calibration word into the last program word and, for "12F6", the band-gap bits into
// configuration word 1. With keepChip the saved chip values are used and shown in the fields;
// otherwise `typed`. Returns the word written into the image.
std::uint16_t placeCalibration(Session& s, OperatorUi& ui, bool keepChip,
                               const TypedCalibration& typed);

// What a verify of its own expects at the calibration address: the word a program run with these
// settings writes there (the typed value), or nothing when the chip keeps its own word or the
// typed value is one no program run would write.
ExpectedCalibration calibrationAProgramRunWrites(const QString& programType,
                                                 const OperationSettings& settings);

// The calibration word as the program verify read it back; nothing when the read-back is not
// complete.
std::optional<std::uint16_t> calibrationWordReadBack(const Session& s);

} // namespace tavrin
