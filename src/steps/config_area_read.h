// Reading the ID and configuration area, as the blank check, the socket check and both
// configuration verifies do it: which letters each programming type sends and how its reply is
// laid out, and the exchanges that fetch the reply.
#pragma once

#include "link/board_channel.h"

#include <QString>

#include <cstdint>
#include <vector>

namespace tavrin {

enum class ConfigAreaLayout {
    // 12-bit parts: the configuration word alone, high, low, "@".
    Word12,
    // 14-bit parts: words 0x2000-0x2007, 16 bytes, "@".
    Words14,
    // Two configuration words: words 0x2000-0x200F, 32 bytes, "@".
    Words16,
    // PIC18: the eight ID bytes and the configuration bytes, read by address.
    Pic18,
};

struct ConfigAreaCommand {
    const char* programType;
    const char* letters; // after the power letter
    ConfigAreaLayout layout;
};

// The command of the programming type; nullptr for the types the generic steps do not serve.
const ConfigAreaCommand* configAreaCommandOf(const QString& programType);

// What became of a read.
enum class AreaRead {
    Complete,   // every byte asked for arrived (the end code is the caller's to test)
    ShortFirst, // the bytes before the host's acknowledgement did not all arrive in time
    ShortRest,  // the bytes after it did not all arrive in time, or the port went away
};

// When the host gives the go-ahead for the end code of an eight-word 14-bit read.
enum class AckTiming {
    AfterSixteen, // when 16 bytes are waiting
    AtOnce,       // right after the count (the blank check does it so)
};

// Discards input, sends the power letter and the command letters, discards again; the count
// follows with the exchange below.
void sendConfigAreaLetters(BoardChannel& channel, const char* letters);

// Count 1; three bytes. The wait is bounded by a block's limit.
AreaRead readConfigWord12(BoardChannel& channel);

// Count 8; 16 bytes (within 10 s when AfterSixteen), "@", the 17th byte.
AreaRead readConfigArea14(BoardChannel& channel, AckTiming ack);

// Count 16; 33 bytes within 10 s, acknowledged at every 16.
AreaRead readConfigArea16(BoardChannel& channel);

// PIC18: "X r s p", start address + 1 and count as three bytes each; count + 1 bytes. The
// caller sends the power letter once, before the first read of its procedure.
// onCount sees every new number of waiting bytes (progress).
AreaRead readPic18Bytes(BoardChannel& channel, std::int32_t startPlusOne, std::int32_t count,
                        AckRule acks, const std::function<void(qint64)>& onCount = {});

// The configuration word of a 12-bit reply or of a 14-bit area reply (bytes 14, 15).
std::int32_t configWordOf(const std::vector<std::uint8_t>& reply, ConfigAreaLayout layout);

// True when a bit of the code-protect mask is 0 in the configuration word.
bool isCodeProtected(std::int32_t configWord, std::int32_t codeProtectMask);

// cpFlag "CP" with its status text when the word shows code protection, else "--".
void testCodeProtection(BoardChannel& channel, std::int32_t configWord, QString& cpFlag);

} // namespace tavrin
