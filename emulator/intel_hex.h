// Intel HEX text to and from a map of byte address to byte (records 00, 01, 02, 04).
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace emu {

using ByteImage = std::map<std::uint32_t, std::uint8_t>;

std::optional<ByteImage> parseIntelHex(std::string_view text, std::string* error = nullptr);

// 16-byte data records in address order, an extended linear address record (04) whenever the
// upper 16 bits change, and the end record.
std::string formatIntelHex(const ByteImage& image);

} // namespace emu
