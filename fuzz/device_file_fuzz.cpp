// Any bytes as device6.ini: the list scan, then the definition of the listed parts and of an
// unlisted name, committed to a session as a selection would. A crash, a sanitizer report or a
// loaded record outside the limits every consumer relies on is a finding.
#include "core/device_definition.h"
#include "core/device_family_limits.h"
#include "core/device_file_text.h"
#include "core/device_list_scan.h"
#include "core/device_record_display.h"
#include "core/operator_ui.h"
#include "core/program_type.h"
#include "core/session.h"

#include <cstddef>
#include <cstdint>

using namespace tavrin;

namespace {

void require(bool condition) {
    if (!condition) __builtin_trap();
}

void checkLoaded(const DeviceDefinition& definition, const QString& name) {
    const DeviceRecord& d = definition.record;
    require(d.SelectedDevice == name);
    // A part loads only with the keys its type needs: a type and a program size at the least.
    require(!d.ProgramType.isEmpty() && d.ProgramWordCount > 0);
    require(d.ProgramWordCount >= 0 && d.ProgramWordCount <= limits::MaxProgramWords);
    require(d.EepromByteCount >= 0 && d.EepromByteCount <= limits::MaxEepromLocations);
    // Its type is one some operation serves, and its sizes fit its family's memory.
    require(isKnownProgramType(d.ProgramType));
    const FamilyLimits family = familyLimitsOf(coreGroupOf(d.ProgramType));
    require(d.ProgramWordCount <= family.programWords);
    require(d.EepromByteCount <= family.eepromLocations);
    require(d.CpMaskCf5 >= 0 && d.CpMaskCf5 <= 0xFFFF);
    require(d.CodeProtectMask >= 0 && d.CodeProtectMask <= 0xFFFF);
    for (int k = 1; k <= limits::ConfigWords; ++k) {
        const auto w = std::size_t(k);
        require(d.ConfigValue[w] >= 0 && d.ConfigValue[w] <= 0xFFFF);
        require(d.ConfigMask[w] >= 0 && d.ConfigMask[w] <= 0xFFFF);
        for (const ConfigSetting& setting : d.ConfigSettings[w])
            for (const ConfigOption& option : setting.options)
                require(option.mask >= 0 && option.mask <= 0xFFFF && option.value >= 0 &&
                        option.value <= 0xFFFF);
    }
    require(d.ConfigSettings[0].empty());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Session* session = new Session; // the images are large: one for every run
    NullOperatorUi ui;

    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QByteArray text = deviceFileUtf8(bytes);
    const DeviceListScan scan = scanDeviceList(text);

    QStringList names = scan.names.mid(0, 8);
    DeviceFileReader file(text);
    if (!file.atEnd()) file.nextLine();
    if (!file.atEnd()) names << tokenText(firstToken(file.nextLine())); // listed or not
    DeviceRecord current;
    current.DeviceNames = scan.names;
    current.DeviceFileVersion = scan.version;
    for (const QString& name : names) {
        current.SelectedDevice = name;
        current.ConfigFromDevice = (size % 2) == 1;
        DeviceDefinition definition = readDeviceDefinition(text, current);
        if (definition.outcome != DeviceDefinition::Outcome::Loaded) {
            require(!definition.errorText.isEmpty());
            continue;
        }
        checkLoaded(definition, name);
        session->device = std::move(definition.record);
        writeConfigWordBytes(session->buffer, session->device);
        showDeviceRecord(ui, session->device);
    }
    return 0;
}
