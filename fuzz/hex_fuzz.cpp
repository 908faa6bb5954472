// Fuzz target for both HEX loaders and both writers. The first input byte picks the part (and
// so the loader), the rest is the file. Beyond "no crash, no sanitizer report" it checks:
//   - the load ends "OK" exactly when the reference reading (hex_reference.h) finds no record
//     beyond the end of its memory; a file with no record for the part's memories may also be
//     refused;
//   - a load that succeeds leaves the images, the configuration values and the ID text the
//     reference reading gives; one that fails leaves images and configuration values as they
//     were, and the ID text "FFFF" when the file has a bad record (the load had begun) or as it
//     was when the file holds nothing to load;
//   - the saved file is, record by record, the file the loaded memories make (hex_saved_file.h):
//     checksums, counts, addresses, order and data;
//   - that file loaded into an erased buffer and saved again gives the same file.
// Only the part's own program memory and the program addresses the file names are reset and
// compared, so a run costs what the file and the part hold, not the whole 2 MiB image.
#include "hex_reference.h"
#include "hex_saved_file.h"

#include "core/buffer_fills.h"
#include "core/hex_export.h"
#include "core/hex_import.h"
#include "core/operator_ui.h"
#include "core/session.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

using namespace tavrin;

namespace {

struct Part {
    const char* name;
    const char* programType;
    hexref::Core core;
    std::int32_t words;
    std::int32_t eepromLocations;
    std::int32_t configMask;
    std::int32_t configFixed;
    int idLocation; // 12-bit: record address of the ID words after the last program word
};

// Sizes are small, and some not whole records, so that a run costs little and the last short
// record is saved too; ID locations and fuse records do not depend on them. (A PIC18 file
// reaches its page record only from 32768 words on, a run that costs a hundred small ones: the
// unit tests of the writer cover it.)
constexpr Part kParts[] = {
    {"PIC16F877A", "FLASH4", hexref::Core::Bit14, 256, 64, 0x3FFF, 0, -1},
    {"PIC16C711", "EPROM2", hexref::Core::Bit14, 128, 0, 0x3FFF, 0, -1},
    {"PIC12C508", "12C5", hexref::Core::Bit12, 64, 0, 0x001F, 0, 0x0400},
    {"PIC16C54A", "5X18", hexref::Core::Bit12, 64, 0, 0x000F, 0, 0x0400},
    {"PIC16F84A", "FLASH1", hexref::Core::Bit14, 100, 20, 0x3FF0, 0x0003, -1},
    {"PIC18F452", "18F_00", hexref::Core::Pic18, 256, 40, 0xFFFF, 0, -1},
    {"PIC18F8720", "18F_01", hexref::Core::Pic18, 260, 100, 0x00FF, 0x0100, -1},
    {"PIC16C57", "5X28", hexref::Core::Bit12, 128, 0, 0x0FFF, 0, 0x1000},
};
[[noreturn]] void finding(const char* what) {
    std::fprintf(stderr, "hex_fuzz: %s\n", what);
    std::abort();
}

void check(bool condition, const char* what) {
    if (!condition) finding(what);
}

// A part as the open command leaves it: erased memories; configuration values set to a pattern
// no load produces by accident, so that a failed load that touches them is seen.
struct PartState {
    const Part* part;
    std::unique_ptr<Session> erased = std::make_unique<Session>();
    hexref::PartMap map;

    explicit PartState(const Part& p) : part(&p) {
        auto& d = erased->device;
        d.SelectedDevice = QString::fromLatin1(p.name);
        d.ProgramType = QString::fromLatin1(p.programType);
        d.ProgramWordCount = p.words;
        d.EepromByteCount = p.eepromLocations;
        for (int k = 1; k <= limits::ConfigWords; ++k) {
            d.ConfigMask[std::size_t(k)] = p.configMask;
            d.ConfigFixed[std::size_t(k)] = p.configFixed;
        }
        for (std::size_t k = 0; k < d.ConfigValue.size(); ++k)
            d.ConfigValue[k] = std::int32_t(0x1357 + k);
        FillProgramErased(*erased);
        FillEepromErased(*erased);
        FillIdConfigErased(*erased);
        erased->buffer.Id18Image.fill(0xFF);
        erased->buffer.Config18Bytes.fill(0x5A); // as an earlier load might have left them

        const std::string_view type = p.programType;
        map.core = p.core;
        map.parityWords = type == "EPROM2";
        map.wholeIdWords = type == "12C5";
        map.twelveBitIdHigh0F = type == "5X28" || type == "5X18";
        map.fuseAsPic12C5 = std::string_view(p.name).starts_with("PIC12C5");
        map.idLocation = p.idLocation;
        std::copy(d.ConfigMask.begin(), d.ConfigMask.end(), map.configMask.begin());
        std::copy(d.ConfigFixed.begin(), d.ConfigFixed.end(), map.configFixed.begin());
    }

    bool pic18() const { return part->core == hexref::Core::Pic18; }
};

using Ranges = std::vector<std::pair<std::uint32_t, std::uint32_t>>;

// The ID text before each load: no load produces it, so a load that leaves it is seen.
constexpr const char* kIdTextBefore = "2A5C";

// The session as the part's erased state, over the program ranges given.
void reset(Session& s, const PartState& state, const Ranges& ranges) {
    const Session& e = *state.erased;
    s.device = e.device;
    for (const auto& [first, last] : ranges)
        std::memcpy(s.buffer.ProgramImage.data() + first, e.buffer.ProgramImage.data() + first,
                    last - first);
    s.buffer.EepromImage = e.buffer.EepromImage;
    s.buffer.ConfigIdImage = e.buffer.ConfigIdImage;
    s.buffer.Id18Image = e.buffer.Id18Image;
    s.buffer.Config18Bytes = e.buffer.Config18Bytes;
    s.buffer.IdText = QLatin1String(kIdTextBefore);
    s.run.HexLoadResult = QStringLiteral("--");
}

void resetReference(hexref::Images& r, const PartState& state, const Ranges& ranges) {
    const Session& e = *state.erased;
    for (const auto& [first, last] : ranges)
        std::memcpy(r.program.data() + first, e.buffer.ProgramImage.data() + first, last - first);
    std::copy(e.buffer.EepromImage.begin(), e.buffer.EepromImage.end(), r.eeprom.begin());
    std::copy(e.buffer.ConfigIdImage.begin(), e.buffer.ConfigIdImage.end(), r.configId.begin());
    r.id18 = e.buffer.Id18Image;
    r.config18 = e.buffer.Config18Bytes;
    r.configValue = e.device.ConfigValue;
    r.idText = "FFFF";
}

bool sameAs(const Session& s, const hexref::Images& r, const Ranges& ranges) {
    for (const auto& [first, last] : ranges)
        if (std::memcmp(s.buffer.ProgramImage.data() + first, r.program.data() + first,
                        last - first) != 0)
            return false;
    return std::equal(r.eeprom.begin(), r.eeprom.end(), s.buffer.EepromImage.begin()) &&
           std::equal(r.configId.begin(), r.configId.end(), s.buffer.ConfigIdImage.begin()) &&
           r.id18 == s.buffer.Id18Image && r.config18 == s.buffer.Config18Bytes &&
           r.configValue == s.device.ConfigValue &&
           s.buffer.IdText == QLatin1String(r.idText.data(), qsizetype(r.idText.size()));
}

void load(Session& s, OperatorUi& ui, const PartState& state, const QByteArray& text) {
    if (state.pic18())
        LoadHexText18(s, ui, text);
    else
        LoadHexText(s, ui, text);
}

QByteArray save(Session& s, const PartState& state) {
    return state.pic18() ? hexFileText18(s) : hexFileText(s);
}

void checkSavedFile(const Session& s, const PartState& state, const QByteArray& text) {
    const Part& p = *state.part;
    const hexref::SavedFrom from{s.buffer.ProgramImage.data(), s.buffer.EepromImage.data(),
                                 s.buffer.ConfigIdImage.data(), s.buffer.Id18Image.data(),
                                 s.device.ConfigValue.data()};
    const std::string fault =
        hexref::savedFileFault(std::string_view(text.constData(), std::size_t(text.size())),
                               {p.core, p.words, p.eepromLocations}, from);
    if (!fault.empty()) finding(fault.c_str());
    if (state.pic18()) {
        // the configuration bytes follow the values saved
        for (int k = 1; k <= limits::ConfigWords; ++k) {
            const std::int32_t v = s.device.ConfigValue[std::size_t(k)];
            check(s.buffer.Config18Bytes[std::size_t(2 * k - 2)] == (v & 0xFF) &&
                      s.buffer.Config18Bytes[std::size_t(2 * k - 1)] == ((v >> 8) & 0xFF),
                  "saving left the configuration bytes unlike the values saved");
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    static std::vector<std::unique_ptr<PartState>> parts;
    if (parts.empty())
        for (const Part& p : kParts)
            parts.push_back(std::make_unique<PartState>(p));
    static auto session = std::make_unique<Session>();
    static auto reloaded = std::make_unique<Session>();
    static auto reference = std::make_unique<hexref::Images>();

    const PartState& state = *parts[data[0] % parts.size()];
    const std::string_view file(reinterpret_cast<const char*>(data + 1), size - 1);
    const QByteArray text(file.data(), qsizetype(file.size()));

    const hexref::Reading reading = hexref::readFile(file, state.map);
    const Ranges partRange{{0u, std::uint32_t(2 * state.part->words)}};
    Ranges ranges = reading.programRanges;
    ranges.push_back(partRange.front());

    reset(*session, state, ranges);
    resetReference(*reference, state, ranges);
    NullOperatorUi ui;
    load(*session, ui, state, text);
    const bool loaded = session->run.HexLoadResult == QLatin1String("OK");
    check(loaded || session->run.HexLoadResult == QLatin1String("NG"), "no load result");
    if (!loaded) {
        check(reading.fails || reading.placedRecords == 0,
              "a file the reference reading places failed to load");
        if (!reading.fails) reference->idText = kIdTextBefore;
        check(sameAs(*session, *reference, ranges), "a failed load changed the buffer");
        return 0;
    }
    check(!reading.fails, "a record beyond the end of its memory loaded");
    hexref::apply(reading, state.map, *reference);
    check(sameAs(*session, *reference, ranges), "the load differs from the reference reading");

    const QByteArray first = save(*session, state);
    checkSavedFile(*session, state, first);
    reset(*reloaded, state, partRange);
    load(*reloaded, ui, state, first);
    check(reloaded->run.HexLoadResult == QLatin1String("OK"), "a saved file failed to load");
    check(save(*reloaded, state) == first, "a saved file loaded and saved again differs");
    return 0;
}
