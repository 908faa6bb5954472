// An outside program run for the person (the assembler or compiler): started from a program path
// and an argument list, never through a shell, in a working folder of the caller's choosing;
// waited for with the window kept alive; stopped together with everything it started.
#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>

class QProcess;

namespace tavrin {

class Clock;
class OperatorUi;

enum class ProcessWaitEnd { Finished, Cancelled, TimedOut };

// Starts the program. Its output goes where ours goes and it reads nothing, so a tool that asks
// for input ends instead of waiting for an answer nobody can give. On Unix it leads a process
// group of its own, so that stopping it also stops the programs it started.
void startToolProcess(QProcess& process, const QString& program, const QStringList& arguments,
                      const QString& workingDir);

// WaitForProcess: returns when the process has ended (or never started), when cancelled()
// becomes true, or after limitMs on the clock. Window events run between bounded waits that
// wake as soon as the process ends. A process still running at a cancel or at the limit has been
// stopped on return.
ProcessWaitEnd WaitForProcess(QProcess& process, Clock& clock, OperatorUi& ui, std::int64_t limitMs,
                              const std::function<bool()>& cancelled);

// Ends the process and its group and waits (bounded) until it has gone.
void stopToolProcess(QProcess& process);

} // namespace tavrin
