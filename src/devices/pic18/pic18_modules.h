// The PIC18 parts with modules of their own: PIC18F252, PIC18F452, PIC18F8720.
#pragma once

namespace tavrin {

class DeviceModules;
struct ModuleContext;

// Adds the modules of this folder (PIC18F252, PIC18F452, PIC18F8720). A procedure left empty keeps
// the generic sequence for its operation. ctx outlives the modules.
void registerPic18Modules(DeviceModules& modules, ModuleContext& ctx);

} // namespace tavrin
