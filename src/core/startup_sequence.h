// Main: the program's start, in its fixed order, from the disabled window showing "しばらく
// お待ちください" to the window ready for input. Holds no widget: it reaches the window, the
// choice windows and the board through the StartupWindow and StartupServices seams.
#pragma once

#include "about_texts.h"
#include "app_paths.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace tavrin {

struct Session;
struct RotationResult;
class OperatorUi;
class SettingsStore;
class StartupWindow;
class StartupServices;

struct StartupInput {
    QStringList arguments; // the command line after the program name
    ProgramVersion version;
    AppPaths paths;
    QString fallbackPort; // stands in for the saved port when none is saved (may be empty)
    // Stands in for the saved part when none is saved (may be empty); a name the device file
    // does not list leaves the first part, as with nothing given.
    QString fallbackDevice = {};
};

enum class StartupOutcome {
    Ready,             // the window is enabled and takes input
    UnwritableFiles,   // refused: a work or log file cannot be written; the program ends
    DeviceFileMissing, // device6.ini could not be read; the program ends
};

class StartupSequence {
  public:
    StartupSequence(Session& session, OperatorUi& ui, SettingsStore& settings,
                    StartupWindow& window, StartupServices& services);

    StartupOutcome run(const StartupInput& input);

    // The text of the program view while start-up runs.
    static QString waitText();

  private:
    void takeCommandLine(const QStringList& arguments);
    bool refuseUnwritableFiles(const AppPaths& paths);
    void connectBoard(const QString& fallbackPort);
    void restoreLastDevice(const QString& fallbackDevice);
    void warnOfFailedRotation(const RotationResult& rotation);
    void openCommandLineFile();

    Session& s_;
    OperatorUi& ui_;
    SettingsStore& settings_;
    StartupWindow& window_;
    StartupServices& services_;
    QString programView_;
    bool commandLineRefused_ = false;
};

// The device for the command-line file: the name after "/" when it is in the list exactly as
// written, else whatever the person picks (nothing when cancelled).
std::optional<QString> chooseStartupDevice(const QStringList& names, int currentIndex,
                                           const QString& option1, StartupServices& services);

// The folder of the command-line file: the text before its last separator.
QString commandLineFolder(const QString& path);

} // namespace tavrin
