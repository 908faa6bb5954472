#include "core/command_line.h"
#include "core/log_files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace tavrin;

namespace {
void writeFile(const QString& path, const QByteArray& content) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(content);
}
QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}
} // namespace

TEST(CommandLine, PathAndDeviceOption) {
    QTemporaryDir dir;
    const QString hex = dir.filePath(QStringLiteral("My Code/Blink.hex"));
    QDir().mkpath(dir.filePath(QStringLiteral("My Code")));
    writeFile(hex, ":00000001FF\r\n");
    // Names the old one-field reading could not open: a quote, a TAB, ".hex" in a folder name.
    const QString quoted = dir.filePath(QStringLiteral("Tom's \"best\" code.hex"));
    const QString tabbed = dir.filePath(QStringLiteral("tab\there.HEX"));
    QDir().mkpath(dir.filePath(QStringLiteral("old.hex files")));
    const QString inHexFolder = dir.filePath(QStringLiteral("old.hex files/Blink.hex"));
    for (const QString& path : {quoted, tabbed, inHexFolder})
        writeFile(path, ":00000001FF\r\n");
    const QString second = QStringLiteral("dir/b.hex");

    struct Case {
        QStringList args;
        QString path, option1, option2;
        bool refused;
    };
    const Case cases[] = {
        // the shell splits at blanks; the program joins them again, so blanks stay in the path
        {{hex, QStringLiteral("/pic16f877a")}, hex, QStringLiteral("PIC16F877A"), {}, false},
        {{QLatin1Char('"') + hex + QLatin1Char('"') + QStringLiteral(" /PIC16F84A/X")},
         hex,
         QStringLiteral("PIC16F84A"),
         QStringLiteral("X"),
         false},
        {{hex}, hex, {}, {}, false},
        // "/" right after ".hex" stays in the path, which then cannot be opened
        {{hex + QStringLiteral("/PIC16F84A")}, {}, {}, {}, true},
        {{dir.filePath(QStringLiteral("notes.txt"))}, {}, {}, {}, false},
        {{}, {}, {}, {}, false},
        {{dir.filePath(QStringLiteral("missing.HEX"))}, {}, {}, {}, true},
        // The file as one argument, the part as another, whatever the file's name holds.
        {{quoted, QStringLiteral("/PIC16F84A")}, quoted, QStringLiteral("PIC16F84A"), {}, false},
        {{tabbed}, tabbed, {}, {}, false},
        {{inHexFolder, QStringLiteral("/pic16f877a/x")},
         inHexFolder,
         QStringLiteral("PIC16F877A"),
         QStringLiteral("X"),
         false},
        // A second path is no device name, relative or whole.
        {{hex, second}, hex, {}, {}, false},
        {{hex, inHexFolder, QStringLiteral("/PIC16F84A")},
         hex,
         QStringLiteral("PIC16F84A"),
         {},
         false},
        // What the one field read stays as it was: a TAB still ends it.
        {{hex + QStringLiteral("\t/PIC16F84A")}, hex, {}, {}, false},
    };
    for (const auto& c : cases) {
        const CommandLineArgs got = ParseCommandLine(c.args);
        EXPECT_EQ(got.hexPath, c.path) << c.args.join(QLatin1Char('|')).toStdString();
        EXPECT_EQ(got.option1, c.option1);
        EXPECT_EQ(got.option2, c.option2);
        EXPECT_EQ(got.refusedUnopenable, c.refused);
    }
}

TEST(LogRotation, GenerationsShiftAndNothingIsLost) {
    struct Case {
        const char* name;
        QByteArray current; // content of LOG_NEW0.txt; empty = empty file
        int oldLogs;        // LOG_OLD1..n present with content "old<n>"
        bool rotated;
    };
    const Case cases[] = {
        {"none", {}, 0, false}, {"one", "run 1\r\n", 1, true}, {"nine", "run 10\r\n", 9, true}};
    for (const auto& c : cases) {
        QTemporaryDir dir;
        if (!c.current.isEmpty()) writeFile(dir.filePath(currentLogName()), c.current);
        for (int n = 1; n <= c.oldLogs; ++n)
            writeFile(dir.filePath(oldLogName(n)), "old" + QByteArray::number(n));
        const RotationResult r = EnsureAndRotateLogs(dir.path());
        EXPECT_TRUE(r.error.isEmpty()) << c.name;
        EXPECT_EQ(r.rotated, c.rotated) << c.name;
        for (int n = 1; n <= kOldLogCount; ++n)
            EXPECT_TRUE(QFile::exists(dir.filePath(oldLogName(n))));
        if (c.rotated) {
            EXPECT_FALSE(QFile::exists(dir.filePath(currentLogName()))) << c.name;
            EXPECT_EQ(readFile(dir.filePath(oldLogName(1))), c.current) << c.name;
            for (int n = 2; n <= std::min(c.oldLogs + 1, kOldLogCount); ++n)
                EXPECT_EQ(readFile(dir.filePath(oldLogName(n))), "old" + QByteArray::number(n - 1));
        } else {
            EXPECT_EQ(readFile(dir.filePath(currentLogName())), QByteArray());
        }
    }
}

TEST(LogRotation, FailedCopyKeepsTheCurrentLog) {
    QTemporaryDir dir;
    writeFile(dir.filePath(currentLogName()), "precious\r\n");
    // LOG_OLD1.txt as a folder: the copy onto it fails, whoever runs the test.
    QDir().mkpath(dir.filePath(oldLogName(1)));
    QDir().mkpath(dir.filePath(oldLogName(1) + QStringLiteral("/x")));
    const RotationResult r = EnsureAndRotateLogs(dir.path());
    EXPECT_FALSE(r.rotated);
    EXPECT_FALSE(r.error.isEmpty());
    EXPECT_EQ(readFile(dir.filePath(currentLogName())), QByteArray("precious\r\n"));
}
