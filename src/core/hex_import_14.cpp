// The 12- and 14-bit address map of a HEX file (byte addresses = word addresses x 2):
//   0x0000-0x3FFF program words        0x4000       ID record (words 0x2000-0x2003)
//   0x4001-0x41FF configuration area   0x4200-0x43FF data EEPROM, one byte per word
//   0x4400-0x7FFF not a 14-bit file    0x8000-0x81FF data EEPROM, the older form
//   0xFF00        the fuse record of the oldest tools
// Data above 0xFFFF (under an extended address) belong to no 14-bit memory and are reported.
#include "hex_import.h"

#include "hex_scan.h"
#include "operator_ui.h"
#include "program_type.h"
#include "session.h"
#include "utilities.h"

#include <algorithm>
#include <array>

namespace tavrin {

namespace {

using hex::Placement;

const QString kPic18Hint =
    QStringLiteral("ＰＩＣ１８用のファイルをロードしようとした可能性があります。");
const QString kOutsideWhere = QStringLiteral("0xFFFFを超えるアドレス");

// 12-bit parts keep their four ID words in program memory right after the last program word;
// a record starting there is also read as the ID. Names compare exactly.
struct IdLocation {
    const char* programType;
    bool byPrefix; // compare the first 8 characters of the device name
    std::array<const char*, 3> names;
    std::uint16_t recordAddress;
};
constexpr IdLocation kIdLocations[] = {
    {"12C5", false, {"PIC12C508", "PIC12C508A", "PIC12CE518"}, 0x0400},
    {"12C5", false, {"PIC12C509", "PIC12C509A", "PIC12CE519"}, 0x0800},
    {"5X18", true, {"PIC16C54"}, 0x0400},
    {"5X18", true, {"PIC16C56"}, 0x0800},
    {"5X18", true, {"PIC16C58"}, 0x1000},
    {"5X28", true, {"PIC16C55"}, 0x0400},
    {"5X28", true, {"PIC16C57"}, 0x1000},
};

// Record address of the ID locations of the selected 12-bit part; -1 when it has none listed.
std::int32_t idLocationAddress(const QString& programType, const QString& device) {
    for (const auto& row : kIdLocations) {
        if (programType != QLatin1String(row.programType)) continue;
        const QString name = row.byPrefix ? device.left(8) : device;
        for (const char* candidate : row.names)
            if (candidate && name == QLatin1String(candidate)) return row.recordAddress;
    }
    return -1;
}

// The configuration/ID area holds words 0x2000-0x207F high byte first: the file byte at
// offset x from 0x4000 goes to index x ^ 1.
bool fitsConfigArea(int offset, int count) {
    for (int j = 0; j < count; ++j)
        if (((offset + j) ^ 1) >= int(limits::ConfigIdImageBytes)) return false;
    return true;
}

// Which records a 12/14-bit load can place, by address and length alone.
Placement judge14(std::uint32_t address, int count) {
    if (address > 0xFFFF) return Placement::OutsideAddress;
    const int a = int(address);
    if (a <= 0x4000) return Placement::Placed;
    if (a < 0x4200)
        return fitsConfigArea(a - 0x4000, count) ? Placement::Placed : Placement::Failed;
    if (a < 0x4400) return Placement::Placed;
    // Not a 12/14-bit address: a PIC18 program, most likely.
    if (a < 0x8000) return count > 0 ? Placement::Failed : Placement::Skipped;
    if (a < 0x8200 || a == 0xFF00) return Placement::Placed;
    return Placement::Skipped;
}

// The configuration word of a load ends as (word And mask) Or fixed, which must fit 16 bits.
bool configFitsSixteenBits(const DeviceRecord& device) {
    return device.ConfigFixed[1] >= 0 && device.ConfigFixed[1] <= 0xFFFF;
}

class Map14 {
  public:
    Map14(const DeviceRecord& device, PcBuffer& buffer)
        : type_(device.ProgramType), device_(device), b_(buffer),
          bit12_(coreGroupOf(type_) == CoreGroup::Bit12), eprom2_(type_ == QLatin1String("EPROM2")),
          whole12C5_(type_ == QLatin1String("12C5")),
          idAddress_(bit12_ ? idLocationAddress(type_, device.SelectedDevice) : -1) {}

    // Places a record judge14() accepted. Tools that merge contiguous data write one record
    // from the last program words on into the ID words (the 12-bit ID locations, or 0x4000): it
    // is placed piece by piece, as if it had been split where the ID words begin.
    void place(std::uint32_t address, const std::uint8_t* data, int count) {
        int a = int(address);
        for (const int boundary : {idAddress_, 0x4000}) {
            if (boundary <= a || boundary >= a + count) continue;
            const int head = boundary - a;
            placePiece(a, data, head);
            a = boundary;
            data += head;
            count -= head;
        }
        placePiece(a, data, count);
    }

    // The steps after the last line that shape the ID and configuration words.
    void finish() {
        auto& cii = b_.ConfigIdImage;
        if (!whole12C5_) {
            const std::uint8_t high =
                (type_ == QLatin1String("5X28") || type_ == QLatin1String("5X18")) ? 0x0F : 0x3F;
            for (int i = 0; i < 8; i += 2) {
                cii[i] = high;
                cii[i + 1] |= 0xF0;
            }
        }
        if (eprom2_) {
            for (int i = 0; i < 8; i += 2)
                SetWordParityBits(cii[i], cii[i + 1]);
            cii[14] |= 0xC0;
        }
        const std::int32_t word =
            (device_.ConfigMask[1] & (cii[14] * 256 + cii[15])) | device_.ConfigFixed[1];
        cii[14] = std::uint8_t(word >> 8);
        cii[15] = std::uint8_t(word);
        if (whole12C5_ && (cii[15] & 0x08) == 0) { // code protection on
            // The configuration cells are one-time programmable and the board compares the whole
            // word it reads back: the unimplemented bits, which read 1, stay set.
            const std::int32_t kept = (word & 0x17) | device_.ConfigFixed[1];
            cii[14] = std::uint8_t(kept >> 8);
            cii[15] = std::uint8_t(kept);
        }
        if (eprom2_) cii[14] |= 0xC0;
    }

  private:
    void placePiece(int a, const std::uint8_t* data, int count) {
        if (a < 0x4000)
            placeProgram(a, data, count);
        else if (a < 0x4008 && a % 2 == 0)
            placeIdRecord((a - 0x4000) / 2, data, count);
        else if (a < 0x4200)
            placeConfigArea(a - 0x4000, data, count);
        else if (a < 0x4400)
            placeEeprom(a - 0x4200, data, count);
        else if (a < 0x8200)
            placeEeprom(a - 0x8000, data, count);
        else if (a == 0xFF00)
            placeFuseRecord(data, count);
    }

    void placeProgram(int a, const std::uint8_t* data, int count) {
        if (bit12_) {
            if (a == 0x1FFE) {
                // The 12-bit configuration word at word 0xFFF; the last word of the record wins.
                for (int j = 0; j < count; ++j)
                    b_.ConfigIdImage[j % 2 ? 14 : 15] = data[j];
            }
            const int idOffset = a - idAddress_;
            if (idAddress_ >= 0 && idOffset >= 0 && idOffset < 8 && idOffset % 2 == 0)
                placeIdWords(idOffset / 2, data, count, false);
        }
        // Words are kept high byte first: the file byte at address x goes to index x ^ 1.
        auto& image = b_.ProgramImage;
        for (int j = 0; j < count; ++j)
            image[std::size_t((a + j) ^ 1)] = data[j];
        if (eprom2_ && count > 0) {
            for (int word = a / 2; word <= (a + count - 1) / 2; ++word)
                SetWordParityBits(image[std::size_t(2 * word)], image[std::size_t(2 * word + 1)]);
        }
    }

    // The ID words of a record from ID word firstWord on: only their low four bits are ID data,
    // unless whole words are asked for.
    void placeIdWords(int firstWord, const std::uint8_t* data, int count, bool wholeWords) {
        auto& cii = b_.ConfigIdImage;
        for (int w = 0; firstWord + w < 4 && 2 * w < count; ++w) {
            const std::size_t at = std::size_t(2 * (firstWord + w));
            const std::uint8_t first = data[2 * w];
            if (wholeWords) {
                cii[at + 1] = first;
                if (2 * w + 1 < count) cii[at] = data[2 * w + 1];
            } else {
                cii[at] = 0;
                cii[at + 1] = first & 0x0F;
            }
        }
        b_.IdText.clear();
        for (int w = 0; w < 4; ++w)
            b_.IdText += NibbleToHexChar(cii[std::size_t(2 * w + 1)] & 0x0F);
    }

    // A record from ID word firstWord (0x2000 + firstWord) on. "12C5" parts keep whole ID
    // words there.
    void placeIdRecord(int firstWord, const std::uint8_t* data, int count) {
        placeIdWords(firstWord, data, count, whole12C5_);
        // Tools that write words 0x2000-0x2007 as one record put the configuration word here.
        const int idBytes = 2 * (4 - firstWord);
        if (count > idBytes) placeConfigArea(8, data + idBytes, count - idBytes);
    }

    // The configuration word keeps no bits above 13 but the EPROM2 parity bits.
    void placeConfigArea(int offset, const std::uint8_t* data, int count) {
        auto& cii = b_.ConfigIdImage;
        for (int j = 0; j < count; ++j)
            cii[std::size_t((offset + j) ^ 1)] = data[j];
        cii[14] &= 0x3F;
        if (eprom2_) cii[14] |= 0xC0;
    }

    // One EEPROM location per word: its low byte is the data, the high byte is not used.
    void placeEeprom(int offset, const std::uint8_t* data, int count) {
        auto& image = b_.EepromImage;
        for (int j = 0; j < count; ++j) {
            const int at = offset + j;
            if (at % 2) continue;
            image[std::size_t(at)] = 0x3F;
            image[std::size_t(at + 1)] = data[j];
        }
    }

    // The oldest tools' record of oscillator, protection and ID bits; it replaces the whole
    // configuration/ID area.
    void placeFuseRecord(const std::uint8_t* data, int count) {
        auto& cii = b_.ConfigIdImage;
        for (int j = 0; j < count; ++j)
            cii[std::size_t(j ^ 1)] = data[j];
        std::int32_t word = 0;
        if (cii[8] <= 3) word |= cii[8];
        if (device_.SelectedDevice.startsWith(QLatin1String("PIC12C5"))) {
            if (cii[11] == 1) word += 0x004;
            if (cii[12] == 0) word += 0xFE8;
            if (cii[13] == 0) word += 0x010;
        } else {
            if (cii[10] == 0) word += 0x008;
            if (cii[11] == 1) word += 0x004;
            if (cii[12] == 0) word += 0x3FF0;
        }
        const std::uint8_t digits[4] = {std::uint8_t(cii[14] >> 4), std::uint8_t(cii[14] & 0x0F),
                                        std::uint8_t(cii[15] >> 4), std::uint8_t(cii[15] & 0x0F)};
        std::fill(cii.begin(), cii.end(), 0);
        for (int k = 0; k < 4; ++k)
            cii[std::size_t(2 * k + 1)] = 0x70 | digits[k];
        cii[14] = std::uint8_t(word >> 8);
        cii[15] = std::uint8_t(word);
    }

    const QString& type_;
    const DeviceRecord& device_;
    PcBuffer& b_;
    const bool bit12_;
    const bool eprom2_;
    const bool whole12C5_;
    const std::int32_t idAddress_;
};

QString openIdWordsCaption(const std::vector<std::uint8_t>& cii) {
    QString caption = QStringLiteral("OPEN");
    for (int k = 0; k < 4; ++k)
        caption +=
            QLatin1Char(':') + hex2(cii[std::size_t(2 * k)]) + hex2(cii[std::size_t(2 * k + 1)]);
    return caption;
}

// Every step after the start of the load.
void loadText(Session& s, OperatorUi& ui, const QByteArray& text, hex::LoadProgress& progress,
              const BeforeLoading& beforeLoading) {
    s.run.HexLoadResult.clear();
    const hex::StagedFile file = hex::stageRecords(text, judge14, &progress);
    const bool failed = file.failed || !configFitsSixteenBits(s.device);
    if (file.records.empty() && !failed) {
        hex::failNothingLoaded(s, ui, file, kOutsideWhere);
        return;
    }
    hex::resetIdText(s);
    if (beforeLoading) beforeLoading();
    if (failed) {
        hex::failLoad(s, ui, kPic18Hint);
        return;
    }
    Map14 map(s.device, s.buffer);
    file.placeAll([&](std::uint32_t address, const std::uint8_t* data, int count) {
        map.place(address, data, count);
    });
    map.finish();

    ui.refreshViews(ViewProgram | ViewIdConfig | ViewEeprom);
    const auto& cii = s.buffer.ConfigIdImage;
    s.device.ConfigValue[1] = (cii[14] & 0x3F) * 256 + cii[15];
    s.device.ConfigValue[2] = (cii[16] & 0x3F) * 256 + cii[17];
    ui.refreshViews(ViewConfigGrids);
    ui.setControlText(Control::frmAbout_Label_ID_Word, openIdWordsCaption(cii));
    hex::showLoadedStatus(s, ui, file, kOutsideWhere);
    s.run.HexLoadResult = result::OK;
}

} // namespace

void LoadHexText(Session& s, OperatorUi& ui, const QByteArray& text) {
    hex::beginLoad(s, ui);
    hex::LoadProgress progress(ui);
    loadText(s, ui, text, progress, {});
}

void LoadHexFile(Session& s, OperatorUi& ui, const QString& path,
                 const BeforeLoading& beforeLoading) {
    s.run.HexLoadResult.clear();
    QByteArray text;
    hex::LoadProgress progress(ui);
    if (hex::beginFileLoad(s, ui, path, kPic18Hint, text, progress, beforeLoading))
        loadText(s, ui, text, progress, beforeLoading);
}

} // namespace tavrin
