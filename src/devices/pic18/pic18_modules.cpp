#include "pic18_modules.h"

#include "pic18_module.h"

#include "devices/common/device_modules.h"
#include "devices/common/module_context.h"

namespace tavrin {

void registerPic18Modules(DeviceModules& modules, ModuleContext& ctx) {
    int count = 0;
    const Pic18Variant* const* variants = pic18Variants(count);
    for (int i = 0; i < count; ++i) {
        const Pic18Variant* v = variants[i];
        // Each click gets a module of its own, with the window's settings of that moment.
        auto run = [&ctx, v](void (Pic18Module::*procedure)()) {
            Pic18Module module(*v, ctx);
            (module.*procedure)();
        };
        DeviceModule m;
        m.blankCheckDevice = [run] { run(&Pic18Module::BlankCheckDevice); };
        m.programDevice = [run] { run(&Pic18Module::ProgramDevice); };
        m.verifyDevice = [run] { run(&Pic18Module::VerifyDevice); };
        m.readDevice = [run] { run(&Pic18Module::ReadDevice); };
        modules.add(v->DeviceName, std::move(m));
    }
}

} // namespace tavrin
