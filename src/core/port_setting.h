// The saved serial port: setting "ComNo" keeps the port's system name ("/dev/ttyUSB0", a pty
// path, "COM3"). "0" or nothing means no port was chosen.
#pragma once

#include <QString>

namespace tavrin {

class SettingsStore;

inline constexpr const char* kPortSettingKey = "ComNo";

// The saved port. A bare number from older settings names "COM<n>" on Windows and nothing
// elsewhere. When none is saved, fallbackPort (the run command's emulated board) stands in.
QString savedPortName(const SettingsStore& settings, const QString& fallbackPort = QString());
void savePortName(SettingsStore& settings, const QString& portName);

} // namespace tavrin
