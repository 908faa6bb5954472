// One module of the PIC16F877 family, for the variant it was made with. The whole operations of
// the main window (BlankCheckDevice, ReadDevice, VerifyDevice, ProgramDevice) open and end the
// operation themselves; the steps below them talk to the board over a port the caller has
// opened and leave it open. The extended programming window calls the steps and the two
// single-area procedures directly. Results come back as the system's two-letter texts.
#pragma once

#include "variant.h"

#include <QString>

namespace tavrin {

struct ModuleContext;
struct Session;
class OperatorUi;
class BoardChannel;
class ProgramRunLine;

class Pic16F87xModule {
  public:
    Pic16F87xModule(ModuleContext& ctx, const Pic16F87xVariant& variant);

    const Pic16F87xVariant& variant() const { return v_; }

    // --- whole operations ------------------------------------------------------------------
    void BlankCheckDevice(QString& programResult, QString& eepromResult, QString& configResult,
                          QString& cpFlag);
    void ReadDevice();
    void VerifyDevice();
    void ProgramDevice();

    // --- steps -------------------------------------------------------------------------------
    // "OK" or "NG"; a chip of another kind may become "OK" when the person chooses to go on.
    void CheckDeviceId(QString& result);

    // "YB" blank, "NB" not blank, "ER" no proper answer; EEPROM "--" when the part has none.
    void BlankCheckProgramMemory(QString& result);
    void BlankCheckEepromMemory(QString& result);
    // cpFlag: "CP" when the configuration word shows code protection, else "--".
    void BlankCheckConfigWords(QString& result, QString& cpFlag);

    // "OK" or "NG"; EEPROM "--" when the part has none. cpFlag: "CP" or empty.
    void ReadProgramMemory(QString& result);
    void ReadEepromMemory(QString& result);
    void ReadConfigWords(QString& result, QString& cpFlag);

    // Single erases: "OK" or "ER". EraseChip: "OK" or "NG" (the step that failed says why).
    void EraseCodeProtect(QString& result);
    void EraseProgramMemory(QString& result);
    void EraseEepromMemory(QString& result);
    void EraseChip(QString& result);

    // "OK" or "NG"; EEPROM "--" when the part has none.
    void WriteProgramMemory(QString& result);
    void WriteEepromMemory(QString& result);
    void WriteConfigWords(QString& result);

    // "OK" or "NG"; EEPROM "--" when the part has none. cpState: "CP" or "--".
    void VerifyProgramMemory(QString& result);
    void VerifyEepromMemory(QString& result);
    void VerifyConfigWords(QString& result, QString& cpState);

    // For the extended programming window: one area without the whole sequence. Both close the
    // port when they end.
    void ProgramProgramMemoryAndConfig();
    void ProgramEepromMemory();

  private:
    Session& s();
    OperatorUi& ui();
    BoardChannel& channel();
    // The power letter with the input cleared after it, where every command of this family
    // starts.
    void startCommand();
    void singleErase(const QString& startText, std::uint8_t selector, QString& result);
    bool chipEraseStep(const QString& runningText, const QString& failedText, QString& stepResult,
                       void (Pic16F87xModule::*erase)(QString&));
    void finishBlankCheck(const QString& p, const QString& e, const QString& c,
                          const QString& cpFlag);
    void readSummary();
    void reportVerify();
    void programVerdict(ProgramRunLine& line);

    ModuleContext& ctx_;
    const Pic16F87xVariant& v_;
};

} // namespace tavrin
