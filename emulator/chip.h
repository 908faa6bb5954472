// The simulated chip in the board's socket: its memories and how its cells behave when the board
// reads, writes and erases them. An empty socket (no part) reads zeros and holds nothing.
#pragma once

#include "emulator/part_catalogue.h"

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace emu {

// Outcome of programming one word or byte: whether the read-back matched, and what was read back.
struct CellWrite {
    bool ok = false;
    std::uint16_t readBack = 0;
};

class Chip {
  public:
    // nullptr: an empty socket.
    explicit Chip(const PartFacts* part = nullptr);

    const PartFacts* part() const { return part_; }
    bool present() const { return part_ != nullptr; }
    bool is(Core core) const { return part_ && part_->core == core; }

    // --- 12-bit and 14-bit parts ---------------------------------------------------------------
    // The program-mode sequence the board walks through for "p" commands: a 12-bit chip starts
    // at its configuration word [configuration, program 0..W-1, ID 0..3]; a 14-bit chip at
    // program word 0.
    std::uint32_t sequenceLength() const;
    std::uint16_t readSequence(std::uint32_t index) const;
    CellWrite writeSequence(std::uint32_t index, std::uint16_t value);

    // The configuration area for "c" commands: 0x2000 + index on a 14-bit chip (16 words: IDs,
    // two reserved words, device ID, configuration word(s)); the program-mode sequence on a
    // 12-bit chip, whose configuration word comes first.
    std::uint32_t areaLength() const;
    std::uint16_t readArea(std::uint32_t index) const;
    CellWrite writeArea(std::uint32_t index, std::uint16_t value);

    // One program word by address (the single-word commands).
    std::uint16_t readProgramWord(std::uint32_t address) const;
    CellWrite writeProgramWord(std::uint32_t address, std::uint16_t value);

    std::uint8_t readEeprom(std::uint32_t index) const;
    CellWrite writeEeprom(std::uint32_t index, std::uint8_t value);

    // Bulk erase by the letter after "b" ("d" or "D") and the code; false when this part's
    // profile does not know them (nothing changes then).
    bool erase(char letter, int code);

    // Code protection as the configuration word stands now.
    bool programProtected() const;
    bool dataProtected() const;

    // --- PIC18 ----------------------------------------------------------------------------------
    // Any byte address of the part: program memory, ID locations 0x200000.., configuration bytes
    // 0x300000.., device ID 0x3FFFFE/F. Protected program blocks read 0.
    std::uint8_t readByte18(std::uint32_t address) const;
    CellWrite writeProgram18(std::uint32_t address, std::uint8_t value);
    CellWrite writeId18(std::uint32_t index, std::uint8_t value);
    CellWrite writeConfig18(std::uint32_t index, std::uint8_t value);
    // Erase codes 0x80 (chip), 0x81 (data EEPROM), 0x83 (boot block), 0x88.. (block 1..).
    bool erase18(int code);
    std::uint32_t panels18() const; // 8 KiB panels of program memory
    // The end (exclusive) of the memory that holds this byte address: program memory, the ID
    // locations, the configuration space 0x300000-0x3FFFFF, data EEPROM at 0xF00000; 0 where
    // there is none.
    std::uint32_t regionEnd18(std::uint32_t address) const;

    // --- Raw cells, for images, tests and people ---------------------------------------------
    std::vector<std::uint16_t> program;    // 12/14-bit words
    std::array<std::uint16_t, 4> ids{};    // 12/14-bit ID words
    std::array<std::uint16_t, 2> config{}; // configuration word 1 (12-bit: the word) and 0x2008
    std::vector<std::uint8_t> eeprom;
    std::vector<std::uint8_t> program18; // PIC18 program bytes in address order
    std::array<std::uint8_t, 8> id18{};
    std::array<std::uint8_t, 14> config18{};
    std::uint16_t deviceIdWord() const; // with revision; 0 when absent

    // Configuration word k (0, 1) as the chip reads it: implemented bits as held, the others as
    // the part reads them.
    std::uint16_t readConfig(int k) const;

  private:
    std::uint16_t erasedCellValue() const { return part_ ? erasedCell(*part_) : 0; }
    CellWrite programCell(std::uint16_t& cell, std::uint16_t value, bool hidden);
    CellWrite writeConfigWord(int k, std::uint16_t value);
    bool block18Protected(std::uint32_t address) const;

    const PartFacts* part_ = nullptr;
};

} // namespace emu
