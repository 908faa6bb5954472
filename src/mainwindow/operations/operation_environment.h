// Everything the operations of the main window work with: the session, the person, the board,
// time, where the log goes, the window's settings at the moment of the click, the overwrite
// question and the device modules.
#pragma once

#include "device_modules.h"
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

struct OperationEnvironment {
    OperationEnvironment(Session& session, OperatorUi& operatorUi, BoardLink& boardLink,
                         Clock& monotonic, QString logDir)
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
    DeviceModules modules;
};

} // namespace tavrin
