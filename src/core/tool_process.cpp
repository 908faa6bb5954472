#include "tool_process.h"

#include "clock.h"
#include "operator_ui.h"

#include <QProcess>

#ifdef Q_OS_UNIX
#include <csignal>
#include <unistd.h>
#endif

namespace tavrin {

namespace {
// Short enough that the window stays lively, long enough not to spin.
constexpr int kWaitSliceMs = 50;
constexpr int kStopWaitMs = 5000;
} // namespace

void startToolProcess(QProcess& process, const QString& program, const QStringList& arguments,
                      const QString& workingDir) {
    process.setProgram(program);
    process.setArguments(arguments);
    process.setWorkingDirectory(workingDir);
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.setStandardInputFile(QProcess::nullDevice());
#ifdef Q_OS_UNIX
    process.setChildProcessModifier([] { ::setpgid(0, 0); });
#endif
    process.start();
}

void stopToolProcess(QProcess& process) {
    if (process.state() == QProcess::NotRunning) return;
#ifdef Q_OS_UNIX
    const qint64 pid = process.processId();
    if (pid > 0) ::kill(-pid_t(pid), SIGKILL);
#endif
    process.kill();
    process.waitForFinished(kStopWaitMs);
}

ProcessWaitEnd WaitForProcess(QProcess& process, Clock& clock, OperatorUi& ui, std::int64_t limitMs,
                              const std::function<bool()>& cancelled) {
    if (process.state() == QProcess::Starting) process.waitForStarted(kStopWaitMs);
    const std::int64_t start = clock.nowUs();
    while (process.state() != QProcess::NotRunning) {
        if (process.waitForFinished(kWaitSliceMs)) break;
        ui.pumpEvents();
        if (process.state() == QProcess::NotRunning) break;
        if (cancelled && cancelled()) {
            stopToolProcess(process);
            return ProcessWaitEnd::Cancelled;
        }
        if (clock.nowUs() - start > limitMs * 1000) {
            stopToolProcess(process);
            return ProcessWaitEnd::TimedOut;
        }
    }
    return ProcessWaitEnd::Finished;
}

} // namespace tavrin
