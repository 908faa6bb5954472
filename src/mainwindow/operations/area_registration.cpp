#include "area_registration.h"

#include "operation_environment.h"

#include "core/session.h"
#include "devices/pic12/pic12f683.h"
#include "devices/pic16f87x/pic16f87x_modules.h"
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

    int familyCount = 0;
    const Pic16F87xVariant* family = pic16F87xVariants(&familyCount);
    for (int i = 0; i < familyCount; ++i) {
        const QString name = QString::fromLatin1(family[i].deviceName);
        // Each procedure gets the module of the name selected now.
        auto module = [&ctx, name] { return pic16F87xModuleFor(ctx, name); };
        AreaProcedures p;
        p.eraseChip = [module, &run] { module()->EraseChip(run.ChipEraseResult); };
        p.eraseProgramMemory = [module, &run] {
            QString copy = run.ProgramStepResult;
            module()->EraseProgramMemory(copy);
        };
        p.eraseEepromMemory = [module, &run] { module()->EraseEepromMemory(run.EepromStepResult); };
        p.programEepromMemory = [module] { module()->ProgramEepromMemory(); };
        p.programProgramMemoryAndConfig = [module] { module()->ProgramProgramMemoryAndConfig(); };
        p.readProgramMemoryAndConfig = [module, &run] {
            auto m = module();
            m->ReadProgramMemory(run.ProgramStepResult);
            m->ReadConfigWords(run.ConfigStepResult, run.CodeProtectState);
        };
        p.readEepromMemory = [module, &run] { module()->ReadEepromMemory(run.EepromStepResult); };
        env.areas.add(name, std::move(p));
    }

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
        // A failed write is not verified: its failure stays the last word.
        p.programEepromMemory = [&ctx, &run, v] {
            Pic18Module m(*v, ctx);
            m.WriteEepromMemory(run.EepromStepResult);
            if (run.EepromStepResult == result::OK) m.VerifyEepromMemory(run.EepromVerifyResult);
        };
        // The program run, told by the window to leave the data EEPROM alone.
        p.programProgramMemoryAndConfig = [&ctx, v] { Pic18Module(*v, ctx).ProgramDevice(); };
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
