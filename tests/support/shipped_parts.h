// The device file we ship, loaded through the reader the program uses: the list, then every
// part's block into its own record. Loaded once per test process. Tests that need a part take
// its record from here, so that what they test is what the program reads.
#pragma once

#include "core/session.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <ostream>
#include <vector>

// Readable test parameters and failure messages.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << text.toStdString();
}

namespace tavrin::test {

struct LoadedPart {
    QString name;
    bool loaded = false;
    QString error; // message box text when the block did not load
    DeviceRecord device;
};

struct ShippedParts {
    QString path;
    QByteArray bytes;
    bool listLoaded = false;
    QStringList names;
    QString version;
    QByteArray partListFile; // Support_PIC_List.txt as written
    std::vector<LoadedPart> parts;

    const LoadedPart* find(const QString& name) const;
};

const ShippedParts& shippedParts();

// The named part's record as the program loads it; nullptr when the file has no such part or its
// block did not load.
const DeviceRecord* shippedDevice(const QString& name);

// The device names, for parameterised tests ("QZ-WRT400" stays as it is).
std::vector<QString> shippedDeviceNames();

// A gtest-safe test name for a device name.
std::string testNameOf(const QString& deviceName);

// Width of a configuration word of the programming type's core: 0x0FFF, 0x3FFF or 0xFFFF.
std::int32_t configWordWidth(const QString& programType);

// The CONFIGk row of the part's block as written (k = 1..7); empty when the block has none.
QStringList configRow(const DeviceRecord& d, int k);

} // namespace tavrin::test
