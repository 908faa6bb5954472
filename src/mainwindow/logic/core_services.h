// The application-core services the main window calls to read the part's definition and to read
// and write HEX files. Bound to the real ones by the program, to fixtures by tests.
#pragma once

#include <QString>

#include <functional>

namespace tavrin {

struct Session;
class OperatorUi;

struct CoreServices {
    // Loads s.device.SelectedDevice from the device file; false (and no part selected) when it
    // could not.
    std::function<bool(Session&, OperatorUi&)> loadDeviceDefinition;
    // Read the file into the buffer and set s.run.HexLoadResult. beforeLoading runs before the
    // load places anything or fails, never for a file with nothing to load.
    using HexLoad = std::function<void(Session&, OperatorUi&, const QString& path,
                                       const std::function<void()>& beforeLoading)>;
    HexLoad loadHexFile;
    HexLoad loadHexFile18;
    // Write the buffer; false when the file could not be written.
    std::function<bool(Session&, OperatorUi&, const QString& path)> saveHexFile;
    std::function<bool(Session&, OperatorUi&, const QString& path)> saveHexFile18;
};

} // namespace tavrin
