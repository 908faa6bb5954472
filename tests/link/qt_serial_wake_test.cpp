// The serial adapter on a pseudo-terminal wakes a wait for a count only once that many bytes are
// there, and still reports and hands over every byte that arrived.
#include "link/qt_serial_port.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

using namespace tavrin;

namespace {

class PtyPair {
  public:
    PtyPair() {
        master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) return;
        path_ = QString::fromLocal8Bit(::ptsname(master_));
    }
    ~PtyPair() {
        if (master_ >= 0) ::close(master_);
    }
    QString path() const { return path_; }
    void board(const QByteArray& bytes) const {
        ASSERT_EQ(::write(master_, bytes.constData(), size_t(bytes.size())), bytes.size());
    }

  private:
    int master_ = -1;
    QString path_;
};

TEST(QtSerialWake, AWaitForACountEndsWhenThatManyBytesAreThere) {
    static int argc = 1;
    static char name[] = "test_link";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) static QCoreApplication app(argc, argv);

    PtyPair pty;
    ASSERT_FALSE(pty.path().isEmpty());
    QtSerialPort port;
    port.setPortName(pty.path());
    ASSERT_TRUE(port.open().ok());

    pty.board("12345");
    EXPECT_FALSE(port.waitForTotal(10, 200)); // five of ten: no wake
    EXPECT_EQ(port.bytesWaiting(), 5);        // but nothing is hidden from a look
    pty.board("678");
    EXPECT_FALSE(port.waitForTotal(10, 200));
    pty.board("90");
    EXPECT_TRUE(port.waitForTotal(10, 2000));
    EXPECT_EQ(port.readAll(), QByteArray("1234567890"));

    // A wait for one more byte wakes on the next byte as before.
    pty.board("A");
    EXPECT_TRUE(port.waitForData(2000));
    EXPECT_EQ(port.readAll(), QByteArray("A"));
    port.close();
}

} // namespace
