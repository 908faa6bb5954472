// The four operation buttons of the main window. Every one runs the same frame: the device
// selection and the board are checked, the operation goes to the device module that serves the
// part by name or to the generic sequence, and at the end the port is closed and the controls
// come back (in continuous programming mode only Program, Blank and Verify). The whole
// operation holds the operation guard, so nothing else touches the buffer, the port or the
// device list while it waits for the board.
#pragma once

#include "operation_environment.h"

namespace tavrin {

class MainOperations {
  public:
    explicit MainOperations(OperationEnvironment env);
    MainOperations(const MainOperations&) = delete;
    MainOperations& operator=(const MainOperations&) = delete;

    void Command_blank_Click();
    void Command_pogram_Click();
    void Command_Vrify_Click();
    void Command_read_Click();

    // The program operation for a caller that already holds the operation guard (the
    // extended-programming window, around its program-memory-only run).
    void programWithinOperation();

    OperationEnvironment& environment() { return env_; }
    // Lbl_Calib_ReadWrite_Data as the last program run left it.
    const QString& calibrationLabel() const { return env_.calibrationLabel; }

  private:
    void runGuarded(OperationKind kind);
    void runFrame(OperationKind kind);
    void runGeneric(OperationKind kind, const OperationSettings& settings);

    OperationEnvironment env_;
};

} // namespace tavrin
