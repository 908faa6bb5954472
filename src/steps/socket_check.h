// The socket check before a generic verify, program or read: the DEVICE ID word (0x2006) of the
// part in the socket, without its five revision bits, against the value expected for the part
// chosen in the device list.
#pragma once

#include <QString>

#include <functional>
#include <optional>

namespace tavrin {

class BoardChannel;
class OperatorUi;

// One device check: the letters that read words 0x2000-0x2007 after the power letter, the kind
// expected, and what the person is told.
struct DeviceIdCheck {
    const char* letters = "rsc";
    std::optional<int> expectedKind; // the DEVICE ID shifted right by five; unset: any kind
    QString checking = QStringLiteral("ソケット確認中.....");
    QString failedPrefix = QStringLiteral("ソケット確認失敗。　　");
    QString passed = QStringLiteral("ソケット確認終了。");
    // A part of another kind: true when the person goes on anyway. Unset: the OK/Cancel box.
    std::function<bool(OperatorUi&, int kindRead)> otherKindGoesOn;
};

// result: "OK" (go on) or "NG" (stop). A part that reads an ID of 0 is taken as badly seated; a
// part of another kind is shown and the person may go on anyway (OK) or stop (Cancel). 12-bit
// parts and PIC18 parts of type "18F_00" have nothing to read and pass.
void CheckDeviceId(BoardChannel& channel, QString& result);

// The check with the caller's letters, kind and texts (a device module's own check).
void CheckDeviceIdWith(BoardChannel& channel, const DeviceIdCheck& check, QString& result);

// The DEVICE ID shifted right by five that the named part carries (511: the part has no ID
// word); nothing for a name the table does not know.
std::optional<int> expectedDeviceId(const QString& deviceName);

} // namespace tavrin
