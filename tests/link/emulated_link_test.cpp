// The board link against the board emulator in process, on virtual time.
#include "core/session.h"
#include "emulator/faults.h"
#include "emusupport/emulated_board.h"
#include "link/board_link.h"
#include "link/firmware_label.h"
#include "support/recording_ui.h"

#include <gtest/gtest.h>

#include <ostream>

#include <memory>

using namespace tavrin;
using namespace tavrin::test;

namespace {

emu::BoardOptions withFaults(std::initializer_list<const char*> faults) {
    emu::BoardOptions options;
    for (const char* f : faults) {
        std::string why;
        auto fault = emu::parseFault(f, &why);
        if (!fault) throw std::invalid_argument(why);
        options.faults.add(*fault);
    }
    return options;
}

// A session, the recording window and a link to an emulated board with a PIC16F877A in its
// socket.
struct Bench {
    explicit Bench(emu::BoardOptions options = {}) : emulated("PIC16F877A", std::move(options)) {
        session.link.ComPortName = QStringLiteral("/dev/ttyUSB0");
        emulated.board.transcript().keep(true);
    }
    std::int64_t nowUs() const { return emulated.clock.nowUs(); }
    // What the host wrote, as the board saw it.
    QByteArray hostBytes() {
        const auto all = emulated.board.transcript().all(emu::Direction::ToBoard);
        return QByteArray(reinterpret_cast<const char*>(all.data()), qsizetype(all.size()));
    }

    Session session;
    RecordingUi ui;
    EmulatedBoard emulated;
    BoardLink link{session, ui, emulated.port, emulated.clock};
};

const QString NoBoardLabel = QStringLiteral("/dev/ttyUSB0 : ライター未接続");

} // namespace

TEST(EmulatedBoardLink, DetectsAndChecksAGoodBoard) {
    Bench b;
    b.link.DetectProgrammer();
    EXPECT_TRUE(b.session.link.ProgrammerDetected);
    EXPECT_EQ(b.session.link.FirmwareId, QStringLiteral("QZ-WRT400  V6.50"));
    EXPECT_FLOAT_EQ(b.session.link.FirmwareVersion, 6.5f);
    EXPECT_EQ(b.ui.texts[Control::Label_FirmwareVersion],
              QStringLiteral("/dev/ttyUSB0 : QZ-WRT400  V6.50"));
    EXPECT_EQ(b.ui.backgrounds[Control::Label_FirmwareVersion], FirmwareLabelFoundRgb);
    b.link.ClosePort();

    QString result;
    b.link.CheckProgrammer(result);
    EXPECT_EQ(result, QStringLiteral("OK"));
    EXPECT_TRUE(b.ui.messages.empty());
    EXPECT_EQ(b.hostBytes(), QByteArray("??***?"));
    // Detection: 200 ms between the requests; the check finds the board well inside its 4 s.
    EXPECT_LT(b.nowUs(), 1000000);
    b.link.ClosePort();
    EXPECT_FALSE(b.emulated.port.isOpen());
}

struct MissingBoardCase {
    const char* name;
    const char* fault;
};

// Cases print by name in test output.
inline void PrintTo(const MissingBoardCase& c, std::ostream* os) {
    *os << c.name;
}

class EmulatedMissingBoard : public ::testing::TestWithParam<MissingBoardCase> {};

// Silence and a 17-character answer look the same: the host never has its 18 characters.
TEST_P(EmulatedMissingBoard, DetectionGivesUpAfterThreeSecondsTheCheckAfterFourThenThree) {
    Bench detect(withFaults({GetParam().fault}));
    detect.link.DetectProgrammer();
    EXPECT_FALSE(detect.session.link.ProgrammerDetected);
    EXPECT_EQ(detect.ui.texts[Control::Label_FirmwareVersion], NoBoardLabel);
    EXPECT_EQ(detect.ui.backgrounds[Control::Label_FirmwareVersion], SystemButtonFaceColor);
    // 200 ms between the two requests, then strictly more than 3 s.
    EXPECT_GT(detect.nowUs(), 3200000);
    EXPECT_LT(detect.nowUs(), 3300000);

    Bench check(withFaults({GetParam().fault}));
    check.session.link.ProgrammerDetected = true;
    QString result;
    check.link.CheckProgrammer(result);
    EXPECT_EQ(result, QStringLiteral("NG"));
    EXPECT_FALSE(check.session.link.ProgrammerDetected);
    EXPECT_EQ(check.ui.statusColor, StatusColor::Red);
    EXPECT_TRUE(check.ui.statusText.contains(QStringLiteral("ＢＵＳＹ ＬＥＤ")));
    EXPECT_TRUE(check.ui.statusHistory.contains(QStringLiteral("* ")));
    EXPECT_EQ(check.hostBytes(), QByteArray("***?***?"));
    // Two sets of three letters (1 ms each) and 100 ms settling, then 4 s and 3 s of waiting.
    EXPECT_GT(check.nowUs(), 7206000);
    EXPECT_LT(check.nowUs(), 7300000);
}

INSTANTIATE_TEST_SUITE_P(Faults, EmulatedMissingBoard,
                         ::testing::Values(MissingBoardCase{"silent", "silent"},
                                           MissingBoardCase{"seventeen_characters", "short-id"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(EmulatedBoardLink, AnswerWithAWrongPrefixIsNoBoard) {
    Bench b(withFaults({"wrong-id"}));
    b.link.DetectProgrammer();
    EXPECT_FALSE(b.session.link.ProgrammerDetected);
    EXPECT_TRUE(b.ui.statusText.startsWith(
        QStringLiteral("ファームウエアバージョンを読み出せませんでした。")));
    EXPECT_EQ(b.ui.texts[Control::Label_FirmwareVersion], NoBoardLabel);

    QString result;
    b.link.CheckProgrammer(result);
    EXPECT_EQ(result, QStringLiteral("NG"));
    EXPECT_EQ(b.ui.backgrounds[Control::Label_FirmwareVersion], SystemButtonFaceColor);
}

TEST(EmulatedBoardLink, OldFirmwareIsAnnouncedBeforeEveryOperationAndCancelGoesOn) {
    Bench b(withFaults({"old-version=6.49"}));
    b.ui.answers = {MessageAnswer::Cancel, MessageAnswer::Cancel, MessageAnswer::Cancel};
    b.link.DetectProgrammer();
    EXPECT_TRUE(b.session.link.ProgrammerDetected);
    EXPECT_FLOAT_EQ(b.session.link.FirmwareVersion, 6.49f);
    b.link.ClosePort();
    for (int operation = 0; operation < 2; ++operation) {
        QString result;
        b.link.CheckProgrammer(result);
        EXPECT_EQ(result, QStringLiteral("OK"));
        b.link.ClosePort();
    }
    ASSERT_EQ(b.ui.messages.size(), 3u);
    for (const auto& box : b.ui.messages) {
        EXPECT_EQ(box.title, QStringLiteral("ファームウエアのアップデーが必要です。"));
        EXPECT_TRUE(box.text.contains(QStringLiteral("： QZ-WRT400  V6.49 \r\n")));
    }
    EXPECT_TRUE(b.session.link.ProgrammerDetected);
}

TEST(EmulatedBoardLink, RtsLineFollowsTheCommunicationModeToggle) {
    for (bool mode1 : {false, true}) {
        SCOPED_TRACE(mode1);
        Bench b;
        b.session.app.ComMode1Checked = mode1;
        b.link.DetectProgrammer();
        EXPECT_TRUE(b.session.link.ProgrammerDetected);
        EXPECT_EQ(b.emulated.port.requestToSend(), !mode1);
    }
}

TEST(EmulatedBoardLink, ClosePortOnAClosedPortOnlyWaits) {
    Bench b;
    b.ui.setBusy(true);
    b.link.ClosePort();
    EXPECT_EQ(b.emulated.port.openCount(), 0);
    EXPECT_FALSE(b.emulated.port.isOpen());
    EXPECT_EQ(b.nowUs(), 400000);
    EXPECT_FALSE(b.ui.busy);
}

TEST(EmulatedBoardLink, PortInUseIsExplained) {
    Bench b;
    b.emulated.port.refuseOpen(PortError::InUse, QStringLiteral("locked"));
    b.link.DetectProgrammer();
    EXPECT_FALSE(b.session.link.ProgrammerDetected);
    ASSERT_EQ(b.ui.messages.size(), 1u);
    EXPECT_TRUE(b.ui.messages[0].text.startsWith(
        QStringLiteral("他のソフトウエアが、すでに通信ポート使用しています。")));
    QString result = QStringLiteral("--");
    b.link.CheckProgrammer(result);
    EXPECT_EQ(result, QStringLiteral("NG"));
}
