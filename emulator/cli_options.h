// Command line of tavrin-board-emu.
#pragma once

#include "emulator/board.h"
#include "emulator/part_settings.h"

#include <optional>
#include <string>
#include <vector>

namespace emu {

struct CliOptions {
    std::string part = "PIC16F877A"; // "none": empty socket
    std::string link;                // symlink to the pty slave; empty: print the slave path only
    BoardOptions board;
    std::vector<PartSetting> settings;
    std::string load;
    std::string dump;
    std::string firmwareDump;
    std::string log;
    std::string lateness;   // at exit and on SIGUSR1: how late the board acted so far
    std::string violations; // with strict mode: the recorded violations at exit, one a line
    bool listParts = false;
    bool help = false;
};

std::optional<CliOptions> parseCli(const std::vector<std::string>& args, std::string* error);
std::string cliUsage();

} // namespace emu
