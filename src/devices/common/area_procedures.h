// The per-area procedures of a device module, called by the extended-programming window: one
// memory area erased, programmed or read instead of a whole operation. A module registers them
// under each exact device name it serves; a name with nothing registered has no such procedure,
// and the window says so instead of running anything.
#pragma once

#include <QString>

#include <functional>
#include <map>

namespace tavrin {

// Each procedure reports its own outcome (status, message boxes). The window holds the operation
// guard, disables the controls around the call and closes the port afterwards.
struct AreaProcedures {
    std::function<void()> eraseChip;
    std::function<void()> eraseProgramMemory;
    std::function<void()> eraseEepromMemory;
    std::function<void()> programEepromMemory;
    // Program memory with the ID and configuration words, the data EEPROM left alone.
    std::function<void()> programProgramMemoryAndConfig;
    // Program memory, then the ID and configuration words.
    std::function<void()> readProgramMemoryAndConfig;
    std::function<void()> readEepromMemory;
};

enum class Area {
    ChipErase,
    ProgramErase,
    EepromErase,
    EepromProgram,
    ProgramProgram,
    ProgramRead,
    EepromRead,
};

const std::function<void()>& areaProcedure(const AreaProcedures& p, Area area);

class AreaProcedureTable {
  public:
    void add(const QString& deviceName, AreaProcedures procedures);
    // nullptr when nothing is registered for the name and area.
    const std::function<void()>* find(const QString& deviceName, Area area) const;

  private:
    std::map<QString, AreaProcedures> byName_;
};

} // namespace tavrin
