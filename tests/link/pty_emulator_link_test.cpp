// The board link over the real serial adapter, against the emulator running as its own process
// on a pty, in real time.
#include "core/clock.h"
#include "core/session.h"
#include "emusupport/emulator_process.h"
#include "link/board_link.h"
#include "link/qt_serial_port.h"
#include "support/recording_ui.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

using namespace tavrin;
using namespace tavrin::test;

namespace {

class PtyEmulatorLink : public ::testing::Test {
  protected:
    // QSerialPort watches its descriptor through the application's event dispatcher.
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "test_link";
        static char* argv[] = {name, nullptr};
        if (!QCoreApplication::instance()) static QCoreApplication app(argc, argv);
    }

    void startEmulator(std::vector<std::string> args) {
        emulator = std::make_unique<EmulatorProcess>(std::move(args));
        std::string error;
        ASSERT_TRUE(emulator->start(&error)) << error;
        session.link.ComPortName = QString::fromStdString(emulator->portPath());
    }

    std::unique_ptr<EmulatorProcess> emulator;
    Session session;
    RecordingUi ui;
    SteadyClock clock;
    QtSerialPort port;
    BoardLink link{session, ui, port, clock};
};

} // namespace

TEST_F(PtyEmulatorLink, DetectsAndReidentifiesTheBoardAcrossOperations) {
    startEmulator({"--part", "PIC16F877A", "--id", "QZ-WRT400A"});
    link.DetectProgrammer();
    link.ClosePort();
    EXPECT_TRUE(session.link.ProgrammerDetected);
    EXPECT_EQ(session.link.FirmwareId, QStringLiteral("QZ-WRT400A V6.50"));
    EXPECT_EQ(ui.texts[Control::Label_FirmwareVersion],
              session.link.ComPortName + QStringLiteral(" : QZ-WRT400A V6.50"));
    for (int operation = 0; operation < 2; ++operation) {
        QString result;
        link.CheckProgrammer(result);
        EXPECT_EQ(result, QStringLiteral("OK")) << "operation " << operation;
        link.ClosePort();
        EXPECT_FALSE(port.isOpen());
    }
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(emulator->stop(), 0);
}

TEST_F(PtyEmulatorLink, OldFirmwareAsksForTheUpdate) {
    startEmulator({"--part", "PIC16F877A", "--fault", "old-version=6.49"});
    ui.answers = {MessageAnswer::Cancel};
    link.DetectProgrammer();
    link.ClosePort();
    EXPECT_TRUE(session.link.ProgrammerDetected);
    EXPECT_FLOAT_EQ(session.link.FirmwareVersion, 6.49f);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].title, QStringLiteral("ファームウエアのアップデーが必要です。"));
}

TEST_F(PtyEmulatorLink, EmulatorGoneBeforeTheCheckIsReported) {
    startEmulator({"--part", "PIC16F877A"});
    link.DetectProgrammer();
    ASSERT_TRUE(session.link.ProgrammerDetected);
    emulator->stop();
    QString result;
    link.CheckProgrammer(result);
    link.ClosePort();
    EXPECT_EQ(result, QStringLiteral("NG"));
    EXPECT_FALSE(port.isOpen());
    EXPECT_FALSE(session.link.ProgrammerDetected);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_TRUE(ui.messages[0].text.contains(QStringLiteral("との接続が切れました。")));
}
