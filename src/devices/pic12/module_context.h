// What a module of this folder works with: the session, the person, the board, time, the log
// and the window's settings at the click, and the end every operation shares.
#pragma once

#include "mainwindow/operations/operation_environment.h"

#include <cstdint>
#include <functional>

namespace tavrin::pic12 {

using ModuleContext = OperationEnvironment;

// Closes the port and gives the controls back (in continuous programming mode only Program,
// Blank and Verify), the pointer back to normal and the focus where the operation leaves it.
void endOperation(ModuleContext& ctx, OperationKind kind);

} // namespace tavrin::pic12

namespace tavrin::pic12 {

// The start every operation of these modules shares: controls off, busy pointer.
void beginOperation(ModuleContext& ctx);

// The end of a read that got every area: the configuration values taken from the words read,
// the grids and views redrawn, the summary on the status line (the AND of everything read
// against the erased word; a protected chip said in red), the checksum and the log's end line.
// protectedChip is asked after the grids have taken the words read.
void finishRead(ModuleContext& ctx, std::int32_t summary, std::int32_t erased,
                const std::function<bool()>& protectedChip);

} // namespace tavrin::pic12
