// Everything the operations of the main window work with: what a device module gets (the
// session, the person, the board, time, the log folder, the settings, the overwrite question)
// and the device modules themselves.
#pragma once

#include "devices/common/area_procedures.h"
#include "devices/common/device_modules.h"
#include "devices/common/module_context.h"

namespace tavrin {

struct OperationEnvironment : ModuleContext {
    using ModuleContext::ModuleContext;

    DeviceModules modules;
    // The per-area procedures of the extended-programming window, by exact device name.
    AreaProcedureTable areas;
};

} // namespace tavrin
