// The host's device records of the parts these tests put in the emulator's socket, as the program
// reads them from the device file we ship. They are the host's knowledge, kept apart from the
// emulator's own part catalogue, so that a disagreement between the two shows.
#pragma once

#include "core/session.h"

#include <QString>

namespace tavrin::test {

// Fills the device record of the named part; fails the test for a part the file does not hold.
void loadPartRecord(DeviceRecord& device, const QString& name);

// One representative part of each programming type the generic steps serve.
struct TypeSample {
    const char* programType;
    const char* part;
};
extern const TypeSample TypeSamples[15];

} // namespace tavrin::test
