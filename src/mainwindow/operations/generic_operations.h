// The generic Blank, Program, Verify and Read sequences: the operations of every part that has
// no device module of its own. The frame (operation_frame.h) has checked the selection and the
// board, disabled the controls and set the busy pointer; it closes the port and gives the
// controls back after the sequence returns, whichever way it ends.
#pragma once

#include <QString>

namespace tavrin {

struct OperationEnvironment;
struct OperationSettings;

void runGenericBlankCheck(OperationEnvironment& env);
// calibrationLabel: Lbl_Calib_ReadWrite_Data as the run leaves it (it goes into the log line).
void runGenericProgram(OperationEnvironment& env, const OperationSettings& settings,
                       QString& calibrationLabel);
void runGenericVerify(OperationEnvironment& env);
void runGenericRead(OperationEnvironment& env);

} // namespace tavrin
