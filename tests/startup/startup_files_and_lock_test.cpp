#include "core/log_files.h"
#include "core/port_setting.h"
#include "core/settings_store.h"
#include "core/single_instance.h"
#include "core/work_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace tavrin;

TEST(SingleInstance, ASecondHolderIsRefusedUntilTheFirstEnds) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("tavrin-writer.lock"));
    auto first = std::make_unique<SingleInstanceLock>(path);
    ASSERT_TRUE(first->tryAcquire());
    EXPECT_TRUE(first->tryAcquire()); // asking again keeps it
    SingleInstanceLock second(path);
    EXPECT_FALSE(second.tryAcquire());
    first.reset();
    EXPECT_TRUE(second.tryAcquire());
}

TEST(SingleInstance, TheLockOfAProgramThatDiedIsTakenOver) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("tavrin-writer.lock"));
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        // pid, application name, host: a process number no live process has.
        f.write("2147480000\ntavrin-writer\n" + QSysInfo::machineHostName().toLocal8Bit() + "\n");
    }
    SingleInstanceLock lock(path);
    EXPECT_TRUE(lock.tryAcquire());
}

TEST(WorkFiles, RemovedAtExitWhileLogsAndThePartListStay) {
    QTemporaryDir dir;
    const QStringList kept = QStringList{QStringLiteral("Support_PIC_List.txt")} + logFileNames();
    for (const QString& name : filesRemovedAtExit() + kept) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    RemoveWorkFiles(dir.path());
    for (const QString& name : filesRemovedAtExit())
        EXPECT_FALSE(QFileInfo::exists(dir.filePath(name))) << name.toStdString();
    for (const QString& name : kept)
        EXPECT_TRUE(QFileInfo::exists(dir.filePath(name))) << name.toStdString();
    RemoveWorkFiles(dir.path()); // nothing left to remove: no complaint
}

TEST(WorkFiles, OnlyExistingUnwritableFilesAreReported) {
    QTemporaryDir dir;
    EXPECT_TRUE(unwritableStartupFiles(dir.path()).isEmpty());
    for (const char* name : {"temp.txt", "LOG_OLD9.txt", "dis_asm.asm"}) {
        QFile f(dir.filePath(QLatin1String(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.close();
        f.setPermissions(QFileDevice::ReadOwner);
    }
    // The disassembly listing is rewritten whole by its window, so it does not stop a start.
    EXPECT_EQ(unwritableStartupFiles(dir.path()),
              (QStringList{QStringLiteral("temp.txt"), QStringLiteral("LOG_OLD9.txt")}));
    EXPECT_EQ(unwritableStartupFiles(dir.filePath(QStringLiteral("absent"))),
              QStringList{dir.filePath(QStringLiteral("absent"))});
}

TEST(PortSetting, TheSavedNameOrTheStandIn) {
    struct Case {
        const char* stored; // nullptr: not saved
        const char* fallback;
        const char* expected;
    };
    const Case cases[] = {
        {nullptr, "", ""},
        {nullptr, " /tmp/emu ", "/tmp/emu"},
        {"/dev/ttyUSB0", "/tmp/emu", "/dev/ttyUSB0"},
        {"0", "", ""},
        {"", "/tmp/emu", "/tmp/emu"},
#ifdef Q_OS_WIN
        {"3", "", "COM3"},
#else
        {"3", "", ""}, // a port number of older settings names nothing here
#endif
    };
    for (const Case& c : cases) {
        MemorySettingsStore settings;
        if (c.stored) settings.setValue(QStringLiteral("ComNo"), QLatin1String(c.stored));
        EXPECT_EQ(savedPortName(settings, QLatin1String(c.fallback)), QLatin1String(c.expected))
            << (c.stored ? c.stored : "-");
    }
    MemorySettingsStore settings;
    savePortName(settings, QStringLiteral("/dev/ttyACM0"));
    EXPECT_EQ(settings.value(QStringLiteral("ComNo"), QString()), QStringLiteral("/dev/ttyACM0"));
}
