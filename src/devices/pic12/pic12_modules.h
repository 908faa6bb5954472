// The 12-bit PIC12C5xx parts and the PIC12F683.
#pragma once

namespace tavrin {

class DeviceModules;
struct ModuleContext;

// Adds the modules of this folder (PIC12C5XXX, PIC12F683). ctx outlives the modules.
void registerPic12Modules(DeviceModules& modules, ModuleContext& ctx);

} // namespace tavrin
