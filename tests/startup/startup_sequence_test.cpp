#include "core/about_texts.h"
#include "core/log_files.h"
#include "core/status.h"
#include "core/work_files.h"
#include "emulator/faults.h"
#include "emusupport/emulated_board.h"
#include "link/board_link.h"
#include "scripted_port.h"
#include "startup_fixture.h"

#include <QFileInfo>

using namespace tavrin;
using namespace tavrin::test;

namespace {
QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}
void writeFile(const QString& path, const QByteArray& content) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(content);
}
const QString kMainTitle = QStringLiteral("Tavrin Writer V4.0.0  ");

// The part names of the file in file order: the first word of the line after each "#BEGIN" when
// it starts with "PIC" or "QZ-", read here without the program's reader, so that a part added to
// the file needs no change of this test.
QStringList blockNames(const QString& deviceFile) {
    const QStringList lines = QString::fromUtf8(readFile(deviceFile)).split(QStringLiteral("\r\n"));
    QStringList names;
    for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
        if (lines[i].trimmed() != QLatin1String("#BEGIN")) continue;
        const QString name = lines[i + 1].simplified().section(QLatin1Char(' '), 0, 0);
        if ((name.startsWith(QLatin1String("PIC")) || name.startsWith(QLatin1String("QZ-"))) &&
            !names.contains(name))
            names << name;
    }
    return names;
}
} // namespace

TEST_F(StartupFixture, FirstStartAsksForThePortAndSelectsTheFirstDevice) {
    ASSERT_EQ(run(), StartupOutcome::Ready);

    EXPECT_EQ(services.calls, QStringList{QStringLiteral("choosePort")});
    const QStringList& names = session.device.DeviceNames;
    const QStringList blocks = blockNames(paths.deviceFile);
    ASSERT_FALSE(blocks.isEmpty());
    ASSERT_EQ(names, blocks);
    EXPECT_EQ(ui.deviceList, names);
    EXPECT_TRUE(
        inOrder(window.calls,
                {QStringLiteral("lock"), QStringLiteral("history"), QStringLiteral("toggle:board"),
                 QStringLiteral("resetConfig"), QStringLiteral("toggle:comMode1"),
                 QStringLiteral("select:") + names.first(), QStringLiteral("toggle:blankSkip"),
                 QStringLiteral("caption:") + kMainTitle, QStringLiteral("unlock")}))
        << window.calls.join(QLatin1Char('|')).toStdString();
    EXPECT_FALSE(window.locked);
    EXPECT_EQ(session.app.MainTitle, kMainTitle);
    EXPECT_EQ(window.caption, kMainTitle);
    EXPECT_EQ(ui.texts[Control::Label_Ver],
              QStringLiteral("device6.ini : Ver ") + session.device.DeviceFileVersion);
    EXPECT_EQ(ui.texts[Control::RichTxtPgmMem],
              QStringLiteral("\n\n\u3000\u3000\u3000\u3000\u3000\u3000\u3000\u3000\u3000\u3000"
                             "しばらくお待ちください....."));
    EXPECT_EQ(ui.texts[Control::frmAbout_Label_ID_Word],
              QStringLiteral("NEW :0000:0000:0000:0000"));
    EXPECT_EQ(window.about.version, QStringLiteral("V4.0.0"));
    EXPECT_EQ(window.about.title, QStringLiteral("Tavrin Writer v4"));
    EXPECT_EQ(window.about.disclaimer, supportPageLine());
    EXPECT_FALSE(ui.texts[Control::LblCheckSUM].isEmpty());

    // Every log generation exists, the current one empty; nothing written to the settings.
    for (const QString& name : logFileNames())
        EXPECT_TRUE(QFileInfo(dataFile(name)).isFile()) << name.toStdString();
    EXPECT_EQ(readFile(dataFile(currentLogName())), QByteArray());
    EXPECT_TRUE(settings.all().empty());
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(StartupFixture, ANonEmptyLogStartsANewGeneration) {
    writeFile(dataFile(currentLogName()), "OKOKOK  PIC16F84A\r\n");
    ASSERT_EQ(run(), StartupOutcome::Ready);
    EXPECT_FALSE(QFileInfo::exists(dataFile(currentLogName())));
    EXPECT_EQ(readFile(dataFile(oldLogName(1))), QByteArray("OKOKOK  PIC16F84A\r\n"));
}

// A log generation that cannot be replaced (a folder stands where LOG_OLD1.txt belongs): the
// current log is kept, start-up goes on, and the warning is the last word of start-up, also when
// the command line has a status of its own to say after the rotation.
class FailedRotation : public StartupFixture {
  protected:
    void startAndExpectTheWarningLast(const QStringList& arguments) {
        writeFile(dataFile(currentLogName()), "precious\r\n");
        QDir().mkpath(dataFile(oldLogName(1)) + QStringLiteral("/blocker"));
        ASSERT_EQ(run(arguments), StartupOutcome::Ready);
        EXPECT_EQ(readFile(dataFile(currentLogName())), QByteArray("precious\r\n"));
        ASSERT_FALSE(ui.statusHistory.isEmpty());
        EXPECT_TRUE(ui.statusHistory.last().startsWith(
            QStringLiteral("<<注意>>ログファイルを更新できませんでした。")))
            << ui.statusHistory.last().toStdString();
        EXPECT_EQ(ui.statusColor, StatusColor::Red);
        EXPECT_FALSE(window.locked);
    }
};

TEST_F(FailedRotation, WarnsKeepsTheLogAndStartupGoesOn) {
    startAndExpectTheWarningLast({});
}

TEST_F(FailedRotation, TheWarningOutlastsTheRefusedCommandLineFile) {
    startAndExpectTheWarningLast(
        {dir.filePath(QStringLiteral("gone.hex")), QStringLiteral("/PIC16F84A")});
    EXPECT_TRUE(ui.statusHistory.contains(QStringLiteral("ファイルをオープンできませんでした。 ")));
}

// The saved port, or the run command's emulated board when none is saved, is searched on the
// real link; the port choice is not shown.
TEST_F(StartupFixture, ASavedPortIsSearchedWithoutAsking) {
    struct Case {
        const char* saved; // nullptr: no setting
        const char* fallback;
        const char* searched;
    };
    const Case cases[] = {
        {"/dev/ttyUSB0", "", "/dev/ttyUSB0"},
        {nullptr, "/run/user/0/tavrin-board", "/run/user/0/tavrin-board"},
        {"/dev/ttyACM1", "/run/user/0/tavrin-board", "/dev/ttyACM1"},
        {"0", "/run/user/0/tavrin-board", "/run/user/0/tavrin-board"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.searched);
        Session s;
        RecordingUi u;
        MemorySettingsStore store;
        if (c.saved) store.setValue(QStringLiteral("ComNo"), QLatin1String(c.saved));
        const auto storedBefore = store.all();
        FakeStartupWindow w(s, store);
        FakeStartupServices board;
        board.portSeen = [&s] { return s.link.ComPortName; };
        EmulatedBoard bench("PIC16F877A");
        BoardLink link(s, u, bench.port, bench.clock);
        board.onDetect = [&link] {
            link.DetectProgrammer();
            link.ClosePort();
        };
        StartupSequence sequence(s, u, store, w, board);
        ASSERT_EQ(sequence.run({{}, version, paths, QLatin1String(c.fallback)}),
                  StartupOutcome::Ready);

        EXPECT_EQ(board.calls, QStringList{QStringLiteral("detect:") + QLatin1String(c.searched)});
        EXPECT_EQ(bench.port.portName(), QLatin1String(c.searched));
        EXPECT_EQ(bench.port.openCount(), 1);
        EXPECT_TRUE(s.link.ProgrammerDetected);
        EXPECT_FALSE(bench.port.isOpen());
        EXPECT_EQ(u.texts[Control::Label_FirmwareVersion],
                  QLatin1String(c.searched) + QStringLiteral(" : QZ-WRT400  V6.50"));
        // The emulated board is not remembered: a later start without it asks for a port.
        EXPECT_EQ(store.all(), storedBefore);
    }
}

TEST_F(StartupFixture, NoBoardOnTheSavedPortIsReportedAndStartupGoesOn) {
    settings.setValue(QStringLiteral("ComNo"), QStringLiteral("/dev/ttyUSB0"));
    emu::BoardOptions silent;
    silent.faults.add(*emu::parseFault("silent"));
    EmulatedBoard bench("PIC16F877A", silent);
    BoardLink link(session, ui, bench.port, bench.clock);
    services.onDetect = [&link] {
        link.DetectProgrammer();
        link.ClosePort();
    };
    ASSERT_EQ(run(), StartupOutcome::Ready);
    EXPECT_FALSE(session.link.ProgrammerDetected);
    EXPECT_EQ(ui.texts[Control::Label_FirmwareVersion],
              QStringLiteral("/dev/ttyUSB0 : ライター未接続"));
    EXPECT_TRUE(ui.statusHistory.join(QLatin1Char('|'))
                    .contains(QStringLiteral("ライターを検出できませんでした。")));
    EXPECT_FALSE(window.locked);
    EXPECT_EQ(window.index, 0);
}

// The serial mode chosen in the menu decides the RTS line of the very first detection.
TEST_F(StartupFixture, TheSerialModeIsRestoredBeforeTheBoardIsSearched) {
    for (const bool mode1 : {false, true}) {
        Session s;
        RecordingUi u;
        MemorySettingsStore store;
        store.setValue(QStringLiteral("ComNo"), QStringLiteral("/dev/ttyUSB0"));
        store.setValue(QStringLiteral("mnuComMode1"), mode1 ? QStringLiteral("1") : QString("0"));
        FakeStartupWindow w(s, store);
        FakeStartupServices board;
        VirtualClock clock;
        ScriptedPort port(clock);
        BoardLink link(s, u, port, clock);
        board.onDetect = [&link] { link.DetectProgrammer(); };
        StartupSequence(s, u, store, w, board).run({{}, version, paths, {}});
        ASSERT_FALSE(port.rtsLevels.empty());
        EXPECT_EQ(port.rtsLevels.front(), !mode1);
    }
}

TEST_F(StartupFixture, AMissingDeviceFileEndsStartupBeforeThePortAndTheLogs) {
    paths.deviceFile = dir.filePath(QStringLiteral("nowhere/device6.ini"));
    settings.setValue(QStringLiteral("ComNo"), QStringLiteral("/dev/ttyUSB0"));
    EXPECT_EQ(run(), StartupOutcome::DeviceFileMissing);

    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Critical);
    EXPECT_TRUE(ui.messages[0].text.contains(QStringLiteral("device6.ini")));
    EXPECT_TRUE(services.calls.isEmpty());
    EXPECT_FALSE(window.calls.contains(QStringLiteral("toggle:comMode1")));
    EXPECT_FALSE(window.calls.contains(QStringLiteral("toggle:blankSkip")));
    EXPECT_EQ(window.index, -1);
    for (const QString& name : logFileNames())
        EXPECT_FALSE(QFileInfo::exists(dataFile(name))) << name.toStdString();
}

TEST_F(StartupFixture, AnUnwritableWorkFileOrFolderRefusesToStart) {
    const QString expectedText =
        QStringLiteral("一時作業ファイルにアクセスすることができませんでした。"
                       "\u3000\u3000\u3000\u3000\u3000\u3000\u3000\u3000\u3000\u3000\u3000"
                       "\r\n\r\nフォルダー ") +
        QDir::toNativeSeparators(paths.dataDir) + QDir::separator() +
        QStringLiteral("\u3000の、\r\n"
                       "Tavrin6.exe , device6.ini , Tavrin6.chm , ST6UNST.*** は、そのままで\r\n"
                       "それ以外のファイルを削除後に、Tavrin6.exeを再起動してください。\r\n"
                       "\u3000\r\n\u3000");
    const char* offenders[] = {"LOG_OLD5.txt", "LOG_NEW0.txt", "temp.txt", "eepmemory_temp.txt",
                               ""};
    for (const char* offender : offenders) {
        SCOPED_TRACE(offender);
        // An empty name: the data folder itself is read-only.
        const QString path = *offender ? dataFile(QLatin1String(offender)) : paths.dataDir;
        if (*offender) writeFile(path, "x");
        const auto readOnly = QFileDevice::ReadOwner | QFileDevice::ExeOwner;
        ASSERT_TRUE(QFile::setPermissions(path, *offender ? QFileDevice::ReadOwner : readOnly));

        Session s;
        RecordingUi u;
        FakeStartupWindow w(s, settings);
        FakeStartupServices board;
        EXPECT_EQ(StartupSequence(s, u, settings, w, board).run({{}, version, paths, {}}),
                  StartupOutcome::UnwritableFiles);
        ASSERT_EQ(u.messages.size(), 1u);
        EXPECT_EQ(u.messages[0].icon, MessageIcon::Critical);
        EXPECT_EQ(u.messages[0].buttons, MessageButtons::Ok);
        EXPECT_EQ(u.messages[0].title, QStringLiteral("Tavrin Writer v4"));
        EXPECT_EQ(u.messages[0].text, expectedText);
        EXPECT_TRUE(u.deviceList.isEmpty());
        EXPECT_TRUE(board.calls.isEmpty());

        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                        QFileDevice::ExeOwner);
        if (*offender) QFile::remove(path);
    }
}

TEST_F(StartupFixture, ACommandLineDeviceInTheListIsTakenAndTheFileOpened) {
    const QString hex = hexFile();
    const QString folder = dir.filePath(QStringLiteral("My Code"));
    ASSERT_EQ(run({hex, QStringLiteral("/pic16f877a")}), StartupOutcome::Ready);

    EXPECT_FALSE(services.calls.join(QLatin1Char('|')).contains(QStringLiteral("askDevice")));
    EXPECT_EQ(session.app.StartupDeviceName, QStringLiteral("PIC16F877A"));
    EXPECT_EQ(session.device.SelectedDevice, QStringLiteral("PIC16F877A"));
    EXPECT_EQ(window.openedFile, hex);
    EXPECT_TRUE(inOrder(window.calls, {QStringLiteral("caption:") + kMainTitle + hex,
                                       QStringLiteral("caption:") + kMainTitle + folder,
                                       QStringLiteral("select:PIC16F877A"),
                                       QStringLiteral("open:") + hex, QStringLiteral("unlock")}))
        << window.calls.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(session.app.CommandLineFolder, folder);
    EXPECT_EQ(settings.value(QStringLiteral("OPEN_DIR0"), QString()), folder);
    EXPECT_EQ(ui.texts[Control::RichTxtPgmMem], StartupSequence::waitText() +
                                                    QStringLiteral("\ni:") + hex +
                                                    QStringLiteral(" /pic16f877a\n\n1:") + hex +
                                                    QStringLiteral("\n2:PIC16F877A\n3:"));
}

TEST_F(StartupFixture, ARelativePathFromTheShellIsMadeWhole) {
    const QString hex = hexFile();
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    // The shell splits "My Code/Blink.hex" at the blank.
    const StartupOutcome outcome =
        run({QStringLiteral("My"), QStringLiteral("Code/Blink.hex"), QStringLiteral("/PIC16F84A")});
    QDir::setCurrent(before);
    ASSERT_EQ(outcome, StartupOutcome::Ready);
    EXPECT_EQ(window.openedFile, hex);
    EXPECT_EQ(settings.value(QStringLiteral("OPEN_DIR0"), QString()),
              dir.filePath(QStringLiteral("My Code")));
}

TEST_F(StartupFixture, WithoutAListedDeviceThePersonChooses) {
    const QString hex = hexFile();
    const QString folder = dir.filePath(QStringLiteral("My Code"));
    struct Case {
        QStringList arguments;
        std::optional<QString> answer;
    };
    const Case cases[] = {
        {{hex}, QStringLiteral("PIC16F84A")},
        {{hex, QStringLiteral("/PIC99X")}, QStringLiteral("PIC16F84A")},
        {{hex}, std::nullopt}, // cancelled
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(QLatin1Char(' ')).toStdString());
        Session s;
        RecordingUi u;
        MemorySettingsStore store;
        store.setValue(QStringLiteral("deviceNew"), QStringLiteral("3"));
        FakeStartupWindow w(s, store);
        FakeStartupServices board;
        board.deviceAnswer = c.answer;
        ASSERT_EQ(StartupSequence(s, u, store, w, board).run({c.arguments, version, paths, {}}),
                  StartupOutcome::Ready);

        // The list opens on the part restored from the settings.
        EXPECT_EQ(board.calls, QStringList{QStringLiteral("choosePort")} +
                                   QStringList{QStringLiteral("askDevice:3")})
            << board.calls.join(QLatin1Char('|')).toStdString();
        EXPECT_EQ(board.offered, s.device.DeviceNames);
        if (c.answer) {
            EXPECT_EQ(s.device.SelectedDevice, *c.answer);
            EXPECT_EQ(w.openedFile, hex);
            EXPECT_EQ(store.value(QStringLiteral("OPEN_DIR0"), QString()), folder);
        } else {
            EXPECT_TRUE(w.openedFile.isEmpty());
            EXPECT_TRUE(s.app.CommandLine.isEmpty());
            EXPECT_EQ(w.caption, kMainTitle + folder);
            EXPECT_FALSE(store.contains(QStringLiteral("OPEN_DIR0")));
        }
        EXPECT_FALSE(w.locked);
    }
}

TEST_F(StartupFixture, ACommandLineFileThatCannotBeOpenedIsRefusedWithAStatus) {
    settings.setValue(QStringLiteral("OPEN_DIR0"), QStringLiteral("/home/bench/projects"));
    const QString missing = dir.filePath(QStringLiteral("gone.HEX"));
    const struct {
        QStringList arguments;
        bool status;
    } cases[] = {
        {{missing, QStringLiteral("/PIC16F84A")}, true},
        {{hexFile() + QStringLiteral("/PIC16F84A")}, true}, // "/" straight after ".hex"
        {{dir.filePath(QStringLiteral("notes.txt"))}, false},
        {{dir.filePath(QStringLiteral("gone\t\"1\".hex"))}, true}, // a TAB and quotes in its name
        {{}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(QLatin1Char(' ')).toStdString());
        Session s;
        RecordingUi u;
        FakeStartupWindow w(s, settings);
        FakeStartupServices board;
        // The port choice and the board search write the status line after the command line
        // was read; the refusal must still be what the person sees when the window opens.
        board.onChoosePort = [&u] { ShowStatusMessage(u, QStringLiteral("ライター未接続")); };
        ASSERT_EQ(StartupSequence(s, u, settings, w, board).run({c.arguments, version, paths, {}}),
                  StartupOutcome::Ready);
        EXPECT_EQ(u.statusText == QStringLiteral("ファイルをオープンできませんでした。 "), c.status)
            << u.statusHistory.join(QLatin1Char('|')).toStdString();
        EXPECT_TRUE(w.openedFile.isEmpty());
        EXPECT_EQ(board.calls, QStringList{QStringLiteral("choosePort")});
        EXPECT_EQ(w.caption, kMainTitle + QStringLiteral("/home/bench/projects"));
        EXPECT_TRUE(s.app.CommandLineHexPath.isEmpty());
    }
}

TEST_F(StartupFixture, APartThatFailsToLoadOpensNoCommandLineFile) {
    window.brokenDevice = QStringLiteral("PIC16F877A");
    ASSERT_EQ(run({hexFile(), QStringLiteral("/PIC16F877A")}), StartupOutcome::Ready);
    EXPECT_TRUE(window.openedFile.isEmpty());
    EXPECT_TRUE(session.app.CommandLine.isEmpty());
    EXPECT_FALSE(window.locked);
}

// The last part is found by its name; the index of older settings serves only without one. The
// part asked for in place of a saved one (the run command's emulated part) counts only when
// neither is saved.
TEST_F(StartupFixture, TheLastDeviceIsRestoredByName) {
    struct Case {
        const char* index; // nullptr: no setting
        const char* name;
        const char* fallback;
        int expected; // -1 none; -2 the index of "PIC16F877A"
    };
    const Case cases[] = {
        {nullptr, nullptr, "", 0},
        {"5", nullptr, "", 5},
        {"5", "PIC16F877A", "", -2},
        {"5", "PIC99GONE", "", -1},
        {"999", nullptr, "", -1},
        {"-1", nullptr, "", -1},
        {"junk", nullptr, "", -1},
        {nullptr, nullptr, "PIC16F877A", -2},
        {nullptr, nullptr, " PIC16F877A ", -2},
        {nullptr, nullptr, "PIC99GONE", 0},
        {nullptr, nullptr, "pic16f877a", 0},
        {"5", nullptr, "PIC16F877A", 5},
        {"0", nullptr, "PIC16F877A", 0},
        {nullptr, "PIC16F877A", "PIC12F683", -2},
        {"junk", nullptr, "PIC16F877A", -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.index ? c.index : "-") + "/" + (c.name ? c.name : "-") + "/" +
                     c.fallback);
        Session s;
        RecordingUi u;
        MemorySettingsStore store;
        if (c.index) store.setValue(QStringLiteral("deviceNew"), QLatin1String(c.index));
        if (c.name) store.setValue(QStringLiteral("deviceNewName"), QLatin1String(c.name));
        FakeStartupWindow w(s, store);
        FakeStartupServices board;
        StartupInput input{{}, version, paths, {}};
        input.fallbackDevice = QLatin1String(c.fallback);
        ASSERT_EQ(StartupSequence(s, u, store, w, board).run(input), StartupOutcome::Ready);
        const int expected =
            c.expected == -2 ? int(s.device.DeviceNames.indexOf("PIC16F877A")) : c.expected;
        EXPECT_EQ(w.index, expected);
    }
}

TEST(StartupDeviceChoice, OnlyAnExactListedNameIsTakenWithoutAsking) {
    test::FakeStartupServices board;
    board.deviceAnswer = QStringLiteral("B");
    const QStringList names{QStringLiteral("A"), QStringLiteral("B"), QString(),
                            QStringLiteral("C")};
    EXPECT_EQ(chooseStartupDevice(names, 1, QStringLiteral("A"), board), QStringLiteral("A"));
    EXPECT_TRUE(board.calls.isEmpty());
    // Names after the first empty entry are not listed, so "C" is asked for.
    EXPECT_EQ(chooseStartupDevice(names, 1, QStringLiteral("C"), board), QStringLiteral("B"));
    EXPECT_EQ(board.offered, (QStringList{QStringLiteral("A"), QStringLiteral("B")}));
    EXPECT_EQ(chooseStartupDevice(names, 0, QStringLiteral("a"), board), QStringLiteral("B"));
    EXPECT_EQ(board.calls.size(), 2);
}

TEST(StartupDeviceChoice, FolderOfTheCommandLineFile) {
    EXPECT_EQ(commandLineFolder(QStringLiteral("/home/x/My Code/a.hex")),
              QStringLiteral("/home/x/My Code"));
    EXPECT_EQ(commandLineFolder(QStringLiteral("C:\\work\\a.HEX")), QStringLiteral("C:\\work"));
    EXPECT_EQ(commandLineFolder(QStringLiteral("a.hex")), QString());
}
