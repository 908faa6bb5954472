// The part catalogue against an independent oracle: gputils' processor table (`gpasm -s -p`)
// for program and EEPROM sizes and the configuration masks, part by part.
#include "emulator/part_catalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <map>
#include <regex>
#include <string>

namespace {

std::string gpasmName(std::string_view part) {
    if (part == "QZ-WRT400") return "p16f877";
    if (part == "QZ-WRT400A") return "p16f877a";
    std::string n(part.substr(3)); // drop "PIC"
    std::transform(n.begin(), n.end(), n.begin(), [](unsigned char c) { return std::tolower(c); });
    return "p" + n;
}

std::string run(const std::string& command) {
    std::string out;
    if (FILE* p = ::popen(command.c_str(), "r")) {
        char buf[512];
        while (std::fgets(buf, sizeof buf, p))
            out += buf;
        ::pclose(p);
    }
    return out;
}

struct GpasmFacts {
    unsigned programWords = 0;
    unsigned eepromBytes = 0;
    std::map<unsigned, unsigned> configMasks; // address -> mask
};

std::optional<GpasmFacts> gpasmFacts(const std::string& processor) {
    const auto text = run("gpasm -s -p " + processor + " 2>/dev/null");
    std::smatch m;
    GpasmFacts f;
    if (!std::regex_search(text, m, std::regex(R"(Program Size\s*:\s*(\d+) (words|bytes))")))
        return std::nullopt;
    f.programWords = unsigned(std::stoul(m[1])) / (m[2] == "bytes" ? 2 : 1);
    if (std::regex_search(text, m,
                          std::regex(R"(EEPROM Range\s*:\s*0x([0-9A-F]+) - 0x([0-9A-F]+))")))
        f.eepromBytes = unsigned(std::stoul(m[2], nullptr, 16) - std::stoul(m[1], nullptr, 16) + 1);
    const std::regex config(R"(address = 0x([0-9A-F]+), mask = 0x([0-9A-F]+))");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), config);
         it != std::sregex_iterator(); ++it)
        f.configMasks[unsigned(std::stoul((*it)[1], nullptr, 16))] =
            unsigned(std::stoul((*it)[2], nullptr, 16));
    return f;
}

} // namespace

TEST(PartCatalogue, AgreesWithGputilsOnSizesAndConfigurationMasks) {
    if (run("command -v gpasm").empty()) GTEST_SKIP() << "gputils not installed";
    int compared = 0;
    for (const auto& p : emu::partCatalogue()) {
        auto g = gpasmFacts(gpasmName(p.name));
        if (!g) continue; // gputils does not know every old part
        ++compared;
        SCOPED_TRACE(std::string(p.name));
        EXPECT_EQ(p.programWords, g->programWords);
        EXPECT_EQ(p.eepromBytes, g->eepromBytes);
        if (p.core == emu::Core::Pic18) {
            for (unsigned i = 0; i < p.config18Bits.size(); ++i) {
                const auto it = g->configMasks.find(0x300000 + i);
                EXPECT_EQ(p.config18Bits[i], it == g->configMasks.end() ? 0u : it->second)
                    << "configuration byte " << i;
            }
            continue;
        }
        // gputils lists the options; the band-gap bits and the parity cells are not options.
        const unsigned bandgap = p.factoryBandgap >= 0 ? 0x3000 : 0;
        const unsigned word1 = p.core == emu::Core::Bit12 ? 0xFFF : 0x2007;
        EXPECT_EQ(p.configBits[0] & ~bandgap & 0x3FFF, g->configMasks[word1]);
        if (p.configBits[1]) {
            EXPECT_EQ(p.configBits[1], g->configMasks[0x2008]);
        }
    }
    EXPECT_GT(compared, 50);
}

TEST(PartCatalogue, HasAPartOfEveryProgrammingTypeAndTheModuleParts) {
    for (const char* type :
         {"5X28", "5X18", "12C5", "12C6", "12F6", "EPROM", "EPROM2", "FLASH0", "FLASH1", "FLASH2",
          "FLASH4", "FLASH4.9", "FLASH8", "WRT400", "WRT400A", "18F_00", "18F_01"}) {
        const auto parts = emu::partCatalogue();
        EXPECT_TRUE(std::any_of(parts.begin(), parts.end(), [&](const emu::PartFacts& p) {
            return p.programType == type;
        })) << type;
    }
    for (const char* name :
         {"PIC16F877A", "PIC16F877", "PIC12F683", "PIC18F452", "PIC18F252", "PIC18F8720",
          "PIC12C508", "PIC12C508A", "PIC12C509", "PIC12C509A", "pic16f84a"})
        EXPECT_NE(emu::findPart(name), nullptr) << name;
    EXPECT_EQ(emu::findPart("PIC16F999"), nullptr);
}
