#include "hex_saved_file.h"

#include <algorithm>
#include <array>

namespace hexref {

namespace {

// One expected record at a time, handed to a visitor: no allocation per record, so that the
// check costs little beside the save it checks.
struct Rec {
    int type = 0;
    std::uint32_t address = 0;
    int count = 0;
    std::array<std::uint8_t, 255> data{};

    void start(int t, std::uint32_t a) {
        type = t;
        address = a;
        count = 0;
    }
    void add(std::uint8_t byte) { data[std::size_t(count++)] = byte; }
};

// 12/14-bit: program words, EEPROM at 0x4200 and again at 0x8000 (data byte, 0x00 a location),
// ID words at 0x4000, then the configuration word at 0x1FFE (12-bit) or at 0x400E followed by
// words 0x2008-0x200F. Every word low byte first. Eight words a record, the last one shorter.
template <class Visit> bool expected14(const SavedPart& part, const SavedFrom& f, Visit&& visit) {
    Rec r;
    for (int first = 0; first < part.words; first += 8) {
        r.start(0, std::uint32_t(2 * first));
        for (int k = first; k < std::min(part.words, first + 8); ++k) {
            r.add(f.program[2 * k + 1]);
            r.add(f.program[2 * k]);
        }
        if (!visit(r)) return false;
    }
    if (part.eepromLocations > 0) {
        for (std::uint32_t base : {0x4200u, 0x8000u}) {
            for (int first = 0; first < part.eepromLocations; first += 8) {
                r.start(0, base + std::uint32_t(2 * first));
                for (int m = first; m < std::min(part.eepromLocations, first + 8); ++m) {
                    r.add(f.eeprom[2 * m + 1]);
                    r.add(0x00);
                }
                if (!visit(r)) return false;
            }
        }
    }
    auto words = [&](std::uint32_t address, int firstWord, int count) {
        r.start(0, address);
        for (int w = firstWord; w < firstWord + count; ++w) {
            r.add(f.configId[2 * w + 1]);
            r.add(f.configId[2 * w]);
        }
        return visit(r);
    };
    if (!words(0x4000, 0, 4)) return false;
    if (part.core == Core::Bit12) {
        if (!words(0x1FFE, 7, 1)) return false;
    } else {
        if (!words(0x400E, 7, 1) || !words(0x4010, 8, 8)) return false;
    }
    r.start(1, 0);
    return visit(r);
}

// PIC18: page 0, program words (a page record after the record at 0xFFF0 of each page), EEPROM
// in page 0xF0 sixteen bytes a record, configuration words 1-7 in page 0x30, ID bytes in page
// 0x20.
template <class Visit> bool expected18(const SavedPart& part, const SavedFrom& f, Visit&& visit) {
    Rec r;
    auto page = [&](std::uint32_t p) {
        r.start(4, 0);
        r.add(std::uint8_t(p >> 8));
        r.add(std::uint8_t(p & 0xFF));
        return visit(r);
    };
    if (!page(0)) return false;
    std::uint32_t pageNumber = 0;
    for (int first = 0; first < part.words; first += 8) {
        r.start(0, std::uint32_t(2 * first) & 0xFFFF);
        for (int k = first; k < std::min(part.words, first + 8); ++k) {
            r.add(f.program[2 * k + 1]);
            r.add(f.program[2 * k]);
        }
        const bool lastOfPage = r.address == 0xFFF0;
        if (!visit(r)) return false;
        if (lastOfPage && !page(++pageNumber)) return false;
    }
    if (part.eepromLocations > 0) {
        if (!page(0xF0)) return false;
        for (int first = 0; first < part.eepromLocations; first += 16) {
            r.start(0, std::uint32_t(first));
            for (int m = first; m < std::min(part.eepromLocations, first + 16); ++m)
                r.add(f.eeprom[m]);
            if (!visit(r)) return false;
        }
    }
    if (!page(0x30)) return false;
    r.start(0, 0);
    for (int k = 1; k <= 7; ++k) {
        r.add(std::uint8_t(f.configValue[k] & 0xFF));
        r.add(std::uint8_t((f.configValue[k] >> 8) & 0xFF));
    }
    if (!visit(r) || !page(0x20)) return false;
    r.start(0, 0);
    for (int i = 0; i < 8; ++i)
        r.add(f.id18[i]);
    if (!visit(r)) return false;
    r.start(1, 0);
    return visit(r);
}

int upperDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string lineFault(std::size_t number, const std::string& what) {
    return "saved line " + std::to_string(number + 1) + ": " + what;
}

} // namespace

std::string savedFileFault(std::string_view text, const SavedPart& part, const SavedFrom& from) {
    std::size_t pos = 0;
    std::size_t n = 0;
    std::string fault;
    std::array<std::uint8_t, 261> bytes{};
    auto compare = [&](const Rec& want) {
        const std::size_t end = text.find("\r\n", pos);
        if (end == std::string_view::npos) {
            fault = lineFault(n, "missing or not ended by CR LF");
            return false;
        }
        const std::string_view line = text.substr(pos, end - pos);
        pos = end + 2;
        if (line.size() < 11 || line.size() > 1 + 2 * bytes.size() || line[0] != ':' ||
            line.size() % 2 != 1) {
            fault = lineFault(n, "not a record");
            return false;
        }
        const std::size_t count = (line.size() - 1) / 2;
        unsigned sum = 0;
        for (std::size_t i = 0; i < count; ++i) {
            const int hi = upperDigit(line[1 + 2 * i]), lo = upperDigit(line[2 + 2 * i]);
            if (hi < 0 || lo < 0) {
                fault = lineFault(n, "not upper-case hexadecimal");
                return false;
            }
            bytes[i] = std::uint8_t(hi * 16 + lo);
            sum += bytes[i];
        }
        if (bytes[0] + 5u != count) {
            fault = lineFault(n, "byte count does not match");
        } else if (sum % 256 != 0) {
            fault = lineFault(n, "wrong checksum");
        } else if (bytes[3] != want.type || bytes[1] * 256u + bytes[2] != want.address ||
                   bytes[0] != want.count ||
                   !std::equal(want.data.begin(), want.data.begin() + want.count,
                               bytes.begin() + 4)) {
            fault = lineFault(n, "not the expected record");
        }
        ++n;
        return fault.empty();
    };
    const bool same = part.core == Core::Pic18 ? expected18(part, from, compare)
                                               : expected14(part, from, compare);
    if (!same) return fault;
    if (pos != text.size()) return "text after the end-of-file record";
    return {};
}

} // namespace hexref
