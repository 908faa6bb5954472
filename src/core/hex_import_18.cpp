// The PIC18 address map of a HEX file, by 64 KiB page (the extended linear address):
//   pages 0x00-0x1F program memory   page 0x20 ID locations   page 0x30 configuration bytes
//   page 0xF0 data EEPROM            any other page is skipped
#include "hex_import.h"

#include "hex_scan.h"
#include "operator_ui.h"
#include "session.h"
#include "utilities.h"

#include <algorithm>

namespace tavrin {

namespace {

using hex::Placement;
using hex::Record;

const QString kFamilyHint = QStringLiteral(
    "ＰＩＣ１６ＸＸＸとＰＩＣ１８ＸＸＸではファイルの互換性がありませんので注意してください。");

// Copies the record into an area kept in address order; an index past its last entry fails.
template <class Area>
Placement placeInOrder(Area& area, std::size_t lastIndex, std::uint32_t offset, const Record& r) {
    if (r.count > 0 && offset + r.count - 1 > lastIndex) return Placement::Failed;
    std::copy_n(r.data.begin(), r.count, area.begin() + offset);
    return Placement::Placed;
}

Placement place18(PcBuffer& b, std::uint32_t address, const Record& r) {
    const std::uint32_t page = address >> 16;
    const std::uint32_t offset = address & 0xFFFF;
    if (page < 0x20) {
        // Program words are kept high byte first: the byte at address x goes to index x ^ 1.
        if (address + r.count > b.ProgramImage.size()) return Placement::Failed;
        for (std::uint32_t j = 0; j < r.count; ++j)
            b.ProgramImage[(address + j) ^ 1] = r.data[j];
        return Placement::Placed;
    }
    switch (page) {
    case 0x20:
        return placeInOrder(b.Id18Image, limits::Id18Bytes - 1, offset, r);
    case 0x30:
        return placeInOrder(b.Config18Bytes, limits::Config18Entries - 1, offset, r);
    case 0xF0:
        return placeInOrder(b.EepromImage, b.EepromImage.size() - 1, offset, r);
    default:
        return Placement::Skipped;
    }
}

void loadText18(Session& s, OperatorUi& ui, const QByteArray& text) {
    PcBuffer staged = s.buffer;
    // The erased state, so that a file without configuration records does not keep the
    // configuration of the previous file or chip read.
    staged.Config18Bytes.fill(0xFF);
    const hex::ScanResult scan = hex::scanRecords(
        text, [&](std::uint32_t address, const Record& r) { return place18(staged, address, r); });
    if (scan.failed) {
        hex::failLoad(s, ui, kFamilyHint);
        return;
    }
    s.buffer = std::move(staged);

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
    hex::showLoadedStatus(ui, scan);
    s.run.HexLoadResult = result::OK;
}

} // namespace

void LoadHexText18(Session& s, OperatorUi& ui, const QByteArray& text) {
    hex::beginLoad(s, ui);
    loadText18(s, ui, text);
}

void LoadHexFile18(Session& s, OperatorUi& ui, const QString& path) {
    hex::beginLoad(s, ui);
    QByteArray text;
    if (!hex::readHexFile(path, text)) {
        hex::failLoad(s, ui, kFamilyHint);
        return;
    }
    loadText18(s, ui, text);
}

} // namespace tavrin
