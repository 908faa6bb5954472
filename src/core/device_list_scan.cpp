#include "device_list_scan.h"

#include "device_file_text.h"

namespace tavrin {

bool isListedDeviceName(QStringView name) {
    return name.startsWith(QLatin1String("PIC")) || name.startsWith(QLatin1String("QZ-"));
}

DeviceListScan scanDeviceList(const QString& text) {
    DeviceListScan scan;
    DeviceFileReader file(text);
    while (!file.atEnd()) {
        const QStringView line = file.nextLine();
        const QStringView key = firstToken(line);
        if (key == QLatin1String("VERSION")) {
            const QStringList tokens = prepareLine(line);
            scan.version = tokens.value(1) + tokens.value(2) + tokens.value(3) + tokens.value(4);
        } else if (key == QLatin1String("#BEGIN")) {
            // A "#BEGIN" on the last line names nothing.
            if (file.atEnd()) break;
            const QStringView name = firstToken(file.nextLine());
            if (isListedDeviceName(name)) scan.names << name.toString();
        }
    }
    return scan;
}

} // namespace tavrin
