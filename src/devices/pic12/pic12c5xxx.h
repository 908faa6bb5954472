// The PIC12C5XXX module: the one-time-programmable 12-bit parts (PIC12C508/508A/509/509A/518/
// 519), whose last program word holds the factory oscillator calibration as MOVLW (0x0Cxx).
// Every transfer of their memory is the 12-bit stream: configuration word, program words (the
// last one the calibration word), four ID words. Nothing erases them: the blank check and the
// overwrite question always run before programming.
#pragma once

#include "devices/common/module_context.h"

#include <QString>

#include <cstdint>
#include <optional>

namespace tavrin {
struct DeviceRecord;
}

namespace tavrin::pic12 {

// These parts are always entered with "N", whatever power mode the device file names: for the
// length of an operation the steps it shares with other parts see "VDD".
class PowerLetterN {
  public:
    explicit PowerLetterN(DeviceRecord& device);
    ~PowerLetterN();
    PowerLetterN(const PowerLetterN&) = delete;
    PowerLetterN& operator=(const PowerLetterN&) = delete;

  private:
    DeviceRecord& device_;
    QString saved_;
};

class Pic12C5xxx {
  public:
    explicit Pic12C5xxx(ModuleContext& ctx);

    // Operations of the main window; each ends the operation itself.
    void BlankCheckDevice();
    void ReadDevice();
    void ProgramDevice();
    void VerifyDevice();

    // The board exchange of the blank check: program memory by the board's three scans (the
    // calibration word read on the way when the rest is blank), then the configuration word.
    // programResult/configResult: "OK" blank, "NG" written, "ER" the reply did not come whole;
    // cpFlag "CP" or "--" (left as it was when the configuration reply failed).
    void ReadForBlankCheck(QString& programResult, QString& configResult, QString& cpFlag);

    // The calibration word of a written chip, from a read of the whole stream; the PC buffer is
    // not touched. Marks the word read only when the chip gave a MOVLW.
    void readCalibrationOfWrittenChip();

  private:
    void status(const QString& text);
    std::optional<std::uint16_t> scan(std::int32_t count, bool endCodeNeeded);
    void scanProgramMemory(QString& programResult);
    std::optional<std::uint16_t> calibrationRead() const;

    ModuleContext& ctx_;
};

} // namespace tavrin::pic12
