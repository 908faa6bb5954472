// What a device module works with: the session, the person, the board, time, where the log goes,
// the window's settings at the moment of the click and the overwrite question. The main window
// builds one for the whole program run; the modules keep a reference to it.
#pragma once

#include "operation_settings.h"
#include "overwrite_question.h"

#include <QDateTime>
#include <QString>

#include <functional>

namespace tavrin {

struct Session;
class OperatorUi;
class BoardLink;
class Clock;

struct ModuleContext {
    ModuleContext(Session& session, OperatorUi& operatorUi, BoardLink& boardLink, Clock& monotonic,
                  QString logDir)
        : s(session), ui(operatorUi), link(boardLink), clock(monotonic),
          dataDir(std::move(logDir)) {}

    Session& s;
    OperatorUi& ui;
    BoardLink& link;
    Clock& clock;
    QString dataDir; // the per-user folder of LOG_NEW0.txt
    std::function<OperationSettings()> settings = [] { return OperationSettings{}; };
    OverwriteQuestion askOverwrite;
    // Wall-clock time for the end time and the log's date and time.
    std::function<QDateTime()> now = [] { return QDateTime::currentDateTime(); };
    // Lbl_Calib_ReadWrite_Data as the last program run left it (it goes into the log line).
    QString calibrationLabel = QStringLiteral("--");

    // The settings as the window shows them now.
    OperationSettings currentSettings() const {
        return settings ? settings() : OperationSettings{};
    }
};

} // namespace tavrin
