// The disassembly listing of a 14-bit program image: an assembler source that re-assembles to
// the same program words. The header names the part, its include file, the configuration word
// and the ID; each word gets one line (mnemonic, operands with the part's register names,
// address, opcode and the rewritable-word marks); jump targets get labels; the file ends with
// the table of file registers the program names.
#pragma once

#include "rewritable_search.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

namespace tavrin {

struct DeviceRecord;

struct ListingInput {
    QString deviceName; // the device list's text, "PIC16F84A"
    QString package;    // the socket's pin count: "8", "18", "28", "40"; empty when unknown
    const std::vector<std::uint8_t>* image = nullptr; // word k at bytes 2k (high), 2k+1 (low)
    int wordCount = 0;
    std::uint16_t configWord1 = 0;
    QString idText; // the ID box exactly as shown
    SearchCodes codes;
};

struct Listing {
    QByteArray text; // CR LF line ends, UTF-8
    int matchCount = 0;
};

// progress receives "0%", "10%" … "100%" as the words are walked; pump lets window events run.
Listing buildListing(const ListingInput& in, const std::function<void(const QString&)>& progress,
                     const std::function<void()>& pump);

// Why the selected part cannot be listed, or empty: only 14-bit cores are (their words fit the
// listing's arithmetic and its decode table).
QString listingRefusal(const DeviceRecord& device);

// One word decoded as the listing writes it: the mnemonic field (upper case, padded) and the
// operand text before the alignment tabs. For tests and the search window's preview.
struct DecodedWord {
    QString mnemonic;
    QString operands;
    bool endsBlock = false;
};
DecodedWord decodeWord(std::uint16_t word, const QString& mcuId, int wordCount);

} // namespace tavrin
