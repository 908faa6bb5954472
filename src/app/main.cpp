// Start of the program: one instance per user, then the program's start-up; the event loop runs
// only when start-up ends ready for input.
#include "another_copy_notice.h"
#include "application.h"
#include "program_version.h"
#include "startup_marker.h"

#include "core/settings_store.h"
#include "core/single_instance.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char** argv) {
    // A script's question, answered without a display.
    if (argc > 1 && qstrcmp(argv[1], tavrin::kCheckRunningOption) == 0) {
        QCoreApplication query(argc, argv);
        return tavrin::answerCheckRunning(QCoreApplication::arguments().mid(2));
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(tavrin::kSettingsApplication));
    QApplication::setOrganizationName(QString::fromLatin1(tavrin::kSettingsApplication));
    const tavrin::ProgramVersion version = tavrin::programVersion();
    QApplication::setApplicationVersion(
        QStringLiteral("%1.%2.%3").arg(version.major).arg(version.minor).arg(version.revision));

    // Taken before any window: a second start says why it ends, and shows nothing else.
    tavrin::SingleInstanceLock instance;
    switch (instance.acquire()) {
    case tavrin::SingleInstanceLock::Outcome::Acquired:
        break;
    case tavrin::SingleInstanceLock::Outcome::HeldByOther:
        tavrin::tellAnotherCopyRuns(QCoreApplication::arguments().mid(1));
        return 0;
    case tavrin::SingleInstanceLock::Outcome::Unavailable:
        // No place can hold the lock: running unguarded beats not running at all.
        std::fprintf(stderr, "tavrin-writer: no lock file could be made; another copy may run\n");
        break;
    }

    // The start-up benchmark's marker, only when asked for.
    const std::unique_ptr<tavrin::StartupMarker> marker = tavrin::StartupMarker::fromEnvironment();

    // The run command sets TAVRIN_DEFAULT_PORT to the emulated board's port and
    // TAVRIN_DEFAULT_PART to the part in its socket, which then stand in for a saved port and a
    // saved part.
    tavrin::Application program({QCoreApplication::arguments().mid(1),
                                 qEnvironmentVariable("TAVRIN_DEFAULT_PORT"),
                                 {},
                                 {},
                                 qEnvironmentVariable("TAVRIN_DEFAULT_PART")});
    // The program ends with its main window, also when another window is still open (a notice,
    // a tool window) and would keep the event loop going.
    program.whenMainWindowCloses([] {
        QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit,
                                  Qt::QueuedConnection);
    });
    if (program.start() != tavrin::StartupOutcome::Ready) return 1;
    if (marker) marker->windowReady();
    const int code = QApplication::exec();
    program.shutdown();
    return code;
}
