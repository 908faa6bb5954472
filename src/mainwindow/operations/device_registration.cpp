#include "device_registration.h"

#include "operation_environment.h"

#include "devices/pic12/pic12_modules.h"
#include "devices/pic16f87x/pic16f87x_modules.h"
#include "devices/pic18/pic18_modules.h"

namespace tavrin {

void registerDeviceModules(OperationEnvironment& env) {
    registerPic12Modules(env.modules, env);
    registerPic16f87xModules(env.modules, env);
    registerPic18Modules(env.modules, env);
}

} // namespace tavrin
