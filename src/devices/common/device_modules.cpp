#include "device_modules.h"

#include <array>
#include <utility>

namespace tavrin {

namespace {
// In the order they are compared; the first match wins.
constexpr std::array<std::pair<const char*, const char*>, 14> kModuleOfDevice{{
    {"PIC12C508", "PIC12C5XXX"},
    {"PIC12C508A", "PIC12C5XXX"},
    {"PIC12C509", "PIC12C5XXX"},
    {"PIC12C509A", "PIC12C5XXX"},
    {"PIC12C518", "PIC12C5XXX"},
    {"PIC12C519", "PIC12C5XXX"},
    {"PIC12F683", "PIC12F683"},
    {"PIC16F877", "PIC16F877"},
    {"PIC16F877A", "PIC16F877A"},
    {"QZ-WRT400", "QZWRT400"},
    {"QZ-WRT400A", "QZWRT400A"},
    {"PIC18F252", "PIC18F252"},
    {"PIC18F452", "PIC18F452"},
    {"PIC18F8720", "PIC18F8720"},
}};
} // namespace

const std::function<void()>& DeviceModule::procedureFor(OperationKind kind) const {
    switch (kind) {
    case OperationKind::Blank:
        return blankCheckDevice;
    case OperationKind::Program:
        return programDevice;
    case OperationKind::Verify:
        return verifyDevice;
    case OperationKind::Read:
        break;
    }
    return readDevice;
}

QString moduleNameFor(const QString& deviceName) {
    for (const auto& [device, module] : kModuleOfDevice)
        if (deviceName == QLatin1String(device)) return QString::fromLatin1(module);
    return QString();
}

void DeviceModules::add(const QString& moduleName, DeviceModule module) {
    modules_[moduleName] = std::move(module);
}

const DeviceModule* DeviceModules::moduleFor(const QString& deviceName) const {
    const QString name = moduleNameFor(deviceName);
    if (name.isEmpty()) return nullptr;
    const auto it = modules_.find(name);
    return it == modules_.end() ? nullptr : &it->second;
}

const std::function<void()>* DeviceModules::procedureFor(const QString& deviceName,
                                                         OperationKind kind) const {
    const DeviceModule* module = moduleFor(deviceName);
    if (!module) return nullptr;
    const std::function<void()>& procedure = module->procedureFor(kind);
    return procedure ? &procedure : nullptr;
}

PartSelectionHook DeviceModules::partSelectionHookFor(const QString& deviceName) const {
    const DeviceModule* module = moduleFor(deviceName);
    return module ? module->partSelected : PartSelectionHook{};
}

} // namespace tavrin
