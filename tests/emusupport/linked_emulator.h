// The board emulator in a process of its own with a PIC16F877A in its socket, on a
// pseudo-terminal reached through a fixed link name, as the run command gives it to the program.
// (tests/link/pty_board.h is the other board on a pty: a bare identification answer, no emulator.)
#pragma once

#include "emusupport/emulator_process.h"

#include <QString>
#include <QtGlobal>

#include <string>

namespace tavrin::test {

struct LinkedEmulator {
    LinkedEmulator()
        : process({"--part", "PIC16F877A", "--baud", "0", "--link",
                   EmulatorProcess::uniquePath("tavrin-board")}) {
        std::string error;
        started = process.start(&error);
        if (!started) qWarning("emulator: %s", error.c_str());
    }
    QString path() const { return QString::fromStdString(process.portPath()); }
    EmulatorProcess process;
    bool started = false;
};

} // namespace tavrin::test
