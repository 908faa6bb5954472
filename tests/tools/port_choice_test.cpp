#include "core/session.h"
#include "core/settings_store.h"
#include "emulator/faults.h"
#include "emusupport/emulated_board.h"
#include "link/board_link.h"
#include "support/recording_ui.h"
#include "tools/logic/port_choice.h"

#include <gtest/gtest.h>

using namespace tavrin;
using namespace tavrin::test;

namespace {

const QString kFailureText = QStringLiteral(
    "\u3000\u3000/dev/ttyS9\u3000オープンに失敗しました。\u3000\u3000\u3000\u3000\u3000"
    "\r\r\u3000\u3000他のポート番号を指定してください。\u3000\u3000\u3000\u3000\u3000");

class PortChoiceTest : public ::testing::Test {
  protected:
    bool statusShown(const QString& text) const {
        return ui.statusHistory.contains(text + QLatin1Char(' '));
    }

    Session s;
    RecordingUi ui;
    MemorySettingsStore settings;
    EmulatedBoard bench{"PIC16F877A"};
    EmulatedPort& port = bench.port;
    BoardLink link{s, ui, port, bench.clock};
    PortChoice choice{s, ui, settings, link};
};

} // namespace

TEST_F(PortChoiceTest, LoadOffersThePortInUseElseTheSavedOne) {
    ui.statusText = QStringLiteral("old");
    EXPECT_EQ(choice.load(), QString());
    EXPECT_EQ(ui.statusText, QStringLiteral(" ")); // cleared: empty text, blank, empty detail

    settings.setValue(QStringLiteral("ComNo"), QStringLiteral("/dev/ttyUSB1"));
    EXPECT_EQ(choice.load(), QStringLiteral("/dev/ttyUSB1"));
    s.link.ComPortName = QStringLiteral("/run/user/0/tavrin-board");
    EXPECT_EQ(choice.load(), QStringLiteral("/run/user/0/tavrin-board"));
}

TEST_F(PortChoiceTest, AChosenPortIsKeptAndTheBoardLookedForOnIt) {
    EXPECT_EQ(choice.choose(QStringLiteral(" /dev/pts/7 ")), PortChoice::Outcome::Chosen);
    EXPECT_EQ(s.link.ComPortName, QStringLiteral("/dev/pts/7"));
    EXPECT_EQ(settings.value(QStringLiteral("ComNo"), QString()), QStringLiteral("/dev/pts/7"));
    EXPECT_TRUE(statusShown(QStringLiteral("/dev/pts/7を選択しました。")));
    EXPECT_TRUE(s.link.ProgrammerDetected);
    EXPECT_EQ(ui.texts[Control::Label_FirmwareVersion],
              QStringLiteral("/dev/pts/7 : QZ-WRT400  V6.50"));
    EXPECT_EQ(port.portName(), QStringLiteral("/dev/pts/7"));
    EXPECT_FALSE(port.isOpen());
    EXPECT_FALSE(ui.busy);
    EXPECT_TRUE(ui.messages.empty());
    choice.cancel(); // a port is chosen: leaving says nothing
    EXPECT_FALSE(statusShown(QStringLiteral("通信ポートを選択しませんでした。")));
}

TEST(PortChoiceSilentBoard, APortWithoutABoardIsStillKept) {
    Session s;
    RecordingUi ui;
    MemorySettingsStore settings;
    emu::BoardOptions options;
    options.faults.add(*emu::parseFault("silent"));
    EmulatedBoard bench("PIC16F877A", options);
    BoardLink link(s, ui, bench.port, bench.clock);
    PortChoice choice(s, ui, settings, link);
    EXPECT_EQ(choice.choose(QStringLiteral("/dev/ttyUSB0")), PortChoice::Outcome::Chosen);
    EXPECT_EQ(settings.value(QStringLiteral("ComNo"), QString()), QStringLiteral("/dev/ttyUSB0"));
    EXPECT_FALSE(s.link.ProgrammerDetected);
    EXPECT_EQ(ui.texts[Control::Label_FirmwareVersion],
              QStringLiteral("/dev/ttyUSB0 : ライター未接続"));
    EXPECT_FALSE(bench.port.isOpen());
}

TEST_F(PortChoiceTest, APortThatDoesNotOpenIsReportedAndNothingKept) {
    s.link.ProgrammerDetected = true;
    settings.setValue(QStringLiteral("ComNo"), QStringLiteral("/dev/ttyUSB0"));
    port.refuseOpen(PortError::InUse, QStringLiteral("Device or resource busy"));
    EXPECT_EQ(choice.choose(QStringLiteral("/dev/ttyS9")), PortChoice::Outcome::Failed);

    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Critical);
    EXPECT_EQ(ui.messages[0].title, QStringLiteral("/dev/ttyS9\u3000エラー"));
    EXPECT_EQ(ui.messages[0].text, kFailureText);
    EXPECT_EQ(choice.failureDetail(), QStringLiteral("Device or resource busy"));
    EXPECT_FALSE(s.link.ProgrammerDetected);
    EXPECT_TRUE(s.link.ComPortName.isEmpty());
    EXPECT_EQ(settings.value(QStringLiteral("ComNo"), QString()), QStringLiteral("/dev/ttyUSB0"));
    EXPECT_FALSE(port.isOpen());

    choice.cancel();
    EXPECT_TRUE(statusShown(QStringLiteral("通信ポートを選択しませんでした。")));
}

TEST_F(PortChoiceTest, NoPortGivenIsAFailureWithoutAName) {
    EXPECT_EQ(choice.choose(QStringLiteral("  ")), PortChoice::Outcome::Failed);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].title, QStringLiteral("\u3000エラー"));
    EXPECT_EQ(port.openCount(), 0);
    EXPECT_FALSE(settings.contains(QStringLiteral("ComNo")));
}

TEST_F(PortChoiceTest, TheOpenPortIsGivenUpBeforeAnotherIsTried) {
    s.link.ComPortName = QStringLiteral("/dev/ttyUSB0");
    ASSERT_TRUE(link.channel().openPort().ok());
    port.refuseOpen(PortError::NotFound, QStringLiteral("No such file or directory"));
    EXPECT_EQ(choice.choose(QStringLiteral("/dev/ttyUSB7")), PortChoice::Outcome::Failed);
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(choice.failureDetail(), QStringLiteral("No such file or directory"));
}
