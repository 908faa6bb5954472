// The PIC12F683 module: the flash part whose calibration word sits at 0x2008 (BOD, POR and FCAL
// fields) and survives the bulk erase. Blank, Program, Verify and Read from the main window,
// the device check and the erases, and the per-area procedures the extended window calls.
// Every step leaves its result in the string it is given ("OK", "NG", "ER"; the blank checks
// "YB" blank, "NB" written) and shows its own status text; none closes the port.
#pragma once

#include "devices/common/module_context.h"

#include <QString>

#include <cstdint>
#include <optional>

namespace tavrin {
class BoardChannel;
class ProgramRunLine;
} // namespace tavrin

namespace tavrin::pic12 {

class Pic12F683 {
  public:
    explicit Pic12F683(ModuleContext& ctx);

    // --- operations of the main window (each ends the operation itself) --------------------
    void BlankCheckDevice(QString& programResult, QString& eepromResult, QString& configResult,
                          QString& cpFlag);
    void ProgramDevice();
    void VerifyDevice();
    void ReadDevice();

    // --- device check and erase ----------------------------------------------------------------
    void CheckDeviceId(QString& result);
    void EraseProgramMemory(QString& result);
    void EraseEepromMemory(QString& result);
    void EraseChip(QString& result);

    // --- blank checks ------------------------------------------------------------------------
    void BlankCheckProgramMemory(QString& result);
    void BlankCheckEepromMemory(QString& result);
    void BlankCheckConfigWords(QString& result, QString& cpFlag);

    // --- writes, verifies, reads ------------------------------------------------------------
    void WriteProgramMemory(QString& result);
    void WriteEepromMemory(QString& result);
    // The eight words written at 0x2000-0x2007: the image's ID words and configuration word,
    // the chip's own 0x2004-0x2006. The calibration word at 0x2008 is never written.
    void CollectConfigFixedData(QString& result);
    void WriteConfigWords(QString& result);
    void VerifyProgramMemory(QString& result);
    void VerifyEepromMemory(QString& result);
    void VerifyConfigWords(QString& result, QString& cpFlag);

    // --- the extended window's procedures ----------------------------------------------------
    // Erases, writes and verifies the data EEPROM alone; closes the connection itself.
    void ProgramEepromMemory();
    void ReadProgramMemory(QString& result);
    void ReadConfigWords(QString& result, QString& cpFlag);
    void ReadEepromMemory(QString& result);

    // --- the calibration tab of the main window ---------------------------------------------
    // When the part is chosen: the three lists filled, the top values selected, shown but not
    // to be changed. The main window has made tab 4 the only one.
    void SetupCalibrationTab();

  private:
    BoardChannel& channel();
    void status(const QString& text, const QString& detail = QString());
    void sendCommand(const char* letters);
    void erase(std::uint8_t code, bool eeprom, QString& result);
    void showCalibrationWord(std::uint16_t word);
    void runToVerdict(ProgramRunLine& line);
    bool blankCheckAllowsWriting();
    bool eraseForProgramming();
    bool writeAndVerify();
    void judge(ProgramRunLine& line);
    void tellProgramMemoryOnlyEnd();

    // The chip's configuration word as the last configuration read found it; nothing when no
    // read of this run got it.
    std::optional<std::uint16_t> chipConfigWord_;

    ModuleContext& ctx_;
};

} // namespace tavrin::pic12
