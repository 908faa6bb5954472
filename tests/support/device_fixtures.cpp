#include "device_fixtures.h"

namespace tavrin::test {

namespace {

void resetRecord(DeviceRecord& d, const QString& name) {
    const QStringList names = d.DeviceNames;
    const QString version = d.DeviceFileVersion;
    d = DeviceRecord();
    d.DeviceNames = names;
    d.DeviceFileVersion = version;
    d.SelectedDevice = name;
}

// A CONFIGk line: default, "not implemented" mask, fixed bits, word width.
void configWord(DeviceRecord& d, int k, std::int32_t value, std::int32_t mask, std::int32_t fixed,
                std::int32_t width) {
    d.ConfigWordDefined[k] = 1;
    d.ConfigMask[k] = mask ^ width;
    d.ConfigFixed[k] = fixed;
    d.ConfigXor[k] = width;
    d.ConfigValue[k] = (d.ConfigMask[k] & value) | fixed;
}

void setting(DeviceRecord& d, int k, const QString& name,
             std::initializer_list<ConfigOption> options) {
    d.ConfigSettings[k].push_back({name, std::vector<ConfigOption>(options)});
    if (name == QLatin1String("CP"))
        for (const auto& o : options)
            d.CodeProtectMask = o.mask;
}

void sizes(DeviceRecord& d, std::int32_t words, std::int32_t eepromBytes) {
    d.ProgramWordCount = words;
    d.EepromByteCount = eepromBytes;
}

} // namespace

void fillPic16F84A(DeviceRecord& d) {
    resetRecord(d, QStringLiteral("PIC16F84A"));
    d.ProgramType = QStringLiteral("FLASH0");
    d.PowerMode = QStringLiteral("VDD");
    d.PackageType = QStringLiteral("18");
    d.Jumper2 = QStringLiteral("NON");
    d.DeviceComment = QStringLiteral(" PIC16F84A 1Kword EEPROM64  ");
    sizes(d, 1024, 64);
    configWord(d, 1, 0x3FFF, 0x0000, 0x0000, 0x3FFF);
    setting(d, 1, QStringLiteral("FOSC"),
            {{QStringLiteral("LP"), 3, 0},
             {QStringLiteral("XT"), 3, 1},
             {QStringLiteral("HS"), 3, 2},
             {QStringLiteral("RC"), 3, 3}});
    setting(d, 1, QStringLiteral("WDTE"),
            {{QStringLiteral("OFF"), 4, 0}, {QStringLiteral("ON"), 4, 4}});
    setting(d, 1, QStringLiteral("PWRTE"),
            {{QStringLiteral("ON"), 8, 0}, {QStringLiteral("OFF"), 8, 8}});
    setting(d, 1, QStringLiteral("CP"),
            {{QStringLiteral("OFF"), 0x3FF0, 0x3FF0}, {QStringLiteral("ON"), 0x3FF0, 0}});
    d.SettingComments.push_back(
        {QStringLiteral("FOSC"), QStringLiteral("発振モード"), QStringLiteral("LP／XT／HS／RC")});
}

void fillPic16F877A(DeviceRecord& d) {
    resetRecord(d, QStringLiteral("PIC16F877A"));
    d.ProgramType = QStringLiteral("FLASH8");
    d.PowerMode = QStringLiteral("VDD");
    d.PackageType = QStringLiteral("40");
    d.Jumper2 = QStringLiteral("1-2");
    d.RequiredFirmware = 6.5f;
    d.DeviceComment = QStringLiteral(" PIC16F877A 8Kword    ");
    sizes(d, 8192, 256);
    configWord(d, 1, 0x3FFF, 0x0000, 0x0000, 0x3FFF);
    setting(d, 1, QStringLiteral("FOSC"),
            {{QStringLiteral("LP"), 3, 0},
             {QStringLiteral("XT"), 3, 1},
             {QStringLiteral("HS"), 3, 2},
             {QStringLiteral("RC"), 3, 3}});
    setting(d, 1, QStringLiteral("WDTE"),
            {{QStringLiteral("OFF"), 4, 0}, {QStringLiteral("ON"), 4, 4}});
    setting(d, 1, QStringLiteral("CP"),
            {{QStringLiteral("OFF"), 0x2000, 0x2000}, {QStringLiteral("ALL"), 0x2000, 0}});
}

void fillPic12C508A(DeviceRecord& d) {
    resetRecord(d, QStringLiteral("PIC12C508A"));
    d.ProgramType = QStringLiteral("12C5");
    d.PowerMode = QStringLiteral("VDD");
    d.PackageType = QStringLiteral("8");
    d.Jumper2 = QStringLiteral("2-3");
    d.CalibrationInstruction = QStringLiteral("movlw 0xFF");
    sizes(d, 512, 0);
    configWord(d, 1, 0x0FFF, 0x0FE0, 0x0FE0, 0x0FFF);
    setting(d, 1, QStringLiteral("FOSC"),
            {{QStringLiteral("LP"), 3, 0},
             {QStringLiteral("XT"), 3, 1},
             {QStringLiteral("INTRC"), 3, 2},
             {QStringLiteral("EXTRC"), 3, 3}});
    setting(d, 1, QStringLiteral("CP"),
            {{QStringLiteral("OFF"), 8, 8}, {QStringLiteral("ON"), 8, 0}});
}

void fillPic18F452(DeviceRecord& d) {
    resetRecord(d, QStringLiteral("PIC18F452"));
    d.ProgramType = QStringLiteral("18F_00");
    d.PowerMode = QStringLiteral("VDD");
    d.PackageType = QStringLiteral("40");
    d.Jumper2 = QStringLiteral("NON");
    d.CpMaskCf5 = 0xC00F;
    sizes(d, 16384, 256);
    const std::int32_t implemented[8] = {0, 0x2700, 0x0F0F, 0x0100, 0x0085, 0xC00F, 0xE00F, 0x400F};
    for (int k = 1; k <= 7; ++k)
        configWord(d, k, 0xFFFF, 0xFFFF ^ implemented[k], 0, 0xFFFF);
    setting(d, 1, QStringLiteral("OSC"),
            {{QStringLiteral("LP"), 0x0700, 0x0000},
             {QStringLiteral("XT"), 0x0700, 0x0100},
             {QStringLiteral("HS"), 0x0700, 0x0200},
             {QStringLiteral("RC"), 0x0700, 0x0700}});
    setting(d, 1, QStringLiteral("OSCS"),
            {{QStringLiteral("OFF"), 0x2000, 0x2000}, {QStringLiteral("ON"), 0x2000, 0}});
    setting(d, 2, QStringLiteral("WDTEN"),
            {{QStringLiteral("ON"), 0x0100, 0x0100}, {QStringLiteral("OFF"), 0x0100, 0}});
    setting(d, 4, QStringLiteral("LVP"),
            {{QStringLiteral("ON"), 0x0004, 0x0004}, {QStringLiteral("OFF"), 0x0004, 0}});
    setting(d, 5, QStringLiteral("CP"),
            {{QStringLiteral("OFF"), 0x000F, 0x000F}, {QStringLiteral("ALL"), 0x000F, 0}});
}

bool fillFixtureDevice(DeviceRecord& d, const QString& name) {
    if (name == QLatin1String("PIC16F84A"))
        fillPic16F84A(d);
    else if (name == QLatin1String("PIC16F877A"))
        fillPic16F877A(d);
    else if (name == QLatin1String("PIC12C508A"))
        fillPic12C508A(d);
    else if (name == QLatin1String("PIC18F452"))
        fillPic18F452(d);
    else
        return false;
    return true;
}

QStringList fixtureDeviceNames() {
    return {QStringLiteral("PIC12C508A"), QStringLiteral("PIC16F84A"), QStringLiteral("PIC16F877A"),
            QStringLiteral("PIC18F452")};
}

} // namespace tavrin::test
