#include "device_list_scan.h"

#include "device_file_text.h"

namespace tavrin {

bool isListedDeviceName(QStringView name) {
    return name.startsWith(QLatin1String("PIC")) || name.startsWith(QLatin1String("QZ-"));
}

DeviceListScan scanDeviceList(const QByteArray& utf8) {
    DeviceListScan scan;
    DeviceFileReader file(utf8);
    while (!file.atEnd()) {
        const QByteArrayView line = file.nextLine();
        const QByteArrayView key = firstToken(line);
        if (key == QByteArrayView("VERSION")) {
            const QStringList tokens = prepareLine(line);
            scan.version = tokens.value(1) + tokens.value(2) + tokens.value(3) + tokens.value(4);
        } else if (key == QByteArrayView("#BEGIN")) {
            // A "#BEGIN" on the last line names nothing.
            if (file.atEnd()) break;
            const QString name = tokenText(firstToken(file.nextLine()));
            if (isListedDeviceName(name)) scan.names << name;
        }
    }
    return scan;
}

} // namespace tavrin
