#include "variant.h"

#include <array>

namespace tavrin {

namespace {

// The module check names the sibling module in full-width letters.
constexpr const char* kWrt400 = "ＱＺ－ＷＲＴ４００";
constexpr const char* kWrt400A = "ＱＺ－ＷＲＴ４００Ａ";

constexpr const char* kNoChip = "redマイコンがソケットに正しくセットされていません。";

constexpr std::array<Pic16F87xVariant, 4> kVariants{{
    {"PIC16F877", "PIC16F877", 's', 'd', 0x01, 0x02, 0x03, 0x4D, SocketCheck::DeviceKind, false,
     "we8", "wed", "wec", kNoChip, nullptr},
    {"PIC16F877A", "PIC16F877A", 's', 'd', 0x0A, 0x0B, 0x0C, 0x71, SocketCheck::DeviceKind, true,
     "wGe", "wed", "wFc", kNoChip, nullptr},
    {"QZWRT400", "QZ-WRT400", '8', 'D', 0x01, 0x02, 0x03, 0x4D, SocketCheck::Module, false, "w84",
     "w8d", "w8c", "redモジュールがソケットに正しくセットされていません。", kWrt400A},
    {"QZWRT400A", "QZ-WRT400A", '8', 'D', 0x0A, 0x0B, 0x0C, 0x71, SocketCheck::Module, true, "w7e",
     "w8d", "w6c", "redモジュールががソケットに正しくセットされていません。", kWrt400},
}};

} // namespace

const Pic16F87xVariant* pic16F87xVariant(const QString& moduleName) {
    for (const Pic16F87xVariant& v : kVariants)
        if (moduleName == QLatin1String(v.moduleName)) return &v;
    return nullptr;
}

const Pic16F87xVariant* pic16F87xVariantForDevice(const QString& deviceName) {
    for (const Pic16F87xVariant& v : kVariants)
        if (deviceName == QLatin1String(v.deviceName)) return &v;
    return nullptr;
}

const Pic16F87xVariant* pic16F87xVariants(int* count) {
    if (count) *count = int(kVariants.size());
    return kVariants.data();
}

} // namespace tavrin
