#include "area_registration.h"

#include "operation_environment.h"

#include "core/session.h"
#include "devices/pic12/pic12f683.h"
#include "devices/pic18/pic18_module.h"
#include "devices/pic18/pic18_modules.h"
#include "devices/pic18/pic18_variant.h"

namespace tavrin {

void registerAreaProcedures(OperationEnvironment& env) {
    ModuleContext& ctx = env;
    RunState& run = env.s.run;

    using pic12::Pic12F683;
    AreaProcedures f683;
    f683.eraseChip = [&ctx, &run] { Pic12F683(ctx).EraseChip(run.ChipEraseResult); };
    // The program-memory erase reports through a copy: the program step's result stays.
    f683.eraseProgramMemory = [&ctx, &run] {
        QString copy = run.ProgramStepResult;
        Pic12F683(ctx).EraseProgramMemory(copy);
    };
    f683.eraseEepromMemory = [&ctx, &run] {
        Pic12F683(ctx).EraseEepromMemory(run.EepromStepResult);
    };
    f683.programEepromMemory = [&ctx] { Pic12F683(ctx).ProgramEepromMemory(); };
    f683.readProgramMemoryAndConfig = [&ctx, &run] {
        Pic12F683 m(ctx);
        m.ReadProgramMemory(run.ProgramStepResult);
        m.ReadConfigWords(run.ConfigStepResult, run.CodeProtectState);
    };
    f683.readEepromMemory = [&ctx, &run] { Pic12F683(ctx).ReadEepromMemory(run.EepromStepResult); };
    env.areas.add(QStringLiteral("PIC12F683"), std::move(f683));

    int count = 0;
    const Pic18Variant* const* variants = pic18Variants(count);
    for (int i = 0; i < count; ++i) {
        const Pic18Variant* v = variants[i];
        AreaProcedures p;
        p.eraseChip = [&ctx, &run, v] { Pic18Module(*v, ctx).EraseChip(run.ProgramStepResult); };
        p.eraseProgramMemory = [&ctx, &run, v] {
            Pic18Module(*v, ctx).EraseProgramMemory(run.ProgramStepResult);
        };
        p.eraseEepromMemory = [&ctx, &run, v] {
            Pic18Module(*v, ctx).EraseEepromMemory(run.EepromStepResult);
        };
        p.programEepromMemory = [&ctx, &run, v] {
            Pic18Module m(*v, ctx);
            m.WriteEepromMemory(run.EepromStepResult);
            m.VerifyEepromMemory(run.EepromVerifyResult);
        };
        // Program memory with the ID and configuration words; the data EEPROM is left alone.
        p.programProgramMemoryAndConfig = [&ctx, &run, v] {
            run.ProgramMemoryOnlyMode = true;
            run.IncludeConfigInPartial = true;
            Pic18Module(*v, ctx).ProgramDevice();
            run.ProgramMemoryOnlyMode = false;
            run.IncludeConfigInPartial = false;
        };
        p.readProgramMemoryAndConfig = [&ctx, &run, v] {
            Pic18Module m(*v, ctx);
            m.ReadProgramMemory(run.ProgramStepResult);
            m.ReadConfigWords(run.ConfigStepResult, run.CodeProtectState);
        };
        p.readEepromMemory = [&ctx, &run, v] {
            Pic18Module(*v, ctx).ReadEepromMemory(run.EepromStepResult);
        };
        env.areas.add(v->DeviceName, std::move(p));
    }
}

} // namespace tavrin
