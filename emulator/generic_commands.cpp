// The commands of the generic procedures, seen from the board. The algorithm letter ("s", "S",
// "8", "e", "E", "F", "G", "H", "I", "J", "l", "p") selects the host's programming algorithm on
// the real board; here every letter of a family reaches the same simulated chip, and the chip in
// the socket decides what is addressed: a 12-bit chip's program-mode sequence starts at its
// configuration word, a 14-bit chip's at program word 0.
#include "emulator/board.h"
#include "emulator/command_table.h"
#include "emulator/firmware.h"

#include <algorithm>
#include <string>

namespace emu {

namespace {

constexpr std::uint8_t kRefused = '!'; // any byte but "@" tells the host the erase failed
constexpr std::size_t kBlock1214 = 16;
constexpr std::size_t kBlock18 = 8;
constexpr std::uint32_t kPanelBytes = 8192;

std::uint16_t wordOf(std::span<const std::uint8_t> b) {
    return std::uint16_t((b[0] << 8) | b[1]);
}

template <class Read> std::vector<std::uint8_t> wordsBigEndian(std::uint32_t count, Read read) {
    std::vector<std::uint8_t> out;
    out.reserve(std::size_t(count) * 2);
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint16_t w = read(i);
        out.push_back(std::uint8_t(w >> 8));
        out.push_back(std::uint8_t(w & 0xFF));
    }
    return out;
}

// A write the chip in the socket cannot hold is aborted where its memory ends; with no chip (or a
// chip of the other family) the board cannot know the size and every word fails its read-back.
std::uint32_t capacity(const Chip& chip, std::uint32_t items, std::uint32_t length, Core family) {
    const bool sameFamily = family == Core::Pic18 ? chip.is(Core::Pic18) : !chip.is(Core::Pic18);
    return chip.present() && sameFamily ? length : items;
}

// Bits a word of the chip may carry; 0xFFFF when there is no chip to tell.
std::uint16_t cellBits(const Chip& chip) {
    return chip.present() ? chip.part()->cellMask : 0xFFFF;
}

// The configuration-area write marks the words 0x2004-0x2006 (items 4-6) with bit 15: "skip".
constexpr std::uint16_t kSkipMark = 0x8000;
constexpr std::uint32_t kFirstMarked = 4, kLastMarked = 6;

// --- Erase, single words, summaries ------------------------------------------------------------

Task<> bulkErase(Firmware& fw, char letter) {
    const auto code = co_await fw.argument(1);
    const bool ok = fw.chip().erase(letter, int(code));
    fw.note(std::string("erase ") + letter + " code " + std::to_string(code) +
            (ok ? "" : ": not known to this part"));
    co_await fw.delay(fw.options().eraseTime);
    if (ok)
        fw.sendEnd();
    else
        fw.send({kRefused});
}

Task<> readLastWord(Firmware& fw) {
    const auto count = co_await fw.argument(2);
    fw.checkRange("program memory", count, fw.chip().part() ? fw.chip().part()->programWords : 0,
                  Core::Bit14);
    const auto w = fw.chip().readProgramWord(count - 1);
    fw.sendEnd({std::uint8_t(w >> 8), std::uint8_t(w & 0xFF)});
}

Task<> writeLastWord(Firmware& fw) {
    const auto count = co_await fw.argument(2);
    const auto value = co_await fw.argument(2);
    fw.checkRange("program memory", count, fw.chip().part() ? fw.chip().part()->programWords : 0,
                  Core::Bit14);
    fw.checkWord(std::uint16_t(value), cellBits(fw.chip()), "word");
    const auto r = fw.chip().writeProgramWord(count - 1, std::uint16_t(value));
    co_await fw.delay(fw.options().itemWriteTime);
    if (r.ok) {
        fw.sendEnd();
    } else {
        fw.send({'*', std::uint8_t(r.readBack & 0xFF), std::uint8_t(r.readBack >> 8), 0});
        co_await fw.ignoreUntilQuiet();
    }
}

// AND of the first k words of the program-mode sequence: the board's own blank scan.
Task<> blankSummary(Firmware& fw) {
    const auto count = co_await fw.argument(2);
    fw.checkRange("the program-mode sequence", count, fw.chip().sequenceLength(), Core::Bit14);
    std::uint16_t acc = 0xFFFF;
    for (std::uint32_t i = 0; i < count; ++i)
        acc &= fw.chip().readSequence(i);
    fw.sendEnd({std::uint8_t(acc >> 8), std::uint8_t(acc & 0xFF)});
}

// 16C5x: the configuration word (low byte first) and the AND of the words after it.
Task<> blankSummaryWithConfig(Firmware& fw) {
    const auto count = co_await fw.argument(2);
    fw.checkRange("the program-mode sequence", count, fw.chip().sequenceLength(), Core::Bit14);
    const std::uint16_t config = fw.chip().readSequence(0);
    std::uint16_t acc = 0xFFFF;
    for (std::uint32_t i = 1; i < count; ++i)
        acc &= fw.chip().readSequence(i);
    fw.sendEnd({std::uint8_t(config & 0xFF), std::uint8_t(config >> 8), std::uint8_t(acc >> 8),
                std::uint8_t(acc & 0xFF)});
}

// --- 12/14-bit reads ---------------------------------------------------------------------------

Task<> readSequenceWords(Firmware& fw) {
    const auto count = co_await fw.argument(2);
    Chip& chip = fw.chip();
    fw.checkRange("the program-mode sequence", count, chip.sequenceLength(), Core::Bit14);
    co_await fw.sendBlocks(
        wordsBigEndian(count, [&](std::uint32_t i) { return chip.readSequence(i); }), kBlock1214);
}

Task<> readAreaWords(Firmware& fw) {
    const auto count = co_await fw.argument(2);
    Chip& chip = fw.chip();
    fw.checkRange("the configuration area", count, chip.areaLength(), Core::Bit14);
    co_await fw.sendBlocks(wordsBigEndian(count, [&](std::uint32_t i) { return chip.readArea(i); }),
                           kBlock1214);
}

// Data EEPROM locations travel as two bytes, a 0x3F filler and the data byte.
Task<> readEepromLocations(Firmware& fw) {
    const auto count = co_await fw.argument(2);
    Chip& chip = fw.chip();
    fw.checkRange("data EEPROM", count, chip.eeprom.size(), Core::Bit14);
    co_await fw.sendBlocks(
        wordsBigEndian(count, [&](std::uint32_t i) { return 0x3F00 | chip.readEeprom(i); }),
        kBlock1214);
}

// --- 12/14-bit writes --------------------------------------------------------------------------

Task<> writeSequenceWords(Firmware& fw) {
    const auto count = co_await fw.argument(2);
    Chip& chip = fw.chip();
    co_await fw.pacedWrite({.items = count,
                            .itemBytes = 2,
                            .capacity = capacity(chip, count, chip.sequenceLength(), Core::Bit14),
                            .twelveBit = chip.is(Core::Bit12),
                            .wordBits = [bits = cellBits(chip)](std::uint32_t) { return bits; },
                            .write =
                                [&chip](std::uint32_t i, std::span<const std::uint8_t> b) {
                                    return chip.writeSequence(i, wordOf(b));
                                }});
}

Task<> writeAreaWords(Firmware& fw) {
    const auto count = co_await fw.argument(2);
    Chip& chip = fw.chip();
    co_await fw.pacedWrite(
        {.items = count,
         .itemBytes = 2,
         .capacity = capacity(chip, count, chip.areaLength(), Core::Bit14),
         .twelveBit = chip.is(Core::Bit12),
         .wordBits =
             [bits = cellBits(chip), mid = chip.is(Core::Bit14)](std::uint32_t i) {
                 const bool marked = mid && i >= kFirstMarked && i <= kLastMarked;
                 return std::uint16_t(marked ? bits | kSkipMark : bits);
             },
         .write =
             [&chip](std::uint32_t i, std::span<const std::uint8_t> b) {
                 // Bit 7 of a high byte marks a word the host wants skipped
                 // (0x2004-0x2006); the chip cannot program those anyway.
                 return chip.writeArea(i, wordOf(b));
             }});
}

Task<> writeEepromLocations(Firmware& fw) {
    const auto count = co_await fw.argument(2);
    Chip& chip = fw.chip();
    co_await fw.pacedWrite(
        {.items = count,
         .itemBytes = 2,
         .capacity = capacity(chip, count, std::uint32_t(chip.eeprom.size()), Core::Bit14),
         .twelveBit = false,
         .wordBits = [bits = cellBits(chip)](std::uint32_t) { return bits; },
         .write =
             [&chip](std::uint32_t i, std::span<const std::uint8_t> b) {
                 auto r = chip.writeEeprom(i, b[1]);
                 r.readBack |= 0x3F00; // reported like the location travels: filler, data
                 return r;
             }});
}

// --- PIC18 -------------------------------------------------------------------------------------
// START is the first byte address plus one for reads, blank check and EEPROM writes.

Task<> blankSummary18(Firmware& fw) {
    const auto start = co_await fw.argument(3);
    const auto words = co_await fw.argument(3);
    const std::uint32_t base = start - 1;
    fw.checkRange("the memory at that address", std::uint64_t(base) + 2 * std::uint64_t(words),
                  fw.chip().regionEnd18(base), Core::Pic18);
    std::uint8_t hi = 0xFF, lo = 0xFF;
    for (std::uint32_t i = 0; i < words; ++i) {
        lo &= fw.chip().readByte18(base + 2 * i);
        hi &= fw.chip().readByte18(base + 2 * i + 1);
    }
    fw.sendEnd({hi, lo});
}

Task<> erase18(Firmware& fw) {
    // The modules send a code right after the letters; the generic chip erase sends none.
    const auto code = co_await fw.byteWithin(fw.options().eraseCodeWindow);
    const int c = code ? *code : 0x80;
    const bool ok = fw.chip().erase18(c);
    fw.note("erase code " + std::to_string(c) + (code ? "" : " (none sent: chip erase)") +
            (ok ? "" : ": refused"));
    co_await fw.delay(fw.options().eraseTime);
    if (ok)
        fw.sendEnd();
    else
        fw.send({kRefused});
}

// How far past the end of program memory a read may reach: the module of the part whose host
// reads the whole memory in one request ("X r s p", START 1) asks for one word more, which it
// drops. Every other read (the panels of the generic procedures and of the other modules, and
// any read of another part) stays within the memory.
enum class PastEnd { None, WholeMemoryWord };

bool readsWholeMemoryAndAWord(const Chip& chip, PastEnd pastEnd, std::uint32_t base,
                              std::uint32_t count, std::uint32_t end) {
    return pastEnd == PastEnd::WholeMemoryWord && chip.present() &&
           chip.part()->pic18Procedures == Pic18Procedures::ModuleWholeMemory && base == 0 &&
           end > 0 && count == end + 2;
}

Task<> readBytes18(Firmware& fw, bool flowControl, std::uint32_t offset,
                   PastEnd pastEnd = PastEnd::None) {
    const auto start = co_await fw.argument(3);
    const auto count = co_await fw.argument(3);
    const std::uint32_t base = start - 1 + offset;
    const std::uint32_t end = fw.chip().regionEnd18(base);
    const bool wholeMemoryAndAWord = readsWholeMemoryAndAWord(fw.chip(), pastEnd, base, count, end);
    fw.checkRange("the memory at that address", std::uint64_t(base) + count,
                  wholeMemoryAndAWord ? end + 2 : end, Core::Pic18);
    std::vector<std::uint8_t> data(count);
    for (std::uint32_t i = 0; i < count; ++i)
        data[i] = fw.chip().readByte18(base + i);
    co_await fw.sendBlocks(std::move(data), flowControl ? kBlock18 : 0);
}

Task<> writeProgram18(Firmware& fw) {
    co_await fw.argument(3); // START: always 0
    const auto count = co_await fw.argument(3);
    const std::uint32_t panels = count > 0 ? count - 1 : 0; // the host sends panels + 1
    const std::uint32_t blocks = panels * (kPanelBytes / 8);
    Chip& chip = fw.chip();
    const bool fits = panels <= chip.panels18();
    fw.note(std::to_string(panels) + " panels");
    co_await fw.pacedWrite(
        {.items = blocks,
         .itemBytes = 8,
         .capacity = capacity(chip, blocks, fits ? blocks : 0, Core::Pic18),
         .twelveBit = false,
         .wordBits = {},
         .write = [&chip, panels](std::uint32_t i, std::span<const std::uint8_t> b) {
             // Round by round: block j of every panel, then block j + 8 of every panel, ...
             const std::uint32_t address = (i % panels) * kPanelBytes + (i / panels) * 8;
             CellWrite all{true, 0};
             for (std::uint32_t k = 0; k < 8; ++k) {
                 const auto r = chip.writeProgram18(address + k, b[k]);
                 if (!r.ok && all.ok) all = r;
             }
             return all;
         }});
}

Task<> writeEeprom18(Firmware& fw) {
    const auto start = co_await fw.argument(3);
    const auto count = co_await fw.argument(3);
    const std::uint32_t base = start - 1;
    Chip& chip = fw.chip();
    const auto size = std::uint32_t(chip.eeprom.size());
    co_await fw.pacedWrite(
        {.items = count,
         .itemBytes = 1,
         .capacity = capacity(chip, count, base < size ? size - base : 0, Core::Pic18),
         .twelveBit = false,
         .wordBits = {},
         .write = [&chip, base](std::uint32_t i, std::span<const std::uint8_t> b) {
             return chip.writeEeprom(base + i, b[0]);
         }});
}

// Four ID transfers (two ID bytes each), then CONFIG1..7, low byte and high byte.
Task<> writeIdConfig18(Firmware& fw) {
    co_await fw.argument(3);
    const auto count = co_await fw.argument(3);
    Chip& chip = fw.chip();
    co_await fw.pacedWrite({.items = count,
                            .itemBytes = 2,
                            .capacity = capacity(chip, count, 11, Core::Pic18),
                            .twelveBit = false,
                            .wordBits = {},
                            .write = [&chip](std::uint32_t i, std::span<const std::uint8_t> b) {
                                CellWrite first, second;
                                if (i < 4) {
                                    first = chip.writeId18(2 * i, b[0]);
                                    second = chip.writeId18(2 * i + 1, b[1]);
                                } else {
                                    first = chip.writeConfig18(2 * (i - 4), b[0]);
                                    second = chip.writeConfig18(2 * (i - 4) + 1, b[1]);
                                }
                                if (!first.ok) return first;
                                return second;
                            }});
}

// START values are the address + 1: the ID bytes, the configuration bytes, the device ID.
constexpr std::uint32_t kIdStart = 0x200000 + 1, kConfigStart = 0x300000 + 1,
                        kDeviceIdStart = 0x3FFFFE + 1;

// The later reads of one PIC18 procedure go on upwards from the first: the next panels of a
// program read or verify, the next areas of the configuration read (IDs 0x200000, configuration
// bytes 0x300000, device ID 0x3FFFFE). A procedure starts at its lowest address.
bool pic18ReadContinues(const CommandRecord& previous, const CommandRecord& current) {
    const bool previousRead = previous.letters == "Xrsp" || previous.letters == "Xrsc";
    if (!previousRead || previous.arguments.empty() || current.arguments.empty()) return false;
    const std::uint32_t before = previous.arguments[0], start = current.arguments[0];
    return (before < kIdStart) == (start < kIdStart) && start > before;
}

bool servedByModule(const CommandRecord& r) {
    return r.part && r.part->pic18Procedures != Pic18Procedures::Generic;
}

// The device modules' verify and blank check of the ID and configuration bytes begin the
// configuration read again with the power letter; their configuration read sends it once, and
// the generic procedures never repeat it.
bool pic18ConfigAfterIdsMayRestart(const CommandRecord& previous, const CommandRecord& current) {
    const std::uint32_t before = previous.arguments[0], start = current.arguments[0];
    return servedByModule(current) && before < kConfigStart && start >= kConfigStart &&
           start < kDeviceIdStart;
}

// The blank check reads the IDs, then the configuration bytes, after its program-memory check
// ("X b s") and its EEPROM check ("X r s d", left out where the host checks no EEPROM). Its host
// acknowledges every multiple of 8 waiting bytes, 0 included; the other procedures wait for the
// first 8.
bool blankCheckAreaRead(std::span<const CommandRecord> before, const CommandRecord& current) {
    if (current.arguments.empty()) return false;
    auto at = before.rbegin();
    const auto skip = [&](auto matches) {
        if (at != before.rend() && matches(*at)) ++at;
        return at;
    };
    const std::uint32_t start = current.arguments[0];
    if (start == kConfigStart) {
        const auto idRead = [&](const CommandRecord& r) {
            return r.letters == current.letters && !r.arguments.empty() &&
                   r.arguments[0] == kIdStart;
        };
        if (skip(idRead) == before.rbegin()) return false;
    } else if (start != kIdStart) {
        return false;
    }
    skip([](const CommandRecord& r) { return r.letters == "Xrsd"; });
    return at != before.rend() && at->letters == "Xbs";
}

// The generic blank check reads them with "X r s p", the modules' with "X r s c".
bool genericBlankCheckAreaRead(std::span<const CommandRecord> before,
                               const CommandRecord& current) {
    return !servedByModule(current) && blankCheckAreaRead(before, current);
}
bool moduleBlankCheckAreaRead(std::span<const CommandRecord> before, const CommandRecord& current) {
    return servedByModule(current) && blankCheckAreaRead(before, current);
}

Task<> identification(Firmware& fw, std::uint8_t) {
    fw.sendIdentification();
    co_return;
}

Task<> powerLetter(Firmware& fw, std::uint8_t letter) {
    co_await fw.powerCommand(letter);
}

Task<> pic18Continuation(Firmware& fw, std::uint8_t letter) {
    co_await fw.continueInPowerMode(letter);
}

} // namespace

void addGenericCommands(CommandTable& t) {
    t.addIdle('?', identification);
    t.addIdle('N', powerLetter);
    t.addIdle('n', powerLetter);
    t.addIdle('X', pic18Continuation);

    t.add("bd", [](Firmware& fw) { return bulkErase(fw, 'd'); });
    t.add("bD", [](Firmware& fw) { return bulkErase(fw, 'D'); });
    t.add("br", readLastWord);
    t.add("bw", writeLastWord);
    for (const char* l : {"bs", "bS", "b8"})
        t.add(l, blankSummary);
    for (const char* l : {"bps", "bpl"})
        t.add(l, blankSummaryWithConfig);

    for (const char* l : {"rps", "rpl", "rsp", "rSp", "r8p"})
        t.add(l, readSequenceWords);
    for (const char* l : {"rsc", "rSc", "r8c"})
        t.add(l, readAreaWords);
    for (const char* l : {"rsd", "r8d"})
        t.add(l, readEepromLocations);

    for (const char* l :
         {"wps", "wpl", "wsp", "wSp", "we8", "we5", "we1", "wef", "wEe", "wHe", "wGe", "w84"})
        t.add(l, writeSequenceWords);
    for (const char* l : {"wsc", "wSc", "wec", "wEc", "wFc", "wJc", "w8c"})
        t.add(l, writeAreaWords);
    for (const char* l : {"wed", "wId", "w8d"})
        t.add(l, writeEepromLocations);

    t.add("Xbs", blankSummary18);
    t.add("Xbd", erase18);
    // The generic path reads ID, configuration and device ID with "p", the modules with "c".
    // The PIC18 host acknowledges at every poll that finds a multiple of 8 bytes (its blank check
    // at a count of 0 too), so a block may be acknowledged more than once.
    const CommandRules pic18Read{.acks = AckRule::Repeated,
                                 .continues = pic18ReadContinues,
                                 .mayAckBeforeData = genericBlankCheckAreaRead};
    const CommandRules moduleConfigRead{.acks = AckRule::Repeated,
                                        .continues = pic18ReadContinues,
                                        .mayRepeatPowerLetter = pic18ConfigAfterIdsMayRestart,
                                        .mayAckBeforeData = moduleBlankCheckAreaRead};
    t.add(
        "Xrsp", [](Firmware& fw) { return readBytes18(fw, true, 0, PastEnd::WholeMemoryWord); },
        pic18Read);
    t.add(
        "Xrsc", [](Firmware& fw) { return readBytes18(fw, true, 0); }, moduleConfigRead);
    t.add("Xrsd", [](Firmware& fw) { return readBytes18(fw, false, 0xF00000); });
    t.add("Xwep", writeProgram18);
    t.add("Xwed", writeEeprom18);
    t.add("Xwec", writeIdConfig18);
}

} // namespace emu
