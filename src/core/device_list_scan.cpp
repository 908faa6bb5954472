#include "device_list_scan.h"

#include "device_file_text.h"

namespace tavrin {

bool isListedDeviceName(const QString& name) {
    return name.startsWith(QLatin1String("PIC")) || name.startsWith(QLatin1String("QZ-"));
}

DeviceListScan scanDeviceList(const QStringList& lines) {
    DeviceListScan scan;
    DeviceFileReader file(lines);
    while (!file.atEnd()) {
        const QStringList tokens = file.nextTokens();
        const QString key = tokens.value(0);
        if (key == QLatin1String("VERSION")) {
            scan.version = tokens.value(1) + tokens.value(2) + tokens.value(3) + tokens.value(4);
        } else if (key == QLatin1String("#BEGIN")) {
            // A "#BEGIN" on the last line names nothing.
            if (file.atEnd()) break;
            const QString name = file.nextTokens().value(0);
            if (isListedDeviceName(name)) scan.names << name;
        }
    }
    return scan;
}

} // namespace tavrin
