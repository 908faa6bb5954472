#include "link/firmware_label.h"
#include "link/firmware_version.h"
#include "link_fixture.h"

#include <QFileInfo>
#include <QTemporaryFile>

using namespace tavrin;
using namespace tavrin::test;

namespace {
const QString LabelNoBoard = QStringLiteral("/dev/ttyUSB0 : ライター未接続");
const QString ChooseHint =
    QStringLiteral("メニューバーの [オプション] から [ＣＯＭポート設定] を選択してください。");
} // namespace

using DetectProgrammer = LinkFixture;

TEST_F(DetectProgrammer, FindsAGoodBoardAndLeavesThePortOpen) {
    boardAnswers(GoodIdentification);
    link.DetectProgrammer();

    EXPECT_TRUE(session.link.ProgrammerDetected);
    EXPECT_EQ(session.link.FirmwareReply, QStringLiteral("QZ-WRT400 V 6.50"));
    EXPECT_EQ(session.link.FirmwareId, session.link.FirmwareReply);
    EXPECT_FLOAT_EQ(session.link.FirmwareVersion, 6.5f);
    EXPECT_EQ(ui.statusText, QStringLiteral("ライターを /dev/ttyUSB0に検出しました。 "));
    EXPECT_EQ(ui.statusHistory.first(), QStringLiteral("ライターを探しています.....  "));
    EXPECT_EQ(ui.texts[Control::Label_FirmwareVersion],
              QStringLiteral("/dev/ttyUSB0 : QZ-WRT400 V 6.50"));
    EXPECT_EQ(ui.backgrounds[Control::Label_FirmwareVersion], FirmwareLabelFoundRgb);
    EXPECT_TRUE(ui.enabled[Control::mnuFirmwareUpdate]);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(port.isOpen());
    EXPECT_EQ(port.openedName, QStringLiteral("/dev/ttyUSB0"));
    // Two requests 200 ms apart; only the second one's answer is read.
    ASSERT_EQ(port.writes.size(), 2u);
    EXPECT_EQ(port.wire(), QByteArray("??"));
    EXPECT_EQ(port.writes[1].atUs - port.writes[0].atUs, 200000);
}

TEST_F(DetectProgrammer, WithoutAPortOnlyAsksForOne) {
    session.link.ComPortName.clear();
    link.DetectProgrammer();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Information);
    EXPECT_EQ(ui.messages[0].title, QString());
    EXPECT_EQ(ui.messages[0].text, QStringLiteral("通信ポートを選んでください。\r") + ChooseHint);
    EXPECT_EQ(port.opens, 0);
    EXPECT_TRUE(ui.statusHistory.isEmpty());
}

TEST_F(DetectProgrammer, DoesNothingWhenTheBoardIsKnown) {
    session.link.ProgrammerDetected = true;
    link.DetectProgrammer();
    EXPECT_EQ(port.opens, 0);
    EXPECT_TRUE(port.writes.empty());
    EXPECT_TRUE(ui.calls.isEmpty());
}

// Silence, a partial answer, an answer just too late: after 3 s the board counts as missing.
TEST_F(DetectProgrammer, GivesUpAfterThreeSecondsWithoutEighteenCharacters) {
    const struct {
        const char* name;
        QByteArray reply;
        double delayMs;
    } cases[] = {
        {"silent", QByteArray(), 0},
        {"17 characters", GoodIdentification.left(17), 5},
        {"late", GoodIdentification, 3005},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Session s;
        s.link.ComPortName = QStringLiteral("/dev/ttyUSB0");
        RecordingUi u;
        VirtualClock clk;
        ScriptedPort p(clk);
        int requests = 0;
        p.onWrite = [&](const QByteArray& b) {
            if (b == "?" && ++requests == 2 && !c.reply.isEmpty()) p.arrive(c.reply, c.delayMs);
        };
        BoardLink l(s, u, p, clk);
        l.DetectProgrammer();
        EXPECT_FALSE(s.link.ProgrammerDetected);
        EXPECT_EQ(u.statusText, QStringLiteral("ライターを検出できませんでした。") + ChooseHint +
                                    QLatin1Char(' '));
        EXPECT_EQ(u.texts[Control::Label_FirmwareVersion], LabelNoBoard);
        EXPECT_EQ(u.backgrounds[Control::Label_FirmwareVersion], SystemButtonFaceColor);
        EXPECT_TRUE(s.link.FirmwareReply.isEmpty());
        // 200 ms between the requests, then strictly more than 3 s.
        EXPECT_GT(clk.nowUs(), 3200000);
        EXPECT_LT(clk.nowUs(), 3300000);
        EXPECT_TRUE(p.isOpen());
    }
}

TEST_F(DetectProgrammer, AcceptsAnAnswerCompleteWithinTheLimit) {
    boardAnswers(GoodIdentification, 2900);
    link.DetectProgrammer();
    EXPECT_TRUE(session.link.ProgrammerDetected);
}

TEST_F(DetectProgrammer, RefusesAnAnswerWithoutTheBoardPrefix) {
    boardAnswers(QByteArrayLiteral("XZ-WRT400 V 6.50\r\n"));
    link.DetectProgrammer();
    EXPECT_FALSE(session.link.ProgrammerDetected);
    EXPECT_EQ(ui.statusText, QStringLiteral("ファームウエアバージョンを読み出せませんでした。\r") +
                                 ChooseHint + QLatin1Char(' '));
    EXPECT_EQ(ui.texts[Control::Label_FirmwareVersion], LabelNoBoard);
    EXPECT_TRUE(session.link.FirmwareId.isEmpty());
}

TEST_F(DetectProgrammer, PortThatDoesNotOpenIsExplained) {
    struct Case {
        const char* name;
        PortError error;
        QString status;
        QString title;
        QString boxText;
    };
    const Case cases[] = {
        {"in use", PortError::InUse,
         QStringLiteral(
             "他のソフトウエアが、すでに通信ポート使用しています。\r通信ポートを使用しているソフ"
             "トウエアを終了してください。 "),
         QString(),
         QStringLiteral(
             "他のソフトウエアが、すでに通信ポート使用しています。　　　　\r\n通信ポートを使用"
             "しているソフトウエアを終了してください。　　　　")},
        {"missing", PortError::NotFound,
         QStringLiteral("通信ポートが使用できませんでした。\r /dev/ttyUSB0 : No such file"),
         QStringLiteral("ｲﾝﾌｫﾒｰｼｮﾝ"),
         QStringLiteral(
             "通信ポートが使用できませんでした。　他のシリアルポートを選択して下さい。　　　"
             "\r\n")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Session s;
        s.link.ComPortName = QStringLiteral("/dev/ttyUSB0");
        s.link.ProgrammerDetected = false;
        RecordingUi u;
        VirtualClock clk;
        ScriptedPort p(clk);
        p.openResult = {c.error, QStringLiteral("No such file")};
        BoardLink l(s, u, p, clk);
        l.DetectProgrammer();
        EXPECT_FALSE(s.link.ProgrammerDetected);
        EXPECT_EQ(u.statusText, c.status);
        ASSERT_EQ(u.messages.size(), 1u);
        EXPECT_EQ(u.messages[0].icon, MessageIcon::Critical);
        EXPECT_EQ(u.messages[0].title, c.title);
        EXPECT_EQ(u.messages[0].text, c.boxText);
        EXPECT_EQ(u.texts.count(Control::Label_FirmwareVersion), 0u);
        EXPECT_TRUE(p.writes.empty());
    }
}

TEST_F(DetectProgrammer, PortWithoutPermissionNamesTheGroupThatOwnsIt) {
    QTemporaryFile device;
    ASSERT_TRUE(device.open());
    const QString group = QFileInfo(device.fileName()).group();
    ASSERT_FALSE(group.isEmpty());
    session.link.ComPortName = device.fileName();
    port.openResult = {PortError::PermissionDenied, QStringLiteral("Permission denied")};
    link.DetectProgrammer();
    EXPECT_FALSE(session.link.ProgrammerDetected);
    EXPECT_TRUE(ui.statusText.contains(device.fileName()));
    EXPECT_TRUE(
        ui.statusText.contains(QStringLiteral("グループ「") + group + QStringLiteral("」")));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_TRUE(ui.messages[0].text.contains(QStringLiteral("sudo usermod -aG ") + group));
}

TEST_F(DetectProgrammer, RtsFollowsTheCommunicationModeToggle) {
    for (bool mode1 : {false, true}) {
        SCOPED_TRACE(mode1);
        Session s;
        s.link.ComPortName = QStringLiteral("/dev/ttyUSB0");
        s.app.ComMode1Checked = mode1;
        RecordingUi u;
        VirtualClock clk;
        ScriptedPort p(clk);
        BoardLink l(s, u, p, clk);
        l.DetectProgrammer();
        ASSERT_FALSE(p.rtsLevels.empty());
        EXPECT_EQ(p.rtsLevels.back(), !mode1);
        // The next operation reopens the port with the line as detection chose it, even after
        // the toggle changed.
        l.ClosePort();
        s.app.ComMode1Checked = !mode1;
        QString result;
        l.CheckProgrammer(result);
        EXPECT_EQ(p.rtsLevels.back(), !mode1);
    }
}

struct VersionCase {
    const char* identification;
    float version;
    bool message;
};

// Cases print by name in test output.
inline void PrintTo(const VersionCase& c, std::ostream* os) {
    *os << c.identification;
}

class FirmwareVersionOfIdentification : public LinkFixture,
                                        public ::testing::WithParamInterface<VersionCase> {};

TEST_P(FirmwareVersionOfIdentification, DecidesTheUpdateMessage) {
    const auto& c = GetParam();
    boardAnswers(QByteArray(c.identification) + "\r\n");
    link.DetectProgrammer();
    EXPECT_TRUE(session.link.ProgrammerDetected);
    EXPECT_FLOAT_EQ(session.link.FirmwareVersion, c.version);
    EXPECT_EQ(ui.messages.size(), c.message ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Identifications, FirmwareVersionOfIdentification,
    ::testing::Values(
        VersionCase{"QZ-WRT400 V 6.50", 6.5f, false}, VersionCase{"QZ-WRT400A V6.50", 6.5f, false},
        VersionCase{"QZ-WRT400 V 7.01", 7.01f, false}, VersionCase{"QZ-WRT400 V 6.49", 6.49f, true},
        // Not a number: unknown, so the person is told which firmware answered.
        VersionCase{"QZ-WRT400 V 6.5x", 0.0f, true}, VersionCase{"QZ-WRT400 V  nan", 0.0f, true}));

TEST(FirmwareVersion, ReadsTheLastFourCharacters) {
    EXPECT_EQ(firmwareVersionOf(QStringLiteral("QZ-WRT400 V 6.50")), 6.5f);
    EXPECT_EQ(firmwareVersionOf(QStringLiteral("QZ-WRT400  V 6.5")), 6.5f);
    EXPECT_EQ(firmwareVersionOf(QStringLiteral("QZ-WRT400 V  inf")), std::nullopt);
    EXPECT_EQ(firmwareVersionOf(QString()), std::nullopt);
}

using CheckProgrammer = LinkFixture;

TEST_F(CheckProgrammer, ReidentifiesAfterTheResyncLetters) {
    boardAnswers(GoodIdentification);
    QString result = QStringLiteral("--");
    link.CheckProgrammer(result);
    EXPECT_EQ(result, QStringLiteral("OK"));
    EXPECT_TRUE(session.link.ProgrammerDetected);
    EXPECT_EQ(port.wire(), QByteArray("***?"));
    // The request follows the third "*" after the 100 ms the board gets to settle.
    EXPECT_EQ(port.writes[3].atUs - port.writes[2].atUs, 101000);
    EXPECT_EQ(ui.texts[Control::Label_FirmwareVersion],
              QStringLiteral("/dev/ttyUSB0 : QZ-WRT400 V 6.50"));
    EXPECT_EQ(ui.statusText, QStringLiteral("ライターを /dev/ttyUSB0に検出しました。 "));
    // Only detection names the firmware; the check leaves FirmwareId alone.
    EXPECT_TRUE(session.link.FirmwareId.isEmpty());
}

TEST_F(CheckProgrammer, DiscardsWhatTheBoardSaidBeforeTheRequest) {
    port.onWrite = [this](const QByteArray& b) {
        if (b == "*") port.arrive("junk");
        if (b == "?") port.arrive(GoodIdentification, 3);
    };
    QString result;
    link.CheckProgrammer(result);
    EXPECT_EQ(result, QStringLiteral("OK"));
    EXPECT_EQ(session.link.FirmwareReply, QStringLiteral("QZ-WRT400 V 6.50"));
}

TEST_F(CheckProgrammer, SecondAttemptAfterFourSilentSeconds) {
    int requests = 0;
    port.onWrite = [&](const QByteArray& b) {
        if (b == "?" && ++requests == 2) port.arrive(GoodIdentification, 10);
    };
    QString result;
    link.CheckProgrammer(result);
    EXPECT_EQ(result, QStringLiteral("OK"));
    EXPECT_TRUE(ui.statusHistory.contains(QStringLiteral("* ")));
    EXPECT_EQ(port.wire(), QByteArray("***?***?"));
    EXPECT_GT(port.writes[4].atUs - port.writes[3].atUs, 4000000);
}

TEST_F(CheckProgrammer, SilentBoardIsNgAfterFourThenThreeSeconds) {
    session.link.ProgrammerDetected = true;
    QString result;
    link.CheckProgrammer(result);
    EXPECT_EQ(result, QStringLiteral("NG"));
    EXPECT_FALSE(session.link.ProgrammerDetected);
    EXPECT_EQ(ui.statusColor, StatusColor::Red);
    EXPECT_EQ(
        ui.statusText,
        QStringLiteral("ライターを検出できませんでした。\r\n") + ChooseHint +
            QStringLiteral("\r\nライターのＢＵＳＹ ＬＥＤが消灯しないときは、ライターの電源を再投"
                           "入してください。 "));
    ASSERT_EQ(port.writes.size(), 8u);
    const auto firstWait = port.writes[4].atUs - port.writes[3].atUs;
    EXPECT_GT(firstWait, 4000000);
    EXPECT_LT(firstWait, 4100000);
    const auto secondWait = clock.nowUs() - port.writes[7].atUs;
    EXPECT_GT(secondWait, 3000000);
    EXPECT_LT(secondWait, 3100000);
    // The label is not touched by a check that found nothing.
    EXPECT_EQ(ui.texts.count(Control::Label_FirmwareVersion), 0u);
}

TEST_F(CheckProgrammer, WrongPrefixOnlyRecoloursTheLabel) {
    boardAnswers(QByteArrayLiteral("QZ-WRX400 V 6.50\r\n"));
    QString result;
    link.CheckProgrammer(result);
    EXPECT_EQ(result, QStringLiteral("NG"));
    EXPECT_EQ(ui.backgrounds[Control::Label_FirmwareVersion], SystemButtonFaceColor);
    EXPECT_EQ(ui.texts.count(Control::Label_FirmwareVersion), 0u);
}

TEST_F(CheckProgrammer, PortThatDoesNotOpenIsNgWithItsMessage) {
    port.openResult = {PortError::InUse, QStringLiteral("busy")};
    QString result;
    link.CheckProgrammer(result);
    EXPECT_EQ(result, QStringLiteral("NG"));
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_TRUE(port.writes.empty());
}

TEST_F(CheckProgrammer, OldFirmwareWarnsBeforeEveryOperationAndGoesOn) {
    session.link.FirmwareId = QStringLiteral("QZ-WRT400 V 6.49");
    boardAnswers(QByteArrayLiteral("QZ-WRT400 V 6.49\r\n"));
    ui.answers = {MessageAnswer::Cancel, MessageAnswer::Ok};
    QString first, second;
    link.CheckProgrammer(first);
    link.ClosePort();
    link.CheckProgrammer(second);
    EXPECT_EQ(first, QStringLiteral("OK"));
    EXPECT_EQ(second, QStringLiteral("OK"));
    ASSERT_EQ(ui.messages.size(), 2u);
    const auto& box = ui.messages[0];
    EXPECT_EQ(box.icon, MessageIcon::Critical);
    EXPECT_EQ(box.buttons, MessageButtons::OkCancel);
    EXPECT_EQ(box.title, QStringLiteral("ファームウエアのアップデーが必要です。"));
    EXPECT_TRUE(box.text.contains(
        QStringLiteral("\r\n現在のファームウエアバージョン　 ： QZ-WRT400 V 6.49 \r\n")));
    EXPECT_TRUE(box.text.contains(QStringLiteral(
        "推奨するファームウエアバージョン ： QZ-WRT400 V6.5 、または、それ以降。　\r\n")));
    EXPECT_EQ(box.text.count(QStringLiteral("https://updates.test/fw")), 3);
    EXPECT_TRUE(box.text.endsWith(QStringLiteral("を開きます\r\n")));
    // Cancel opened nothing; OK opened the page once.
    EXPECT_EQ(pagesOpened, QStringList{QStringLiteral("https://updates.test/fw")});
}

TEST_F(CheckProgrammer, UpdatePageDefaultsWhenNoneIsSet) {
    session.link.UpdatePageUrl.clear();
    session.link.FirmwareVersion = 6.0f;
    link.CheckFirmwareVersion();
    EXPECT_EQ(session.link.UpdatePageUrl, DefaultUpdatePageUrl);
    EXPECT_EQ(pagesOpened, QStringList{DefaultUpdatePageUrl});
}

using ClosePort = LinkFixture;

TEST_F(ClosePort, OnAClosedPortClearsAndWaitsButClosesNothing) {
    ui.setBusy(true);
    link.ClosePort();
    EXPECT_EQ(port.closes, 0);
    EXPECT_EQ(port.inputDiscards, 1);
    EXPECT_EQ(port.outputDiscards, 1);
    EXPECT_EQ(clock.nowUs(), 400000);
    EXPECT_FALSE(ui.busy);
    EXPECT_EQ(ui.pumpCount, 3);
}

TEST_F(ClosePort, ClosesAnOpenPort) {
    boardAnswers(GoodIdentification);
    link.DetectProgrammer();
    link.ClosePort();
    EXPECT_EQ(port.closes, 1);
    EXPECT_FALSE(port.isOpen());
    EXPECT_TRUE(session.link.ProgrammerDetected);
}

using PortLoss = LinkFixture;

TEST_F(PortLoss, DuringACheckEndsWithAMessageAndTheBoardForgotten) {
    session.link.ProgrammerDetected = true;
    port.onWrite = [this](const QByteArray& b) {
        if (b == "?") port.lose();
    };
    QString result;
    link.CheckProgrammer(result);
    EXPECT_EQ(result, QStringLiteral("NG"));
    EXPECT_FALSE(session.link.ProgrammerDetected);
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(ui.statusColor, StatusColor::Red);
    EXPECT_TRUE(
        ui.statusText.startsWith(QStringLiteral("通信ポート /dev/ttyUSB0 との接続が切れました。")));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_TRUE(ui.messages[0].text.contains(QStringLiteral("Input/output error")));
    EXPECT_EQ(ui.texts[Control::Label_FirmwareVersion], LabelNoBoard);
    // No second attempt on a port that is gone, and it took no time.
    EXPECT_EQ(port.wire(), QByteArray("***?"));
    EXPECT_LT(clock.nowUs(), 200000);
}
