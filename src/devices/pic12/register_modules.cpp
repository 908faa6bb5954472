#include "register_modules.h"

#include "pic12_commands.h"
#include "pic12c5xxx.h"
#include "pic12f683.h"

#include "core/session.h"

namespace tavrin::pic12 {

void registerPic12Modules(ModuleContext& ctx, DeviceModules& modules) {
    ModuleContext* c = &ctx;
    modules.add(QString::fromLatin1(kPic12C5xxxModule),
                DeviceModule{
                    .blankCheckDevice = [c] { Pic12C5xxx(*c).BlankCheckDevice(); },
                    .programDevice = [c] { Pic12C5xxx(*c).ProgramDevice(); },
                    .verifyDevice = [c] { Pic12C5xxx(*c).VerifyDevice(); },
                    .readDevice = [c] { Pic12C5xxx(*c).ReadDevice(); },
                });
    modules.add(QString::fromLatin1(kPic12F683Module),
                DeviceModule{
                    // The Blank button hands over three results of its own and the shared
                    // code-protect state; it does not look at them afterwards.
                    .blankCheckDevice =
                        [c] {
                            QString program, eeprom, config;
                            Pic12F683(*c).BlankCheckDevice(program, eeprom, config,
                                                           c->s.run.CodeProtectState);
                        },
                    .programDevice = [c] { Pic12F683(*c).ProgramDevice(); },
                    .verifyDevice = [c] { Pic12F683(*c).VerifyDevice(); },
                    .readDevice = [c] { Pic12F683(*c).ReadDevice(); },
                });
}

} // namespace tavrin::pic12
