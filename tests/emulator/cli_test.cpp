// tavrin-board-emu's command line and what it leaves behind: options, the log, the dump of a chip
// programmed over the pty, faults from the command line.
#include "emulator/chip_image.h"
#include "emulator/cli_options.h"
#include "emusupport/emulator_process.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

using tavrin::test::EmulatorProcess;

namespace {

// A raw connection to the pty, as a host would hold it.
class RawPort {
  public:
    explicit RawPort(const std::string& path) : fd_(::open(path.c_str(), O_RDWR | O_NOCTTY)) {
        termios tio{};
        ::tcgetattr(fd_, &tio);
        ::cfmakeraw(&tio);
        ::tcsetattr(fd_, TCSANOW, &tio);
    }
    ~RawPort() {
        if (fd_ >= 0) ::close(fd_);
    }
    bool ok() const { return fd_ >= 0; }
    void send(const std::string& b) {
        EXPECT_EQ(::write(fd_, b.data(), b.size()), ssize_t(b.size()));
    }
    // Reads until n bytes or ms of silence.
    std::string receive(std::size_t n, int ms = 2000) {
        std::string in;
        while (in.size() < n) {
            pollfd p{fd_, POLLIN, 0};
            if (::poll(&p, 1, ms) <= 0) break;
            char buf[512];
            const ssize_t r = ::read(fd_, buf, sizeof buf);
            if (r <= 0) break;
            in.append(buf, std::size_t(r));
        }
        return in;
    }

  private:
    int fd_;
};

std::optional<emu::CliOptions> parse(std::vector<std::string> args, std::string* error = nullptr) {
    return emu::parseCli(args, error);
}

} // namespace

TEST(CliOptions, ReadsEveryOption) {
    std::string error;
    auto o = parse({"--part",       "PIC12F675",   "--link",     "/tmp/x",    "--id",
                    "QZ-WRT400A",   "--baud",      "0",          "--fault",   "stall=15@rsc",
                    "--fault",      "old-version", "--set",      "bandgap=1", "--load",
                    "in.hex",       "--dump",      "out.hex",    "--log",     "board.log",
                    "--idle-reset", "0",           "--erase-ms", "30",        "--write-us",
                    "4000"},
                   &error);
    ASSERT_TRUE(o) << error;
    EXPECT_EQ(o->part, "PIC12F675");
    EXPECT_EQ(o->link, "/tmp/x");
    EXPECT_EQ(o->board.identification, "QZ-WRT400A V6.50");
    EXPECT_EQ(o->board.baud, 0);
    EXPECT_EQ(o->board.faults.all().size(), 2u);
    ASSERT_EQ(o->settings.size(), 1u);
    EXPECT_EQ(o->settings[0].key, "bandgap");
    EXPECT_EQ(o->load, "in.hex");
    EXPECT_EQ(o->dump, "out.hex");
    EXPECT_EQ(o->log, "board.log");
    EXPECT_EQ(o->board.idleReset, 0);
    EXPECT_EQ(o->board.eraseTime, 30 * emu::kMillisecond);
    EXPECT_EQ(o->board.itemWriteTime, 4 * emu::kMillisecond);
}

TEST(CliOptions, RefusesWhatItDoesNotKnow) {
    for (std::vector<std::string> bad : {std::vector<std::string>{"--baud"},
                                         {"--baud", "fast"},
                                         {"--fault", "nonsense"},
                                         {"--set", "colour=blue"},
                                         {"--frobnicate"},
                                         {"--part"}}) {
        std::string error;
        EXPECT_FALSE(parse(bad, &error)) << bad[0];
        EXPECT_FALSE(error.empty());
    }
}

TEST(CliRun, UnknownPartOrBadOptionEndsWithStatus2) {
    for (const char* args : {"--part PIC99X", "--fault nonsense"}) {
        const std::string command = EmulatorProcess::executable() + " " + args + " >/dev/null 2>&1";
        const int status = std::system(command.c_str());
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 2) << args;
    }
}

TEST(CliRun, ProgramOverThePtyThenDumpAtSigterm) {
    const auto dump = EmulatorProcess::uniquePath("tavrin-dump") + ".hex";
    const auto log = EmulatorProcess::uniquePath("tavrin-log") + ".txt";
    EmulatorProcess emu({"--part", "PIC16F84A", "--baud", "0", "--dump", dump, "--log", log});
    std::string error;
    ASSERT_TRUE(emu.start(&error)) << error;
    {
        RawPort port(emu.portPath());
        ASSERT_TRUE(port.ok());
        port.send("Nwef");
        port.send(std::string("\x00\x02", 2));
        EXPECT_EQ(port.receive(1), "R");
        port.send("\x28\x05");
        EXPECT_EQ(port.receive(1), "R");
        port.send("\x30\x55");
        EXPECT_EQ(port.receive(1), "@");
    }
    EXPECT_EQ(emu.stop(), 0);
    const auto text = emu.dumpText();
    ASSERT_TRUE(text);
    const auto image = emu::parseIntelHex(*text);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->at(0), 0x05);
    EXPECT_EQ(image->at(1), 0x28);
    EXPECT_EQ(image->at(3), 0x30);
    const auto logText = EmulatorProcess::readFile(log).value_or("");
    EXPECT_NE(logText.find("command N wef"), std::string::npos) << logText;
    EXPECT_NE(logText.find("H>B  4E 77 65 66"), std::string::npos) << logText;
    EXPECT_NE(logText.find("B>H  40"), std::string::npos) << logText;
    EXPECT_NE(logText.find("bytes to the board"), std::string::npos) << logText;
    std::remove(dump.c_str());
    std::remove(log.c_str());
}

TEST(CliRun, FaultsAndIdentificationFromTheCommandLine) {
    EmulatorProcess emu(
        {"--part", "none", "--baud", "0", "--id", "QZ-WRT400  V5.10", "--fault", "extra=1@?"});
    std::string error;
    ASSERT_TRUE(emu.start(&error)) << error;
    RawPort port(emu.portPath());
    port.send("?");
    EXPECT_EQ(port.receive(19, 500), std::string("QZ-WRT400  V5.10\r\n\0", 19));
}
