// The PIC16F877 family: PIC16F877, PIC16F877A and the board's own module chips QZ-WRT400 and
// QZ-WRT400A.
#pragma once

namespace tavrin {

class DeviceModules;
struct ModuleContext;

// Adds the modules of this folder (PIC16F877, PIC16F877A, QZWRT400, QZWRT400A). A procedure left
// empty keeps the generic sequence for its operation. ctx outlives the modules.
void registerPic16f87xModules(DeviceModules& modules, ModuleContext& ctx);

} // namespace tavrin
