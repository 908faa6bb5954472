// tavrin-board-emu: the programmer board on a pseudo-terminal, for the application, the tests and
// people. See emulator/README.md.
#include "emulator/board.h"
#include "emulator/chip_image.h"
#include "emulator/cli_options.h"
#include "emulator/pty_link.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>
#ifdef __linux__
#include <sys/prctl.h>
#endif

namespace {

volatile std::sig_atomic_t gStop = 0;
volatile std::sig_atomic_t gReportLateness = 0;

extern "C" void onStopSignal(int) {
    gStop = 1;
}

extern "C" void onReportSignal(int) {
    gReportLateness = 1;
}

// The lateness so far, put in place whole (written beside and renamed), so that a reader that
// waits for the file never sees half of it.
bool writeLateness(const std::string& path, const emu::PtyLink::Lateness& late) {
    const std::string partial = path + ".part";
    {
        std::ofstream out(partial, std::ios::trunc);
        out << "lateness_s=" << double(late.total) / double(emu::kSecond)
            << " worst_ms=" << double(late.worst) / 1e6 << " late_events=" << late.count
            << " host_held_up_s=" << double(late.hostHeldUp) / double(emu::kSecond) << "\n";
        if (!out) return false;
    }
    return std::rename(partial.c_str(), path.c_str()) == 0;
}

std::optional<std::string> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void listParts() {
    std::printf("%-12s %-9s %7s %7s\n", "part", "type", "words", "eeprom");
    for (const auto& p : emu::partCatalogue())
        std::printf("%-12.*s %-9.*s %7u %7u\n", int(p.name.size()), p.name.data(),
                    int(p.programType.size()), p.programType.data(), p.programWords, p.eepromBytes);
}

bool makeLink(const std::string& link, const std::string& target, std::string& error) {
    struct stat st {};
    if (::lstat(link.c_str(), &st) == 0) {
        if (!S_ISLNK(st.st_mode)) {
            error = link + " exists and is not a symlink";
            return false;
        }
        ::unlink(link.c_str());
    }
    if (::symlink(target.c_str(), link.c_str()) != 0) {
        error = "symlink " + link + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

void removeLink(const std::string& link, const std::string& target) {
    char buf[4096];
    const ssize_t n = ::readlink(link.c_str(), buf, sizeof buf - 1);
    if (n > 0 && std::string(buf, std::size_t(n)) == target) ::unlink(link.c_str());
}

// The words the boot loader received, for comparison with the firmware file that was sent.
bool writeFirmwareDump(const std::string& path, const emu::Board& board) {
    if (path.empty()) return true;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << emu::formatIntelHex(board.bootLoader().image().writtenImage());
    if (out) return true;
    std::cerr << "tavrin-board-emu: cannot write " << path << "\n";
    return false;
}

} // namespace

int main(int argc, char** argv) {
#ifdef __linux__
    // Pacing sleeps until each byte's time on the wire; the default 50 us timer slack would add
    // up over a round trip per word and make the emulated wire slower than the real one.
    prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
#endif
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string error;
    auto options = emu::parseCli(args, &error);
    if (!options) {
        std::cerr << "tavrin-board-emu: " << error << "\n\n" << emu::cliUsage();
        return 2;
    }
    if (options->help) {
        std::cout << emu::cliUsage();
        return 0;
    }
    if (options->listParts) {
        listParts();
        return 0;
    }

    std::optional<emu::PartFacts> facts;
    if (options->part != "none") {
        const auto* known = emu::findPart(options->part);
        if (!known) {
            std::cerr << "tavrin-board-emu: no part '" << options->part << "' (see --list-parts)\n";
            return 2;
        }
        facts = *known;
        for (const auto& s : options->settings)
            if (!emu::applyFactSetting(*facts, s, &error)) {
                std::cerr << "tavrin-board-emu: " << error << "\n";
                return 2;
            }
    }
    emu::Board board(facts ? &*facts : nullptr, options->board);
    for (const auto& s : options->settings)
        if (!emu::applyChipSetting(board.chip(), s, &error)) {
            std::cerr << "tavrin-board-emu: " << error << "\n";
            return 2;
        }
    if (!options->load.empty()) {
        const auto text = readFile(options->load);
        const auto image = text ? emu::parseIntelHex(*text, &error) : std::nullopt;
        if (!text) error = "cannot read " + options->load;
        if (!image || !emu::loadChipImage(board.chip(), *image, &error)) {
            std::cerr << "tavrin-board-emu: --load: " << error << "\n";
            return 2;
        }
    }

    std::FILE* log = nullptr;
    if (!options->log.empty()) {
        log = std::fopen(options->log.c_str(), "w");
        if (!log) {
            std::cerr << "tavrin-board-emu: cannot write " << options->log << "\n";
            return 2;
        }
        std::setvbuf(log, nullptr, _IOLBF, 0);
        board.transcript().setSink([log](std::string_view line) {
            std::fwrite(line.data(), 1, line.size(), log);
            std::fputc('\n', log);
        });
        board.transcript().note(0, "part " + options->part + ", identification '" +
                                       options->board.identification + "', " +
                                       std::to_string(options->board.baud) + " baud");
    }

    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGUSR1);
    sigprocmask(SIG_BLOCK, &stopSignals, nullptr);
    struct sigaction sa {};
    sa.sa_handler = onStopSignal;
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGINT, &sa, nullptr);
    // SIGUSR1 asks for the lateness so far (a benchmark reads it between operations); without
    // --lateness it is ignored rather than ending the board.
    sa.sa_handler = options->lateness.empty() ? SIG_IGN : onReportSignal;
    sigaction(SIGUSR1, &sa, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    auto link = emu::PtyLink::open(&error);
    if (!link) {
        std::cerr << "tavrin-board-emu: " << error << "\n";
        return 1;
    }
    if (!options->link.empty() && !makeLink(options->link, link->slavePath(), error)) {
        std::cerr << "tavrin-board-emu: " << error << "\n";
        return 1;
    }
    std::printf("%s\n", link->slavePath().c_str());
    std::fflush(stdout);

    link->run(board, gStop, &gReportLateness, [&] {
        if (!writeLateness(options->lateness, link->lateness()))
            std::cerr << "tavrin-board-emu: cannot write " << options->lateness << "\n";
    });

    int status = 0;
    if (!options->lateness.empty() && !writeLateness(options->lateness, link->lateness())) {
        std::cerr << "tavrin-board-emu: cannot write " << options->lateness << "\n";
        status = 1;
    }
    if (!options->dump.empty()) {
        std::ofstream out(options->dump, std::ios::binary | std::ios::trunc);
        out << emu::formatIntelHex(emu::chipImage(board.chip()));
        if (!out) {
            std::cerr << "tavrin-board-emu: cannot write " << options->dump << "\n";
            status = 1;
        }
    }
    if (options->board.strict) {
        const std::string found = board.violations().text();
        if (!found.empty()) std::cerr << "tavrin-board-emu: protocol violations:\n" << found;
        if (!options->violations.empty()) {
            std::ofstream out(options->violations, std::ios::binary | std::ios::trunc);
            out << found;
            if (!out) {
                std::cerr << "tavrin-board-emu: cannot write " << options->violations << "\n";
                status = 1;
            }
        }
    }
    if (!writeFirmwareDump(options->firmwareDump, board)) status = 1;
    if (!options->link.empty()) removeLink(options->link, link->slavePath());
    if (log) {
        const auto& st = board.stats();
        board.transcript().note(
            board.now(), "end: " + std::to_string(st.bytesToBoard) + " bytes to the board, " +
                             std::to_string(st.bytesToHost) + " bytes to the host");
        std::fclose(log);
    }
    return status;
}
