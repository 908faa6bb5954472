#include "real_core_services.h"

#include "core/device_file.h"
#include "core/hex_export.h"
#include "core/hex_import.h"

namespace tavrin {

CoreServices realCoreServices(const AppPaths& paths) {
    CoreServices c;
    c.loadDeviceDefinition = [paths](Session& s, OperatorUi& ui) {
        return LoadDeviceDefinition(s, ui, paths);
    };
    c.loadHexFile = LoadHexFile;
    c.loadHexFile18 = LoadHexFile18;
    c.saveHexFile = SaveHexFile;
    c.saveHexFile18 = SaveHexFile18;
    return c;
}

} // namespace tavrin
