// One PIC18 device module: the whole Read, Blank, Verify and Program operations of the main
// window for one of the three parts, and the per-area procedures the extended window calls. The
// parts differ only by their variant record. Every procedure talks to the board through the
// context's channel (the caller has identified the board); only the four whole operations close
// the port and give the controls back, through the operation epilogue.
#pragma once

#include "pic18_variant.h"

#include "devices/common/operation_settings.h"
#include "steps/blank_judgement.h"

#include <QString>

#include <cstdint>
#include <vector>

namespace tavrin {

struct Session;
struct ModuleContext;
class OperatorUi;
class BoardChannel;
class Clock;

class Pic18Module {
  public:
    // The settings are taken as the window shows them now: the module serves one click.
    Pic18Module(const Pic18Variant& variant, ModuleContext& ctx);

    const Pic18Variant& variant() const { return v_; }

    // --- whole operations of the main window -----------------------------------------------
    void ReadDevice();
    void BlankCheckDevice();
    void VerifyDevice();
    void ProgramDevice();

    // --- steps ---------------------------------------------------------------------------
    void CheckDeviceId(QString& result);
    void ReadProgramMemory(QString& result);
    void ReadEepromMemory(QString& result);
    void ReadConfigWords(QString& result, QString& protectFlags);
    void BlankCheckProgramMemory(QString& result);
    void BlankCheckEepromMemory(QString& result);
    void BlankCheckConfigWords(QString& result, QString& protectFlags);
    void VerifyProgramMemory(QString& result);
    void VerifyEepromMemory(QString& result);
    void VerifyConfigWords(QString& result, QString& protectFlags);
    void WriteProgramMemory(QString& result);
    void WriteEepromMemory(QString& result);
    void WriteConfigWords(QString& result);
    void EraseChip(QString& result);
    void EraseProgramMemory(QString& result);
    void EraseBlock(QString& result, int block);
    void EraseEepromMemory(QString& result);

  private:
    // Status line through the colour rules; the text (without its colour prefix) is kept as
    // the last thing the person was told.
    void status(const QString& message, const QString& detail = QString());
    void pause(int ms);
    void sendHeader(const char* letters, std::int32_t start, std::int32_t count);
    // Program memory read back into `into` (2W bytes, image order). False on failure, which
    // is shown with the texts of the caller.
    bool receiveProgram(std::vector<std::uint8_t>& into, QString& result, bool verify);
    bool receiveWholeMemory(std::vector<std::uint8_t>& into, QString& result);
    QString protectionFrom(std::int32_t config5);
    bool sizesFit();
    void programEraseStep(bool programOnly, QString& stopText);

    const Pic18Variant& v_;
    ModuleContext& ctx_;
    Session& s_;
    OperatorUi& ui_;
    BoardChannel& ch_;
    Clock& clock_;
    OperationSettings settings_;
    QString lastStatus_;
};

// The parts' panel count: (words + 1) / 4096 rounded to the nearest whole number, halves to even.
std::int32_t pic18PanelCount(std::int32_t programWords);

// "--", "P-", "-D" or "PD" from configuration word 5 and the part's protection mask.
QString pic18ProtectionState(std::int32_t cpMask, std::int32_t config5);

// The Blank operation judges the configuration words of every module part exactly; a read judges
// them by its variant's test.
inline constexpr ConfigErasedTest kPic18BlankCheckTest = ConfigErasedTest::Exact;

// Whether the seven configuration words read count as erased under the test: each against its
// implemented and fixed bits.
bool pic18ConfigWordsErased(ConfigErasedTest test, const DeviceRecord& device,
                            const Pic18ConfigWords& words);

// The status that names what a protection state protects; empty for "--".
QString pic18ProtectionText(const QString& state);

// The PIC18 progress bar: refreshed every half percent, nothing below a maximum of 200.
void showProgress18(OperatorUi& ui, bool on, double minimum, double maximum, double value);

} // namespace tavrin
