// The whole program for tests of its real windows: the shipped device file, the data folder and
// the settings in a temporary folder, every message box answered OK and recorded. For tests that
// link the application; nothing here is built into the support library.
#pragma once

#include "app/application.h"
#include "core/device_file.h"
#include "core/settings_store.h"
#include "mainwindow/widgets/frm_main.h"

#include <QAction>
#include <QDir>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <memory>

namespace tavrin::test {

// The shipped device file, and a data folder made in `dir`.
inline AppPaths shippedAppPaths(const QTemporaryDir& dir) {
    AppPaths paths;
    paths.deviceFile = QStringLiteral(TAVRIN_SOURCE_DIR "/data/device6.ini");
    paths.dataDir = dir.filePath(QStringLiteral("data"));
    QDir().mkpath(paths.dataDir);
    return paths;
}

// The program as started with `arguments` and the board on `port`, on the shipped device file
// with its data and its settings.ini in `dir`.
inline ApplicationOptions appOptionsIn(const QTemporaryDir& dir, const QString& port = {},
                                       const QStringList& arguments = {}) {
    return {arguments, port, shippedAppPaths(dir), dir.filePath(QStringLiteral("settings.ini"))};
}

using BoxRecorder = std::function<void(const QString& title, const QString& text)>;

// Answers every message box the window shows with OK, handing its title and text to `record`.
inline void answerBoxesOk(frmMain& window, BoxRecorder record) {
    window.setMessageBoxAnswer([record = std::move(record)](MessageIcon, MessageButtons,
                                                            const QString& title,
                                                            const QString& text) {
        record(title, text);
        return MessageAnswer::Ok;
    });
}

// As answerBoxesOk, each box kept in `into` as its title, `separator` and its text.
inline void recordBoxes(frmMain& window, QStringList& into, QChar separator) {
    answerBoxesOk(window, [&into, separator](const QString& title, const QString& text) {
        into << title + separator + text;
    });
}

// How AppBench::open() makes the program.
struct AppStart {
    QString port = {};         // the board's port, as the run command gives it
    QString settingsFile = {}; // settings.ini in the bench's folder when empty
    QChar boxSeparator = u'|'; // between a recorded box's title and text
};

// What a test's bench builds on: a temporary folder with the paths above, and the program made by
// open() once the test has put in place what the program finds at its start (saved settings, a
// board).
struct AppBench {
    AppBench() : paths(shippedAppPaths(dir)) {}

    // The settings file the program keeps unless open() is given another.
    QString defaultSettingsFile() const { return dir.filePath(QStringLiteral("settings.ini")); }
    // Writes settings the program finds at its start; before open().
    void seedSettings(const std::function<void(SettingsStore&)>& write) const {
        QtSettingsStore store(defaultSettingsFile());
        write(store);
    }
    // Makes the program on `paths` with no command line; its message boxes are answered OK and
    // kept in `boxes`.
    frmMain& open(const AppStart& start = {}) {
        app = std::make_unique<Application>(ApplicationOptions{
            {},
            start.port,
            paths,
            start.settingsFile.isEmpty() ? defaultSettingsFile() : start.settingsFile});
        recordBoxes(app->window(), boxes, start.boxSeparator);
        return app->window();
    }
    frmMain& window() { return app->window(); }
    // Shows the window and reads the part list, as start-up does.
    void showWithParts() {
        window().show();
        LoadDeviceList(app->session(), window(), paths);
    }
    void select(const char* part) {
        window().selectDeviceByIndex(
            int(app->session().device.DeviceNames.indexOf(QLatin1String(part))));
    }
    // Triggers the named menu item, which must be there and usable.
    void trigger(const char* item) {
        QAction* action = window().findChild<QAction*>(QLatin1String(item));
        QVERIFY2(action && action->isEnabled(), item);
        action->trigger();
    }

    QTemporaryDir dir;
    AppPaths paths;
    std::unique_ptr<Application> app;
    QStringList boxes;
};

} // namespace tavrin::test
