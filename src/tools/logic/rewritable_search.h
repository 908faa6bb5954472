// The rewritable-word search: a program word w can be overwritten in place with a target T when
// every bit that is 1 in T is 1 in w already ((T & w) == T), because programming only clears
// bits. Up to four targets are searched at once.
#pragma once

#include <QString>

#include <array>
#include <cstdint>

namespace tavrin {

struct DeviceRecord;

struct SearchCodes {
    // The inputs as they are shown back: upper case.
    std::array<QString, 4> texts;
    // Their values read as hexadecimal; 0 for an empty input, -1 for one that is not hex (it
    // then matches nothing).
    std::array<std::int32_t, 4> values{};
};

// Reads the four inputs of the window.
SearchCodes prepareSearchCodes(const std::array<QString, 4>& inputs);

struct WordMarks {
    bool matched = false;
    QString message; // "changeable " when matched
    QString matches; // the matching codes' texts, each followed by a blank, in input order
};

WordMarks markWord(const SearchCodes& codes, std::uint16_t word);

// "3個所のコード置き換えが可能です。"
QString searchResultText(int matchCount);

// Whether the search button is offered: not for the 12-bit core, whose listing does not exist.
// A PIC18 part is offered it and told why its image cannot be listed.
bool searchOffered(const DeviceRecord& device);

} // namespace tavrin
