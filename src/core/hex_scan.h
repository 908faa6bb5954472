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
#include <functional>
#include <limits>
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

// Bad lines named by number in the status line; the rest are only counted, so that a file of a
// million bad lines neither grows the list without bound nor floods the status line.
constexpr std::int64_t kListedBadLines = 10;

// The largest file a load reads. The largest image (PIC18 program memory, 2 MiB) written one byte
// a record takes 15 bytes of text per byte (":01AAAA00DDCC" CR LF), about 32 MiB; twice that
// leaves room for comments and blank lines. A larger file cannot be the HEX file of any part and
// is refused before it is read into memory.
constexpr qint64 kMaxFileBytes = qint64(64) << 20;

// How far the load of a large file has come: every kProgressStep bytes read or scanned the
// progress bar moves and the window's events run, so that the window stays responsive (the open
// command holds the operation guard meanwhile). A file below kProgressStep, any real HEX file,
// loads in one go and shows nothing.
constexpr qint64 kProgressStep = qint64(4) << 20;

class LoadProgress {
  public:
    explicit LoadProgress(OperatorUi& ui) : ui_(ui) {}
    ~LoadProgress();
    LoadProgress(const LoadProgress&) = delete;
    LoadProgress& operator=(const LoadProgress&) = delete;

    // A file is counted twice: read, then scanned.
    void startReading(qint64 fileSize) { setTotal(2 * fileSize); }
    void read(qint64 bytes) { at(bytes); }
    // Text already read counts from where reading ended, or alone.
    void startScanning(qint64 textSize) {
        if (total_ == 0) setTotal(textSize);
        scanBase_ = total_ - textSize;
    }
    void scanned(qint64 bytes) { at(scanBase_ + bytes); }

  private:
    void setTotal(qint64 bytes) {
        total_ = bytes;
        next_ = bytes < kProgressStep ? kNever : kProgressStep;
    }
    void at(qint64 done) {
        if (done >= next_) report(done);
    }
    void report(qint64 done);

    static constexpr qint64 kNever = std::numeric_limits<qint64>::max();
    OperatorUi& ui_;
    qint64 total_ = 0;
    qint64 scanBase_ = 0;
    qint64 next_ = kNever;
    bool shown_ = false;
};

// A whole file read and checked against an address map, nothing placed yet: a load that
// fails leaves the images untouched, one that succeeds places every record in file order.
struct StagedFile {
    bool failed = false;
    std::vector<StagedRecord> records;
    std::vector<std::uint8_t> bytes;
    std::int64_t badLines = 0;
    QString badLineList; // "3、7、": the first kListedBadLines of them
    // The bad lines that are not comments (";CRC=…", the ";PIC…" device name): damaged records
    // or text that may have held data.
    std::int64_t damagedLines = 0;
    QString damagedLineList; // as badLineList
    std::int64_t outsideLines = 0;
    std::int64_t firstOutsideLine = 0;

    template <class Place> void placeAll(Place&& place) const {
        for (const auto& r : records)
            place(r.address, bytes.data() + r.firstByte, int(r.count));
    }
};

// A line that tools write as a comment: it begins with ";".
inline bool isCommentLine(std::string_view line) {
    const auto first = line.find_first_not_of(" \t");
    return first != std::string_view::npos && line[first] == ';';
}

// judge(address, count) gives the Placement of each data record; address is the extended
// linear (or segment) address of the last address record plus the record's own address.
template <class Judge>
StagedFile stageRecords(QByteArrayView text, Judge&& judge, LoadProgress* progress = nullptr) {
    if (progress) progress->startScanning(text.size());
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
        if (progress) progress->scanned(qint64(lines.position()));
        // A blank line (a trailing one, most often) holds nothing to read and nothing to warn of.
        if (line.find_first_not_of(" \t") == std::string_view::npos) continue;
        if (!parseRecordLine(line, record)) {
            if (++file.badLines <= kListedBadLines)
                file.badLineList += QString::number(lineNumber) + QStringLiteral("、");
            if (!isCommentLine(line) && ++file.damagedLines <= kListedBadLines)
                file.damagedLineList += QString::number(lineNumber) + QStringLiteral("、");
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

// Steps every load begins with: the status "loading", the run counters and the skipped lines
// reset.
void beginLoad(Session& s, OperatorUi& ui);

// The ID text reset of a load that changes the buffer or fails; a file with nothing to load
// keeps it.
void resetIdText(Session& s);

// The failure of a load: its status line (the detail names the likely cause) and "NG".
void failLoad(Session& s, OperatorUi& ui, const QString& detail);

// The status line at the end of a load that placed records, and what it passed over that may
// have held data (comment lines aside) in s.run.HexLoadSkipped. outsideWhere is what the loader
// calls the addresses it has no memory for
// ("0xFFFFを超えるアドレス"), for the records it skipped there.
void showLoadedStatus(Session& s, OperatorUi& ui, const StagedFile& file,
                      const QString& outsideWhere);

// The end of a load that found nothing to place (an empty file, only bad lines or only records
// outside the part's memories): it says so, with what was skipped, and leaves "NG" so that no
// caller goes on as if a program had been loaded. The images are not touched.
void failNothingLoaded(Session& s, OperatorUi& ui, const StagedFile& file,
                       const QString& outsideWhere);

// Whether the file is larger than any HEX file a load reads (kMaxFileBytes).
bool fileTooLarge(const QString& path);

// The refusal of a file that fileTooLarge() names: its status line and "NG".
void refuseTooLargeFile(Session& s, OperatorUi& ui);

enum class ReadOutcome { Read, Unreadable, TooLarge };

// The whole file, when it can be read and is no larger than kMaxFileBytes.
ReadOutcome readHexFile(const QString& path, QByteArray& text, LoadProgress* progress = nullptr);

// beginLoad, then the whole file into text; false when it cannot be read (after failLoad with
// unreadableDetail) or is too large (after refuseTooLargeFile), beforeLoading and the ID text
// reset run first then, as for any failing load.
bool beginFileLoad(Session& s, OperatorUi& ui, const QString& path, const QString& unreadableDetail,
                   QByteArray& text, LoadProgress& progress,
                   const std::function<void()>& beforeLoading = {});

} // namespace tavrin::hex
