#include "full_disk.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

namespace tavrin::test {

namespace {
constexpr int kUnavailable = 77;

bool writeProcFile(const char* path, const std::string& text) {
    const int fd = ::open(path, O_WRONLY);
    if (fd < 0) return false;
    const bool ok = ::write(fd, text.data(), text.size()) == ssize_t(text.size());
    ::close(fd);
    return ok;
}

// Root gets a mount namespace directly; anyone else through a user namespace of their own.
bool enterPrivateMounts() {
    if (::getuid() == 0 && ::unshare(CLONE_NEWNS) == 0) return true;
    const uid_t uid = ::getuid();
    const gid_t gid = ::getgid();
    if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) return false;
    writeProcFile("/proc/self/setgroups", "deny");
    return writeProcFile("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1") &&
           writeProcFile("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1");
}

void fill(const QString& dir) {
    QFile filler(QDir(dir).filePath(QStringLiteral("filler")));
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return;
    const QByteArray block(512, '\0');
    while (filler.write(block) == block.size()) {
    }
    // The last partial block: one byte at a time until nothing more fits.
    while (filler.write("x", 1) == 1) {
    }
}
} // namespace

FullDiskRun runOnFullDisk(const std::function<void(const QString& dir)>& prepare,
                          const std::function<std::string(const QString& dir)>& act) {
    QTemporaryDir mountPoint;
    int pipeFds[2];
    if (!mountPoint.isValid() || ::pipe(pipeFds) != 0) return {};
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child < 0) return {};
    if (child == 0) {
        ::close(pipeFds[0]);
        const QByteArray where = QFile::encodeName(mountPoint.path());
        if (!enterPrivateMounts() ||
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount("tmpfs", where.constData(), "tmpfs", 0, "size=64k") != 0)
            ::_exit(kUnavailable);
        prepare(mountPoint.path());
        fill(mountPoint.path());
        const std::string failure = act(mountPoint.path());
        if (::write(pipeFds[1], failure.data(), failure.size()) < 0) ::_exit(2);
        ::_exit(failure.empty() ? 0 : 1);
    }
    ::close(pipeFds[1]);
    std::string failure;
    char buffer[512];
    for (ssize_t n; (n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0;)
        failure.append(buffer, std::size_t(n));
    ::close(pipeFds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    FullDiskRun run;
    run.available = !(WIFEXITED(status) && WEXITSTATUS(status) == kUnavailable);
    run.failure = failure;
    if (run.available && failure.empty() && !(WIFEXITED(status) && WEXITSTATUS(status) == 0))
        run.failure = "the child ended abnormally";
    return run;
}

} // namespace tavrin::test
