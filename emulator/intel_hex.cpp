#include "emulator/intel_hex.h"

#include <cstdio>
#include <vector>

namespace emu {

namespace {

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

std::optional<std::vector<std::uint8_t>> recordBytes(std::string_view line) {
    if ((line.size() - 1) % 2 != 0) return std::nullopt;
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 1; i + 1 < line.size(); i += 2) {
        const int hi = hexDigit(line[i]), lo = hexDigit(line[i + 1]);
        if (hi < 0 || lo < 0) return std::nullopt;
        bytes.push_back(std::uint8_t(hi * 16 + lo));
    }
    return bytes;
}

} // namespace

std::optional<ByteImage> parseIntelHex(std::string_view text, std::string* error) {
    ByteImage image;
    std::uint32_t base = 0;
    int lineNo = 0;
    auto fail = [&](const std::string& why) -> std::optional<ByteImage> {
        if (error) *error = "line " + std::to_string(lineNo) + ": " + why;
        return std::nullopt;
    };
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        ++lineNo;
        while (!line.empty() && (line.back() == '\r' || line.back() == ' '))
            line.remove_suffix(1);
        if (line.empty()) continue;
        if (line[0] != ':') return fail("does not start with ':'");
        const auto bytes = recordBytes(line);
        if (!bytes || bytes->size() < 5) return fail("not a record");
        const auto& b = *bytes;
        if (b.size() != std::size_t(b[0]) + 5) return fail("length does not match");
        std::uint8_t sum = 0;
        for (auto x : b)
            sum = std::uint8_t(sum + x);
        if (sum != 0) return fail("checksum mismatch");
        const std::uint32_t offset = std::uint32_t(b[1] << 8 | b[2]);
        switch (b[3]) {
        case 0x00:
            for (std::size_t i = 0; i < b[0]; ++i)
                image[base + offset + std::uint32_t(i)] = b[4 + i];
            break;
        case 0x01:
            return image;
        case 0x02:
            base = std::uint32_t(b[4] << 8 | b[5]) << 4;
            break;
        case 0x04:
            base = std::uint32_t(b[4] << 8 | b[5]) << 16;
            break;
        default:
            break; // start addresses mean nothing to a chip
        }
    }
    return image;
}

std::string formatIntelHex(const ByteImage& image) {
    std::string out;
    char buf[80];
    auto record = [&](std::uint8_t type, std::uint16_t address,
                      const std::vector<std::uint8_t>& d) {
        std::uint8_t sum = std::uint8_t(d.size() + (address >> 8) + (address & 0xFF) + type);
        std::snprintf(buf, sizeof buf, ":%02X%04X%02X", unsigned(d.size()), address, type);
        out += buf;
        for (auto x : d) {
            std::snprintf(buf, sizeof buf, "%02X", x);
            out += buf;
            sum = std::uint8_t(sum + x);
        }
        std::snprintf(buf, sizeof buf, "%02X\n", std::uint8_t(-sum));
        out += buf;
    };
    std::uint32_t upper = 0;
    auto it = image.begin();
    while (it != image.end()) {
        const std::uint32_t start = it->first;
        if ((start >> 16) != upper) {
            upper = start >> 16;
            record(0x04, 0, {std::uint8_t(upper >> 8), std::uint8_t(upper & 0xFF)});
        }
        std::vector<std::uint8_t> data;
        std::uint32_t next = start;
        // A record holds up to 16 consecutive bytes and never crosses a 16-byte line or a
        // 64 KiB boundary.
        while (it != image.end() && it->first == next && data.size() < 16 &&
               (data.empty() || next % 16 != 0) && (next >> 16) == upper) {
            data.push_back(it->second);
            ++next;
            ++it;
        }
        record(0x00, std::uint16_t(start & 0xFFFF), data);
    }
    record(0x01, 0, {});
    return out;
}

} // namespace emu
