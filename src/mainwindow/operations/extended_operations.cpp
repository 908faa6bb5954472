#include "extended_operations.h"

#include "calibration_preserving_erase.h"
#include "operation_frame.h"

#include "core/buffer_fills.h"
#include "core/buffer_views.h"
#include "core/clock.h"
#include "core/config_grids.h"
#include "core/eeprom_layout.h"
#include "core/operation_controls.h"
#include "core/operation_guard.h"
#include "core/operator_ui.h"
#include "core/session.h"
#include "core/status.h"
#include "core/utilities.h"
#include "link/board_link.h"
#include "steps/eeprom_write.h"
#include "steps/erase.h"
#include "steps/memory_verify.h"
#include "steps/read.h"

#include <array>

namespace tavrin {

namespace {

// Every button of the window but its close button.
constexpr std::array kWindowButtons{
    Control::frmExtend_Program_Cmd_PGM_Program,   Control::frmExtend_Program_Cmd_PGM_Erase,
    Control::frmExtend_Program_Cmd_PGM_Read,      Control::frmExtend_Program_Cmd_PGM_PcbufferClear,
    Control::frmExtend_Program_Cmd_DATA_Program,  Control::frmExtend_Program_Cmd_DATA_Erase,
    Control::frmExtend_Program_Cmd_DATA_Read,     Control::frmExtend_Program_Cmd_DATA_PcbufferClear,
    Control::frmExtend_Program_Cmd_EEDATA_modify, Control::frmExtend_Program_Cmd_Chip_Erace,
};

bool failed(const QString& r) {
    return r == result::NG || r == result::ER;
}

// The status each button shows before it hands over to the procedure; empty for none.
QString openingStatus(Area area, DeviceGroup group) {
    switch (area) {
    case Area::ChipErase:
        return group == DeviceGroup::Generic ? QStringLiteral("チップイレース.....") : QString();
    case Area::EepromProgram:
        return QStringLiteral("ＥＥＰＲＯＭデータメモリのプログラミング..........");
    case Area::ProgramRead:
        return group == DeviceGroup::Generic
                   ? QStringLiteral("プログラムメモリ読み出し中..........")
                   : QString();
    case Area::EepromRead:
        return group == DeviceGroup::Generic
                   ? QStringLiteral("ＥＥＰＲＯＭデータメモリ読み出し中..........")
                   : QString();
    default:
        return QString();
    }
}

void status(OperatorUi& ui, const QString& text) {
    ShowStatusMessage(ui, text);
    ui.pumpEvents();
}

// A part without a program-memory erase of its own is erased whole, its data EEPROM with it.
bool chipEraseForProgramAccepted(OperatorUi& ui) {
    return ui.messageBox(
               MessageIcon::Exclamation, MessageButtons::YesNo,
               QStringLiteral("プログラムメモリ消去"),
               QStringLiteral("このマイコンにはプログラムメモリだけを消去する方法がありません。"
                              "チップイレースで消去するため、ＥＥＰＲＯＭデータメモリの内容も"
                              "消えます。消去しますか？"),
               MessageDefault::Second) == MessageAnswer::Yes;
}

void showEeprom(Session& s, OperatorUi& ui) {
    (void)s;
    ui.refreshViews(ViewEeprom);
}

} // namespace

DeviceGroup deviceGroupFor(const QString& name) {
    if (name == QLatin1String("PIC12F683")) return DeviceGroup::Pic12F683;
    for (const char* n : {"PIC16F877", "PIC16F877A", "QZ-WRT400", "QZ-WRT400A"})
        if (name == QLatin1String(n)) return DeviceGroup::Pic16F87x;
    for (const char* n : {"PIC18F252", "PIC18F452", "PIC18F8720"})
        if (name == QLatin1String(n)) return DeviceGroup::Pic18;
    return DeviceGroup::Generic;
}

DeviceGroup dispatchGroupFor(const QString& name, Area area) {
    // "QZ-WRT400A" programs its EEPROM through its module too: the generic steps do not serve
    // its programming type and would only report a failed erase.
    // The 12F683 programs its program memory through the main window's program run.
    if (area == Area::ProgramProgram && name == QLatin1String("PIC12F683"))
        return DeviceGroup::Generic;
    return deviceGroupFor(name);
}

bool areaButtonsEnabled(const QString& name) {
    for (const char* n : {"PIC16F74", "PIC16F73", "PIC16F76", "PIC16F77"})
        if (name == QLatin1String(n)) return false;
    return true;
}

bool ExtendedOperations::available(Area area) const {
    const OperationEnvironment& env = main_.environment();
    const QString& name = env.s.device.SelectedDevice;
    if (dispatchGroupFor(name, area) == DeviceGroup::Generic) return true;
    return env.areas.find(name, area) != nullptr;
}

void ExtendedOperations::Cmd_Chip_Erace_Click() {
    run(Area::ChipErase);
}
void ExtendedOperations::Cmd_PGM_Erase_Click() {
    run(Area::ProgramErase);
}
void ExtendedOperations::Cmd_DATA_Erase_Click() {
    run(Area::EepromErase);
}
void ExtendedOperations::Cmd_DATA_Program_Click() {
    run(Area::EepromProgram);
}
void ExtendedOperations::Cmd_PGM_Program_Click() {
    run(Area::ProgramProgram);
}
void ExtendedOperations::Cmd_PGM_Read_Click() {
    run(Area::ProgramRead);
}
void ExtendedOperations::Cmd_DATA_Read_Click() {
    run(Area::EepromRead);
}

void ExtendedOperations::Cmd_DATA_PcbufferClear_Click() {
    OperationEnvironment& env = main_.environment();
    if (refuseDuringOperation(env.s, env.ui) || env.s.device.EepromByteCount == 0) return;
    FillEepromErased(env.s);
    showEeprom(env.s, env.ui);
}

void ExtendedOperations::Cmd_PGM_PcbufferClear_Click() {
    OperationEnvironment& env = main_.environment();
    Session& s = env.s;
    if (refuseDuringOperation(s, env.ui)) return;
    FillProgramErased(s);
    unsigned views = ViewProgram;
    const QString& type = s.device.ProgramType;
    auto clearIdConfig = [&](std::int32_t erasedConfig, bool secondWordToo) {
        FillIdConfigErased(s);
        s.device.ConfigValue[1] = erasedConfig;
        if (secondWordToo) s.device.ConfigValue[2] = erasedConfig;
        RefreshConfigGrids(s);
        views |= ViewIdConfig | ViewConfigGrids;
    };
    if (s.device.SelectedDevice == QLatin1String("PIC12F683")) clearIdConfig(0x3FFF, true);
    if (type == QLatin1String("12F6"))
        clearIdConfig(0x3FFF, false);
    else if (type == QLatin1String("18F_00") || type == QLatin1String("18F_01"))
        clearIdConfig(0xFFFF, false);
    env.ui.refreshViews(views);
    if (views & ViewIdConfig)
        ShowIdAndConfig(s, env.ui);
    else // the checksum sums program memory; it is otherwise shown with the ID and configuration
        env.ui.setControlText(Control::LblCheckSUM, CalcProgramChecksum(s));
}

void ExtendedOperations::run(Area area) {
    OperationEnvironment& env = main_.environment();
    Session& s = env.s;
    OperatorUi& ui = env.ui;
    const OperationScope scope(s, ui);
    if (!scope.held()) return;
    const QString name = s.device.SelectedDevice;
    const DeviceGroup group = dispatchGroupFor(name, area);
    const bool programProgram = area == Area::ProgramProgram;
    for (Control c : kWindowButtons)
        ui.setControlEnabled(c, false);

    // The program-memory program is the main window's program run with the EEPROM left alone.
    if (programProgram && group == DeviceGroup::Generic) {
        s.run.ProgramMemoryOnlyMode = true;
        s.run.IncludeConfigInPartial = true;
        main_.programWithinOperation();
        s.run.ProgramMemoryOnlyMode = false;
        s.run.IncludeConfigInPartial = false;
        restoreButtons();
        return;
    }

    const std::function<void()>* procedure =
        group == DeviceGroup::Generic ? nullptr : env.areas.find(name, area);
    if (group != DeviceGroup::Generic && !procedure) {
        ShowStatusMessage(ui, QStringLiteral("この操作は %1 では使えません。").arg(name));
        restoreButtons();
        return;
    }
    DisableOperationControls(ui);
    // Whatever way the button ends, the port is closed and both windows' controls come back.
    struct End {
        ExtendedOperations& ops;
        OperationEnvironment& env;
        bool busy = false;
        ~End() {
            env.link.ClosePort();
            EnableOperationControls(env.s, env.ui);
            ops.restoreButtons();
            if (busy) env.ui.setBusy(false);
        }
    } end{*this, env};

    if (!programProgram) {
        ui.setControlVisible(Control::CmbInit, false);
        ui.setControlVisible(Control::TxtInit, false);
    }
    QString& result = s.run.OperationResult;
    if (programProgram)
        status(ui, QStringLiteral("ライターチェック中.........."));
    else if (!CheckDeviceSelected(s, ui, result))
        return;
    std::optional<CalibrationPreservingErase> calibration =
        group == DeviceGroup::Generic ? calibrationPreservingEraseFor(env, area) : std::nullopt;
    if (calibration && !calibration->accepted()) return;
    env.link.CheckProgrammer(result);
    if (result == result::NG) return;
    if (area == Area::ChipErase) {
        env.link.DetectProgrammer();
        if (!s.link.ProgrammerDetected) return;
    }

    // The erases run without the hourglass.
    end.busy = area == Area::EepromProgram || programProgram || area == Area::ProgramRead ||
               area == Area::EepromRead;
    if (end.busy) ui.setBusy(true);
    const QString opening = openingStatus(area, group);
    if (!opening.isEmpty()) status(ui, opening);

    if (!procedure) return runGeneric(area, calibration ? &*calibration : nullptr);

    RunState& run = s.run;
    if (programProgram) {
        run.ProgramMemoryOnlyMode = true;
        run.IncludeConfigInPartial = true;
    } else if (area == Area::ProgramRead) {
        run.ProgramStepResult.clear();
        run.ConfigStepResult.clear();
    }
    (*procedure)();
    run.ProgramMemoryOnlyMode = false;
    run.IncludeConfigInPartial = false;
    ui.refreshViews(ViewAll);
    // The 12F683's EEPROM read tells only of a failure; without this the status line would still
    // show the board check made before the read.
    if (area == Area::EepromRead && group == DeviceGroup::Pic12F683 &&
        !failed(run.EepromStepResult))
        ShowStatusMessage(ui, QStringLiteral("ＥＥＰＲＯＭデータメモリ読み出し成功。"));
    if (area == Area::ProgramRead) {
        // Both reads count: a failed program read is not hidden by the configuration read.
        if (failed(run.ProgramStepResult) || failed(run.ConfigStepResult))
            ShowStatusMessage(ui, QStringLiteral("プログラムメモリの読み出し失敗。"));
        else if (group != DeviceGroup::Pic18)
            ShowStatusMessage(
                ui, QStringLiteral(
                        "Ｆｌａｓｈプログラムメモリ＆コンフィグレーションワード 読み出し終了"));
    }
}

bool ExtendedOperations::buttonEnabled(Control button) const {
    const Session& s = main_.environment().s;
    if (button == Control::frmExtend_Program_Cmd_Chip_Erace) return available(Area::ChipErase);
    if (!areaButtonsEnabled(s.device.SelectedDevice)) return false;
    switch (button) {
    case Control::frmExtend_Program_Cmd_PGM_Program:
        return available(Area::ProgramProgram);
    case Control::frmExtend_Program_Cmd_PGM_Erase:
        return available(Area::ProgramErase);
    case Control::frmExtend_Program_Cmd_PGM_Read:
        return available(Area::ProgramRead);
    case Control::frmExtend_Program_Cmd_DATA_Program:
        return available(Area::EepromProgram);
    case Control::frmExtend_Program_Cmd_DATA_Erase:
        return available(Area::EepromErase);
    case Control::frmExtend_Program_Cmd_DATA_Read:
        return available(Area::EepromRead);
    // Clearing an image the part does not have would do nothing.
    case Control::frmExtend_Program_Cmd_DATA_PcbufferClear:
        return s.device.EepromByteCount > 0;
    case Control::frmExtend_Program_Cmd_EEDATA_modify:
        return hasEditableEeprom(s);
    default:
        return true;
    }
}

void ExtendedOperations::restoreButtons() {
    OperatorUi& ui = main_.environment().ui;
    for (Control c : kWindowButtons)
        ui.setControlEnabled(c, buttonEnabled(c));
}

void ExtendedOperations::runGeneric(Area area, CalibrationPreservingErase* calibration) {
    OperationEnvironment& env = main_.environment();
    Session& s = env.s;
    OperatorUi& ui = env.ui;
    QString& result = s.run.OperationResult;
    BoardChannel& ch = env.link.channel();
    const QString type = s.device.ProgramType;
    // Every step counts: an earlier failure is not hidden by a later success.
    bool anyFailed = false;
    auto step = [&](auto&& f) {
        env.clock.sleepMs(100);
        result.clear();
        f();
        if (failed(result)) anyFailed = true;
        return !failed(result);
    };

    switch (area) {
    case Area::ChipErase: {
        auto eraseChip = [&] { return step([&] { EraseChip(env.link, result); }); };
        const bool erased = calibration ? calibration->run(eraseChip) : eraseChip();
        if (!erased) anyFailed = true;
        if (erased) {
            if (type == QLatin1String("FLASH4") || type == QLatin1String("FLASH4.9") ||
                type == QLatin1String("FLASH8")) {
                step([&] { EraseProgramMemory(ch, result); }) &&
                    step([&] { EraseEepromMemory(ch, result); });
            } else if (type != QLatin1String("FLASH2")) {
                step([&] { EraseEepromMemory(ch, result); });
            }
        }
        ShowStatusMessage(ui, anyFailed ? QStringLiteral("チップイレースに失敗しました。")
                                        : QStringLiteral("チップイレースしました。"));
        return;
    }
    case Area::ProgramErase: {
        // The button erases what it names: where the part has a program-memory erase of its
        // own, the data EEPROM is kept; only a part without one gets the chip erase, and when
        // that takes an EEPROM with it the person decides first.
        const bool programErase = erasesProgramAlone(s.device.SelectedDevice);
        if (!programErase && s.device.EepromByteCount > 0 && !chipEraseForProgramAccepted(ui)) {
            ShowStatusMessage(ui, QStringLiteral("プログラムメモリの消去をやめました。"));
            return;
        }
        auto erase = [&] {
            return programErase ? step([&] { EraseProgramMemory(ch, result); })
                                : step([&] { EraseChip(env.link, result); });
        };
        if (!(calibration ? calibration->run(erase) : erase())) anyFailed = true;
        ShowStatusMessage(
            ui, anyFailed
                    ? QStringLiteral("プログラムメモリ、コンフィグ、ＩＤの消去に失敗しました。")
                    : QStringLiteral("プログラムメモリ、コンフィグ、ＩＤの消去しました。"));
        return;
    }
    case Area::EepromErase:
        result.clear();
        EraseEepromMemory(ch, result);
        ShowStatusMessage(ui, result == result::OK
                                  ? QStringLiteral("データメモリの消去しました。")
                                  : QStringLiteral("データメモリの消去に失敗しました。"));
        return;
    case Area::EepromProgram: {
        showEeprom(s, ui);
        const QString failedText = QStringLiteral("ＥＥＰＲＯＭデータメモリのプログラミング失敗。");
        status(ui, QStringLiteral("ＥＥＰＲＯＭデータメモリの消去.........."));
        result.clear();
        EraseEepromMemory(ch, result);
        if (failed(result)) {
            ui.messageBox(MessageIcon::Critical, MessageButtons::Ok,
                          QStringLiteral("ＥＥＰＲＯＭデータメモリ消去"),
                          QStringLiteral("ＥＥＰＲＯＭデータメモリの消去に失敗しました。"));
            ShowStatusMessage(ui, failedText);
            return;
        }
        status(ui, QStringLiteral("ＥＥＰＲＯＭデータメモリのプログラミング.........."));
        result.clear();
        WriteEepromMemory(ch, result);
        if (failed(result)) {
            ui.messageBox(
                MessageIcon::Critical, MessageButtons::Ok,
                QStringLiteral("ＥＥＰＲＯＭデータメモリプログラミング"),
                QStringLiteral("ＥＥＰＲＯＭデータメモリのプログラミングに失敗しました。"));
            ShowStatusMessage(ui, failedText);
            return;
        }
        status(ui, QStringLiteral("ＥＥＰＲＯＭデータメモリのベリファイ中.........."));
        env.clock.sleepMs(500);
        QString& verify = s.run.EepromVerifyResult;
        verify.clear();
        VerifyEepromMemory(ch, verify);
        if (verify == result::OK) {
            ShowStatusMessage(ui, QStringLiteral("ＥＥＰＲＯＭデータメモリのプログラミング成功。"));
            return;
        }
        ui.messageBox(MessageIcon::Critical, MessageButtons::Ok,
                      QStringLiteral("ＥＥＰＲＯＭデータメモリベリファイ"),
                      QStringLiteral("ＥＥＰＲＯＭデータメモリのベリファイに失敗しました。"));
        ShowStatusMessage(ui, failedText);
        return;
    }
    case Area::ProgramRead: {
        result.clear();
        ReadProgramMemory(ch, result);
        const bool programFailed = failed(result);
        result.clear();
        ReadConfigWords(ch, result);
        const bool configFailed = failed(result);
        // The grids take the words just read from the buffer.
        ui.refreshViews(ViewAll);
        ShowIdAndConfig(s, ui);
        ShowStatusMessage(ui, programFailed || configFailed
                                  ? QStringLiteral("プログラムメモリの読み出し失敗。")
                                  : QStringLiteral("プログラムメモリ読み出し成功。"));
        return;
    }
    case Area::EepromRead:
        result.clear();
        ReadEepromMemory(ch, result);
        showEeprom(s, ui);
        ShowStatusMessage(ui, failed(result)
                                  ? QStringLiteral("ＥＥＰＲＯＭデータメモリの読み出し失敗。")
                                  : QStringLiteral("ＥＥＰＲＯＭデータメモリ読み出し成功。"));
        return;
    case Area::ProgramProgram:
        return;
    }
}

} // namespace tavrin
