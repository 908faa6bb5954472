// The one line in the result log that every program run which sent anything to the board leaves,
// however the run ended: its verdict, or what stopped it. A person who programs a tray of chips
// reads the log to know what happened to each; a run that touched a chip and left no line is a
// lost record, and a refused erase, a wrong part in the socket, a cancelled overwrite or a blank
// check that failed may all have touched it.
//
// What stopped the run is named as the person was told it: the text given to stop(), else the
// status line as the run left it; the loss of the port when the board went away (every further
// step would only fail on the closed port and bury the loss). LastResultText belongs to the last
// run that was judged, and is never used for a stopped run. The ID text is the window's at the
// click, the calibration label as the run left it.
#pragma once

#include "operation_settings.h"

#include <QDateTime>
#include <QString>

#include <cstdint>

namespace tavrin {

struct ModuleContext;

// The board went away during this run; the loss has been told (status line, box).
bool boardLost(ModuleContext& ctx);

class ProgramRunLine {
  public:
    // Made when the run starts, before its first exchange with the board.
    ProgramRunLine(ModuleContext& ctx, OperationSettings settings);
    // The stop line, when the run reached the board and wrote none yet.
    ~ProgramRunLine() { close(); }
    ProgramRunLine(const ProgramRunLine&) = delete;
    ProgramRunLine& operator=(const ProgramRunLine&) = delete;

    // The run ends on this text (a box's, where the status line says something else).
    void stop(const QString& told) { told_ = told; }
    // The verdict of a run that reached its verifies, as every program sequence tells it: the
    // pass or fail counter, LastResultText with the elapsed time (from
    // RunState::OperationStartTimeUs), the end time and the counters, the status line (red on
    // failure), the line and, on failure, the "ベリファイ" box with the report.
    void judge(bool passed, const QString& failureReport);
    // The run's own result text as its line (a run with a verdict worded its own way).
    void logResult(const QString& resultText);
    // Writes the stop line now, unless a line was written or the run never reached the board;
    // later calls do nothing. For a run that gives the controls back itself.
    void close();

  private:
    void write(const QString& resultText, const QDateTime& when);

    ModuleContext& ctx_;
    const OperationSettings settings_;
    const std::uint64_t sentBefore_;
    QString told_;
    bool written_ = false;
};

} // namespace tavrin
