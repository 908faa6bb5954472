// The host's device records of the parts these tests put in the emulator's socket, written out as
// the device file describes them (sizes, programming type, configuration masks). They are the
// host's knowledge, kept apart from the emulator's own part catalogue.
#pragma once

#include "core/session.h"

#include <QString>

namespace tavrin::test {

// Fills the device record of the named part; fails the test for a name it does not know.
void loadPartRecord(DeviceRecord& device, const QString& name);

// One representative part of each programming type the generic steps serve.
struct TypeSample {
    const char* programType;
    const char* part;
};
extern const TypeSample TypeSamples[15];

} // namespace tavrin::test
