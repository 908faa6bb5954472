#include "operation_frame.h"

#include "area_registration.h"
#include "device_registration.h"
#include "generic_operations.h"

#include "devices/common/operation_epilogue.h"

#include "core/clock.h"
#include "core/operation_controls.h"
#include "core/operation_guard.h"
#include "core/operator_ui.h"
#include "core/session.h"
#include "core/status.h"
#include "link/board_link.h"

namespace tavrin {

MainOperations::MainOperations(OperationEnvironment env) : env_(std::move(env)) {
    if (!env_.askOverwrite) env_.askOverwrite = overwriteQuestionByMessageBox(env_.ui);
    // The modules keep a reference to env_, so they are added only once it has its place.
    registerDeviceModules(env_);
    registerAreaProcedures(env_);
}

void MainOperations::Command_blank_Click() {
    runGuarded(OperationKind::Blank);
}
void MainOperations::Command_pogram_Click() {
    runGuarded(OperationKind::Program);
}
void MainOperations::Command_Vrify_Click() {
    runGuarded(OperationKind::Verify);
}
void MainOperations::Command_read_Click() {
    runGuarded(OperationKind::Read);
}

void MainOperations::programWithinOperation() {
    runFrame(OperationKind::Program);
}

void MainOperations::runGuarded(OperationKind kind) {
    const OperationScope scope(env_.s, env_.ui);
    if (!scope.held()) return;
    runFrame(kind);
}

void MainOperations::runFrame(OperationKind kind) {
    Session& s = env_.s;
    OperatorUi& ui = env_.ui;
    const OperationSettings settings = env_.settings ? env_.settings() : OperationSettings{};
    if (kind == OperationKind::Program) {
        s.run.OperationStartTimeUs = env_.clock.nowUs();
        env_.calibrationLabel = QStringLiteral("--");
        ui.setControlText(Control::Lbl_Calib_ReadWrite_Data, env_.calibrationLabel);
        ui.setControlVisible(Control::CmbInit, false);
        ui.setControlVisible(Control::TxtInit, false);
    }
    QString& result = s.run.OperationResult;
    if (CheckDeviceSelected(s, ui, result)) {
        ShowStatusMessage(ui, QStringLiteral("ライターチェック中.........."));
        ui.pumpEvents();
        env_.link.CheckProgrammer(result);
        if (result != result::NG) {
            // A module owns its operation to the end, controls and port included.
            if (const auto* procedure = env_.modules.procedureFor(s.device.SelectedDevice, kind)) {
                (*procedure)();
                return;
            }
            beginOperation(env_);
            runGeneric(kind, settings);
        }
    }
    finishOperation(env_, kind, settings);
}

void MainOperations::runGeneric(OperationKind kind, const OperationSettings& settings) {
    switch (kind) {
    case OperationKind::Blank:
        return runGenericBlankCheck(env_);
    case OperationKind::Program:
        return runGenericProgram(env_, settings, env_.calibrationLabel);
    case OperationKind::Verify:
        return runGenericVerify(env_);
    case OperationKind::Read:
        return runGenericRead(env_);
    }
}

} // namespace tavrin
