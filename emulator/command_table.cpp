#include "emulator/command_table.h"

namespace emu {

void CommandTable::add(std::string letters, CommandHandler handler, CommandRules rules) {
    commands_[std::move(letters)] = {std::move(handler), rules};
}

void CommandTable::addIdle(std::uint8_t byte, IdleHandler handler) {
    idle_[byte] = std::move(handler);
}

const Command* CommandTable::find(std::string_view letters) const {
    auto it = commands_.find(letters);
    return it == commands_.end() ? nullptr : &it->second;
}

bool CommandTable::isPrefix(std::string_view letters) const {
    auto it = commands_.lower_bound(letters);
    return it != commands_.end() &&
           std::string_view(it->first).substr(0, letters.size()) == letters;
}

const IdleHandler* CommandTable::idle(std::uint8_t byte) const {
    auto it = idle_.find(byte);
    return it == idle_.end() ? nullptr : &it->second;
}

std::vector<std::string> CommandTable::allLetters() const {
    std::vector<std::string> out;
    for (const auto& [letters, _] : commands_)
        out.push_back(letters);
    return out;
}

void CommandTable::routeToModule(std::string letters) {
    moduleCommands_.insert(std::move(letters));
}

bool CommandTable::addressesModule(std::string_view letters) const {
    return moduleCommands_.find(letters) != moduleCommands_.end();
}

} // namespace emu
