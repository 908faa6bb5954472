// The assembler settings window's rules, on its logic: what it shows at load, which files it
// takes as the tool, and what each way of closing stores or puts back.
#include "core/session.h"
#include "core/settings_store.h"
#include "tools/logic/assembler_settings.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <vector>

using namespace tavrin;

namespace {

using Values = std::map<QString, QString>;

enum class Act { ChooseTool, Options, ErrorExtension, Notepad, Associated, Ccsc, Display };
enum class Close { Ok, Cancel, Frame };

struct Step {
    Act act;
    QString text;
    bool flag = true;
};

struct Case {
    const char* name;
    Values saved;       // settings before the window opens
    QString toolBefore; // AsmToolPath before
    QString onPath;     // what the PATH offers ("" = nothing)
    std::vector<Step> steps;
    Close close;
    Values stored;     // settings after, every key
    QString toolAfter; // AsmToolPath after
};

const Values kAllDefaults{{"AsmOption", "-q"},  {"AsmAfter", "lst"},  {"EditerA", "True"},
                          {"EditerB", "False"}, {"CCSC_option", "0"}, {"Display_option", "0"}};

Values with(Values base, const Values& more) {
    for (const auto& [k, v] : more)
        base[k] = v;
    return base;
}

TEST(AssemblerSettings, StoreAndRestoreRules) {
    QTemporaryDir dir;
    // A program here has no ".exe": an executable file is a tool, a plain file is not.
    const QString script = dir.filePath(QStringLiteral("my asm"));
    const QString plain = dir.filePath(QStringLiteral("notes.txt"));
    for (const QString& p : {script, plain}) {
        QFile f(p);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("#!/bin/sh\n");
    }
    QFile::setPermissions(script, QFile::permissions(script) | QFileDevice::ExeOwner);

    const Values savedTool{{"AsmFilePathWithFileName", "/old/gpasm"}, {"AsmFilePath", "/old"}};
    const std::vector<Case> cases = {
        {"closing with OK unchanged stores nothing and keeps the tool",
         savedTool,
         "/old/gpasm",
         "/usr/bin/gpasm",
         {},
         Close::Ok,
         savedTool,
         "/old/gpasm"},
        {"a tool chosen (.EXE in capitals) is stored with its folder and every field",
         savedTool,
         "/old/gpasm",
         "",
         {{Act::ChooseTool, "C:\\Tools\\MPASMWIN.EXE"}},
         Close::Ok,
         with(kAllDefaults, {{"AsmFilePathWithFileName", "C:\\Tools\\MPASMWIN.EXE"},
                             {"AsmFilePath", "C:\\Tools"}}),
         "C:\\Tools\\MPASMWIN.EXE"},
        {"an executable without .exe is a tool",
         {},
         "",
         "",
         {{Act::ChooseTool, script}},
         Close::Ok,
         with(kAllDefaults, {{"AsmFilePathWithFileName", script}, {"AsmFilePath", dir.path()}}),
         script},
        {"Cancel puts the tool back and stores nothing",
         savedTool,
         "/old/gpasm",
         "",
         {{Act::ChooseTool, script}, {Act::Options, "-w 2"}},
         Close::Cancel,
         savedTool,
         "/old/gpasm"},
        {"the close box keeps a chosen tool for this run, unsaved",
         savedTool,
         "/old/gpasm",
         "",
         {{Act::ChooseTool, script}},
         Close::Frame,
         savedTool,
         script},
        {"options alone are stored without the tool keys",
         savedTool,
         "/old/gpasm",
         "",
         {{Act::Options, "-p p16f877a"}, {Act::ErrorExtension, ""}},
         Close::Ok,
         with(savedTool, with(kAllDefaults, {{"AsmOption", "-p p16f877a"}, {"AsmAfter", ""}})),
         "/old/gpasm"},
        {"a refused file keeps the edits made before it",
         savedTool,
         "/old/gpasm",
         "",
         {{Act::Options, "-p p16f877a"}, {Act::ChooseTool, plain}},
         Close::Ok,
         with(savedTool, with(kAllDefaults, {{"AsmOption", "-p p16f877a"}})),
         "/old/gpasm"},
        {"a refused file alone changes nothing",
         savedTool,
         "/old/gpasm",
         "",
         {{Act::ChooseTool, plain}},
         Close::Ok,
         savedTool,
         "/old/gpasm"},
        {"the display box alone is a change",
         savedTool,
         "/old/gpasm",
         "",
         {{Act::Display, "", true}},
         Close::Ok,
         with(savedTool, with(kAllDefaults, {{"Display_option", "1"}})),
         "/old/gpasm"},
        {"the open-with choice and the device option are stored as the window shows them",
         savedTool,
         "/old/gpasm",
         "",
         {{Act::Associated, ""}, {Act::Ccsc, "", true}},
         Close::Ok,
         with(savedTool, with(kAllDefaults,
                              {{"EditerA", "False"}, {"EditerB", "True"}, {"CCSC_option", "1"}})),
         "/old/gpasm"},
        {"with nothing saved the assembler on the PATH is offered and OK keeps it",
         {},
         "",
         "/usr/bin/gpasm",
         {},
         Close::Ok,
         with(kAllDefaults,
              {{"AsmFilePathWithFileName", "/usr/bin/gpasm"}, {"AsmFilePath", "/usr/bin"}}),
         "/usr/bin/gpasm"},
        {"the offer is put back by Cancel", {}, "", "/usr/bin/gpasm", {}, Close::Cancel, {}, ""},
        {"nothing on the PATH: nothing offered", {}, "", "", {}, Close::Ok, {}, ""},
        {"a saved choice, even an empty one, is not replaced by the offer",
         {{"AsmFilePathWithFileName", ""}},
         "",
         "/usr/bin/gpasm",
         {},
         Close::Ok,
         {{"AsmFilePathWithFileName", ""}},
         ""},
    };

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Session s;
        s.app.AsmToolPath = c.toolBefore;
        MemorySettingsStore settings;
        for (const auto& [k, v] : c.saved)
            settings.setValue(k, v);
        AssemblerSettings model(s, settings, [&](const QString& name) {
            EXPECT_EQ(name, QStringLiteral("gpasm"));
            return c.onPath;
        });
        model.load();
        for (const Step& step : c.steps) {
            switch (step.act) {
            case Act::ChooseTool:
                EXPECT_EQ(model.chooseTool(step.text), step.text != plain);
                break;
            case Act::Options:
                model.editOptions(step.text);
                break;
            case Act::ErrorExtension:
                model.editErrorExtension(step.text);
                break;
            case Act::Notepad:
                model.chooseNotepad();
                break;
            case Act::Associated:
                model.chooseAssociatedApplication();
                break;
            case Act::Ccsc:
                model.setCcscDeviceInfo(step.flag);
                break;
            case Act::Display:
                model.setDisplayInformation(step.flag);
                break;
            }
        }
        if (c.close == Close::Ok) model.ok();
        if (c.close == Close::Cancel) model.cancel();
        EXPECT_EQ(settings.all(), c.stored);
        EXPECT_EQ(s.app.AsmToolPath, c.toolAfter);
    }
}

TEST(AssemblerSettings, LoadShowsTheSavedValuesOrTheDefaults) {
    Session s;
    MemorySettingsStore settings;
    AssemblerSettings fresh(s, settings, [](const QString&) { return QString(); });
    fresh.load();
    EXPECT_EQ(fresh.fields().options, QStringLiteral("-q"));
    EXPECT_EQ(fresh.fields().errorExtension, QStringLiteral("lst"));
    EXPECT_TRUE(fresh.fields().openWithNotepad);
    EXPECT_FALSE(fresh.fields().openWithAssociated);
    EXPECT_FALSE(fresh.fields().ccscDeviceInfo);
    EXPECT_FALSE(fresh.fields().displayInformation);
    EXPECT_FALSE(fresh.changed());
    EXPECT_TRUE(fresh.toolFolder().isEmpty());

    for (const auto& [k, v] : Values{{"AsmOption", "/q"},
                                     {"AsmAfter", "err"},
                                     {"EditerA", "False"},
                                     {"EditerB", "True"},
                                     {"CCSC_option", "1"},
                                     {"Display_option", "1"},
                                     {"AsmFilePath", "C:\\Tools"}})
        settings.setValue(k, v);
    s.app.AsmToolPath = QStringLiteral("C:\\Tools\\mpasmwin.exe");
    AssemblerSettings saved(s, settings);
    saved.load();
    EXPECT_EQ(saved.fields().toolPath, QStringLiteral("C:\\Tools\\mpasmwin.exe"));
    EXPECT_EQ(saved.fields().options, QStringLiteral("/q"));
    EXPECT_EQ(saved.fields().errorExtension, QStringLiteral("err"));
    EXPECT_FALSE(saved.fields().openWithNotepad);
    EXPECT_TRUE(saved.fields().openWithAssociated);
    EXPECT_TRUE(saved.fields().ccscDeviceInfo);
    EXPECT_TRUE(saved.fields().displayInformation);
    EXPECT_FALSE(saved.changed());
    EXPECT_EQ(saved.toolFolder(), QStringLiteral("C:\\Tools"));
}

// What a run uses is what the window shows: at start-up (the window never opened) and after the
// window was opened and closed either way.
TEST(AssemblerSettings, TheWindowShowsWhatARunUses) {
    struct Case {
        const char* name;
        Values saved;
        QString onPath;
    };
    const std::vector<Case> cases = {
        {"nothing saved", {}, "/usr/bin/gpasm"},
        {"nothing saved, nothing installed", {}, ""},
        {"a cleared choice stays cleared", {{"AsmFilePathWithFileName", ""}}, "/usr/bin/gpasm"},
        {"saved values",
         {{"AsmFilePathWithFileName", "/opt/x/asm"}, {"AsmOption", "/q"}, {"AsmAfter", "err"}},
         "/usr/bin/gpasm"},
    };
    for (const Case& c : cases) {
        for (const Close close : {Close::Ok, Close::Cancel}) {
            SCOPED_TRACE(c.name);
            MemorySettingsStore settings;
            for (const auto& [k, v] : c.saved)
                settings.setValue(k, v);
            const ExecutableFinder finder = [&](const QString&) { return c.onPath; };
            Session s;
            s.app.AsmToolPath = AssemblerToolInEffect(settings, finder); // start-up
            AssemblerSettings window(s, settings, finder);
            window.load();
            EXPECT_EQ(window.fields().toolPath, s.app.AsmToolPath);
            EXPECT_EQ(window.fields().options, AssemblerOptionsInEffect(settings));
            EXPECT_EQ(window.fields().errorExtension, AssemblerErrorExtensionInEffect(settings));
            EXPECT_EQ(window.fields().openWithNotepad, AssemblerErrorFileAsPlainText(settings));
            const QString shown = window.fields().toolPath;
            close == Close::Ok ? window.ok() : window.cancel();
            EXPECT_EQ(s.app.AsmToolPath, shown);
            EXPECT_EQ(AssemblerToolInEffect(settings, finder), shown);
        }
    }
}

} // namespace
