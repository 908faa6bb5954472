#include "pic12_modules.h"

#include "pic12_commands.h"
#include "pic12c5xxx.h"
#include "pic12f683.h"

#include "core/session.h"
#include "devices/common/device_modules.h"
#include "devices/common/module_context.h"

namespace tavrin {

void registerPic12Modules(DeviceModules& modules, ModuleContext& ctx) {
    using pic12::Pic12C5xxx;
    using pic12::Pic12F683;
    DeviceModule twelveBit;
    twelveBit.blankCheckDevice = [&ctx] { Pic12C5xxx(ctx).BlankCheckDevice(); };
    twelveBit.programDevice = [&ctx] { Pic12C5xxx(ctx).ProgramDevice(); };
    twelveBit.verifyDevice = [&ctx] { Pic12C5xxx(ctx).VerifyDevice(); };
    twelveBit.readDevice = [&ctx] { Pic12C5xxx(ctx).ReadDevice(); };
    modules.add(QString::fromLatin1(pic12::kPic12C5xxxModule), std::move(twelveBit));

    DeviceModule f683;
    // The Blank button hands over three results of its own and the shared code-protect state,
    // and does not look at them afterwards.
    f683.blankCheckDevice = [&ctx] {
        QString program, eeprom, config;
        Pic12F683(ctx).BlankCheckDevice(program, eeprom, config, ctx.s.run.CodeProtectState);
    };
    f683.programDevice = [&ctx] { Pic12F683(ctx).ProgramDevice(); };
    f683.verifyDevice = [&ctx] { Pic12F683(ctx).VerifyDevice(); };
    f683.readDevice = [&ctx] { Pic12F683(ctx).ReadDevice(); };
    f683.partSelected.calibrationTabAlone = true;
    f683.partSelected.setUp = [&ctx] { Pic12F683(ctx).SetupCalibrationTab(); };
    modules.add(QString::fromLatin1(pic12::kPic12F683Module), std::move(f683));
}

} // namespace tavrin
