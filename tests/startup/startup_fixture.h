// Start-up with the shipped device file, a temporary data folder, in-memory settings and the
// start-up fakes. The board, when a test needs one, is the real link over a scripted port.
#pragma once

#include "core/session.h"
#include "core/settings_store.h"
#include "core/startup_sequence.h"
#include "fake_startup_window.h"
#include "support/recording_ui.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <ostream>

inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace tavrin::test {

class StartupFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        paths.dataDir = dir.filePath(QStringLiteral("data"));
        QDir().mkpath(paths.dataDir);
        paths.deviceFile = QStringLiteral(TAVRIN_SOURCE_DIR "/data/device6.ini");
        services.portSeen = [this] { return session.link.ComPortName; };
    }

    StartupOutcome run(const QStringList& arguments = {}, const QString& fallbackPort = {}) {
        StartupSequence sequence(session, ui, settings, window, services);
        return sequence.run({arguments, version, paths, fallbackPort});
    }

    // A HEX file in a folder whose name has a blank and capitals.
    QString hexFile(const QString& name = QStringLiteral("Blink.hex")) {
        const QString folder = dir.filePath(QStringLiteral("My Code"));
        QDir().mkpath(folder);
        const QString path = folder + QLatin1Char('/') + name;
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(":0400000000308A0040\r\n:00000001FF\r\n");
        return path;
    }

    QString dataFile(const QString& name) const { return paths.dataDir + QLatin1Char('/') + name; }

    QTemporaryDir dir;
    AppPaths paths;
    ProgramVersion version{4,
                           0,
                           0,
                           QStringLiteral("Tavrin Writer v4"),
                           QStringLiteral("Tavrin Writer"),
                           QStringLiteral("PIC programmer"),
                           QStringLiteral("notes")};
    Session session;
    RecordingUi ui;
    MemorySettingsStore settings;
    FakeStartupWindow window{session, settings};
    FakeStartupServices services;
};

// True when `expected` appears in `calls` in this order (other calls may come between).
inline bool inOrder(const QStringList& calls, const QStringList& expected) {
    qsizetype at = 0;
    for (const QString& call : calls)
        if (at < expected.size() && call == expected[at]) ++at;
    return at == expected.size();
}

} // namespace tavrin::test
