// The end of a program run that reached its verifies, as every program sequence tells it: the
// pass or fail counter, LastResultText with the elapsed time, the end time and the counters, the
// status line (red on failure), the log line and, on failure, the "ベリファイ" box.
#pragma once

#include <QString>

namespace tavrin {

struct ModuleContext;
struct OperationSettings;

// The elapsed time runs from RunState::OperationStartTimeUs. The log line carries the ID text
// the window showed at the click and the calibration label as the run left it.
void tellProgramVerdict(ModuleContext& ctx, bool passed, const OperationSettings& settings,
                        const QString& calibrationLabel, const QString& failureReport);

} // namespace tavrin
