// The emulator as a separate process on a pty: reached through the QSerialPort adapter of the
// application, across the close and reopen that follows every operation, and by plain POSIX I/O.
#include "emusupport/emulator_process.h"
#include "link/qt_serial_port.h"

#include <QElapsedTimer>

#include <cstdio>

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

using tavrin::test::EmulatorProcess;

namespace {

QByteArray identify(tavrin::QtSerialPort& port) {
    port.discardInput();
    port.write("?");
    QElapsedTimer t;
    t.start();
    while (port.bytesWaiting() < 18 && t.elapsed() < 3000)
        port.waitForData(int(3000 - t.elapsed()));
    return port.readAll();
}

// Plain POSIX: write, then read until n bytes or 3 s.
std::string transact(const std::string& path, const std::string& out, std::size_t n) {
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY);
    if (fd < 0) return "open failed";
    termios tio{};
    ::tcgetattr(fd, &tio);
    ::cfmakeraw(&tio);
    ::tcsetattr(fd, TCSANOW, &tio);
    ::tcflush(fd, TCIOFLUSH);
    if (::write(fd, out.data(), out.size()) != ssize_t(out.size())) return "write failed";
    std::string in;
    for (int waited = 0; in.size() < n && waited < 3000; waited += 10) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 10) > 0) {
            char buf[256];
            const ssize_t r = ::read(fd, buf, sizeof buf);
            if (r > 0) in.append(buf, std::size_t(r));
        }
    }
    ::close(fd);
    return in;
}

} // namespace

TEST(PtyEmulator, QtSerialPortIdentifiesTheBoardAcrossReopen) {
    EmulatorProcess emu({"--part", "PIC16F877A", "--id", "QZ-WRT400A"});
    std::string error;
    ASSERT_TRUE(emu.start(&error)) << error;

    tavrin::QtSerialPort port;
    port.setPortName(QString::fromStdString(emu.portPath()));
    for (int round = 0; round < 3; ++round) {
        ASSERT_TRUE(port.open().ok()) << port.status().detail.toStdString();
        port.setRequestToSend(true); // no modem lines on a pty: harmless
        EXPECT_EQ(identify(port), QByteArray("QZ-WRT400A V6.50\r\n")) << "round " << round;
        port.close();
    }
    EXPECT_EQ(emu.stop(), 0);
}

TEST(PtyEmulator, AnswersQuestionMarkOnItsLinkAndRemovesTheLinkAtExit) {
    const auto link = EmulatorProcess::uniquePath("tavrin-board");
    EmulatorProcess emu({"--part", "PIC16F877A", "--link", link});
    std::string error;
    ASSERT_TRUE(emu.start(&error)) << error;
    EXPECT_EQ(transact(link, "?", 18), "QZ-WRT400  V6.50\r\n");
    EXPECT_EQ(emu.stop(), 0);
    struct stat st {};
    EXPECT_NE(::lstat(link.c_str(), &st), 0);
}

TEST(PtyEmulator, PrintsThePtyPathWithoutALink) {
    EmulatorProcess emu({"--part", "PIC16F84A", "--baud", "0"});
    std::string error;
    ASSERT_TRUE(emu.start(&error)) << error;
    EXPECT_EQ(emu.ptyPath().rfind("/dev/pts/", 0), 0u) << emu.ptyPath();
    EXPECT_EQ(transact(emu.ptyPath(), "***?", 18), "QZ-WRT400  V6.50\r\n");
}

// The lateness is there whenever it is asked for, and keeps running on after the asking: the
// board still answers, and the figures never go down.
TEST(PtyEmulator, ReportsItsLatenessOnRequestAndAtExit) {
    const auto file = EmulatorProcess::uniquePath("tavrin-lateness");
    EmulatorProcess emu({"--part", "PIC16F84A", "--lateness", file});
    std::string error;
    ASSERT_TRUE(emu.start(&error)) << error;
    auto seconds = [](const std::optional<std::string>& line) {
        EXPECT_TRUE(line.has_value());
        double s = -1, worst = -1, heldUp = -1;
        unsigned long long count = 0;
        if (line) {
            EXPECT_EQ(std::sscanf(line->c_str(),
                                  "lateness_s=%lf worst_ms=%lf late_events=%llu host_held_up_s=%lf",
                                  &s, &worst, &count, &heldUp),
                      4)
                << *line;
            EXPECT_EQ(line->back(), '\n');
            EXPECT_GE(heldUp, 0);
        }
        return s;
    };
    const double before = seconds(emu.latenessSoFar());
    EXPECT_GE(before, 0);
    EXPECT_EQ(transact(emu.ptyPath(), "?", 18), "QZ-WRT400  V6.50\r\n");
    const double after = seconds(emu.latenessSoFar());
    EXPECT_GE(after, before);
    EXPECT_EQ(emu.stop(), 0);
    EXPECT_GE(seconds(EmulatorProcess::readFile(file)), after);
    std::remove(file.c_str());
}
