// StartupServices as the program has them: the board looked for on the real link, the port and
// device choice windows shown modally over the main window.
#pragma once

#include "core/startup_window.h"

#include <functional>

class QWidget;

namespace tavrin {

struct Session;
class OperatorUi;
class SettingsStore;
class BoardLink;

class StartupDialogs final : public StartupServices {
  public:
    StartupDialogs(Session& session, OperatorUi& ui, SettingsStore& settings, BoardLink& link,
                   QWidget* parent)
        : s_(session), ui_(ui), settings_(settings), link_(link), parent_(parent) {}

    void detectBoard() override;
    void choosePort() override;
    std::optional<QString> askDevice(const QStringList& names, int currentIndex) override;

  private:
    Session& s_;
    OperatorUi& ui_;
    SettingsStore& settings_;
    BoardLink& link_;
    QWidget* parent_;
};

// The port choice window over parent, modal; the board is looked for on the chosen port. True
// when a port was chosen.
bool showPortChoice(Session& session, OperatorUi& ui, SettingsStore& settings, BoardLink& link,
                    QWidget* parent);

} // namespace tavrin
