#include "core/clock.h"
#include "core/session.h"
#include "link/board_link.h"
#include "link/qt_serial_port.h"
#include "pty_board.h"
#include "support/recording_ui.h"

#include <QCoreApplication>

#include <chrono>
#include <thread>

#include <gtest/gtest.h>

using namespace tavrin;
using namespace tavrin::test;

namespace {

class RealPort : public ::testing::Test {
  protected:
    // QSerialPort watches its descriptor through the application's event dispatcher.
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "test_link";
        static char* argv[] = {name, nullptr};
        if (!QCoreApplication::instance()) static QCoreApplication app(argc, argv);
    }
    RealPort() { session.link.ComPortName = board.path(); }
    PtyBoard board{QByteArrayLiteral("QZ-WRT400 V 6.50\r\n")};
    Session session;
    RecordingUi ui;
    SteadyClock clock;
    QtSerialPort port;
    BoardLink link{session, ui, port, clock};
};

} // namespace

TEST_F(RealPort, DetectsAndChecksTheBoardOverAPty) {
    ASSERT_TRUE(board.ok());
    link.DetectProgrammer();
    EXPECT_TRUE(session.link.ProgrammerDetected);
    EXPECT_EQ(session.link.FirmwareId, QStringLiteral("QZ-WRT400 V 6.50"));
    link.ClosePort();
    EXPECT_FALSE(port.isOpen());
    QString result;
    link.CheckProgrammer(result);
    EXPECT_EQ(result, QStringLiteral("OK"));
    link.ClosePort();
}

TEST_F(RealPort, APortHeldByAnotherProgramIsInUse) {
    QtSerialPort other;
    other.setPortName(board.path());
    ASSERT_TRUE(other.open().ok());
    port.setPortName(board.path());
    EXPECT_EQ(port.open().error, PortError::InUse);
}

TEST_F(RealPort, AMissingDeviceIsNotFound) {
    port.setPortName(QStringLiteral("/dev/tavrin-no-such-port"));
    EXPECT_EQ(port.open().error, PortError::NotFound);
}

TEST_F(RealPort, UnpluggedAdapterEndsTheCheckWithAMessage) {
    ASSERT_TRUE(board.ok());
    link.DetectProgrammer();
    ASSERT_TRUE(session.link.ProgrammerDetected);
    board.unplug();
    QString result;
    link.CheckProgrammer(result);
    EXPECT_EQ(result, QStringLiteral("NG"));
    EXPECT_FALSE(port.isOpen());
    EXPECT_FALSE(session.link.ProgrammerDetected);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_TRUE(ui.statusText.contains(QStringLiteral("との接続が切れました。")))
        << ui.statusHistory.join(QLatin1Char('|')).toStdString();
}

// The window lets its events run between waits, and the port's own watcher then takes arrived
// bytes from the driver. A wait that follows must count them as arrived, not wait for more.
TEST_F(RealPort, BytesTheEventLoopTookCountAsArrived) {
    ASSERT_TRUE(board.ok());
    port.setPortName(board.path());
    ASSERT_TRUE(port.open().ok());
    EXPECT_EQ(port.bytesWaiting(), 0);
    ASSERT_TRUE(port.write(QByteArrayLiteral("?")));
    for (int round = 0; round < 200; ++round) {
        QCoreApplication::processEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_TRUE(port.waitForData(2000));
    EXPECT_EQ(port.bytesWaiting(), 18);
    EXPECT_FALSE(port.waitForData(0));
    port.close();
}

// A wait for a long reply may sleep through the reply's line time before it looks: the reply is
// still taken whole, and a wait for more than comes still ends when its time is up.
TEST_F(RealPort, AWaitForALongReplyTakesItWholeAndEndsInItsTime) {
    ASSERT_TRUE(board.ok());
    port.setPortName(board.path());
    ASSERT_TRUE(port.open().ok());
    ASSERT_TRUE(port.write(QByteArrayLiteral("?")));
    for (int round = 0; round < 100 && port.bytesWaiting() < 18; ++round)
        port.waitForTotal(18, 20);
    EXPECT_EQ(port.bytesWaiting(), 18);
    EXPECT_FALSE(port.waitForTotal(18 + 200, 30));
    EXPECT_EQ(port.bytesWaiting(), 18);
    EXPECT_EQ(port.readAll(), QByteArrayLiteral("QZ-WRT400 V 6.50\r\n"));
    port.close();
}
