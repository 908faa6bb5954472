// The commands of the board's own plug-in module (a PIC16F877 or a PIC16F877A on a module of the
// board, device names "QZ-WRT400" and "QZ-WRT400A"). They reach the module's slot, never the chip
// in the socket: the family letter "8", the module erase letter "D", and the two write letters
// of the PIC16F877A module, "w7e" (program memory) and "w6c" (IDs and configuration). The module
// chip behaves like any 14-bit flash chip of the catalogue, so the exchanges are those of the
// generic commands with the same shape.
#include "emulator/command_table.h"

#include <stdexcept>
#include <string>

namespace emu {

namespace {

void alias(CommandTable& t, const std::string& letters, const char* sameAs) {
    const Command* command = t.find(sameAs);
    if (!command) throw std::logic_error(std::string("no command ") + sameAs + " to reuse");
    t.add(letters, command->handler, command->rules);
}

} // namespace

void addModuleCommands(CommandTable& t) {
    alias(t, "w7e", "w84"); // program memory of the PIC16F877A module
    alias(t, "w6c", "w8c"); // its IDs and configuration word
    for (const char* letters : {"b8", "r8p", "r8c", "r8d", "w84", "w7e", "w8c", "w6c", "w8d", "bD"})
        t.routeToModule(letters);
}

} // namespace emu
