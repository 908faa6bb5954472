// A board firmware file (Intel HEX of the board's 14-bit controller), read whole and checked
// before anything is sent: the boot loader overwrites the board's program word by word, so a
// damaged or foreign file must be refused while the board still runs its old firmware.
#pragma once

#include <QString>

#include <cstdint>
#include <map>
#include <variant>

namespace tavrin {

// Word address (HEX byte address / 2) to word value, ascending.
using FirmwareWords = std::map<std::uint32_t, std::uint16_t>;

// What is wrong with a refused file, and on which line (1-based; 0 = the file as a whole).
struct FirmwareFileError {
    enum class Kind {
        Unreadable,     // the file cannot be opened or read
        NotARecord,     // a line that is not ":" followed by hex digits of a whole record
        Checksum,       // the record's checksum does not match
        RecordType,     // a record type other than data, end, extended segment or linear address
        OddData,        // a data record with an odd byte count or at an odd byte address
        OutOfOrder,     // a data record at or below words already given
        OutsideMemory,  // words beyond the board's program, configuration and EEPROM addresses
        AfterEnd,       // records after the end record
        NoEndRecord,    // the file stops without its end record
        NoProgramWords, // nothing to send
    };
    Kind kind = Kind::Unreadable;
    int line = 0;
};

// Either the words of a sound file or why it is refused.
using FirmwareFileResult = std::variant<FirmwareWords, FirmwareFileError>;

FirmwareFileResult readFirmwareFile(const QString& path);
FirmwareFileResult parseFirmwareHex(const QByteArray& text);

// The refusal in the system's words, naming the line.
QString firmwareFileErrorText(const FirmwareFileError& error);

} // namespace tavrin
