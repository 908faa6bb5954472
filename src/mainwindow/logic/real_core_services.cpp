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
    c.loadHexFile = [](Session& s, OperatorUi& ui, const QString& path,
                       const std::function<void()>& beforeLoading) {
        LoadHexFile(s, ui, path, beforeLoading);
    };
    c.loadHexFile18 = [](Session& s, OperatorUi& ui, const QString& path,
                         const std::function<void()>& beforeLoading) {
        LoadHexFile18(s, ui, path, beforeLoading);
    };
    c.saveHexFile = SaveHexFile;
    c.saveHexFile18 = SaveHexFile18;
    return c;
}

} // namespace tavrin
