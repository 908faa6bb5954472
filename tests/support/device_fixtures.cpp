#include "device_fixtures.h"

#include "shipped_parts.h"

namespace tavrin::test {

namespace {

// The fixture parts are in the shipped file; a part that did not load leaves a record with no
// part selected, which every test of a selected part then fails on.
bool fillShipped(DeviceRecord& d, const QString& name) {
    const QStringList names = d.DeviceNames;
    const QString version = d.DeviceFileVersion;
    const DeviceRecord* shipped = shippedDevice(name);
    d = shipped ? *shipped : DeviceRecord();
    d.DeviceNames = names;
    d.DeviceFileVersion = version;
    return shipped != nullptr;
}

} // namespace

void fillPic16F84A(DeviceRecord& d) {
    fillShipped(d, QStringLiteral("PIC16F84A"));
}

void fillPic16F877A(DeviceRecord& d) {
    fillShipped(d, QStringLiteral("PIC16F877A"));
}

void fillPic12C508A(DeviceRecord& d) {
    fillShipped(d, QStringLiteral("PIC12C508A"));
}

void fillPic18F452(DeviceRecord& d) {
    fillShipped(d, QStringLiteral("PIC18F452"));
}

bool fillFixtureDevice(DeviceRecord& d, const QString& name) {
    return fixtureDeviceNames().contains(name) && fillShipped(d, name);
}

QStringList fixtureDeviceNames() {
    return {QStringLiteral("PIC12C508A"), QStringLiteral("PIC16F84A"), QStringLiteral("PIC16F877A"),
            QStringLiteral("PIC18F452")};
}

} // namespace tavrin::test
