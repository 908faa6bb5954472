// Which bytes start what. Idle handlers react to a byte that arrives while the board waits for a
// command ("?" identification, "N"/"n" power letter); command handlers are found by the letters
// that follow the power letter. Device-specific commands are added here beside the generic ones.
#pragma once

#include "emulator/task.h"

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace emu {

class Firmware;

using CommandHandler = std::function<Task<>(Firmware&)>;
using IdleHandler = std::function<Task<>(Firmware&, std::uint8_t)>;

class CommandTable {
  public:
    void add(std::string letters, CommandHandler handler);
    void addIdle(std::uint8_t byte, IdleHandler handler);

    const CommandHandler* find(std::string_view letters) const;
    // True when some command's letters begin with these.
    bool isPrefix(std::string_view letters) const;
    const IdleHandler* idle(std::uint8_t byte) const;
    std::vector<std::string> allLetters() const;

    // Commands that reach the board's own plug-in module instead of the chip in the socket.
    void routeToModule(std::string letters);
    bool addressesModule(std::string_view letters) const;

  private:
    std::map<std::string, CommandHandler, std::less<>> commands_;
    std::set<std::string, std::less<>> moduleCommands_;
    std::map<std::uint8_t, IdleHandler> idle_;
};

// The commands of the generic procedures for every programming type, and identification.
void addGenericCommands(CommandTable& table);
// The commands of the board's own module family (after the generic ones, whose handlers it reuses).
void addModuleCommands(CommandTable& table);

} // namespace emu
