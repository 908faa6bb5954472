#include "pic16f87x_modules.h"

#include "devices/common/device_modules.h"
#include "devices/common/module_context.h"

#include "core/session.h"

namespace tavrin {

void registerPic16f87xModules(DeviceModules& modules, ModuleContext& ctx) {
    int count = 0;
    const Pic16F87xVariant* variants = pic16F87xVariants(&count);
    for (int i = 0; i < count; ++i) {
        auto module = std::make_shared<Pic16F87xModule>(ctx, variants[i]);
        DeviceModule procedures;
        // The Blank button passes three results of its own and the shared protection state.
        procedures.blankCheckDevice = [module, &ctx] {
            QString program, eeprom, config;
            module->BlankCheckDevice(program, eeprom, config, ctx.s.run.CodeProtectState);
        };
        procedures.programDevice = [module] { module->ProgramDevice(); };
        procedures.verifyDevice = [module] { module->VerifyDevice(); };
        procedures.readDevice = [module] { module->ReadDevice(); };
        modules.add(QString::fromLatin1(variants[i].moduleName), std::move(procedures));
    }
}

std::unique_ptr<Pic16F87xModule> pic16F87xModuleFor(ModuleContext& ctx, const QString& deviceName) {
    const Pic16F87xVariant* variant = pic16F87xVariantForDevice(deviceName);
    if (!variant) return nullptr;
    return std::make_unique<Pic16F87xModule>(ctx, *variant);
}

} // namespace tavrin
