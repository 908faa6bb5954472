// Start of the program: one instance per user, then the program's start-up; the event loop runs
// only when start-up ends ready for input.
#include "application.h"
#include "program_version.h"
#include "startup_marker.h"

#include "core/settings_store.h"
#include "core/single_instance.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(tavrin::kSettingsApplication));
    QApplication::setOrganizationName(QString::fromLatin1(tavrin::kSettingsApplication));
    const tavrin::ProgramVersion version = tavrin::programVersion();
    QApplication::setApplicationVersion(
        QStringLiteral("%1.%2.%3").arg(version.major).arg(version.minor).arg(version.revision));

    // Taken before any window: a second start ends without showing anything.
    tavrin::SingleInstanceLock instance;
    if (!instance.tryAcquire()) return 0;

    // The start-up benchmark's marker, only when asked for.
    const std::unique_ptr<tavrin::StartupMarker> marker = tavrin::StartupMarker::fromEnvironment();

    // The run command sets TAVRIN_DEFAULT_PORT to the emulated board's port, which then stands
    // in for a saved port.
    tavrin::Application program({QCoreApplication::arguments().mid(1),
                                 qEnvironmentVariable("TAVRIN_DEFAULT_PORT"),
                                 {},
                                 {}});
    if (program.start() != tavrin::StartupOutcome::Ready) return 1;
    if (marker) marker->windowReady();
    const int code = QApplication::exec();
    program.shutdown();
    return code;
}
