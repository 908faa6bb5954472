#include "shipped_parts.h"

#include "core/app_paths.h"
#include "core/device_file.h"
#include "core/program_type.h"
#include "support/recording_ui.h"

#include <QFile>
#include <QTemporaryDir>

#include <memory>

namespace tavrin::test {

namespace {

ShippedParts load() {
    ShippedParts result;
    result.path = QStringLiteral(TAVRIN_SOURCE_DIR "/data/device6.ini");
    QFile file(result.path);
    if (file.open(QIODevice::ReadOnly)) result.bytes = file.readAll();

    QTemporaryDir dataDir;
    const AppPaths paths{result.path, dataDir.path()};
    auto session = std::make_unique<Session>();
    RecordingUi ui;
    result.listLoaded = LoadDeviceList(*session, ui, paths);
    result.names = session->device.DeviceNames;
    result.version = session->device.DeviceFileVersion;
    QFile list(paths.inData(QStringLiteral("Support_PIC_List.txt")));
    if (list.open(QIODevice::ReadOnly)) result.partListFile = list.readAll();

    for (const QString& name : result.names) {
        LoadedPart part;
        part.name = name;
        session->device.SelectedDevice = name;
        ui.messages.clear();
        part.loaded = LoadDeviceDefinition(*session, ui, paths);
        if (!ui.messages.empty()) part.error = ui.messages.back().text;
        if (part.loaded) part.device = session->device;
        result.parts.push_back(std::move(part));
    }
    return result;
}

} // namespace

const LoadedPart* ShippedParts::find(const QString& name) const {
    for (const LoadedPart& p : parts)
        if (p.name == name) return &p;
    return nullptr;
}

const ShippedParts& shippedParts() {
    static const ShippedParts parts = load();
    return parts;
}

const DeviceRecord* shippedDevice(const QString& name) {
    const LoadedPart* part = shippedParts().find(name);
    return part && part->loaded ? &part->device : nullptr;
}

std::vector<QString> shippedDeviceNames() {
    const QStringList& names = shippedParts().names;
    return {names.begin(), names.end()};
}

std::string testNameOf(const QString& deviceName) {
    QString name = deviceName;
    for (QChar& c : name)
        if (!c.isLetterOrNumber()) c = QLatin1Char('_');
    return name.toStdString();
}

std::int32_t configWordWidth(const QString& programType) {
    switch (coreGroupOf(programType)) {
    case CoreGroup::Bit12:
        return 0x0FFF;
    case CoreGroup::Bit14:
        return 0x3FFF;
    case CoreGroup::Pic18:
        return 0xFFFF;
    case CoreGroup::None:
        break;
    }
    return 0;
}

QStringList configRow(const DeviceRecord& d, int k) {
    const QString key = QStringLiteral("CONFIG%1").arg(k);
    for (const auto& row : d.DeviceBlock)
        if (row[0].toUpper() == key) return QStringList(row.begin(), row.end());
    return {};
}

} // namespace tavrin::test
