// The Read operation for every part without a device module of its own: socket check, program
// memory, EEPROM and the ID and configuration words into the PC buffer, the configuration grids
// set from what was read, and a verdict on whether the part was erased.
#include "devices/common/read_verdict.h"
#include "generic_operations.h"
#include "operation_environment.h"

#include "core/config_grids.h"
#include "core/operator_ui.h"
#include "core/program_type.h"
#include "core/session.h"
#include "core/status.h"
#include "core/utilities.h"
#include "link/board_link.h"
#include "steps/read.h"
#include "steps/socket_check.h"

namespace tavrin {

namespace {

bool readFine(const QString& r) {
    return r == result::OK || r == result::Skipped;
}

std::int32_t erasedProgramWord(const QString& type) {
    switch (coreGroupOf(type)) {
    case CoreGroup::Bit12:
        return 0x0FFF;
    case CoreGroup::Pic18:
        return 0xFFFF;
    case CoreGroup::Bit14:
    case CoreGroup::None:
        break;
    }
    return 0x3FFF;
}

// Every word ANDed together reads erased; an absent EEPROM does not count, and configuration bits
// the part does not implement may read 0.
bool readPartIsErased(const Session& s, const QString& eeprom) {
    const RunState& run = s.run;
    const QString& type = s.device.ProgramType;
    if (run.ProgramAndHigh * 256 + run.ProgramAndLow != erasedProgramWord(type)) return false;
    if (eeprom == result::OK && run.EepromAndLow != 0xFF) return false;
    if (isPic18Type(type)) return true;
    const auto& config = s.buffer.ConfigIdImage;
    const std::int32_t word = config[14] * 256 + config[15];
    const std::int32_t implemented = s.device.ConfigMask[1];
    return (word & implemented) == implemented;
}

} // namespace

void runGenericRead(OperationEnvironment& env) {
    Session& s = env.s;
    RunState& run = s.run;
    OperatorUi& ui = env.ui;
    BoardChannel& ch = env.link.channel();
    ui.setControlText(Control::Lbl_ID_Rev, QString());
    ui.setControlText(Control::Lbl_ID_Dev, QString());

    QString socket;
    CheckDeviceId(ch, socket);
    if (socket == result::NG) return;

    QString program, eeprom, config;
    ShowStatusMessage(ui, QStringLiteral("プログラムメモリ読み出し中.........."));
    ReadProgramMemory(ch, program);
    if (readFine(program)) {
        ShowStatusMessage(ui, QStringLiteral("ＥＥＰＲＯＭデータメモリ読み出し中.........."));
        ReadEepromMemory(ch, eeprom);
    }
    if (readFine(program) && readFine(eeprom)) {
        ShowStatusMessage(ui, QStringLiteral("コンフィギュレーションワード読み出し中.........."));
        ReadConfigWords(ch, config);
    }
    run.ProgramStepResult = program;
    run.EepromStepResult = eeprom;
    run.ConfigStepResult = config;
    if (program != result::OK || !readFine(eeprom) || config != result::OK) {
        // The failing step has said what went wrong; the buffer holds what arrived before it.
        finishFailedRead(env);
        s.device.ConfigFromDevice = false;
        return;
    }

    // The grids take the words just read from the buffer; CodeProtectOn follows them.
    RefreshConfigGrids(s);
    ui.refreshViews(ViewConfigGrids | ViewIdConfig);
    tellReadVerdict(env, readFinding(readPartIsErased(s, eeprom), s.device.CodeProtectOn));
    s.device.ConfigFromDevice = false;
}

} // namespace tavrin
