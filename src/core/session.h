// The shared state of one running program: the selected part, the PC buffer, the link to the
// board, the results of the running operation and the application-wide values. One Session
// lives for the life of the process and is passed by reference; nothing here is global.
#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <vector>

namespace tavrin {

// Two-letter step results, compared as text by every caller.
namespace result {
inline const QString OK = QStringLiteral("OK");
inline const QString NG = QStringLiteral("NG");
inline const QString ER = QStringLiteral("ER");
inline const QString Skipped = QStringLiteral("--");
inline const QString CP = QStringLiteral("CP");
} // namespace result

// Size limits of the images and of the device file. Every writer checks them explicitly.
namespace limits {
constexpr std::size_t ProgramImageBytes = 0x200000; // 2 MiB: 1,048,576 words
constexpr std::int32_t MaxProgramWords = 1048576;
constexpr std::size_t EepromImageBytes = 2048;
constexpr std::int32_t MaxEepromLocations = 1024;
constexpr std::size_t ConfigIdImageBytes = 257;
constexpr std::size_t Id18Bytes = 9;
constexpr std::size_t Config18Entries = 256;
constexpr int ConfigWords = 7; // CONFIG1 .. CONFIG7
constexpr int ConfigArrayEntries = 129;
constexpr int BlockColumns = 16;
} // namespace limits

// One option of a configuration setting: in effect when (word & mask) == value.
struct ConfigOption {
    QString name;
    std::int32_t mask = 0;
    std::int32_t value = 0;
};

// One setting of a configuration word (one grid row), with its options in the order offered.
struct ConfigSetting {
    QString name;
    std::vector<ConfigOption> options;
};

// A CMT line: the comment shown when the user clicks the setting in a grid.
struct SettingComment {
    QString setting;
    QString text1;
    QString text2;
};

// The selected part as read from its device6.ini block, plus the device list.
struct DeviceRecord {
    QString SelectedDevice;
    QStringList
        DeviceNames; // file order; unlimited here, the file's limit is checked by the reader
    QString DeviceFileVersion;
    std::vector<std::array<QString, limits::BlockColumns>> DeviceBlock; // rows of the block
    int DeviceFileError = 0; // 0 ok, 1 device6.ini missing, -1 block read error
    QString DeviceFileErrorText;
    std::vector<SettingComment> SettingComments;
    QString DeviceComment;
    QString ProgramType;
    QString PowerMode;
    QString PackageType;
    QString Jumper2;
    float RequiredFirmware = 0;
    QString CalibrationInstruction; // "retlw 0x.." / "movlw 0x.."; empty = no calibration word
    std::int32_t CpMaskCf5 = 0;
    std::int32_t CodeProtectMask = 0;
    std::array<std::int16_t, 21> ConfigWordDefined{};
    std::array<std::int32_t, limits::ConfigArrayEntries> ConfigValue{};
    std::array<std::int32_t, limits::ConfigArrayEntries> ConfigMask{};
    std::array<std::int32_t, limits::ConfigArrayEntries> ConfigFixed{};
    std::array<std::int32_t, limits::ConfigArrayEntries> ConfigXor{};
    // Settings of each configuration word (index = word number 1..7), in block order.
    std::array<std::vector<ConfigSetting>, limits::ConfigWords + 1> ConfigSettings{};
    std::array<std::int32_t, limits::ConfigArrayEntries> OptionMask{};
    std::array<std::int32_t, limits::ConfigArrayEntries> OptionValue{};
    bool CodeProtectOn = false;
    bool ConfigFromDevice = false;
    std::int32_t ProgramWordCount = 0;
    std::int16_t ProgramWordCountByte3 = 0;
    std::int16_t ProgramWordCountByte2 = 0;
    std::int16_t ProgramWordCountHi = 0;
    std::int16_t ProgramWordCountLo = 0;
    std::int32_t EepromByteCount = 0;
    std::int16_t EepromByteCountHi = 0;
    std::int16_t EepromByteCountLo = 0;
    std::int32_t StreamWordCount = 0;
    std::int16_t StreamWordCountHi = 0;
    std::int16_t StreamWordCountLo = 0;
    std::int32_t WriteWordCount = 0;
    std::int16_t WriteWordCountHi = 0;
    std::int16_t WriteWordCountLo = 0;
    std::int32_t Pic18PanelCount = 0;
};

// Configuration word k as the part holds it: the implemented bits of value, the bits the part
// always reads set. The grids show every word this way, so the buffer keeps it this way too.
inline std::int32_t partConfigWord(const DeviceRecord& d, int k, std::int32_t value) {
    return (d.ConfigMask[std::size_t(k)] & value) | d.ConfigFixed[std::size_t(k)];
}

// The bits of configuration word k that one of its settings selects.
inline std::int32_t configSettingBits(const DeviceRecord& d, int k) {
    std::int32_t bits = 0;
    for (const ConfigSetting& setting : d.ConfigSettings[std::size_t(k)])
        for (const ConfigOption& o : setting.options)
            bits |= o.mask;
    return bits;
}

// PIC18 configuration word k as the part holds it. A PIC18 word's mask is what an erased chip
// reads, since the PIC18 blank checks compare with it, and its fixed bits are 0, since those
// checks and the verify count any fixed bit as a difference. So the mask also covers bits that
// no setting selects and that the part keeps set whatever is written (CONFIG5L/6L/7L bits 3:2
// of the 16K-byte parts, CONFIG3H bit 1 of the PIC18F8720): those stay set, as a grid edit
// leaves them.
inline std::int32_t pic18PartConfigWord(const DeviceRecord& d, int k, std::int32_t value) {
    return partConfigWord(d, k, value) | (d.ConfigMask[std::size_t(k)] & ~configSettingBits(d, k));
}

// The memory images of the PC buffer. Program words are stored high byte first for every
// family; for PIC18 that means index 2k holds the byte of device address 2k + 1.
struct PcBuffer {
    std::vector<std::uint8_t> ProgramImage = std::vector<std::uint8_t>(limits::ProgramImageBytes);
    std::vector<std::uint8_t> EepromImage = std::vector<std::uint8_t>(limits::EepromImageBytes);
    std::vector<std::uint8_t> ConfigIdImage = std::vector<std::uint8_t>(limits::ConfigIdImageBytes);
    std::array<std::uint8_t, 28> MergedConfigIdImage{};
    QString IdText;
    std::array<std::uint8_t, limits::Id18Bytes> Id18Image{};
    std::array<std::int32_t, limits::Config18Entries> Config18Bytes{};
    std::vector<std::int32_t> Pic18DeviceIdBytes;
    std::vector<std::uint8_t> EepromEditCopy;
};

// The serial link to the programmer board.
struct ProgrammerLink {
    QString ComPortName; // the port's system name ("/dev/ttyUSB0", a pty path, "COM3"); "" = none
    bool ProgrammerDetected = false;
    QString FirmwareReply;
    QString FirmwareId;
    float FirmwareVersion = 0;
    QString UpdatePageUrl;
    std::vector<std::uint8_t> SendBuffer;
    std::vector<std::uint8_t> ReceiveBuffer;
    std::vector<std::uint8_t> ProgramStreamBuffer;
    std::array<std::uint8_t, 17> ConfigAreaReply{};
    std::int64_t WaitStartTimeUs = 0; // monotonic start of the current wait
    std::uint8_t SplitByte0 = 0;
    std::uint8_t SplitByte1 = 0;
    std::uint8_t SplitByte2 = 0;
    std::uint8_t SplitByte3 = 0;
};

// State of one operation and the run counters.
struct RunState {
    QString OperationResult;
    QString ProgramStepResult, EepromStepResult, ConfigStepResult;
    QString ProgramVerifyResult, EepromVerifyResult, ConfigVerifyResult;
    QString VerifySummary;
    QString ChipEraseResult, CpEraseResult;
    QString CodeProtectState;
    QString Pic18ProgramProtect, Pic18DataProtect;
    QString HexLoadResult;
    // What the last HEX load passed over (lines that are not HEX data, records where the part has
    // no memory), counted with their first line numbers; empty when it read every line.
    QString HexLoadSkipped;
    std::int32_t PassCount = 0, FailCount = 0, AttemptCount = 0;
    std::int64_t OperationStartTimeUs = 0;
    QString LastResultText;
    bool ProgramMemoryOnlyMode = false;
    bool IncludeConfigInPartial = false;
    std::int16_t HintAnswer = 0; // 1 = overwrite, 2 = cancel
    // Set for the whole of an operation on the board. While it is set, nothing may touch the
    // buffer, the port or the device list (core/operation_guard.h).
    bool OperationRunning = false;
    std::int32_t ProgramAndHigh = 255, ProgramAndLow = 255;
    std::int32_t EepromAndHigh = 255, EepromAndLow = 255;
    std::int32_t ConfigAndHigh = 255, ConfigAndLow = 255;
    std::int32_t IdAndHigh = 255, IdAndLow = 255;
    std::int32_t LastVerifyIndex = 0;
    std::int32_t ReadDataLastIndex = 0;
    std::uint8_t CalibWordHigh = 0, CalibWordLow = 0, BandgapBits = 0;
    bool CalibWordRead = false; // the calibration word above was read from the chip in this run
    QString OscCalWordText, ConfigWordText, IdVerifyText, ConfigVerifyText, VerifyErrorAddressText;
    QString Pic18IdVerifyResult, Pic18ConfigVerifyResult;
    std::int32_t MaskedConfigWord = 0;
    QString BlankReportText, VerifyReportProgram, VerifyReportEeprom, VerifyReportConfig,
        VerifyReportValues, Pic18ProtectText;
};

// Application-wide values.
struct AppValues {
    QString MainTitle;
    QString HexFilePath;
    QString LastHexFilePath;
    // The files whose last load passed over lines, with what it passed over: saving the buffer
    // over one of them loses those lines. Keyed by the file's absolute path.
    QHash<QString, QString> PartlyLoadedFiles;
    bool ReopenWithoutDialog = false;
    bool DeviceListBusy = false;
    bool DeviceChosenOnce = false;
    QString CommandLine, CommandLineHexPath, CommandLineOption1, CommandLineOption2,
        CommandLineFolder, StartupDeviceName;
    QString AsmToolPath;
    bool AssembleSucceeded = false;
    std::int16_t ConfigDisplayMode = 0;
    std::int64_t SerialNumberValue = 0; // value x 10,000
    bool ComMode1Checked = false;       // menu toggle mnuComMode1: RTS stays low at detection
};

struct Session {
    DeviceRecord device;
    PcBuffer buffer;
    ProgrammerLink link;
    RunState run;
    AppValues app;
};

} // namespace tavrin
