#include "pic18_modules.h"

#include "devices/common/device_modules.h"
#include "devices/common/module_context.h"

namespace tavrin {

void registerPic18Modules(DeviceModules& modules, ModuleContext& ctx) {
    // No procedure is built yet: every name of this folder runs the generic sequences.
    (void)modules;
    (void)ctx;
}

} // namespace tavrin
