// The controls of the firmware update window that its logic sets. Message boxes and "let
// pending events run" go through OperatorUi as everywhere else.
#pragma once

#include <QString>

namespace tavrin {

class FirmwareUpdateView {
  public:
    virtual ~FirmwareUpdateView() = default;

    // The texts of the port and speed boxes as they stand (typed or chosen).
    virtual QString portText() const = 0;  // Combo_ComPort
    virtual QString speedText() const = 0; // Combo_speed

    virtual void showStatus(const QString& text) = 0;                 // StatusBar1
    virtual void showIdentification(const QString& text) = 0;         // Text_FirmwareVersion
    virtual void showFileName(const QString& path) = 0;               // Text_File
    virtual void showGuidance(const QString& text, bool failure) = 0; // Label3, red on failure
    virtual void setProgressRange(int minimum, int maximum) = 0;      // ProgressBar1
    virtual void setProgressValue(int value) = 0;
    virtual void setUpdateEnabled(bool enabled) = 0;  // CmdUpdate
    virtual void setVersionEnabled(bool enabled) = 0; // CmdVersion
    // While the transfer runs nothing else in the window may be used: the port and speed boxes,
    // CmdOpen and OKButton.
    virtual void setChoicesEnabled(bool enabled) = 0;
    // The file dialog; "" when the person cancels.
    virtual QString chooseFile(const QString& title, const QString& folder, const QString& filter,
                               const QString& defaultSuffix) = 0;
    // Unloads the window.
    virtual void closeWindow() = 0;
};

} // namespace tavrin
