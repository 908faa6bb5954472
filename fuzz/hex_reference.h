// A second, deliberately plain reading of an Intel HEX file, written from the file format and
// the address map of each programming type alone (it shares no code with the program). The HEX
// fuzz target compares what the program loads with what this reading says the file holds, so a
// loader that loses or misplaces data the same way on every load is seen, which a save-and-load
// round trip cannot see.
//
// The reading follows the program's own rules for what a record line is: a line end is CR LF,
// LF or a lone CR; trailing blanks and tabs are ignored; a record is ":" followed by hexadecimal
// digits only (either case), at least count, address, type and checksum, and as many data digits
// as the count asks for; the checksum is not verified. Lines that are not records change nothing.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace hexref {

enum class Core { Bit12, Bit14, Pic18 };

// What a load of one part needs to know of the part.
struct PartMap {
    Core core = Core::Bit14;
    bool parityWords = false;       // "EPROM2": bits 15 and 14 of each word are parity bits
    bool wholeIdWords = false;      // "12C5": the ID record holds whole words, not nibbles
    bool twelveBitIdHigh0F = false; // "5X28"/"5X18": ID words are 0x0FFx, not 0x3FFx
    bool fuseAsPic12C5 = false;     // the fuse record of a part named "PIC12C5..."
    int idLocation = -1;            // 12-bit: record address of the ID words in program memory
    std::array<std::int32_t, 129> configMask{};
    std::array<std::int32_t, 129> configFixed{};
};

// The memories a load writes, in the program's layout: program words and 12/14-bit
// configuration words high byte first; PIC18 ID, configuration and EEPROM bytes in address order;
// 12/14-bit EEPROM two bytes a location (0x3F, data).
struct Images {
    std::vector<std::uint8_t> program = std::vector<std::uint8_t>(0x200000);
    std::array<std::uint8_t, 2048> eeprom{};
    std::array<std::uint8_t, 257> configId{};
    std::array<std::uint8_t, 9> id18{};
    std::array<std::int32_t, 256> config18{};
    std::array<std::int32_t, 129> configValue{};
    std::string idText = "FFFF"; // the ID digits the log shows; every load starts from "FFFF"
};

struct DataRecord {
    std::uint32_t address; // the extended address plus the record's own
    std::uint32_t first;   // its bytes in Reading::bytes
    std::uint32_t count;
};

// A file read, nothing placed yet.
struct Reading {
    std::vector<DataRecord> records; // data records in file order
    std::vector<std::uint8_t> bytes;
    bool fails = false;    // some record lies beyond the end of its memory
    int placedRecords = 0; // data records the part has a place for
    // Program image indexes the records write: [first, last) pairs.
    std::vector<std::pair<std::uint32_t, std::uint32_t>> programRanges;
};

Reading readFile(std::string_view text, const PartMap& part);

// Applies a reading that does not fail to the images, which hold the state before the load.
void apply(const Reading& reading, const PartMap& part, Images& images);

} // namespace hexref
