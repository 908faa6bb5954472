// The extended-programming window: one memory area at a time. It renders the buttons and hands
// every click to ExtendedOperations; the main window owns it and closes it on device change.
#pragma once

#include <QWidget>

namespace tavrin {

class ExtendedOperations;
class SettingsStore;
struct Session;

class frmExtend_Program : public QWidget {
    Q_OBJECT
  public:
    frmExtend_Program(ExtendedOperations& operations, Session& session, SettingsStore& settings,
                      QWidget* owner);

    // The buttons as the device and the registered procedures allow.
    void Form_Load();

  signals:
    void closed();
    void eepromEditorRequested();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    ExtendedOperations& ops_;
    Session& s_;
    SettingsStore& settings_;
};

} // namespace tavrin
