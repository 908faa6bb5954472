// The line loop both HEX loaders share: bad lines are listed and skipped, address records set
// the upper part of the address, every data record goes to the loader's address map, and
// reading goes on to the physical end of the file (past an end-of-file record too).
#pragma once

#include "hex_record.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <cstdint>

namespace tavrin {
class OperatorUi;
struct Session;
} // namespace tavrin

namespace tavrin::hex {

// What an address map did with one data record.
enum class Placement {
    Placed,
    Skipped,
    Failed,         // an index beyond its image: the whole load fails
    OutsideAddress, // the map has no room for this address; listed in the status line
};

struct ScanResult {
    bool failed = false;
    std::int64_t badLines = 0;
    QString badLineList; // "3、7、"
    std::int64_t outsideLines = 0;
    std::int64_t firstOutsideLine = 0;
};

// place(address, record) gets the record's full address: the extended linear (or segment)
// address of the last address record plus the record's own 16-bit address.
template <class Place> ScanResult scanRecords(QByteArrayView text, Place&& place) {
    ScanResult result;
    LineReader lines(text);
    std::string_view line;
    Record record;
    std::uint32_t upper = 0;
    std::int64_t lineNumber = 0;
    while (lines.next(line)) {
        ++lineNumber;
        if (!parseRecordLine(line, record)) {
            ++result.badLines;
            result.badLineList += QString::number(lineNumber) + QStringLiteral("、");
            continue;
        }
        if (record.type == ExtendedLinearAddressRecord && record.count == 2) {
            upper = std::uint32_t(record.data[0] << 8 | record.data[1]) << 16;
            continue;
        }
        if (record.type == ExtendedSegmentAddressRecord && record.count == 2) {
            upper = std::uint32_t(record.data[0] << 8 | record.data[1]) << 4;
            continue;
        }
        if (record.type != DataRecord) continue;
        switch (place(upper + record.address, record)) {
        case Placement::Failed:
            result.failed = true;
            return result;
        case Placement::OutsideAddress:
            if (result.outsideLines++ == 0) result.firstOutsideLine = lineNumber;
            break;
        case Placement::Placed:
        case Placement::Skipped:
            break;
        }
    }
    return result;
}

// Steps every load begins with: the status "loading", the run counters and the ID text reset.
void beginLoad(Session& s, OperatorUi& ui);

// The failure of a load: its status line (the detail names the likely cause) and "NG".
void failLoad(Session& s, OperatorUi& ui, const QString& detail);

// The status line at the end of a load that did not fail.
void showLoadedStatus(OperatorUi& ui, const ScanResult& result);

// The whole file; false when it cannot be read.
bool readHexFile(const QString& path, QByteArray& text);

} // namespace tavrin::hex
