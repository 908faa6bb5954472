// The three PIC18 parts served by a module of their own. One implementation serves them all;
// this record holds everything in which the parts' procedures differ.
#pragma once

#include <QString>

namespace tavrin {

// How program memory comes back in a read or verify.
enum class ProgramTransfer {
    WholeMemory, // one request, 8-byte packets each acknowledged at once
    Panels,      // one request per 8 KiB panel, end code tested per panel
};

// When a configuration word read from the chip counts as erased.
enum class ConfigErasedTest {
    Covering, // every implemented or fixed bit is 1 (others do not matter)
    Exact,    // the word is exactly its implemented and fixed bits
};

// The erase texts, which the larger part words differently.
struct Pic18EraseTexts {
    QString chipErased;
    QString blockUnderWay; // block name follows, then the tail
    QString blockUnderWayTail;
    QString blockFailedTail;
    QString programErased;
    QString blockNoAnswer;
    QString eepromUnderWay;
    QString eepromNoAnswer;
    QString eepromErased;
    QString eepromFailed;
};

struct Pic18Variant {
    QString DeviceName;
    int ExpectedDeviceKind;
    ProgramTransfer transfer;
    int EraseBlockCount; // blocks after the boot block
    bool BlankWaitShowsElapsed;
    bool ReadSummaryNamesAreas;
    ConfigErasedTest configErasedTest;
    bool LetterBeforeInputClear; // configuration read: power letter, then the input cleared
    int EraseBlockPauseMs;
    // The board scans the whole program memory before it answers a blank check: the larger
    // part takes about half a minute.
    int BlankScanLimitMs;
    const Pic18EraseTexts* eraseTexts;
};

// The variant serving exactly this device name, or nullptr.
const Pic18Variant* pic18VariantFor(const QString& deviceName);

// All three, in the order the main window compares them.
const Pic18Variant* const* pic18Variants(int& count);

} // namespace tavrin
