#include "emusupport/emulator_process.h"

#include "emusupport/strict_failure.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <spawn.h>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace tavrin::test {

namespace {
using Clock = std::chrono::steady_clock;

int msLeft(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? int(left) : 0;
}
} // namespace

EmulatorProcess::EmulatorProcess(std::vector<std::string> args, Strictness strictness)
    : args_(std::move(args)) {
    for (std::size_t i = 0; i + 1 < args_.size(); ++i) {
        if (args_[i] == "--link") link_ = args_[i + 1];
        if (args_[i] == "--dump") dump_ = args_[i + 1];
        if (args_[i] == "--lateness") lateness_ = args_[i + 1];
        if (args_[i] == "--violations") violationsFile_ = args_[i + 1];
    }
    if (strictness == Strictness::Strict && violationsFile_.empty()) {
        violationsFile_ = uniquePath("tavrin-violations");
        args_.insert(args_.end(), {"--violations", violationsFile_});
    }
}

std::optional<std::string> EmulatorProcess::dumpText() const {
    if (dump_.empty()) return std::nullopt;
    return readFile(dump_);
}

std::optional<std::string> EmulatorProcess::latenessSoFar(int timeoutMs) {
    if (lateness_.empty() || !running()) return std::nullopt;
    ::unlink(lateness_.c_str());
    ::kill(pid_, SIGUSR1);
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    // The emulator renames the finished file into place: once it is there, it is whole.
    while (::access(lateness_.c_str(), R_OK) != 0) {
        if (msLeft(deadline) == 0) return std::nullopt;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return readFile(lateness_);
}

EmulatorProcess::~EmulatorProcess() {
    if (running()) stop(2000);
    if (out_ >= 0) ::close(out_);
}

std::string EmulatorProcess::executable() {
    return TAVRIN_BOARD_EMU_PATH;
}

std::string EmulatorProcess::uniquePath(const std::string& stem) {
    static std::atomic<int> counter{0};
    const char* tmp = std::getenv("TMPDIR");
    return std::string(tmp && *tmp ? tmp : "/tmp") + "/" + stem + "-" + std::to_string(::getpid()) +
           "-" + std::to_string(counter++);
}

std::optional<std::string> EmulatorProcess::readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

bool EmulatorProcess::start(std::string* error, int timeoutMs) {
    auto fail = [&](std::string why) {
        if (error) *error = std::move(why);
        return false;
    };
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) return fail(std::strerror(errno));
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    std::vector<std::string> argv{executable()};
    argv.insert(argv.end(), args_.begin(), args_.end());
    std::vector<char*> cargv;
    for (auto& a : argv)
        cargv.push_back(a.data());
    cargv.push_back(nullptr);
    const int rc = posix_spawn(&pid_, cargv[0], &actions, nullptr, cargv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeFds[1]);
    out_ = pipeFds[0];
    if (rc != 0) {
        pid_ = -1;
        return fail(std::string("posix_spawn: ") + std::strerror(rc));
    }

    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    std::string line;
    while (line.find('\n') == std::string::npos) {
        pollfd p{out_, POLLIN, 0};
        if (::poll(&p, 1, msLeft(deadline)) <= 0) return fail("no pty path from the emulator");
        char buf[256];
        const ssize_t n = ::read(out_, buf, sizeof buf);
        if (n <= 0) return fail("the emulator ended before printing its pty path");
        line.append(buf, std::size_t(n));
    }
    ptyPath_ = line.substr(0, line.find('\n'));
    if (!link_.empty()) {
        struct stat st {};
        while (::lstat(link_.c_str(), &st) != 0) {
            if (msLeft(deadline) == 0) return fail("no link " + link_);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    return true;
}

int EmulatorProcess::stop(int timeoutMs) {
    if (!running()) return -1;
    ::kill(pid_, SIGTERM);
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    int status = 0;
    for (;;) {
        const pid_t r = ::waitpid(pid_, &status, WNOHANG);
        if (r == pid_) break;
        if (msLeft(deadline) == 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, &status, 0);
            pid_ = -1;
            // A killed board writes no record: the run it served went unchecked.
            if (!violationsFile_.empty()) {
                ::unlink(violationsFile_.c_str());
                failRunningTest("the board emulator did not stop within " +
                                std::to_string(timeoutMs) +
                                " ms and was killed: its protocol check was never written");
            }
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    pid_ = -1;
    if (!violationsFile_.empty()) {
        const std::optional<std::string> record = readFile(violationsFile_);
        ::unlink(violationsFile_.c_str());
        found_ = record.value_or("");
        if (!record)
            failRunningTest("the board emulator wrote no violations file (" + violationsFile_ +
                            "): its protocol check is missing");
        else if (!found_.empty() && !expecting_)
            failRunningTest("the board emulator recorded protocol violations:\n" + found_);
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace tavrin::test
