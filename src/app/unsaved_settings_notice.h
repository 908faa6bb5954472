// Telling the person that the settings could not be kept on disk (a full disk, a folder gone):
// the old settings file stays as it was, so what was just changed will be missing at the next
// start unless the person hears of it.
#pragma once

#include <QObject>

namespace tavrin {

class OperatorUi;

class UnsavedSettingsNotice : public QObject {
  public:
    explicit UnsavedSettingsNotice(OperatorUi& ui) : ui_(ui) {}

    // A change was not kept. One action writes several keys (a window's place, the folder
    // history), each failing alike: they are said once, when the action has ended.
    void changeNotKept();
    // The program is ending: its last save answers for every change, so a change not kept
    // meanwhile is not told on its own (a box opened while the main window closes would be a
    // second notice, and would hold the program up with no window left).
    void holdUntilEnd() { ending_ = true; }
    // The settings could not be kept at the end of the program: said at once, for everything
    // still unsaved.
    void tellAtEnd();

  private:
    void tell();

    OperatorUi& ui_;
    bool pending_ = false;
    bool ending_ = false;
};

} // namespace tavrin
