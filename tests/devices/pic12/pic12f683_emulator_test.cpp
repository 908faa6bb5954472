// The emulated PIC12F683 as the module relies on it: the bulk erase 0x0E clears program memory
// and the configuration word but keeps the calibration word at 0x2008, and releasing data
// protection never leaves the protected EEPROM data behind.
#include "emulator/host_script.h"
#include "emulator/protocol_bytes.h"

#include <gtest/gtest.h>

using namespace tavrin::test;

TEST(EmulatedPic12F683, TheProgramEraseTakesTheEepromOnlyWhenItIsProtected) {
    struct Case {
        std::uint16_t config;
        bool eepromErased;
    };
    for (const Case c : {Case{0x3FFF, false}, Case{0x3FBF, false} /* CP */,
                         Case{0x3F7F, true} /* CPD */, Case{0x3F3F, true}}) {
        EmulatedBoard bench("PIC12F683");
        auto& chip = bench.board.chip();
        std::fill(chip.program.begin(), chip.program.end(), 0x1234);
        std::fill(chip.eeprom.begin(), chip.eeprom.end(), 0x55);
        chip.config[0] = c.config;
        HostScript host(bench);
        host.command("nbd", bytes({0x0E}));
        EXPECT_EQ(host.collect(1).toStdString(), "@");
        EXPECT_EQ(chip.program[0], 0x3FFF);
        EXPECT_EQ(chip.readConfig(0), 0x3FFF) << "protection released";
        EXPECT_EQ(chip.config[1], 0x1A2B) << "calibration word kept";
        EXPECT_EQ(chip.eeprom[0] == 0xFF, c.eepromErased) << std::hex << c.config;
    }
}
