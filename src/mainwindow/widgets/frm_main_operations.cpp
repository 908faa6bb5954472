// The operation buttons of the main window: the frame of the operations on the board link, the
// settings they read from the window, the overwrite question and the operation guard.
#include "frm_main.h"

#include "core/document_lookup.h"

#include "frm_hint.h"
#include "id_line_edit.h"

#include "core/eeprom_layout.h"
#include "core/operation_guard.h"
#include "frm_eeprom_data_modify.h"
#include "frm_extend_program.h"
#include "mainwindow/operations/extended_operations.h"
#include "mainwindow/operations/operation_frame.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>

namespace tavrin {

void frmMain::attachOperations(BoardLink& link, Clock& clock, const QString& dataDir) {
    OperationEnvironment env(ctx_.s, *this, link, clock, dataDir);
    env.settings = [this] { return operationSettings(); };
    env.askOverwrite = [this](const QString& first, const QString& second) {
        return askOverwriteWithHint(
            this, QString::fromUtf8(kAssemblyCheckDocumentName), first, second,
            [this](const QString& name) { return showDocument(name); }, messageBoxOwner());
    };
    operations_ = std::make_unique<MainOperations>(std::move(env));
    ctx_.partSelectionHook = [this](const QString& deviceName) {
        return operations_->environment().modules.partSelectionHookFor(deviceName);
    };
    extended_ = std::make_unique<ExtendedOperations>(*operations_);
}

void frmMain::Cmd_Extend_Program_Click() {
    if (!extended_ || refusedDuringOperation()) return;
    hideChooser();
    Text_ID_LostFocus();
    if (!extendedWindow_) {
        extendedWindow_ = new frmExtend_Program(*extended_, ctx_.s, ctx_.settings, this);
        connect(extendedWindow_, &frmExtend_Program::closed, this,
                [this] { extendedWindow_ = nullptr; });
        connect(extendedWindow_, &frmExtend_Program::eepromEditorRequested, this,
                &frmMain::Command3_Click);
    }
    extendedWindow_->show();
    extendedWindow_->raise();
}

// The EEPROM editor, modal over the main window; OK has written the edits into the buffer. A part
// without data EEPROM has nothing to edit and never gets it.
void frmMain::Command3_Click() {
    if (refusedDuringOperation() || !hasEditableEeprom(ctx_.s)) return;
    hideChooser();
    const QString workFile = QString::fromLatin1(kEepromEditorWorkFile);
    frmEepromDataModify editor(ctx_.s, ctx_.settings,
                               paths_.dataDir.isEmpty() ? workFile : paths_.inData(workFile), this);
    if (editor.exec() == QDialog::Accepted) refreshViews(ViewEeprom);
}

void frmMain::closeExtendedWindow() {
    if (extendedWindow_) extendedWindow_->close();
}

OperationSettings frmMain::operationSettings() const {
    OperationSettings s;
    s.skipBlankCheck = mnuBlankSkip->isEnabled() && mnuBlankSkip->isChecked();
    s.continuousMode = mnuLock->isChecked();
    s.keepChipCalibration = Chk_12F_CalibData_Select->isChecked();
    s.calibrationText = Text_Calib_Data->text();
    s.bandgapText = Text_BG->text();
    s.idText = Text_ID->text();
    return s;
}

// A typed ID that has not been stored yet (the button was reached by its shortcut, so the box
// kept the focus) is stored before the operation reads the buffer.
#define TAVRIN_OPERATION_BUTTON(handler)                                                           \
    void frmMain::handler() {                                                                      \
        if (!operations_ || refusedDuringOperation()) return;                                      \
        hideChooser();                                                                             \
        Text_ID_LostFocus();                                                                       \
        operations_->handler();                                                                    \
    }
TAVRIN_OPERATION_BUTTON(Command_blank_Click)
TAVRIN_OPERATION_BUTTON(Command_pogram_Click)
TAVRIN_OPERATION_BUTTON(Command_Vrify_Click)
TAVRIN_OPERATION_BUTTON(Command_read_Click)
#undef TAVRIN_OPERATION_BUTTON

bool frmMain::refusedDuringOperation() {
    return refuseDuringOperation(ctx_.s, *this);
}

} // namespace tavrin
