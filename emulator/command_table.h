// Which bytes start what. Idle handlers react to a byte that arrives while the board waits for a
// command ("?" identification, "N"/"n" power letter); command handlers are found by the letters
// that follow the power letter. Device-specific commands are added here beside the generic ones.
//
// Each command also says what it expects of the host (`CommandRules`): how the host acknowledges
// its flow-controlled reply, and when it continues the command before it (a PIC18 procedure sends
// its power letter once and starts the later commands with "X" alone). A strict board records
// every departure from that.
#pragma once

#include "emulator/task.h"

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace emu {

class Firmware;
struct PartFacts;

using CommandHandler = std::function<Task<>(Firmware&)>;
using IdleHandler = std::function<Task<>(Firmware&, std::uint8_t)>;

// A command as the board received it: its letters, whether it came after a power letter (or after
// "X" alone, in the mode of the last one), the argument values it read, in order, and the part
// it addressed (nullptr: none in that place).
struct CommandRecord {
    std::string letters;
    bool afterPowerLetter = false;
    std::vector<std::uint32_t> arguments;
    const PartFacts* part = nullptr;
    // It continued the command before it and still came after a power letter, as its
    // `mayRepeatPowerLetter` rule let it.
    bool powerLetterAgain = false;
};

enum class AckRule {
    // Exactly one "@" for every full block of the reply (it may come early, before the block has
    // left): the 12/14-bit host acknowledges each new multiple of 16 once.
    OnePerBlock,
    // One or more "@" for every full block, also before the first one, and leftovers after the
    // end code until the next command: the PIC18 host acknowledges at every poll.
    Repeated,
};

// True when `current` continues the procedure that `previous` belongs to. A command that
// continues must start with "X" alone; one that does not must start with the power letter.
using Continues = bool (*)(const CommandRecord& previous, const CommandRecord& current);
// True when `current`, after the commands `before` it since the last identification (oldest
// first, the last few), belongs to a procedure that allows something of it.
using Belongs = bool (*)(std::span<const CommandRecord> before, const CommandRecord& current);

struct CommandRules {
    AckRule acks = AckRule::OnePerBlock;
    Continues continues = nullptr; // nullptr: the command always starts a procedure
    // True when `current`, though it continues `previous`, may also begin again with the power
    // letter: some procedures send it once more before a later command of theirs. Such a
    // procedure sends it before each of its later commands, so a command that goes on with "X"
    // alone after one that had it again shows the letter was out of place.
    Continues mayRepeatPowerLetter = nullptr; // nullptr: never
    // True when the host may send "@" before the first block of the reply has reached it (an
    // AckRule::Repeated host that also acknowledges a count of 0). Otherwise an "@" the board
    // receives before its first full block has left, or one after a reply that had no full block,
    // acknowledges nothing.
    Belongs mayAckBeforeData = nullptr; // nullptr: never
};

struct Command {
    CommandHandler handler;
    CommandRules rules;
};

class CommandTable {
  public:
    void add(std::string letters, CommandHandler handler, CommandRules rules = {});
    void addIdle(std::uint8_t byte, IdleHandler handler);

    const Command* find(std::string_view letters) const;
    // True when some command's letters begin with these.
    bool isPrefix(std::string_view letters) const;
    const IdleHandler* idle(std::uint8_t byte) const;
    std::vector<std::string> allLetters() const;

    // Commands that reach the board's own plug-in module instead of the chip in the socket.
    void routeToModule(std::string letters);
    bool addressesModule(std::string_view letters) const;

  private:
    std::map<std::string, Command, std::less<>> commands_;
    std::set<std::string, std::less<>> moduleCommands_;
    std::map<std::uint8_t, IdleHandler> idle_;
};

// The commands of the generic procedures for every programming type, and identification.
void addGenericCommands(CommandTable& table);
// The commands of the board's own module family (after the generic ones, whose handlers it reuses).
void addModuleCommands(CommandTable& table);

} // namespace emu
