// The line loop both HEX loaders share: bad lines are listed and skipped, address records set
// the upper part of the address, every data record is judged by the loader's address map and
// kept, and reading goes on to the physical end of the file (past an end-of-file record too).
// Only then are the kept records placed, so a failing file changes nothing.
#pragma once

#include "hex_record.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <vector>

namespace tavrin {
class OperatorUi;
struct Session;
} // namespace tavrin

namespace tavrin::hex {

// What an address map makes of a data record, judged by its address and length alone.
enum class Placement {
    Placed,
    Skipped,
    Failed,         // an index beyond its image: the whole load fails
    OutsideAddress, // the map has no room for this address; listed in the status line
};

// A data record read from the file and waiting to be placed.
struct StagedRecord {
    std::uint32_t address;   // extended address + the record's own
    std::uint32_t firstByte; // into StagedFile::bytes
    std::uint8_t count;
};

// A whole file read and checked against an address map, nothing placed yet: a load that
// fails leaves the images untouched, one that succeeds places every record in file order.
struct StagedFile {
    bool failed = false;
    std::vector<StagedRecord> records;
    std::vector<std::uint8_t> bytes;
    std::int64_t badLines = 0;
    QString badLineList; // "3、7、"
    std::int64_t outsideLines = 0;
    std::int64_t firstOutsideLine = 0;

    template <class Place> void placeAll(Place&& place) const {
        for (const auto& r : records)
            place(r.address, bytes.data() + r.firstByte, int(r.count));
    }
};

// judge(address, count) gives the Placement of each data record; address is the extended
// linear (or segment) address of the last address record plus the record's own address.
template <class Judge> StagedFile stageRecords(QByteArrayView text, Judge&& judge) {
    StagedFile file;
    file.records.reserve(std::size_t(text.size() / 44 + 1));
    file.bytes.reserve(std::size_t(text.size() / 2 + 1));
    LineReader lines(text);
    std::string_view line;
    Record record;
    std::uint32_t upper = 0;
    std::int64_t lineNumber = 0;
    while (lines.next(line)) {
        ++lineNumber;
        // A blank line (a trailing one, most often) holds nothing to read and nothing to warn of.
        if (line.find_first_not_of(" \t") == std::string_view::npos) continue;
        if (!parseRecordLine(line, record)) {
            ++file.badLines;
            file.badLineList += QString::number(lineNumber) + QStringLiteral("、");
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
        const std::uint32_t address = upper + record.address;
        switch (judge(address, int(record.count))) {
        case Placement::Failed:
            file.failed = true;
            return file;
        case Placement::OutsideAddress:
            if (file.outsideLines++ == 0) file.firstOutsideLine = lineNumber;
            break;
        case Placement::Skipped:
            break;
        case Placement::Placed:
            file.records.push_back({address, std::uint32_t(file.bytes.size()), record.count});
            file.bytes.insert(file.bytes.end(), record.data.begin(),
                              record.data.begin() + record.count);
            break;
        }
    }
    return file;
}

// Steps every load begins with: the status "loading", the run counters and the ID text reset.
void beginLoad(Session& s, OperatorUi& ui);

// The failure of a load: its status line (the detail names the likely cause) and "NG".
void failLoad(Session& s, OperatorUi& ui, const QString& detail);

// The status line at the end of a load that did not fail.
void showLoadedStatus(OperatorUi& ui, const StagedFile& file);

// The whole file; false when it cannot be read.
bool readHexFile(const QString& path, QByteArray& text);

// beginLoad, then the whole file into text; false when it cannot be read, after failLoad with
// unreadableDetail.
bool beginFileLoad(Session& s, OperatorUi& ui, const QString& path, const QString& unreadableDetail,
                   QByteArray& text);

} // namespace tavrin::hex
