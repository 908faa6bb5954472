// The four parts this folder serves differ only in the rows of one table: the letters they send,
// the selectors of their erase codes, the device ID they expect, how a foreign chip is treated,
// how many steps their chip erase takes, and the texts of their check. Everything else is one
// sequence.
#pragma once

#include <QString>

#include <cstdint>

namespace tavrin {

enum class SocketCheck {
    DeviceKind, // a chip of another kind may be programmed after all, if the person says so
    Module,     // the board's own module: another module always stops the operation
};

struct Pic16F87xVariant {
    const char* moduleName; // "PIC16F877", "PIC16F877A", "QZWRT400", "QZWRT400A"
    const char* deviceName; // "PIC16F877", "PIC16F877A", "QZ-WRT400", "QZ-WRT400A"
    char familyLetter;      // blank check, read, verify and the device check: "s" or "8"
    char eraseLetter;       // "d" or "D"
    std::uint8_t codeProtectRelease;
    std::uint8_t programErase;
    std::uint8_t eepromErase;
    int expectedDeviceId; // the device-ID word divided by 32
    SocketCheck check;
    bool eraseProgramSeparately; // the chip erase has a program-memory step of its own
    const char* programWrite;    // letters after the power letter
    const char* eepromWrite;
    const char* configWrite;
    // The status for an empty socket (ID 0) and the module the box names when another is found.
    const char* emptySocketText;
    const char* siblingModule;
};

// The variant of a module name; nullptr for any other.
const Pic16F87xVariant* pic16F87xVariant(const QString& moduleName);

// The variant serving a device name, compared exactly; nullptr for any other.
const Pic16F87xVariant* pic16F87xVariantForDevice(const QString& deviceName);

// All four, in table order.
const Pic16F87xVariant* pic16F87xVariants(int* count);

} // namespace tavrin
