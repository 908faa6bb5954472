// The PIC16F877 family: PIC16F877, PIC16F877A and the board's own module chips QZ-WRT400 and
// QZ-WRT400A, one implementation over a table of their differences (variant.h).
#pragma once

#include "pic16f87x_module.h"

#include <QString>

#include <memory>

namespace tavrin {

class DeviceModules;
struct ModuleContext;

// Adds the modules of this folder (PIC16F877, PIC16F877A, QZWRT400, QZWRT400A) with all four of
// their operations. ctx outlives the modules.
void registerPic16f87xModules(DeviceModules& modules, ModuleContext& ctx);

// The module serving a device name, for callers of its single steps (the extended programming
// window); nullptr for a name this folder does not serve.
std::unique_ptr<Pic16F87xModule> pic16F87xModuleFor(ModuleContext& ctx, const QString& deviceName);

} // namespace tavrin
