// A device6.ini written into a temporary folder, a session and a recording window, for the
// device-file tests.
#pragma once

#include "core/app_paths.h"
#include "core/device_file.h"
#include "core/session.h"
#include "support/recording_ui.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <ostream>

// Failure messages show QString values as text.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace tavrin::test {

// "#BEGIN", the name line, the rows (one per line) and "#END".
inline QString deviceBlock(const QString& name, const QStringList& rows) {
    QString text = QStringLiteral("#BEGIN\r\n") + name + QStringLiteral("\r\n");
    for (const QString& row : rows)
        text += row + QStringLiteral("\r\n");
    return text + QStringLiteral("#END\r\n");
}

// `rows` and, after them, the rows of the keys every part needs (those of a FLASH2 part: its
// type, program size and configuration word) that `rows` does not hold itself: the rows a test is
// about keep their line numbers and their values.
inline QStringList withNeededKeys(QStringList rows) {
    const std::pair<QString, QString> needed[] = {
        {QStringLiteral("PGM_TYPE"), QStringLiteral("PGM_TYPE FLASH2")},
        {QStringLiteral("PGM"), QStringLiteral("PGM 0x7FF")},
        {QStringLiteral("CONFIG1"), QStringLiteral("CONFIG1 0x3FFF 0 0 0x3FFF")},
    };
    for (const auto& [key, row] : needed) {
        const bool held = std::any_of(rows.begin(), rows.end(), [&key](const QString& r) {
            return r.simplified().section(QLatin1Char(' '), 0, 0).toUpper() == key;
        });
        if (!held) rows << row;
    }
    return rows;
}

class DeviceFileFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        paths.dataDir = dir.filePath(QStringLiteral("data"));
        QDir().mkpath(paths.dataDir);
        paths.deviceFile = dir.filePath(QStringLiteral("device6.ini"));
    }

    void writeBytes(const QByteArray& bytes) {
        QFile file(paths.deviceFile);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    void writeFile(const QString& text) { writeBytes(text.toUtf8()); }

    bool select(const QString& name) {
        s->device.SelectedDevice = name;
        return LoadDeviceDefinition(*s, ui, paths);
    }

    QTemporaryDir dir;
    AppPaths paths;
    std::unique_ptr<Session> s = std::make_unique<Session>();
    RecordingUi ui;
};

} // namespace tavrin::test
