// The PIC18 address map of a HEX file, by 64 KiB page (the extended linear address):
//   pages 0x00-0x1F program memory   page 0x20 ID locations   page 0x30 configuration bytes
//   page 0xF0 data EEPROM            any other page holds no memory: skipped and reported
#include "hex_import.h"

#include "hex_scan.h"
#include "operator_ui.h"
#include "session.h"
#include "utilities.h"

#include <algorithm>

namespace tavrin {

namespace {

using hex::Placement;

const QString kFamilyHint = QStringLiteral(
    "ＰＩＣ１６ＸＸＸとＰＩＣ１８ＸＸＸではファイルの互換性がありませんので注意してください。");
const QString kOutsideWhere = QStringLiteral("ＰＩＣ１８のメモリにないアドレス");

// Which records a PIC18 load can place, by address and length alone.
Placement judge18(std::uint32_t address, int count) {
    const std::uint32_t page = address >> 16;
    const std::uint32_t last = (address & 0xFFFF) + std::uint32_t(count) - 1;
    if (page < 0x20)
        return address + std::uint32_t(count) <= limits::ProgramImageBytes ? Placement::Placed
                                                                           : Placement::Failed;
    std::uint32_t lastIndex;
    switch (page) {
    case 0x20:
        lastIndex = limits::Id18Bytes - 1;
        break;
    case 0x30:
        lastIndex = limits::Config18Entries - 1;
        break;
    case 0xF0:
        lastIndex = limits::EepromImageBytes - 1;
        break;
    default:
        return Placement::OutsideAddress;
    }
    return count == 0 || last <= lastIndex ? Placement::Placed : Placement::Failed;
}

// Places a record judge18() accepted. Program words are kept high byte first (the byte at
// address x goes to index x ^ 1); the ID, configuration and EEPROM areas in address order.
void place18(PcBuffer& b, std::uint32_t address, const std::uint8_t* data, int count) {
    const std::uint32_t page = address >> 16;
    const std::uint32_t offset = address & 0xFFFF;
    if (page < 0x20) {
        for (int j = 0; j < count; ++j)
            b.ProgramImage[(address + std::uint32_t(j)) ^ 1] = data[j];
    } else if (page == 0x20) {
        std::copy_n(data, count, b.Id18Image.begin() + offset);
    } else if (page == 0x30) {
        std::copy_n(data, count, b.Config18Bytes.begin() + offset);
    } else {
        std::copy_n(data, count, b.EepromImage.begin() + offset);
    }
}

void loadText18(Session& s, OperatorUi& ui, const QByteArray& text, hex::LoadProgress& progress,
                const BeforeLoading& beforeLoading) {
    const hex::StagedFile file = hex::stageRecords(text, judge18, &progress);
    if (file.records.empty() && !file.failed) {
        hex::failNothingLoaded(s, ui, file, kOutsideWhere);
        return;
    }
    hex::resetIdText(s);
    if (beforeLoading) beforeLoading();
    if (file.failed) {
        hex::failLoad(s, ui, kFamilyHint);
        return;
    }
    // The erased state first, so that a file without configuration records does not keep the
    // configuration of the previous file or chip read.
    s.buffer.Config18Bytes.fill(0xFF);
    file.placeAll([&](std::uint32_t address, const std::uint8_t* data, int count) {
        place18(s.buffer, address, data, count);
    });

    ui.refreshViews(ViewProgram | ViewEeprom);
    auto& d = s.device;
    const auto& bytes = s.buffer.Config18Bytes;
    for (int k = 1; k <= limits::ConfigArrayEntries - 2; ++k) {
        const std::int32_t word =
            bytes[std::size_t(2 * k - 1)] * 256 + bytes[std::size_t(2 * k - 2)];
        d.ConfigValue[std::size_t(k)] =
            (d.ConfigMask[std::size_t(k)] & word) | d.ConfigFixed[std::size_t(k)];
    }
    ui.refreshViews(ViewConfigGrids);
    QString id;
    for (int i = 0; i < 8; ++i)
        id += NibbleToHexChar(s.buffer.Id18Image[std::size_t(i)] & 0x0F);
    ui.setControlText(Control::Text_ID, id);
    hex::showLoadedStatus(s, ui, file, kOutsideWhere);
    s.run.HexLoadResult = result::OK;
}

} // namespace

void LoadHexText18(Session& s, OperatorUi& ui, const QByteArray& text) {
    hex::beginLoad(s, ui);
    hex::LoadProgress progress(ui);
    loadText18(s, ui, text, progress, {});
}

void LoadHexFile18(Session& s, OperatorUi& ui, const QString& path,
                   const BeforeLoading& beforeLoading) {
    QByteArray text;
    hex::LoadProgress progress(ui);
    if (hex::beginFileLoad(s, ui, path, kFamilyHint, text, progress, beforeLoading))
        loadText18(s, ui, text, progress, beforeLoading);
}

} // namespace tavrin
