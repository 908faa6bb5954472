// The erase of a "12F6" part from the extended-programming window. A bulk erase of these parts
// destroys two factory values: the oscillator calibration word (RETLW value in the last program
// word) and the band-gap bits 13:12 of the configuration word. The erase is wrapped in a save
// and a restore: the chip's own values read before it (Chk_12F_CalibData_Select checked), or the
// values typed into Text_Calib_Data and Text_BG, are written back after it, with the ID words
// erased and the rest of the configuration word erased.
//
// The values are only ever lost on purpose: a chip whose values cannot be read is not erased,
// typed text that is not a byte and a band-gap number of 0 to 3 is refused before the board is
// asked anything, and a failed write-back tells the person the values so they can be entered.
#pragma once

#include "devices/common/area_procedures.h"
#include "devices/common/calibration_entry.h"
#include "devices/common/operation_settings.h"

#include <QString>

#include <functional>
#include <optional>

namespace tavrin {

struct ModuleContext;

// The chip erase (Cmd_Chip_Erace) also shows the values it read before erasing; the
// program-memory erase (Cmd_PGM_Erase) shows them only after.
enum class CalibrationEraseForm { ChipErase, ProgramMemoryErase };

// The programming types whose generic erases keep the calibration.
bool keepsCalibrationAcrossErase(const QString& programType);

class CalibrationPreservingErase;

// The wrapper for a generic erase of the selected part (chip erase or program-memory erase of a
// "12F6" part), or nothing when the erase keeps no calibration.
std::optional<CalibrationPreservingErase> calibrationPreservingEraseFor(ModuleContext& env,
                                                                        Area area);

class CalibrationPreservingErase {
  public:
    // Takes the window's choice and typed values once, at the click: changing them while the
    // board is at work changes nothing in this erase.
    CalibrationPreservingErase(ModuleContext& env, CalibrationEraseForm form);

    // Whether the erase may start: with typed values, whether they can be written. A refusal is
    // shown (status and message box) and nothing has been sent.
    bool accepted();

    // Saves the values, runs `erase` (true: it succeeded), writes the values back. False when
    // any step failed; when the save failed, `erase` was not run.
    bool run(const std::function<bool()>& erase);

  private:
    bool save();
    void putValuesIntoBuffer();
    bool restore();
    void pause();

    ModuleContext& env_;
    CalibrationEraseForm form_;
    OperationSettings settings_;
    TypedCalibration typed_;
};

} // namespace tavrin
