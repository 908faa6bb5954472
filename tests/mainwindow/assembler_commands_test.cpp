// The assembler menu's commands on the session, with small shell scripts standing in for the
// assembler or compiler: which files a run works on, where and how the tool runs, what happens
// to the HEX file already on disk, what is reloaded, opened and shown.
#include "fake_assembler_view.h"
#include "logic_fixture.h"

#include "core/clock.h"
#include "core/operation_guard.h"
#include "mainwindow/logic/assembler_commands.h"
#include "mainwindow/logic/assembler_tool.h"
#include "mainwindow/logic/device_selection.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>

using namespace tavrin;
using namespace tavrin::test;

namespace {

// The status line shows a text, a blank and its detail, which is empty here.
QString shown(const QString& text) {
    return text + QLatin1Char(' ');
}

const QString kRegenerated = shown(QStringLiteral("ＨＥＸファイルの再生成と再ロード完了。"));
const QString kAssembleError = shown(QStringLiteral("アセンブルエラーを検出しました。"));
const QString kCompileError = shown(QStringLiteral("コンパイルエラーを検出しました。"));
const QString kSourceMissing = shown(QStringLiteral("ソースファイルをオープンできませんでした。"));
const QByteArray kOldHex = ":0200000001200DD\n:00000001FF\n";

QString writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return path;
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// Single-quoted for sh.
QString shellQuoted(const QString& text) {
    QString t = text;
    t.replace(QLatin1Char('\''), QLatin1String("'\\''"));
    return QLatin1Char('\'') + t + QLatin1Char('\'');
}

struct AssemblerFixture : LogicFixture {
    QTemporaryDir dir;
    VirtualClock clock;
    FakeAssemblerView asmView{s};
    AssemblerCommands commands{ctx, asmView, clock};
    QString folder = dir.filePath(QStringLiteral("a b;$()"));
    QString source = folder + QStringLiteral("/p g;$().asm");
    QString hex = folder + QStringLiteral("/p g;$().hex");
    QString record = dir.filePath(QStringLiteral("record.txt"));

    AssemblerFixture() {
        s.app.MainTitle = QStringLiteral("TW - ");
        SelectDevice(ctx, QStringLiteral("PIC16F84A"), indexOf(QStringLiteral("PIC16F84A")));
        writeFile(source, "\tend\n");
    }

    // A tool at dir/name that records its arguments and working folder, then runs body with
    // $base set to the source's name without its extension.
    QString tool(const QString& name, const QString& body) {
        const QString path = dir.filePath(name);
        writeFile(path, ("#!/bin/sh\n"
                         "for a; do src=$a; done\n"
                         "base=${src%.*}\n"
                         "printf '%s\\n' \"$@\" > " +
                         shellQuoted(record) +
                         "\n"
                         "pwd >> " +
                         shellQuoted(record) + "\n" + body + "\n")
                            .toUtf8());
        QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::ExeOwner);
        s.app.AsmToolPath = path;
        return path;
    }
    QString writesHex() {
        return tool(QStringLiteral("gpasm"),
                    QStringLiteral("printf ':00000001FF\\n' > \"$base.hex\""));
    }
    QString failsWithListing() {
        return tool(QStringLiteral("gpasm"),
                    QStringLiteral("echo 'Error' > \"$base.lst\"\nexit 1"));
    }
    QStringList recorded() const {
        if (!QFileInfo::exists(record)) return {};
        return QString::fromUtf8(readFile(record)).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
    // The last argument the tool was given: the source's name.
    QString sourceArgument() const {
        const QStringList r = recorded();
        return r.size() >= 2 ? r[r.size() - 2] : QString();
    }
    // Files in the source folder, for "nothing left behind" checks.
    QStringList folderFiles() const { return QDir(folder).entryList(QDir::Files, QDir::Name); }
};

TEST(AssemblerRun, RunsBesideTheChosenSourceWithItsNameAsOneArgumentAndReloads) {
    AssemblerFixture f;
    f.writesHex();
    f.settings.setValue("OPEN_DIR0", f.dir.path()); // not the source's folder
    f.settings.setValue("AsmOption", "-q -D \"NAME=a b\"");
    f.settings.setValue("Display_option", "1");
    f.view.fileAnswers = {f.source};

    f.commands.mnuASMwithRELOAD_Click();

    ASSERT_EQ(f.view.dialogs.size(), 1u);
    EXPECT_EQ(f.view.dialogs[0].title,
              QStringLiteral(
                  "HEXファイルが未指定なので、アセンブルを行うソースファイルを指定してください。"));
    EXPECT_EQ(f.view.dialogs[0].initialDir, f.dir.path());
    EXPECT_EQ(f.recorded(), (QStringList{"-q", "-D", "NAME=a b", "p g;$().asm", f.folder}));
    EXPECT_EQ(f.s.app.HexFilePath, f.hex);
    EXPECT_EQ(f.settings.value("OPEN_DIR0", ""), f.folder);
    EXPECT_EQ(f.view.caption, QStringLiteral("TW - ") + f.hex);
    EXPECT_EQ(f.loaded, QStringList{QStringLiteral("14:") + f.hex});
    EXPECT_TRUE(f.s.app.AssembleSucceeded);
    EXPECT_FALSE(f.s.app.ReopenWithoutDialog);
    EXPECT_FALSE(f.s.run.OperationRunning);
    EXPECT_EQ(f.ui.statusHistory.first(), shown(QStringLiteral("ＨＥＸファイル生成中.....")));
    EXPECT_EQ(f.ui.statusText, kRegenerated);
    EXPECT_EQ(f.asmView.waits, 1);
    EXPECT_FALSE(f.asmView.waitOpen);
    ASSERT_EQ(f.asmView.information.size(), 1);
    EXPECT_EQ(
        f.asmView.information[0],
        QStringLiteral("アセンブル・コンパイル情報\r\n\r\nシェル起動コマンド　　\r\n  ") +
            f.s.app.AsmToolPath +
            QStringLiteral(" -q -D \"NAME=a b\" \"p g;$().asm\"\r\nエラー時に開くファイル\r\n  ") +
            f.folder + QStringLiteral("/p g;$().lst\r\nカレントディレクトリ　\r\n  ") + f.folder);
    EXPECT_EQ(f.folderFiles(), (QStringList{"p g;$().asm", "p g;$().hex"}));
}

TEST(AssemblerRun, ANewHexReplacesTheOldOneWhichLeavesNoCopyBehind) {
    AssemblerFixture f;
    f.writesHex();
    f.s.app.HexFilePath = writeFile(f.hex, kOldHex);
    f.commands.mnuASMwithRELOAD_Click();
    EXPECT_TRUE(f.view.dialogs.empty());
    EXPECT_EQ(readFile(f.hex), QByteArray(":00000001FF\n"));
    EXPECT_EQ(f.folderFiles(), (QStringList{"p g;$().asm", "p g;$().hex"}));
    EXPECT_TRUE(f.s.app.AssembleSucceeded);
}

// With nothing saved a run uses what the settings window shows: the options "-q", and the listing
// opened as text after a failure.
TEST(AssemblerRun, NothingSavedRunsWithTheDefaultsTheSettingsWindowShows) {
    AssemblerFixture f;
    f.failsWithListing();
    f.s.app.HexFilePath = f.hex;
    f.commands.mnuASMwithRELOAD_Click();
    EXPECT_EQ(f.recorded(), (QStringList{"-q", "p g;$().asm", f.folder}));
    EXPECT_EQ(f.asmView.opened,
              QStringList{QStringLiteral("text:") + f.folder + QStringLiteral("/p g;$().lst")});
    EXPECT_EQ(f.ui.statusText, kAssembleError);
}

// A failed run leaves the HEX file the person had, erases the buffer, opens the error file the
// settings name and says which kind of tool failed.
TEST(AssemblerRun, AFailedRunKeepsThePreviousHexAndOpensTheErrorFile) {
    struct Case {
        const char* toolName;
        const char* sourceName; // in the folder, beside the HEX
        const char* editerA;    // "" = not saved
        const char* errorExtension;
        const char* opened; // "" = nothing
        QString status;
    };
    const Case cases[] = {
        {"gpasm", "p g;$().asm", "", " lst ", "text:p g;$().lst", kAssembleError},
        {"gpasm", "p g;$().asm", "False", "lst", "associated:p g;$().lst", kAssembleError},
        {"gpasm", "p g;$().asm", "", "", "", kAssembleError},
        {"gpasm", "p g;$().asm", "", "err", "", kAssembleError}, // no such file: nothing
        {"ccsc.exe", "p g;$().c", "True", "lst", "text:p g;$().lst", kCompileError},
        {"/bin/ccsc", "p g;$().c", "True", "lst", "text:p g;$().lst", kCompileError},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.toolName);
        AssemblerFixture f;
        QFile::remove(f.source);
        writeFile(f.folder + QLatin1Char('/') + QLatin1String(c.sourceName), "x");
        f.tool(QString::fromLatin1(c.toolName).section(QLatin1Char('/'), -1),
               QStringLiteral("echo 'Error' > \"$base.lst\"\nexit 1"));
        if (*c.editerA) f.settings.setValue("EditerA", c.editerA);
        f.settings.setValue("AsmAfter", c.errorExtension);
        f.s.app.HexFilePath = writeFile(f.hex, kOldHex);
        f.s.buffer.ProgramImage[0] = 0x12;

        f.commands.mnuASMwithRELOAD_Click();

        EXPECT_EQ(readFile(f.hex), kOldHex);
        EXPECT_EQ(f.sourceArgument(), QString::fromLatin1(c.sourceName));
        EXPECT_FALSE(f.s.app.AssembleSucceeded);
        EXPECT_TRUE(f.loaded.isEmpty());
        EXPECT_EQ(f.s.buffer.ProgramImage[0], 0x3F); // erased
        EXPECT_EQ(f.ui.statusText, c.status);
        const QStringList expectedOpened =
            *c.opened ? QStringList{QString::fromLatin1(c.opened).replace(
                            QStringLiteral(":"), QStringLiteral(":") + f.folder + QLatin1Char('/'))}
                      : QStringList{};
        EXPECT_EQ(f.asmView.opened, expectedOpened);
        EXPECT_FALSE(f.folderFiles().join(QLatin1Char(',')).contains(QLatin1String("previous")));
    }
}

// Nothing is deleted or started when the run cannot make a new HEX file.
TEST(AssemblerRun, NeitherAMissingSourceNorAMissingToolCostsTheHexFile) {
    {
        AssemblerFixture f;
        f.writesHex();
        QFile::remove(f.source);
        f.s.app.HexFilePath = writeFile(f.hex, kOldHex);
        f.commands.mnuASMwithRELOAD_Click();
        EXPECT_EQ(f.ui.statusText, kSourceMissing);
        EXPECT_EQ(readFile(f.hex), kOldHex);
        EXPECT_EQ(f.asmView.waits, 0);
    }
    for (const QString& tool : {QString(), QStringLiteral("/no/such/gpasm")}) {
        AssemblerFixture f;
        f.s.app.AsmToolPath = tool;
        f.s.app.HexFilePath = writeFile(f.hex, kOldHex);
        f.commands.mnuASMwithRELOAD_Click();
        ASSERT_EQ(f.ui.messages.size(), 1u);
        EXPECT_EQ(f.ui.messages[0].title, QStringLiteral("Tavrin Writer v4"));
        EXPECT_TRUE(f.ui.messages[0].text.startsWith(
            QStringLiteral("アセンブラ、または、コンパイラが指定されていません。\r\n\r\n")));
        EXPECT_EQ(readFile(f.hex), kOldHex);
        EXPECT_EQ(f.asmView.waits, 0);
    }
    {
        AssemblerFixture f;
        f.writesHex();
        f.view.fileAnswers = {QString()};
        f.commands.mnuASMwithRELOAD_Click();
        EXPECT_EQ(f.ui.statusText, kSourceMissing);
        EXPECT_TRUE(f.s.app.HexFilePath.isEmpty());
        EXPECT_EQ(f.asmView.waits, 0);
    }
}

// The tool names its output after the source: PROG.ASM gives PROG.hex, whatever the case of the
// HEX file the person knows. That output is the result and takes the known name; a file of such a
// name that the run did not touch is no result.
TEST(AssemblerRun, AnOutputNamedInAnotherCaseIsTheResult) {
    struct Case {
        const char* known;
        const char* untouchedBefore; // beside the known HEX file before the run, or nullptr
        bool toolWrites;
        QStringList filesAfter;
    };
    const Case cases[] = {
        {"PROG.HEX", nullptr, true, {"PROG.ASM", "PROG.HEX"}},
        {"prog.hex", nullptr, true, {"PROG.ASM", "prog.hex"}},
        {"PROG.HEX", "PROG.hex", false, {"PROG.ASM", "PROG.HEX", "PROG.hex", "PROG.lst"}},
        {"PROG.HEX", "PROG.hex", true, {"PROG.ASM", "PROG.HEX"}},
    };
    const QByteArray stale = ":020000000000FE\n:00000001FF\n";
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.known) + (c.toolWrites ? " written" : " failed"));
        AssemblerFixture f;
        QFile::remove(f.source);
        writeFile(f.folder + QStringLiteral("/PROG.ASM"), "\tend\n");
        if (c.toolWrites)
            f.writesHex();
        else
            f.failsWithListing();
        const QString known = f.folder + QLatin1Char('/') + QLatin1String(c.known);
        f.s.app.HexFilePath = writeFile(known, kOldHex);
        if (c.untouchedBefore) {
            const QString path =
                writeFile(f.folder + QLatin1Char('/') + QLatin1String(c.untouchedBefore), stale);
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::ReadWrite));
            file.setFileTime(QDateTime::currentDateTime().addSecs(-3600),
                             QFileDevice::FileModificationTime);
        }

        f.commands.mnuASMwithRELOAD_Click();

        EXPECT_EQ(f.sourceArgument(), QStringLiteral("PROG.ASM"));
        EXPECT_EQ(f.folderFiles(), c.filesAfter);
        EXPECT_EQ(f.s.app.HexFilePath, known);
        EXPECT_EQ(f.s.app.AssembleSucceeded, c.toolWrites);
        EXPECT_EQ(f.ui.statusText, c.toolWrites ? kRegenerated : kAssembleError);
        EXPECT_EQ(readFile(known), c.toolWrites ? QByteArray(":00000001FF\n") : kOldHex);
        EXPECT_EQ(f.loaded,
                  c.toolWrites ? QStringList{QStringLiteral("14:") + known} : QStringList{});
        if (c.untouchedBefore && !c.toolWrites) {
            EXPECT_EQ(readFile(f.folder + QLatin1Char('/') + QLatin1String(c.untouchedBefore)),
                      stale);
        }
    }
}

// A compiler that cannot tell success itself: the person is asked; a Yes reloads but never
// programs.
TEST(AssemblerRun, TheCompilerThatCannotTellAsksThePerson) {
    for (MessageAnswer answer : {MessageAnswer::Yes, MessageAnswer::No}) {
        AssemblerFixture f;
        writeFile(f.folder + QStringLiteral("/p g;$().c"), "x");
        f.tool(QStringLiteral("picc.exe"),
               QStringLiteral("printf ':00000001FF\\n' > \"$base.hex\"\necho e > \"$base.lst\""));
        f.settings.setValue("AsmAfter", "lst");
        f.s.app.HexFilePath = f.hex;
        f.ui.answers = {answer};
        f.commands.mnuAsmReloadProgram_Click();
        ASSERT_EQ(f.ui.messages.size(), 1u);
        EXPECT_EQ(f.ui.messages[0].buttons, MessageButtons::YesNo);
        EXPECT_TRUE(
            f.ui.messages[0].text.startsWith(QStringLiteral("コンパイルは正常に終了しましたか？")));
        EXPECT_EQ(f.ui.messages[0].text, compileSucceededQuestion());
        EXPECT_FALSE(f.s.app.AssembleSucceeded);
        EXPECT_EQ(f.asmView.programStarts, 0);
        if (answer == MessageAnswer::Yes) {
            EXPECT_EQ(f.loaded, QStringList{QStringLiteral("14:") + f.hex});
            EXPECT_EQ(f.ui.statusText, kRegenerated);
            EXPECT_TRUE(f.asmView.opened.isEmpty());
        } else {
            EXPECT_TRUE(f.loaded.isEmpty());
            EXPECT_EQ(f.ui.statusText, kCompileError);
            EXPECT_EQ(f.asmView.opened, QStringList{QStringLiteral("text:") + f.folder +
                                                    QStringLiteral("/p g;$().lst")});
        }
    }
}

// Programming follows only a reload the loader took, and starts with the guard free for it.
TEST(AssemblerRun, ProgramsOnlyAfterASuccessfulReload) {
    struct Case {
        bool toolWritesHex;
        bool loaderTakesIt;
        int programStarts;
    };
    for (const Case c : {Case{true, true, 1}, Case{false, true, 0}, Case{true, false, 0}}) {
        AssemblerFixture f;
        if (c.toolWritesHex)
            f.writesHex();
        else
            f.failsWithListing();
        if (!c.loaderTakesIt)
            f.ctx.services.loadHexFile = [](Session& s, OperatorUi&, const QString&,
                                            const std::function<void()>& beforeLoading) {
                beforeLoading();
                s.run.HexLoadResult = QStringLiteral("NG");
            };
        f.s.app.HexFilePath = f.hex;
        f.commands.mnuAsmReloadProgram_Click();
        EXPECT_EQ(f.asmView.programStarts, c.programStarts);
        EXPECT_EQ(f.s.app.AssembleSucceeded, c.programStarts == 1);
        if (c.programStarts) {
            EXPECT_FALSE(f.asmView.guardHeldAtProgramStart);
        }
        if (c.toolWritesHex && !c.loaderTakesIt) {
            EXPECT_NE(f.ui.statusText, kRegenerated);
        }
    }
}

// A cancelled or endless tool is stopped with everything it started; the old HEX stays.
TEST(AssemblerRun, ACancelledOrEndlessToolIsStoppedAndTheOldHexStays) {
    for (bool cancel : {true, false}) {
        SCOPED_TRACE(cancel ? "cancelled" : "timed out");
        AssemblerFixture f;
        const QString childPid = f.dir.filePath(QStringLiteral("child.pid"));
        f.tool(QStringLiteral("gpasm"),
               QStringLiteral("printf ':0' > \"$base.hex\"\n"
                              "sleep 15 &\necho $! > ") +
                   shellQuoted(childPid) +
                   QStringLiteral("\nwait\nprintf ':00000001FF\\n' > \"$base.hex\""));
        f.s.app.HexFilePath = writeFile(f.hex, kOldHex);
        // Real time here: the tool's own time passes on the steady clock.
        SteadyClock real;
        AssemblerCommands commands(f.ctx, f.asmView, real);
        if (cancel)
            f.asmView.cancelAfterLooks = 6;
        else
            commands.setToolWaitLimitMs(300);
        commands.mnuASMwithRELOAD_Click();

        EXPECT_EQ(readFile(f.hex), kOldHex);
        EXPECT_TRUE(f.ui.statusText.startsWith(
            cancel
                ? QStringLiteral("<<注意>>ＨＥＸファイルの生成を中止しました。")
                : QStringLiteral("<<注意>>アセンブラ・コンパイラが終了しないため中止しました。")));
        EXPECT_FALSE(f.s.app.AssembleSucceeded);
        EXPECT_TRUE(f.loaded.isEmpty());
        EXPECT_FALSE(f.asmView.waitOpen);
        EXPECT_EQ(f.folderFiles(), (QStringList{"p g;$().asm", "p g;$().hex"}));
        const QByteArray pid = readFile(childPid).trimmed();
        if (pid != "<missing>") {
            // The tool's own child went with it (it would otherwise sleep on for 15 s).
            bool gone = false;
            for (int i = 0; i < 100 && !gone; ++i) {
                gone = ::kill(pid.toInt(), 0) != 0;
                if (!gone) QThread::msleep(50);
            }
            EXPECT_TRUE(gone);
        }
        // The wait window was looked at while the tool ran.
        EXPECT_GT(f.asmView.looks, 0);
    }
}

TEST(AssemblerRun, EveryCommandWaitsForTheRunningOperation) {
    AssemblerFixture f;
    f.writesHex();
    f.s.app.HexFilePath = writeFile(f.hex, kOldHex);
    f.s.run.OperationRunning = true;
    f.view.fileAnswers = {f.source, f.source, f.source};
    f.commands.mnuASMwithRELOAD_Click();
    f.commands.mnuAsmReloadProgram_Click();
    f.commands.mnuRELOAD_Click();
    f.commands.mnuSourceOpen_Click();
    f.commands.mnuEditer_Click();
    EXPECT_EQ(f.ui.statusHistory, QStringList(5, shown(kOperationRunningText)));
    EXPECT_TRUE(f.view.dialogs.empty());
    EXPECT_EQ(f.asmView.waits, 0);
    EXPECT_EQ(f.asmView.programStarts, 0);
    EXPECT_TRUE(f.asmView.opened.isEmpty());
    EXPECT_TRUE(f.loaded.isEmpty());
    EXPECT_EQ(f.s.app.HexFilePath, f.hex);
    EXPECT_TRUE(f.s.run.OperationRunning);
}

TEST(Reload, ReloadsTheKnownFileOrAsksForOne) {
    const QString failed = shown(QStringLiteral("HEXファイルをロードできませんでした。"));
    {
        AssemblerFixture f;
        f.s.app.HexFilePath = writeFile(f.hex, kOldHex);
        f.settings.setValue("OPEN_DIR0", "/elsewhere");
        f.ctx.lastDialogPath = QStringLiteral("/elsewhere/x.hex");
        f.commands.mnuRELOAD_Click();
        EXPECT_TRUE(f.view.dialogs.empty());
        EXPECT_EQ(f.loaded, QStringList{QStringLiteral("14:") + f.hex});
        EXPECT_EQ(f.ui.statusHistory,
                  (QStringList{shown(QStringLiteral("ファイルロード中..........")),
                               shown(QStringLiteral("HEXファイルの再ロード完了。"))}));
        EXPECT_EQ(f.settings.value("OPEN_DIR0", ""), f.folder);
        EXPECT_EQ(f.view.caption, QStringLiteral("TW - ") + f.hex);
        EXPECT_FALSE(f.s.app.ReopenWithoutDialog);
    }
    {
        AssemblerFixture f;
        f.view.fileAnswers = {writeFile(f.hex, kOldHex)};
        f.commands.mnuRELOAD_Click();
        ASSERT_EQ(f.view.dialogs.size(), 1u);
        EXPECT_EQ(
            f.view.dialogs[0].title,
            QStringLiteral("HEXファイルが未指定なので、ロードするHEXファイルを指定してください。"));
        EXPECT_EQ(f.loaded, QStringList{QStringLiteral("14:") + f.hex});
    }
    for (const QString& known : {QString(), QStringLiteral("/no/such.hex")}) {
        AssemblerFixture f;
        f.s.app.HexFilePath = known;
        f.view.fileAnswers = {QString()};
        f.commands.mnuRELOAD_Click();
        EXPECT_EQ(f.ui.statusText, failed);
        EXPECT_TRUE(f.loaded.isEmpty());
    }
    {
        // A load the loader refused ends without the completion text, also when an earlier load
        // succeeded.
        AssemblerFixture f;
        f.s.run.HexLoadResult = QStringLiteral("OK");
        f.s.app.HexFilePath = writeFile(f.hex, kOldHex);
        f.ctx.services.loadHexFile = [](Session&, OperatorUi&, const QString&,
                                        const std::function<void()>&) {};
        f.commands.mnuRELOAD_Click();
        EXPECT_EQ(f.ui.statusText, shown(QStringLiteral("ファイルロード中..........")));
    }
}

TEST(SourceChoice, NamesTheHexFileOfTheChosenSource) {
    struct Case {
        const char* tool;
        const char* chosen;
        bool exists;
        const char* hexPath; // after the command
        bool remembered;     // folder saved and caption set
        const char* filter;
    };
    const Case cases[] = {
        {"/usr/bin/gpasm", "my.dir/test.asm", true, "my.dir/test.hex", true,
         "ASMファイル (*.ASM *.asm);;全てのファイル (*)"},
        {"C:\\Tools\\CCSC.EXE", "w/main.c", true, "w/main.hex", true,
         "Cファイル (*.C *.c);;全てのファイル (*)"},
        {"/opt/picc18", "w/main.c", false, "w/main.hex", false,
         "Cファイル (*.C *.c);;全てのファイル (*)"},
        {"/usr/bin/gpasm", "w/noextension", true, "before.hex", false,
         "ASMファイル (*.ASM *.asm);;全てのファイル (*)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.chosen);
        AssemblerFixture f;
        f.s.app.AsmToolPath = QString::fromLatin1(c.tool);
        f.s.app.HexFilePath = QStringLiteral("before.hex");
        const QString chosen = f.dir.filePath(QString::fromLatin1(c.chosen));
        if (c.exists) writeFile(chosen, "x");
        f.view.fileAnswers = {chosen};
        f.commands.mnuSourceOpen_Click();
        ASSERT_EQ(f.view.dialogs.size(), 1u);
        EXPECT_EQ(f.view.dialogs[0].filter, QString::fromUtf8(c.filter));
        const QString expectedHex = QString::fromLatin1(c.hexPath) == QLatin1String("before.hex")
                                        ? QStringLiteral("before.hex")
                                        : f.dir.filePath(QString::fromLatin1(c.hexPath));
        EXPECT_EQ(f.s.app.HexFilePath, expectedHex);
        EXPECT_EQ(f.settings.contains("OPEN_DIR0"), c.remembered);
        EXPECT_EQ(f.view.caption.isEmpty(), !c.remembered);
        EXPECT_TRUE(f.loaded.isEmpty());
        EXPECT_TRUE(f.recorded().isEmpty());
    }
}

TEST(Editor, OpensTheChosenFileAsTheSettingsSay) {
    for (const char* editerA : {"True", "False"}) {
        AssemblerFixture f;
        f.settings.setValue("EditerA", editerA);
        f.view.fileAnswers = {f.source, QString()};
        f.commands.mnuEditer_Click();
        f.commands.mnuEditer_Click(); // cancelled: silent
        EXPECT_EQ(f.view.dialogs[0].title, QStringLiteral("ソースファイルを開く"));
        EXPECT_EQ(f.asmView.opened, QStringList{(QLatin1String(editerA) == QLatin1String("True")
                                                     ? QStringLiteral("text:")
                                                     : QStringLiteral("associated:")) +
                                                f.source});
        EXPECT_TRUE(f.ui.statusHistory.isEmpty());
    }
}

// What a run works out before it starts.
TEST(AssemblerTool, KindsFilesAndArguments) {
    struct KindCase {
        const char* path;
        int run;
        int choice;
    };
    for (const KindCase& c :
         {KindCase{"C:\\Tools\\MPASMWIN.exe", 1, 1}, KindCase{"c:\\mplab\\mpasm.exe", 1, 1},
          KindCase{"/usr/bin/gpasm", 0, 0},
          KindCase{"C:\\picc\\CCSC.EXE", 2, 3}, // the folder names picc
          KindCase{"c:\\mpasm.exe.d\\picc.exe", 3, 3}, KindCase{"/opt/hitech/picc", 3, 3},
          KindCase{"/opt/picc18", 0, 3}, KindCase{"/usr/bin/sdcc", 0, 0}}) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(toolKindForRun(QString::fromLatin1(c.path)), c.run);
        EXPECT_EQ(toolKindForSourceChoice(QString::fromLatin1(c.path)), c.choice);
    }
    EXPECT_EQ(basePathOf(QStringLiteral("C:\\w\\prog.hex")), QStringLiteral("C:\\w\\prog."));
    EXPECT_EQ(basePathOf(QStringLiteral("/w/x.y/prog.HEX")), QStringLiteral("/w/x.y/prog."));
    EXPECT_EQ(basePathOf(QStringLiteral("/w/x.y/prog")), QStringLiteral("/w/x.y/prog."));
    EXPECT_EQ(basePathOf(QStringLiteral("/w/main.c")), QStringLiteral("/w/main."));

    QTemporaryDir dir;
    writeFile(dir.filePath(QStringLiteral("PROG.ASM")), "x");
    const AssemblerFiles upper = assemblerFiles(dir.filePath(QStringLiteral("PROG.HEX")),
                                                toolVariant(0), QStringLiteral(" err "));
    EXPECT_EQ(upper.source, dir.filePath(QStringLiteral("PROG.ASM")));
    EXPECT_EQ(upper.hex, dir.filePath(QStringLiteral("PROG.HEX")));
    EXPECT_EQ(upper.errorFile, dir.filePath(QStringLiteral("PROG.err")));
    const AssemblerFiles c =
        assemblerFiles(dir.filePath(QStringLiteral("main.hex")), toolVariant(2), QString());
    EXPECT_EQ(c.source, dir.filePath(QStringLiteral("main.c")));
    EXPECT_TRUE(c.errorFile.isEmpty());

    EXPECT_EQ(toolArguments(QStringLiteral(" -q  -I \"my inc\" "), QStringLiteral("a b;$().asm")),
              (QStringList{"-q", "-I", "my inc", "a b;$().asm"}));
    EXPECT_EQ(toolArguments(QString(), QStringLiteral("x.asm")), QStringList{"x.asm"});
}

} // namespace
