// A bench for one generic step: the host's session for a part chosen in the device list, the
// emulated board with a part in its socket (by default the same one), the recording operator
// interface, and the board link of an operation that has just re-identified the board.
#pragma once

#include "emusupport/emulated_bench.h"
#include "link/board_link.h"
#include "part_records.h"
#include "support/recording_ui.h"

#include <QByteArray>
#include <QString>

#include <string>

namespace tavrin::test {

class StepBench : public EmulatedBench {
  public:
    // socketPart: the emulator's part name, "none" for an empty socket, empty for the part
    // chosen in the device list.
    explicit StepBench(const QString& device, const std::string& socketPart = {},
                       emu::BoardOptions options = {});
    // The same with a device record made elsewhere (the shipped device file).
    StepBench(const DeviceRecord& device, const std::string& socketPart,
              emu::BoardOptions options = {});

    BoardChannel& channel() { return link.channel(); }

    Session s;
    RecordingUi ui;
    BoardLink link;

  private:
    void identifyBoard();
};

// The status line as the person sees it for a message and its detail.
inline QString shown(const QString& message, const QString& detail = {}) {
    return message + QLatin1Char(' ') + detail;
}

// Bytes from a list of values (letters as their codes).
QByteArray bytesOf(std::initializer_list<int> values);

} // namespace tavrin::test
