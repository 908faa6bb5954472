// Sessions and files for the HEX tests: a part set up as the open command leaves it before a
// load (device record filled, images erased), and small file helpers.
#pragma once

#include "core/session.h"
#include "support/recording_ui.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <functional>
#include <memory>
#include <string>

namespace tavrin::test {

// A part the HEX code is given. The named parts below are read from the device file we ship, so
// that the loaders and savers are tested on what the program selects. A test that needs a shape
// no shipped part has (a few words, an odd EEPROM size, a mask or fixed bits beyond the word)
// gives it by hand, with its programming type.
struct Part {
    const char* name;
    const char* programType = nullptr; // nullptr: the part as the shipped device file has it
    std::int32_t words = 0;
    std::int32_t eepromLocations = 0;
    std::int32_t configMask1 = 0; // PIC18: the mask of every word
    std::int32_t configFixed1 = 0;
};

// 14-bit parts with and without EEPROM, the EPROM2 parity type, the 12-bit types with their ID
// locations, and a PIC18 part.
inline constexpr Part kPic16F877A{"PIC16F877A"};
inline constexpr Part kPic16C74{"PIC16C74B"};
inline constexpr Part kEprom2{"PIC16C715"};
inline constexpr Part kPic12C508{"PIC12C508"};
inline constexpr Part kPic16C54{"PIC16C54A"};
inline constexpr Part kPic18F452{"PIC18F452"};
// By hand: a PIC18 part whose configuration words keep every bit, for tests of where the loader
// and the saver put configuration bytes, which a real part's masks would cut.
inline constexpr Part kPic18AllBits{"PIC18F452", "18F_00", 16384, 256, 0xFFFF};

// A heap session (its images are large), erased for the part.
std::unique_ptr<Session> erasedSession(const Part& part);

// Program word k of the image (high byte first).
int programWord(const Session& s, int k);
void setProgramWord(Session& s, int k, int word);

// A load of the text by the part's loader, after prepare() changed the erased session.
struct Loaded {
    std::unique_ptr<Session> session;
    RecordingUi ui;
};
Loaded loadText(const Part& part, const QByteArray& text,
                const std::function<void(Session&)>& prepare = {});

QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes);
QByteArray readFile(const QString& path);
QString dataPath(const QString& name); // tests/hex/data/<name>

// The images a load may change, for comparing a session before and after a load.
struct ImageSnapshot {
    std::vector<std::uint8_t> program, eeprom, configId;
    std::array<std::uint8_t, limits::Id18Bytes> id18{};
    std::array<std::int32_t, limits::Config18Entries> config18{};
    std::array<std::int32_t, limits::ConfigArrayEntries> configValue{};
};
ImageSnapshot snapshot(const Session& s);
// "" when equal, else the first difference of each image, e.g. "program[0x10]: 28 != 3F".
std::string differences(const ImageSnapshot& a, const ImageSnapshot& b);
// The same for the program, EEPROM and ID/configuration images alone.
std::string imageDifferences(const Session& a, const Session& b);

} // namespace tavrin::test
