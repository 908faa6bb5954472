// What a module of this folder works with: the session, the person, the board, time, the log
// and the window's settings at the click, and the end every operation shares.
#pragma once

#include "mainwindow/operations/operation_environment.h"

namespace tavrin::pic12 {

using ModuleContext = OperationEnvironment;

// Closes the port and gives the controls back (in continuous programming mode only Program,
// Blank and Verify), the pointer back to normal and the focus where the operation leaves it.
void endOperation(ModuleContext& ctx, OperationKind kind);

} // namespace tavrin::pic12
