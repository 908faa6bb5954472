// The device list of device6.ini: which part names the file offers, and its version.
#pragma once

#include <QString>
#include <QStringList>

namespace tavrin {

struct DeviceListScan {
    QStringList names; // file order; duplicates kept (the first block of a name is the one used)
    QString version;   // the four tokens of the last VERSION line, joined
};

// A name is listed when the line after "#BEGIN" starts with "PIC" or "QZ-". VERSION lines count
// wherever they stand, inside blocks too.
DeviceListScan scanDeviceList(const QByteArray& utf8);

// Whether a name read after "#BEGIN" is offered in the device list.
bool isListedDeviceName(QStringView name);

} // namespace tavrin
