// Plugs the two modules of this folder into the operation dispatch.
#pragma once

#include "module_context.h"

namespace tavrin::pic12 {

void registerPic12Modules(ModuleContext& ctx, DeviceModules& modules);

} // namespace tavrin::pic12
