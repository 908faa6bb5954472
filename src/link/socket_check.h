// The socket check before a generic verify, program or read: the DEVICE ID word (0x2006) of the
// part in the socket, without its five revision bits, against the value expected for the part
// chosen in the device list.
#pragma once

#include <QString>

#include <optional>

namespace tavrin {

class BoardChannel;

// result: "OK" (go on) or "NG" (stop). A part that reads an ID of 0 is taken as badly seated; a
// part of another kind is shown and the person may go on anyway (OK) or stop (Cancel). 12-bit
// parts and PIC18 parts of type "18F_00" have nothing to read and pass.
void CheckDeviceId(BoardChannel& channel, QString& result);

// The DEVICE ID shifted right by five that the named part carries (511: the part has no ID
// word); nothing for a name the table does not know.
std::optional<int> expectedDeviceId(const QString& deviceName);

} // namespace tavrin
