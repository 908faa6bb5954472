// Fuzz target for both HEX loaders. The first input byte picks the part (and so the loader),
// the rest is the file. Beyond "no crash, no sanitizer report" it checks two properties:
//   - a load that fails leaves the images exactly as they were;
//   - a load that succeeds, saved, loaded into an erased buffer and saved again, writes the
//     same file twice.
#include "core/buffer_fills.h"
#include "core/hex_export.h"
#include "core/hex_import.h"
#include "core/operator_ui.h"
#include "core/program_type.h"
#include "core/session.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

using namespace tavrin;

namespace {

struct Part {
    const char* name;
    const char* programType;
    std::int32_t words;
    std::int32_t eepromLocations;
    std::int32_t configMask;
    std::int32_t configFixed;
};

// Sizes are kept small where the size does not matter, so that every run is quick; the last
// part reaches one word into the second 64 KiB page.
constexpr Part kParts[] = {
    {"PIC16F877A", "FLASH4", 2048, 256, 0x3FFF, 0},
    {"PIC16C711", "EPROM2", 1024, 0, 0x3FFF, 0},
    {"PIC12C508", "12C5", 512, 0, 0x001F, 0},
    {"PIC16C54A", "5X18", 512, 0, 0x000F, 0},
    {"PIC16F84A", "FLASH1", 1024, 64, 0x3FF0, 0x0003},
    {"PIC18F452", "18F_00", 2048, 256, 0xFFFF, 0},
    {"PIC18F8720", "18F_01", 32769, 1024, 0x00FF, 0x0100},
};

// A fresh session of the part after the open command's erase.
void erase(Session& s, const Part& part) {
    auto& d = s.device;
    d.SelectedDevice = QString::fromLatin1(part.name);
    d.ProgramType = QString::fromLatin1(part.programType);
    d.ProgramWordCount = part.words;
    d.EepromByteCount = part.eepromLocations;
    for (int k = 1; k <= limits::ConfigWords; ++k) {
        d.ConfigMask[std::size_t(k)] = part.configMask;
        d.ConfigFixed[std::size_t(k)] = part.configFixed;
    }
    FillProgramErased(s);
    FillEepromErased(s);
    FillIdConfigErased(s);
    s.buffer.Id18Image.fill(0xFF);
    s.buffer.Config18Bytes.fill(0x5A); // as an earlier load might have left them
}

void load(Session& s, OperatorUi& ui, const QByteArray& text) {
    if (isPic18Type(s.device.ProgramType))
        LoadHexText18(s, ui, text);
    else
        LoadHexText(s, ui, text);
}

QByteArray save(Session& s) {
    return isPic18Type(s.device.ProgramType) ? hexFileText18(s) : hexFileText(s);
}

bool sameImages(const PcBuffer& a, const PcBuffer& b) {
    return a.ProgramImage == b.ProgramImage && a.EepromImage == b.EepromImage &&
           a.ConfigIdImage == b.ConfigIdImage && a.Id18Image == b.Id18Image &&
           a.Config18Bytes == b.Config18Bytes;
}

void check(bool condition) {
    if (!condition) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const Part& part = kParts[data[0] % std::size(kParts)];
    const QByteArray text(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));

    // Sessions are large: one erased template per part, copied into two working sessions
    // without allocating.
    static std::vector<std::unique_ptr<Session>> erasedParts;
    if (erasedParts.empty()) {
        for (const auto& p : kParts) {
            erasedParts.push_back(std::make_unique<Session>());
            erase(*erasedParts.back(), p);
        }
    }
    static auto session = std::make_unique<Session>();
    static auto reloaded = std::make_unique<Session>();
    const Session& erased = *erasedParts[std::size_t(&part - kParts)];
    auto reset = [&](Session& s) {
        s.device = erased.device;
        std::copy(erased.buffer.ProgramImage.begin(), erased.buffer.ProgramImage.end(),
                  s.buffer.ProgramImage.begin());
        s.buffer.EepromImage = erased.buffer.EepromImage;
        s.buffer.ConfigIdImage = erased.buffer.ConfigIdImage;
        s.buffer.Id18Image = erased.buffer.Id18Image;
        s.buffer.Config18Bytes = erased.buffer.Config18Bytes;
    };
    reset(*session);
    NullOperatorUi ui;
    load(*session, ui, text);
    if (session->run.HexLoadResult != QLatin1String("OK")) {
        check(sameImages(session->buffer, erased.buffer));
        return 0;
    }
    const QByteArray first = save(*session);
    reset(*reloaded);
    load(*reloaded, ui, first);
    check(reloaded->run.HexLoadResult == QLatin1String("OK"));
    check(save(*reloaded) == first);
    return 0;
}
