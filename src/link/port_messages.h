// What the person is told when the serial port cannot be used: another program holds it, the
// user may not open it (with the remedy: membership of the group that owns the device), any
// other failure to open, or a port that went away while it was in use.
#pragma once

#include "core/serial_port.h"

#include <QString>

namespace tavrin {

class OperatorUi;

// The device file behind a port name: a name without a folder lives in /dev.
QString deviceFilePath(const QString& portName);
// The group that owns the port's device file; empty when the file cannot be found.
QString deviceGroupOf(const QString& portName);

// Status line and message box for a port that did not open.
void reportOpenFailure(OperatorUi& ui, const QString& portName, const PortStatus& status);
// Status line and message box for a port that disappeared while open.
void reportPortLost(OperatorUi& ui, const QString& portName, const PortStatus& status);
// The first line of that report: what a run that ended for the loss tells in the result log.
QString portLostText(const QString& portName);

} // namespace tavrin
