// The three writes of the programming sequence, each paced by the board's requests: program
// memory in 8-byte packets round-robin over the 8 KiB panels, the data EEPROM byte by byte, and
// the ID locations with CONFIG1..7 in eleven two-byte transfers. They are the link's PIC18
// writes with these parts' rows: a failure report ("*") or an abort at any point ends a write as
// a failure, and so does a board that stops asking for 10 s.
#include "pic18_module.h"

#include "core/operator_ui.h"
#include "core/session.h"
#include "link/board_channel.h"
#include "steps/config_write.h"
#include "steps/eeprom_write.h"
#include "steps/program_write.h"

namespace tavrin {

namespace {
const QString kWritingProgram = QStringLiteral(
    "プログラミング..........ＦＬＡＳＨプログラムメモリーのプログラミング中..........");
constexpr ProgramWriteRow kProgramRow{"18F", "Xwep", WriteStream::Pic18};
constexpr EepromWriteRow kEepromRow{"18F", "Xwed", true};
constexpr ConfigWriteRow kConfigRow{"18F", "Xwec", ConfigWriteLayout::Pic18, 11};
} // namespace

void Pic18Module::WriteProgramMemory(QString& result) {
    status(kWritingProgram);
    ui_.pumpEvents();
    s_.device.Pic18PanelCount = pic18PanelCount(s_.device.ProgramWordCount);
    result = result::NG;
    WriteProgramMemoryWith(ch_, kProgramRow, result);
}

void Pic18Module::WriteEepromMemory(QString& result) {
    result = result::NG;
    WriteEepromMemoryWith(ch_, kEepromRow, result);
}

void Pic18Module::WriteConfigWords(QString& result) {
    result = result::NG;
    WriteConfigWordsWith(ch_, kConfigRow, result);
}

} // namespace tavrin
