// One Intel HEX record as text: reading a line into its fields and building a line with its
// checksum. Files are ASCII; lines end in CR LF, LF or CR on input and CR LF on output.
#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <array>
#include <cstdint>
#include <string_view>

namespace tavrin::hex {

enum RecordType : std::uint8_t {
    DataRecord = 0x00,
    EndOfFileRecord = 0x01,
    ExtendedSegmentAddressRecord = 0x02,
    ExtendedLinearAddressRecord = 0x04,
};

struct Record {
    std::uint8_t count = 0;
    std::uint16_t address = 0;
    std::uint8_t type = 0;
    std::array<std::uint8_t, 255> data{}; // the first `count` bytes are the record's
};

// Reads ":" count address type data checksum. The checksum is not verified: files edited by
// hand load as they always have. Returns false for a line that is not a record: no ":" first, a
// character that is not a hexadecimal digit (either case), or fewer characters than the count
// asks for. Trailing blanks are ignored, and so is anything in hexadecimal after the checksum.
bool parseRecordLine(std::string_view line, Record& record);

// The lines of a file, without their line ends (CR LF, LF or a lone CR).
class LineReader {
  public:
    explicit LineReader(QByteArrayView text) : text_(text.data(), std::size_t(text.size())) {}
    bool next(std::string_view& line);
    // Bytes read so far, line ends included.
    std::size_t position() const { return pos_; }

  private:
    // The next c at or after pos_ (text_.size() when none), found with memchr and kept until
    // passed: a long line is looked at once whichever line ends a file uses, and a binary file
    // opened by mistake is scanned about as fast as it is read.
    std::size_t nextOf(char c, std::size_t& found) const;

    std::string_view text_;
    std::size_t pos_ = 0;
    std::size_t nextLineFeed_ = std::string_view::npos;
    std::size_t nextCarriageReturn_ = std::string_view::npos;
};

// The record line begins with ":"; the bytes written by its character pairs from the second
// character on are summed (a character that is not "0"-"9" or "A"-"F" counts as 0) and the
// two's complement of the sum is appended as two upper-case digits, so the whole record sums to
// zero modulo 256.
void AppendHexChecksum(QByteArray& line);

// Appends the two upper-case digits of a byte.
void appendHexByte(QByteArray& line, std::uint8_t byte);

// A whole record with its checksum and CR LF, appended to out.
void appendRecord(QByteArray& out, std::uint8_t type, std::uint16_t address,
                  const std::uint8_t* data, std::size_t count);

} // namespace tavrin::hex
