#include "emulator/cli_options.h"

#include <charconv>

namespace emu {

namespace {

std::optional<long> parseCount(std::string_view s) {
    long v = 0;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (s.empty() || ec != std::errc() || end != s.data() + s.size() || v < 0) return std::nullopt;
    return v;
}

} // namespace

std::string cliUsage() {
    return "Usage: tavrin-board-emu [options]\n"
           "Plays the programmer board on a pseudo-terminal, with a simulated chip in its socket.\n"
           "\n"
           "  --part NAME         the chip in the socket (default PIC16F877A; 'none': empty)\n"
           "  --link PATH         make PATH a symlink to the pty (the pty path is printed anyway)\n"
           "  --id TEXT           identification: a board name ('QZ-WRT400A') or all 16 "
           "characters\n"
           "                      ('QZ-WRT400  V6.00'); default 'QZ-WRT400  V6.50'\n"
           "  --baud N            pace the line at N baud, 8N1, both ways (default 57600; 0: off)\n"
           "  --fault NAME[=ARG]  misbehave (repeatable; see below)\n"
           "  --set KEY=VALUE     chip detail: revision, device-id, config-zeros, calibration,\n"
           "                      bandgap\n"
           "  --load FILE         program the chip from Intel HEX before starting\n"
           "  --dump FILE         write the chip's memories as Intel HEX at exit (SIGTERM/SIGINT)\n"
           "  --updated-id TEXT   identification after a completed firmware update (as --id)\n"
           "  --firmware-dump FILE  write the words firmware updates wrote as Intel HEX at exit\n"
           "  --log FILE          log the bytes each way with times, and what the board did\n"
           "  --lateness FILE     at exit and on SIGUSR1, how late the board acted on what its\n"
           "                      line model had due so far (seconds behind, worst, count, and\n"
           "                      seconds the host was held up): a loaded machine's share\n"
           "  --idle-reset MS     silence inside a command that returns the board to idle\n"
           "                      (default 2000; 0: never)\n"
           "  --erase-ms MS       time of a bulk erase (default 10)\n"
           "  --write-us US       programming time of each word or block (default 0)\n"
           "  --strict            record the host's protocol violations; print them to stderr\n"
           "                      at exit\n"
           "  --violations FILE   strict mode, and write the violations to FILE at exit (empty\n"
           "                      file: none)\n"
           "  --list-parts        list the parts and exit\n"
           "\n"
           "Faults:\n" +
           std::string(faultHelp());
}

std::optional<CliOptions> parseCli(const std::vector<std::string>& args, std::string* error) {
    CliOptions o;
    auto fail = [error](std::string why) -> std::optional<CliOptions> {
        if (error) *error = std::move(why);
        return std::nullopt;
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&]() -> std::optional<std::string> {
            if (i + 1 >= args.size()) return std::nullopt;
            return args[++i];
        };
        auto need = [&](std::string& into) {
            auto v = value();
            if (!v) return false;
            into = *v;
            return true;
        };
        auto needCount = [&](long& into) {
            auto v = value();
            auto n = v ? parseCount(*v) : std::nullopt;
            if (!n) return false;
            into = *n;
            return true;
        };
        long n = 0;
        if (a == "--help" || a == "-h") {
            o.help = true;
        } else if (a == "--list-parts") {
            o.listParts = true;
        } else if (a == "--part") {
            if (!need(o.part)) return fail("--part needs a name");
        } else if (a == "--link") {
            if (!need(o.link)) return fail("--link needs a path");
        } else if (a == "--id") {
            std::string id;
            if (!need(id)) return fail("--id needs a text");
            o.board.identification = normalizeIdentification(id);
        } else if (a == "--baud") {
            if (!needCount(n)) return fail("--baud needs a number");
            o.board.baud = int(n);
        } else if (a == "--fault") {
            std::string spec, why;
            if (!need(spec)) return fail("--fault needs NAME[=ARG]");
            auto f = parseFault(spec, &why);
            if (!f) return fail("--fault " + spec + ": " + why);
            o.board.faults.add(*f);
        } else if (a == "--set") {
            std::string kv;
            if (!need(kv)) return fail("--set needs KEY=VALUE");
            const auto eq = kv.find('=');
            PartSetting s{kv.substr(0, eq), eq == std::string::npos ? "" : kv.substr(eq + 1)};
            if (!isKnownSetting(s.key)) return fail("--set: unknown key '" + s.key + "'");
            o.settings.push_back(std::move(s));
        } else if (a == "--load") {
            if (!need(o.load)) return fail("--load needs a file");
        } else if (a == "--dump") {
            if (!need(o.dump)) return fail("--dump needs a file");
        } else if (a == "--updated-id") {
            std::string id;
            if (!need(id)) return fail("--updated-id needs a text");
            o.board.updatedIdentification = normalizeIdentification(id);
        } else if (a == "--firmware-dump") {
            if (!need(o.firmwareDump)) return fail("--firmware-dump needs a file");
        } else if (a == "--log") {
            if (!need(o.log)) return fail("--log needs a file");
        } else if (a == "--lateness") {
            if (!need(o.lateness)) return fail("--lateness needs a file");
        } else if (a == "--strict") {
            o.board.strict = true;
        } else if (a == "--violations") {
            if (!need(o.violations)) return fail("--violations needs a file");
            o.board.strict = true;
        } else if (a == "--idle-reset") {
            if (!needCount(n)) return fail("--idle-reset needs milliseconds");
            o.board.idleReset = n * kMillisecond;
        } else if (a == "--erase-ms") {
            if (!needCount(n)) return fail("--erase-ms needs milliseconds");
            o.board.eraseTime = n * kMillisecond;
        } else if (a == "--write-us") {
            if (!needCount(n)) return fail("--write-us needs microseconds");
            o.board.itemWriteTime = n * kMicrosecond;
        } else {
            return fail("unknown option '" + a + "'");
        }
    }
    return o;
}

} // namespace emu
