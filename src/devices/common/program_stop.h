// A program run of a device module that ends before its verdict. The run still gets its line in
// the result log, with what ended it in place of the result: LastResultText belongs to the last
// run that was judged, and a line with it (or no line at all) would pass this run off as that
// one. A board that went away ends the run at once: every further step would only fail on the
// closed port and bury the loss, already told, under failure texts and boxes of its own.
#pragma once

#include <QString>

namespace tavrin {

struct ModuleContext;
struct OperationSettings;

// The board went away during this run; the loss has been told (status line, box).
bool boardLost(ModuleContext& ctx);

// Appends the run's line: `failure` as the person was told it, or the loss when the board went
// away. The ID text is the window's at the click, the calibration label as the run left it.
void logProgramStop(ModuleContext& ctx, const OperationSettings& settings, const QString& failure);

// When the board went away: the run's line with the loss, and true (the caller ends the run
// without a word more).
bool endedByLostBoard(ModuleContext& ctx, const OperationSettings& settings);

} // namespace tavrin
