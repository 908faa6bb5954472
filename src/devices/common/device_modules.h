// The parts served by device modules of their own. The main window hands the whole of an
// operation to the module for these names, compared exactly, case and every character; every
// other name runs the generic sequences. A module that is not built yet leaves its names to the
// generic sequences too.
#pragma once

#include "core/part_selection_hook.h"

#include <QString>

#include <functional>
#include <map>

namespace tavrin {

enum class OperationKind { Blank, Program, Verify, Read };

// The four procedures of one module. Each owns its operation to the end: status, message boxes,
// log line, closing the port and giving the controls back. Beside them, what the main window
// shows of the module's parts when one is chosen.
struct DeviceModule {
    std::function<void()> blankCheckDevice;
    std::function<void()> programDevice;
    std::function<void()> verifyDevice;
    std::function<void()> readDevice;
    PartSelectionHook partSelected;

    const std::function<void()>& procedureFor(OperationKind kind) const;
};

// The module name serving a device name ("PIC12C5XXX", "PIC16F877A", ...); empty for the generic
// sequences.
QString moduleNameFor(const QString& deviceName);

// The modules that exist, by module name.
class DeviceModules {
  public:
    void add(const QString& moduleName, DeviceModule module);
    // The procedure that owns the operation for the device name; nullptr for the generic
    // sequences.
    const std::function<void()>* procedureFor(const QString& deviceName, OperationKind kind) const;
    // What the module serving the device name adds when the part is chosen; nothing for the
    // generic sequences.
    PartSelectionHook partSelectionHookFor(const QString& deviceName) const;

  private:
    const DeviceModule* moduleFor(const QString& deviceName) const;

    std::map<QString, DeviceModule> modules_;
};

} // namespace tavrin
