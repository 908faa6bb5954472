// What every bench on the in-process board shares: the strict emulated board with a part in its
// socket, faults added by their emulator names, and a record of the exact bytes the host sent.
#pragma once

#include "emusupport/emulated_board.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <string>

namespace tavrin::test {

class EmulatedBench {
  public:
    // socketPart: the emulator's part name, "none" for an empty socket, empty for the part
    // chosen in the device list.
    EmulatedBench(const QString& device, const std::string& socketPart, emu::BoardOptions options);

    emu::Chip& chip() { return emu.board.chip(); }
    // NAME[=ARG][@LETTERS], as the emulator takes it.
    void addFault(const std::string& spec);
    // Everything the host sends from now on, for checks of the exact command bytes.
    void recordFromHere();
    QByteArray sentSinceRecord();
    // Virtual milliseconds since the mark.
    double msSinceRecord() const;

    EmulatedBoard emu;

  private:
    std::int64_t markUs_ = 0;
};

} // namespace tavrin::test
