// Steps on a scripted board: a session with one part, the recording UI, virtual time.
#pragma once

#include "core/clock.h"
#include "core/session.h"
#include "link/board_channel.h"
#include "scripted_step_board.h"
#include "support/recording_ui.h"

#include <gtest/gtest.h>

#include <ostream>

// Readable failures for texts and byte strings.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QByteArray& b, std::ostream* os) {
    *os << b.toHex(' ').toStdString();
}

namespace tavrin::test {

class StepFixture : public ::testing::Test {
  protected:
    StepFixture() {
        session.link.ComPortName = QStringLiteral("/dev/ttyUSB0");
        port.open();
    }

    void part(const char* type, std::int32_t words, std::int32_t eepromBytes = 0,
              const char* name = "PIC16F876A") {
        session.device.ProgramType = QLatin1String(type);
        session.device.SelectedDevice = QLatin1String(name);
        session.device.ProgramWordCount = words;
        session.device.EepromByteCount = eepromBytes;
        session.device.PowerMode = QStringLiteral("VDD");
    }
    QByteArray wire() const { return port.wire(); }
    double seconds() const { return double(clock.nowUs()) / 1e6; }
    QString status() const { return ui.statusText; }

    Session session;
    RecordingUi ui;
    VirtualClock clock;
    ScriptedPort port{clock};
    BoardChannel channel{session, ui, port, clock};
    ScriptedStepBoard board{port};
    QString result = QStringLiteral("preset");
};

// Bytes built from a list, for expected wire contents.
inline QByteArray bytes(std::initializer_list<int> values) {
    QByteArray b;
    for (int v : values)
        b += char(v);
    return b;
}

} // namespace tavrin::test
