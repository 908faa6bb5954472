// How every operation of the Blank, Program, Verify and Read buttons starts and ends, whoever runs
// it (the generic sequences or a device module): the controls are taken away and the busy pointer
// shown for the run; at the end the port is closed and the controls come back. A module calls
// beginOperation before its first exchange and finishOperation once, on every way out; it never
// enables a control inside a step.
#pragma once

#include "device_modules.h"

namespace tavrin {

struct ModuleContext;
struct OperationSettings;

void beginOperation(ModuleContext& ctx);

// Closes the port and gives the controls back: in continuous programming mode (mnuLock) only
// Program, Blank and Verify after those three operations; otherwise every operation control.
// The busy pointer goes; after a program run the Program button has the focus.
void finishOperation(ModuleContext& ctx, OperationKind kind, const OperationSettings& settings);

// finishOperation on every way out of a module procedure: the settings are those of the click.
class OperationEpilogue {
  public:
    OperationEpilogue(ModuleContext& ctx, OperationKind kind);
    ~OperationEpilogue();
    OperationEpilogue(const OperationEpilogue&) = delete;
    OperationEpilogue& operator=(const OperationEpilogue&) = delete;

  private:
    ModuleContext& ctx_;
    OperationKind kind_;
    bool continuousMode_;
};

} // namespace tavrin
