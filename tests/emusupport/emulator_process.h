// tavrin-board-emu as a child process on a pty, for tests of the real serial path: starts it,
// learns the pty path from its first output line (and waits for the --link symlink when one is
// asked for), stops it with SIGTERM and reads back its --dump file.
//
// The emulator runs strict (--violations into a file of its own) unless Lenient is asked for:
// stop() fails the running test when the board recorded any protocol violation.
#pragma once

#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace tavrin::test {

class EmulatorProcess {
  public:
    enum class Strictness { Strict, Lenient };
    // Arguments after the program name, e.g. {"--part", "PIC16F877A", "--baud", "0"}.
    explicit EmulatorProcess(std::vector<std::string> args,
                             Strictness strictness = Strictness::Strict);
    ~EmulatorProcess();
    EmulatorProcess(const EmulatorProcess&) = delete;
    EmulatorProcess& operator=(const EmulatorProcess&) = delete;

    // Starts the emulator and waits at most timeoutMs until its pty is ready.
    bool start(std::string* error = nullptr, int timeoutMs = 5000);
    // SIGTERM, then waits for the exit (SIGKILL after timeoutMs). Returns the exit code, or -1
    // when it did not exit by itself. A strict board's violations fail the running test, unless
    // the test said it expects them.
    int stop(int timeoutMs = 5000);
    // The test checks the violations itself: after stop(), violations() holds them, one a line.
    void expectViolations() { expecting_ = true; }
    const std::string& violations() const { return found_; }
    bool running() const { return pid_ > 0; }

    // The pty slave the emulator printed, and the path to open: the --link if given, else that.
    const std::string& ptyPath() const { return ptyPath_; }
    std::string portPath() const { return link_.empty() ? ptyPath_ : link_; }

    // The --dump file, after stop(); nullopt without --dump or when it was not written.
    std::optional<std::string> dumpText() const;
    // The --lateness line so far, asked of the running emulator (SIGUSR1); nullopt without
    // --lateness or when it did not come within timeoutMs.
    std::optional<std::string> latenessSoFar(int timeoutMs = 2000);

    static std::string executable();
    // A fresh path under the temporary folder, unique to this process and call.
    static std::string uniquePath(const std::string& stem);
    static std::optional<std::string> readFile(const std::string& path);

  private:
    std::vector<std::string> args_;
    std::string link_;
    std::string dump_;
    std::string lateness_;
    std::string violationsFile_; // the strict board's record; empty when lenient
    std::string found_;
    bool expecting_ = false;
    std::string ptyPath_;
    pid_t pid_ = -1;
    int out_ = -1;
};

} // namespace tavrin::test
