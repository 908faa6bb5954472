// What the assembler commands ask of the window beyond OperatorUi and MainWindowView: the
// information window, opening a file for the person to read, the wait for the tool with its
// cancel, and the Program button.
#pragma once

#include <QString>

namespace tavrin {

class AssemblerView {
  public:
    virtual ~AssemblerView() = default;

    // The run's information (command, error file, folder), shown without waiting.
    virtual void showRunInformation(const QString& text) = 0;
    // Opens the file for the person: in a plain text editor, or else with the application the
    // desktop associates with it.
    virtual void openInEditor(const QString& path, bool plainTextEditor) = 0;
    // Shown while the tool runs; the person may cancel the wait, which stops the tool.
    virtual void beginToolWait(const QString& text) = 0;
    virtual bool toolWaitCancelled() = 0;
    virtual void endToolWait() = 0;
    // The Program button, as if pressed; it takes the operation guard itself.
    virtual void startProgramming() = 0;
};

} // namespace tavrin
