#include "area_procedures.h"

namespace tavrin {

const std::function<void()>& areaProcedure(const AreaProcedures& p, Area area) {
    switch (area) {
    case Area::ChipErase:
        return p.eraseChip;
    case Area::ProgramErase:
        return p.eraseProgramMemory;
    case Area::EepromErase:
        return p.eraseEepromMemory;
    case Area::EepromProgram:
        return p.programEepromMemory;
    case Area::ProgramProgram:
        return p.programProgramMemoryAndConfig;
    case Area::ProgramRead:
        return p.readProgramMemoryAndConfig;
    case Area::EepromRead:
        break;
    }
    return p.readEepromMemory;
}

void AreaProcedureTable::add(const QString& deviceName, AreaProcedures procedures) {
    byName_[deviceName] = std::move(procedures);
}

const std::function<void()>* AreaProcedureTable::find(const QString& deviceName, Area area) const {
    auto it = byName_.find(deviceName);
    if (it == byName_.end()) return nullptr;
    const auto& f = areaProcedure(it->second, area);
    return f ? &f : nullptr;
}

} // namespace tavrin
