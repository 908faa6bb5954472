// Every file the program replaces keeps its old content on a full disk, and the failure is said.
#include "core/app_paths.h"
#include "core/device_file.h"
#include "core/session.h"
#include "core/settings_store.h"
#include "core/whole_file.h"
#include "support/full_disk.h"
#include "support/recording_ui.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace tavrin;
using namespace tavrin::test;

namespace {

QByteArray contentOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void put(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) file.write(bytes);
}

// What a failed replacement must leave: the old bytes and no temporary file beside them.
std::string keptOld(const QString& dir, const QString& name, const QByteArray& old) {
    const QByteArray now = contentOf(QDir(dir).filePath(name));
    if (now != old) return name.toStdString() + " now holds \"" + now.left(80).toStdString() + "\"";
    QStringList files = QDir(dir).entryList(QDir::Files);
    files.removeAll(QStringLiteral("filler"));
    files.removeAll(name);
    return files.isEmpty() ? std::string() : "left behind: " + files.join(' ').toStdString();
}

void expectHeld(const FullDiskRun& run) {
    if (!run.available) GTEST_SKIP() << "no private mount of a small file system here";
    EXPECT_EQ(run.failure, "");
}

} // namespace

TEST(FullDisk, WholeFileWritesKeepTheOldFileAndSaySo) {
    const QByteArray old = "old content\r\n";
    expectHeld(runOnFullDisk([&](const QString& dir) { put(QDir(dir).filePath("a.txt"), old); },
                             [&](const QString& dir) -> std::string {
                                 QString error;
                                 // Small enough to stay in the write buffer until the rename.
                                 if (writeWholeFile(QDir(dir).filePath("a.txt"),
                                                    QByteArray(200, 'B'), &error))
                                     return "a write on a full disk was reported as done";
                                 if (error.isEmpty()) return "no reason given";
                                 return keptOld(dir, "a.txt", old);
                             }));
}

TEST(FullDisk, TheSettingsFileIsKeptAndTheFailureReturned) {
    const QByteArray old = "[Settings6]\nPort=COM3\n";
    expectHeld(
        runOnFullDisk([&](const QString& dir) { put(QDir(dir).filePath("s.ini"), old); },
                      [&](const QString& dir) -> std::string {
                          {
                              QtSettingsStore store(QDir(dir).filePath("s.ini"));
                              if (store.value("Port", QString()) != QStringLiteral("COM3"))
                                  return "old value not read";
                              int told = 0;
                              store.setSaveFailedHandler([&] { ++told; });
                              store.setValue("Port", QStringLiteral("COM7"));
                              if (told != 1) return "the change not kept was not told once";
                              if (store.sync()) return "sync on a full disk reported success";
                          } // the destructor tries once more and must not cut the file either
                          return keptOld(dir, "s.ini", old);
                      }));
}

TEST(FullDisk, ThePartListIsKeptAndOnlyWarnedAbout) {
    const QByteArray old = "PIC16F84A\r\n";
    expectHeld(runOnFullDisk(
        [&](const QString& dir) {
            QDir(dir).mkpath("data");
            put(QDir(dir).filePath("data/Support_PIC_List.txt"), old);
            put(QDir(dir).filePath("device6.ini"),
                "#BEGIN\r\nPIC12F629\r\n#END\r\n#BEGIN\r\nPIC16F877A\r\n#END\r\n");
        },
        [&](const QString& dir) -> std::string {
            AppPaths paths;
            paths.dataDir = QDir(dir).filePath("data");
            paths.deviceFile = QDir(dir).filePath("device6.ini");
            Session s;
            RecordingUi ui;
            if (!LoadDeviceList(s, ui, paths)) return "the list itself failed";
            if (!ui.statusText.contains(QStringLiteral("Support_PIC_List.txt")))
                return "no warning: " + ui.statusText.toStdString();
            return keptOld(QDir(dir).filePath("data"), "Support_PIC_List.txt", old);
        }));
}

TEST(SettingsFile, KeepsOtherSectionsAndWritesOnlyWhenChanged) {
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("s.ini"));
    put(ini, "[Other]\nKeep=1\n[Settings6]\nPort=COM3\n");
    {
        QtSettingsStore store(ini);
        store.setValue("Port", QStringLiteral("ポート"));
        EXPECT_TRUE(store.sync());
    }
    const QSettings back(ini, QSettings::IniFormat);
    EXPECT_EQ(back.value("Other/Keep").toString(), QStringLiteral("1"));
    EXPECT_EQ(back.value("Settings6/Port").toString(), QStringLiteral("ポート"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("s.ini")});
}
