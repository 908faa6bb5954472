// A board link over a scripted port on virtual time, with the recording UI.
#pragma once

#include "core/clock.h"
#include "core/session.h"
#include "link/board_link.h"
#include "scripted_port.h"
#include "support/recording_ui.h"

#include <gtest/gtest.h>

namespace tavrin::test {

inline const QByteArray GoodIdentification = QByteArrayLiteral("QZ-WRT400 V 6.50\r\n");

class LinkFixture : public ::testing::Test {
  protected:
    LinkFixture() {
        session.link.ComPortName = QStringLiteral("/dev/ttyUSB0");
        session.link.UpdatePageUrl = QStringLiteral("https://updates.test/fw");
    }

    // A board that answers every "?" with `reply` after delayMs.
    void boardAnswers(const QByteArray& reply, double delayMs = 5) {
        port.onWrite = [this, reply, delayMs](const QByteArray& bytes) {
            if (bytes == "?") port.arrive(reply, delayMs);
        };
    }
    double nowMs() const { return double(clock.nowUs()) / 1000.0; }

    Session session;
    RecordingUi ui;
    VirtualClock clock;
    ScriptedPort port{clock};
    QStringList pagesOpened;
    BoardLink link{session, ui, port, clock, [this](const QString& url) {
                       pagesOpened << url;
                       return true;
                   }};
};

} // namespace tavrin::test
