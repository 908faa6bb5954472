#include "hex_reference.h"

#include <algorithm>

namespace hexref {

namespace {

int digitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// The text between line ends; "\r\n", "\n" and "\r" each end one line.
std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        lines.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

struct Line {
    int count = 0;
    std::uint32_t address = 0;
    int type = 0;
    std::vector<std::uint8_t> data;
};

bool readLine(std::string_view text, Line& line) {
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    if (text.empty() || text.front() != ':') return false;
    const std::string_view digits = text.substr(1);
    for (char c : digits)
        if (digitValue(c) < 0) return false;
    if (digits.size() < 10) return false; // count, address, type, checksum
    auto byte = [&](std::size_t k) {
        return std::uint8_t(digitValue(digits[2 * k]) * 16 + digitValue(digits[2 * k + 1]));
    };
    line.count = byte(0);
    if (digits.size() < 10 + 2 * std::size_t(line.count)) return false;
    line.address = std::uint32_t(byte(1)) * 256 + byte(2);
    line.type = byte(3);
    line.data.clear();
    for (int k = 0; k < line.count; ++k)
        line.data.push_back(byte(4 + std::size_t(k)));
    return true;
}

enum class Fate { Placed, Ignored, Fails };

// 12/14-bit map, by the record's start address:
//   0x0000-0x3FFF program   0x4000 ID record   0x4001-0x41FF configuration words (257 bytes)
//   0x4200-0x43FF and 0x8000-0x81FF EEPROM      0x4400-0x7FFF fails when it holds data
//   0xFF00 fuse record      anything else, and anything above 0xFFFF, is ignored
Fate fateOf14(std::uint32_t a, int count) {
    if (a > 0xFFFF) return Fate::Ignored;
    if (a <= 0x4000) return Fate::Placed;
    if (a < 0x4200) {
        for (int j = 0; j < count; ++j)
            if (((a - 0x4000 + std::uint32_t(j)) ^ 1u) >= 257) return Fate::Fails;
        return Fate::Placed;
    }
    if (a < 0x4400) return Fate::Placed;
    if (a < 0x8000) return count > 0 ? Fate::Fails : Fate::Ignored;
    if (a < 0x8200) return Fate::Placed;
    return a == 0xFF00 ? Fate::Placed : Fate::Ignored;
}

// PIC18 map, by 64 KiB page: below 0x20 program memory (2 MiB), 0x20 the 9 ID bytes, 0x30 the
// 256 configuration bytes, 0xF0 the 2048 EEPROM bytes; other pages are ignored.
Fate fateOf18(std::uint32_t a, int count) {
    const std::uint32_t page = a >> 16;
    const std::uint32_t end = (a & 0xFFFF) + std::uint32_t(count);
    if (page < 0x20) return a + std::uint32_t(count) <= 0x200000 ? Fate::Placed : Fate::Fails;
    std::uint32_t size;
    if (page == 0x20)
        size = 9;
    else if (page == 0x30)
        size = 256;
    else if (page == 0xF0)
        size = 2048;
    else
        return Fate::Ignored;
    return count == 0 || end <= size ? Fate::Placed : Fate::Fails;
}

// The file address just past program memory: 2 MiB on a PIC18, else 0x4000, where the ID words
// begin.
std::uint32_t programEnd(const PartMap& part) {
    return part.core == Core::Pic18 ? 0x200000 : 0x4000;
}

bool isProgram(const PartMap& part, std::uint32_t a) {
    return a < programEnd(part);
}

// Bits 14 and 15 of a 14-bit word: bit 14 makes the ones among bits 0, 2, .. 14 even, bit 15
// makes the ones among bits 1, 3, .. 15 odd.
void setParity(std::uint8_t& high, std::uint8_t low) {
    const unsigned word = unsigned(high & 0x3F) << 8 | low;
    int evenOnes = 0, oddOnes = 0;
    for (int bit = 0; bit < 14; ++bit) {
        if (!((word >> bit) & 1)) continue;
        if (bit % 2 == 0)
            ++evenOnes;
        else
            ++oddOnes;
    }
    high = std::uint8_t((high & 0x3F) | (evenOnes % 2 ? 0x40 : 0) | (oddOnes % 2 ? 0 : 0x80));
}

class Apply14 {
  public:
    Apply14(const PartMap& part, Images& images) : part_(part), im_(images) {}

    // A record that runs from program memory into the ID words (those of a 12-bit part after
    // its last program word, or 0x4000) reads as two: the part before them and the rest.
    void record(std::uint32_t a, const std::uint8_t* b, int n) {
        const int idStarts[] = {part_.core == Core::Bit12 ? part_.idLocation : -1, 0x4000};
        for (const int start : idStarts) {
            if (start < 0 || int(a) >= start || int(a) + n <= start) continue;
            const int before = start - int(a);
            piece(a, b, before);
            a = std::uint32_t(start);
            b += before;
            n -= before;
        }
        piece(a, b, n);
    }

    void piece(std::uint32_t a, const std::uint8_t* b, int n) {
        if (a < 0x4000) {
            if (part_.core == Core::Bit12 && a == 0x1FFE) {
                // configuration word 0xFFF: low byte at the even address; the last word counts
                for (int j = 0; j < n; ++j)
                    im_.configId[j % 2 == 0 ? 15 : 14] = b[j];
            }
            const int idWord = (int(a) - part_.idLocation) / 2;
            if (part_.core == Core::Bit12 && part_.idLocation >= 0 && int(a) >= part_.idLocation &&
                idWord < 4 && (int(a) - part_.idLocation) % 2 == 0) {
                idNibbles(idWord, b, n);
                noteIdText();
            }
            for (int j = 0; j < n; ++j)
                im_.program[(a + std::uint32_t(j)) ^ 1u] = b[j];
        } else if (a < 0x4008 && a % 2 == 0) {
            // ID words from 0x2000 + first on, then the configuration words after them
            const int first = int(a - 0x4000) / 2;
            if (part_.wholeIdWords) {
                for (int w = 0; first + w < 4 && 2 * w < n; ++w) {
                    im_.configId[std::size_t(2 * (first + w) + 1)] = b[2 * w];
                    if (2 * w + 1 < n) im_.configId[std::size_t(2 * (first + w))] = b[2 * w + 1];
                }
            } else {
                idNibbles(first, b, n);
            }
            noteIdText();
            const int idBytes = 2 * (4 - first);
            if (n > idBytes) configWords(0x4008, b + idBytes, n - idBytes);
        } else if (a < 0x4200) {
            configWords(a, b, n);
        } else if (a < 0x4400) {
            eeprom(a - 0x4200, b, n);
        } else if (a < 0x8200) {
            eeprom(a - 0x8000, b, n);
        } else {
            fuse(b, n);
        }
    }

    void finish(const std::vector<std::pair<std::uint32_t, std::uint32_t>>& programRanges) {
        auto& c = im_.configId;
        if (part_.parityWords) {
            for (const auto& [first, last] : programRanges)
                for (std::uint32_t i = first; i < last; i += 2)
                    setParity(im_.program[i], im_.program[i + 1]);
        }
        if (!part_.wholeIdWords) {
            for (int i = 0; i < 8; i += 2) {
                c[std::size_t(i)] = part_.twelveBitIdHigh0F ? 0x0F : 0x3F;
                c[std::size_t(i + 1)] |= 0xF0;
            }
        }
        if (part_.parityWords) {
            for (int i = 0; i < 8; i += 2)
                setParity(c[std::size_t(i)], c[std::size_t(i + 1)]);
            c[14] |= 0xC0;
        }
        const std::int32_t word =
            (part_.configMask[1] & (c[14] << 8 | c[15])) | part_.configFixed[1];
        c[14] = std::uint8_t(word >> 8);
        c[15] = std::uint8_t(word & 0xFF);
        if (part_.wholeIdWords && (c[15] & 0x08) == 0) {
            const std::int32_t kept = (word & 0x17) | part_.configFixed[1];
            c[14] = std::uint8_t(kept >> 8);
            c[15] = std::uint8_t(kept & 0xFF);
        }
        if (part_.parityWords) c[14] |= 0xC0;
        im_.configValue[1] = (c[14] & 0x3F) * 256 + c[15];
        im_.configValue[2] = (c[16] & 0x3F) * 256 + c[17];
    }

  private:
    // The low digit of the first byte of each word is an ID digit, for ID words first to 3.
    void idNibbles(int first, const std::uint8_t* b, int n) {
        for (int w = 0; first + w < 4 && 2 * w < n; ++w) {
            im_.configId[std::size_t(2 * (first + w))] = 0;
            im_.configId[std::size_t(2 * (first + w) + 1)] = b[2 * w] & 0x0F;
        }
    }

    // The ID text is the low digit of each ID word as it stands after the record.
    void noteIdText() {
        im_.idText.clear();
        for (int w = 0; w < 4; ++w)
            im_.idText += "0123456789ABCDEF"[im_.configId[std::size_t(2 * w + 1)] & 0x0F];
    }

    // Words 0x2000-0x2080 from file address 0x4000 on, high byte first; the configuration word
    // keeps only 14 bits, and the parity bits of an EPROM2 part.
    void configWords(std::uint32_t a, const std::uint8_t* b, int n) {
        for (int j = 0; j < n; ++j)
            im_.configId[(a - 0x4000 + std::uint32_t(j)) ^ 1u] = b[j];
        im_.configId[14] &= 0x3F;
        if (part_.parityWords) im_.configId[14] |= 0xC0;
    }

    // One location a word: the byte at the even address is the data.
    void eeprom(std::uint32_t offset, const std::uint8_t* b, int n) {
        for (int j = 0; j < n; ++j) {
            const std::uint32_t at = offset + std::uint32_t(j);
            if (at % 2 != 0) continue;
            im_.eeprom[at] = 0x3F;
            im_.eeprom[at + 1] = b[j];
        }
    }

    void fuse(const std::uint8_t* b, int n) {
        auto& c = im_.configId;
        for (int j = 0; j < n; ++j)
            c[std::size_t(j ^ 1)] = b[j];
        int word = c[8] <= 3 ? c[8] : 0;
        if (part_.fuseAsPic12C5) {
            word += (c[11] == 1 ? 0x004 : 0) + (c[12] == 0 ? 0xFE8 : 0) + (c[13] == 0 ? 0x010 : 0);
        } else {
            word += (c[10] == 0 ? 0x008 : 0) + (c[11] == 1 ? 0x004 : 0) + (c[12] == 0 ? 0x3FF0 : 0);
        }
        const int digits[4] = {c[14] >> 4, c[14] & 15, c[15] >> 4, c[15] & 15};
        c.fill(0);
        for (int k = 0; k < 4; ++k)
            c[std::size_t(2 * k + 1)] = std::uint8_t(0x70 | digits[k]);
        c[14] = std::uint8_t(word >> 8);
        c[15] = std::uint8_t(word & 0xFF);
    }

    const PartMap& part_;
    Images& im_;
};

void apply18(const Reading& reading, const PartMap& part, Images& im) {
    im.config18.fill(0xFF);
    for (const DataRecord& r : reading.records) {
        const std::uint32_t page = r.address >> 16;
        const std::uint32_t offset = r.address & 0xFFFF;
        for (std::size_t j = 0; j < r.count; ++j) {
            const std::uint8_t v = reading.bytes[r.first + j];
            if (page < 0x20)
                im.program[(r.address + j) ^ 1u] = v;
            else if (page == 0x20)
                im.id18[offset + j] = v;
            else if (page == 0x30)
                im.config18[offset + j] = v;
            else
                im.eeprom[offset + j] = v;
        }
    }
    for (int k = 1; k <= 127; ++k) {
        const std::int32_t word =
            im.config18[std::size_t(2 * k - 1)] * 256 + im.config18[std::size_t(2 * k - 2)];
        im.configValue[std::size_t(k)] =
            (part.configMask[std::size_t(k)] & word) | part.configFixed[std::size_t(k)];
    }
}

} // namespace

Reading readFile(std::string_view text, const PartMap& part) {
    Reading reading;
    std::uint32_t base = 0; // from the last extended address record
    Line line;
    for (std::string_view rawLine : splitLines(text)) {
        if (!readLine(rawLine, line)) continue;
        if (line.count == 2 && line.type == 4) {
            base = (std::uint32_t(line.data[0]) * 256 + line.data[1]) * 0x10000;
            continue;
        }
        if (line.count == 2 && line.type == 2) {
            base = (std::uint32_t(line.data[0]) * 256 + line.data[1]) * 16;
            continue;
        }
        if (line.type != 0) continue;
        const std::uint32_t a = base + line.address;
        const Fate fate =
            part.core == Core::Pic18 ? fateOf18(a, line.count) : fateOf14(a, line.count);
        if (fate == Fate::Fails) {
            reading.fails = true;
            return reading;
        }
        if (fate == Fate::Ignored) continue;
        ++reading.placedRecords;
        // A record that runs on past program memory writes program words only up to its end;
        // the rest are ID and configuration words (or fail), never program words.
        if (isProgram(part, a) && line.count > 0)
            reading.programRanges.emplace_back(
                a & ~1u, std::min<std::uint32_t>((a + std::uint32_t(line.count) + 1) & ~1u,
                                                 programEnd(part)));
        reading.records.push_back(
            {a, std::uint32_t(reading.bytes.size()), std::uint32_t(line.count)});
        reading.bytes.insert(reading.bytes.end(), line.data.begin(), line.data.end());
    }
    return reading;
}

void apply(const Reading& reading, const PartMap& part, Images& images) {
    if (part.core == Core::Pic18) {
        apply18(reading, part, images);
        return;
    }
    Apply14 load(part, images);
    for (const DataRecord& r : reading.records)
        load.record(r.address, reading.bytes.data() + r.first, int(r.count));
    load.finish(reading.programRanges);
}

} // namespace hexref
