#include "emulator/identification.h"

#include <algorithm>

namespace emu {

namespace {
constexpr std::size_t kIdLength = 16;
constexpr std::size_t kNameLength = 11;
} // namespace

std::string normalizeIdentification(std::string_view text) {
    std::string id(text);
    if (id.size() <= kNameLength) {
        id.resize(kNameLength, ' ');
        id += "V";
        id += kDefaultVersion;
    } else if (id.size() < kIdLength) {
        id.resize(kIdLength, ' ');
    }
    return id;
}

std::vector<std::uint8_t> identificationReply(std::string_view identification,
                                              const FaultSet& faults) {
    std::string id(identification);
    if (auto f = faults.find(FaultKind::WrongId, "?")) id = normalizeIdentification(f->text);
    if (auto f = faults.find(FaultKind::OldVersion, "?")) {
        std::string version = f->text;
        version.resize(4, ' ');
        if (id.size() < 4) id.resize(4, ' ');
        id.replace(id.size() - 4, 4, version);
    }
    id += "\r\n";
    if (auto f = faults.find(FaultKind::ShortId, "?"))
        id.resize(std::min<std::size_t>(id.size(), std::size_t(f->number)));
    return {id.begin(), id.end()};
}

} // namespace emu
