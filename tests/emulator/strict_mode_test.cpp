// The strict board: what it records of a host that gets the protocol wrong, and what it lets pass
// because the host does it by design. In process and as the command-line emulator on a pty.
#include "emusupport/emulator_process.h"
#include "host_script.h"
#include "protocol_bytes.h"

#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

using namespace tavrin::test;

namespace {

using Strings = std::vector<std::string>;

// "@" at every new multiple of 8 waiting bytes, as the PIC18 host does.
QByteArray readPic18(HostScript& host, const char* letters, std::uint32_t start,
                     std::uint32_t count) {
    host.command(letters, c24(start) + c24(count));
    return host.collect(int(count) + 1, 8);
}

// The same with an "@" for the count of 0 too, 1 ms after the request: it reaches the board
// while the first block is still leaving.
QByteArray readPic18FromZero(HostScript& host, const char* letters, std::uint32_t start,
                             std::uint32_t count) {
    host.command(letters, c24(start) + c24(count));
    host.send("@");
    return host.collect(int(count) + 1, 8);
}

// The blank check's program-memory and EEPROM checks of a 16K-word part, before its ID and
// configuration reads.
void blankCheckProgramAndEeprom(HostScript& host) {
    host.command("NXbs", c24(1) + c24(16384));
    host.collect(3);
    host.command("NXrsd", c24(1) + c24(256));
    host.collect(257);
}

} // namespace

TEST(StrictBoard, ExtraAcknowledgementAndExtraPowerLetterAreBothRecorded) {
    EmulatedBoard bench("PIC18F452");
    HostScript host(bench);
    host.send("***?");
    EXPECT_EQ(host.collect(18).size(), 18);
    // A configuration read whose second command sends the power letter again.
    EXPECT_EQ(readPic18(host, "NXrsp", 0x200001, 8).size(), 9);
    EXPECT_EQ(readPic18(host, "NXrsp", 0x300001, 256).size(), 257);
    // An EEPROM read takes no acknowledgement; this host sends one all the same.
    host.command("NXrsd", c24(1) + c24(256));
    EXPECT_EQ(host.collect(257).size(), 257);
    host.send("@");
    host.idle(10);

    const auto found = bench.takeViolations();
    EXPECT_EQ(kindsOf(found), (Strings{"power-letter-inside-procedure", "unasked-ack"}));
    for (const auto& v : found)
        EXPECT_FALSE(v.what.empty());
}

TEST(StrictBoard, TheSameHostMeetsTheSameRepliesAsOnALenientBoard) {
    for (bool strict : {false, true}) {
        EmulatedBoard bench("PIC16F877A");
        bench.board.options().strict = strict;
        HostScript host(bench);
        host.command("Nrsc", c16(8));
        host.send("@@"); // one too many, early
        const auto reply = host.collect(17);
        EXPECT_EQ(reply.size(), 17);
        EXPECT_EQ(reply.back(), '@');
        EXPECT_EQ(bench.takeViolations().size(), strict ? 1u : 0u);
    }
}

// Each kind of violation from a host script, and what the host does by design next to it.
struct StrictCase {
    const char* name;
    const char* part;
    std::function<void(HostScript&)> script;
    Strings expected;
};

class StrictKinds : public ::testing::TestWithParam<StrictCase> {};

TEST_P(StrictKinds, RecordsExactlyTheseViolations) {
    const StrictCase& c = GetParam();
    EmulatedBoard bench(c.part);
    HostScript host(bench);
    host.send("***?");
    host.collect(18);
    c.script(host);
    host.idle(50);
    EXPECT_EQ(kindsOf(bench.takeViolations()), c.expected);
}

const QByteArray kWord7FFF = word(0x7FFF);

INSTANTIATE_TEST_SUITE_P(
    Table, StrictKinds,
    ::testing::Values(
        // unasked-ack
        StrictCase{
            "AckWhileIdle", "PIC16F877A", [](HostScript& h) { h.send("@"); }, {"unasked-ack"}},
        StrictCase{"TwoAcksForOneBlock",
                   "PIC16F877A",
                   [](HostScript& h) {
                       h.command("Nrsp", c16(100));
                       h.collect(16);
                       h.send("@@");
                       h.collect(201 - 16, 16);
                   },
                   {"unasked-ack"}},
        // missing-ack
        StrictCase{"NoAckAfterAFullBlock",
                   "PIC16F877A",
                   [](HostScript& h) {
                       h.command("Nrsp", c16(100));
                       h.collect(16);
                       h.idle(3000); // the idle reset gives up on the host
                   },
                   {"missing-ack"}},
        // power letters
        StrictCase{"PowerLetterBeforeTheNextPanel",
                   "PIC18F452",
                   [](HostScript& h) {
                       readPic18(h, "NXrsp", 1, 64);
                       readPic18(h, "NXrsp", 0x2001, 64);
                   },
                   {"power-letter-inside-procedure"}},
        StrictCase{"XAloneStartsANewProcedure",
                   "PIC18F452",
                   [](HostScript& h) {
                       readPic18(h, "NXrsp", 0x200001, 8);
                       h.command("Xbs", c24(1) + c24(16));
                       h.collect(3);
                   },
                   {"missing-power-letter"}},
        StrictCase{"XAloneAfterAnIdentification",
                   "PIC18F452",
                   [](HostScript& h) {
                       readPic18(h, "NXrsp", 1, 64);
                       h.send("***?");
                       h.collect(18);
                       readPic18(h, "Xrsp", 0x2001, 64);
                   },
                   {"missing-power-letter"}},
        StrictCase{"PowerLetterTwiceBeforeACommand",
                   "PIC12C509A",
                   [](HostScript& h) {
                       h.send("N");
                       h.command("Nbs", c16(1024));
                       h.collect(3);
                   },
                   {"repeated-power-letter"}},
        // stray bytes
        StrictCase{"NoLetterAfterThePowerLetter",
                   "PIC16F877A",
                   [](HostScript& h) {
                       h.command("N", bytes({0x00, 0x08}));
                   },
                   {"stray-byte", "stray-byte"}},
        // reserved bits
        StrictCase{"FourteenBitWordWithBit14",
                   "PIC16F84A",
                   [](HostScript& h) {
                       h.command("Nwe8", c16(2));
                       h.pacedWrite({word(0x3FFF), kWord7FFF});
                   },
                   {"reserved-bits"}},
        StrictCase{"TwelveBitConfigurationWordWithBit12",
                   "PIC12C509A",
                   [](HostScript& h) {
                       h.command("Nwsc", c16(1));
                       h.pacedWrite({word(0x1FFF)});
                   },
                   {"reserved-bits"}},
        StrictCase{"SkipMarkOnlyWhereTheAreaWriteAllowsIt",
                   "PIC16F877A",
                   [](HostScript& h) {
                       std::vector<QByteArray> area(8, word(0x3FFF));
                       area[4] = area[5] = area[6] = word(0xBFFF); // allowed: the skip mark
                       area[7] = word(0xBFFF);                     // the configuration word: not
                       h.command("Nwec", c16(8));
                       h.pacedWrite(area);
                   },
                   {"reserved-bits"}},
        // past the part's memory
        StrictCase{"ReadOneWordMoreThanTheChipHas",
                   "PIC16F84A",
                   [](HostScript& h) {
                       h.command("Nrsp", c16(1025));
                       h.collect(2051, 16);
                   },
                   {"past-memory"}},
        StrictCase{"EepromReadPastItsEnd",
                   "PIC16F84A",
                   [](HostScript& h) {
                       h.command("Nrsd", c16(65));
                       h.collect(131, 16);
                   },
                   {"past-memory"}},
        StrictCase{"Pic18ReadOutsideEveryMemory",
                   "PIC18F452",
                   [](HostScript& h) { readPic18(h, "NXrsp", 0x100001, 8); },
                   {"past-memory"}},
        StrictCase{"Pic18EepromWritePastItsEnd",
                   "PIC18F452",
                   [](HostScript& h) {
                       h.command("NXwed", c24(256) + c24(2));
                       h.pacedWrite({bytes({1}), bytes({2})});
                   },
                   {"past-memory"}},
        StrictCase{"Pic18PanelReadOneWordPastTheEnd",
                   "PIC18F452",
                   [](HostScript& h) { readPic18(h, "NXrsp", 0x6001, 0x2002); },
                   {"past-memory"}},
        StrictCase{"Pic18WholeMemoryReadTwoWordsPastTheEnd",
                   "PIC18F452",
                   [](HostScript& h) {
                       h.command("NXrsp", c24(1) + c24(2 * 16384 + 4));
                       h.collect(2 * 16384 + 5, 8, 120000);
                   },
                   {"past-memory"}},
        // The generic configuration blank check and verify ("X r s p") read the configuration
        // bytes with "X" alone after the IDs: a power letter there is still a departure.
        StrictCase{"GenericConfigurationReadRepeatsThePowerLetter",
                   "PIC18F452",
                   [](HostScript& h) {
                       readPic18(h, "NXrsp", 0x200001, 8);
                       readPic18(h, "NXrsp", 0x300001, 256);
                   },
                   {"power-letter-inside-procedure"}},
        // The modules' configuration read sends its power letter once; the device ID after the
        // configuration bytes takes none.
        StrictCase{"ModuleDeviceIdAfterTheConfigurationWithAPowerLetter",
                   "PIC18F452",
                   [](HostScript& h) {
                       readPic18(h, "NXrsc", 0x200001, 8);
                       readPic18(h, "Xrsc", 0x300001, 256);
                       readPic18(h, "NXrsc", 0x3FFFFF, 2);
                   },
                   {"power-letter-inside-procedure"}},
        // Only the modules' ID/configuration verify and blank check send the power letter again
        // before the configuration bytes: not their configuration read, which goes on to the
        // device ID with "X" alone, and not on a part the generic procedures serve.
        StrictCase{"ModuleConfigurationReadRepeatsThePowerLetter",
                   "PIC18F452",
                   [](HostScript& h) {
                       readPic18(h, "NXrsc", 0x200001, 8);
                       readPic18(h, "NXrsc", 0x300001, 256);
                       readPic18(h, "Xrsc", 0x3FFFFF, 2);
                   },
                   {"power-letter-inside-procedure"}},
        StrictCase{"ModuleConfigurationVerifyOnAGenericPart",
                   "PIC18F242",
                   [](HostScript& h) {
                       readPic18(h, "NXrsc", 0x200001, 8);
                       readPic18(h, "NXrsc", 0x300001, 256);
                   },
                   {"power-letter-inside-procedure"}},
        // Only the PIC18F8720's module reads the whole memory and a word more in one request;
        // the other parts are read panel by panel.
        StrictCase{"WholeMemoryReadAndAWordOnAPanelModulePart",
                   "PIC18F452",
                   [](HostScript& h) {
                       h.command("NXrsp", c24(1) + c24((16384 + 1) * 2));
                       h.collect((16384 + 1) * 2 + 1, 8, 120000);
                   },
                   {"past-memory"}},
        StrictCase{"WholeMemoryReadAndAWordOnAGenericPart",
                   "PIC18F242",
                   [](HostScript& h) {
                       h.command("NXrsp", c24(1) + c24((8192 + 1) * 2));
                       h.collect((8192 + 1) * 2 + 1, 8, 120000);
                   },
                   {"past-memory"}},
        // Only the blank checks acknowledge a count of 0: an "@" before the first block of any
        // other read answers nothing.
        StrictCase{"AckBeforeTheFirstBlockOfAPanelRead",
                   "PIC18F452",
                   [](HostScript& h) { readPic18FromZero(h, "NXrsp", 1, 64); },
                   {"unasked-ack"}},
        StrictCase{"AckBeforeTheFirstBlockOfTheWholeMemoryRead",
                   "PIC18F8720",
                   [](HostScript& h) {
                       h.command("NXrsp", c24(1) + c24((65536 + 1) * 2));
                       h.send("@");
                       h.collect((65536 + 1) * 2 + 1, 8, 120000);
                   },
                   {"unasked-ack"}},
        StrictCase{"AckForTheDeviceIdWhichHasNoBlock",
                   "PIC18F452",
                   [](HostScript& h) { readPic18FromZero(h, "NXrsc", 0x3FFFFF, 2); },
                   {"unasked-ack"}},
        StrictCase{"AckBeforeTheIdsOfTheModuleVerify",
                   "PIC18F452",
                   [](HostScript& h) {
                       readPic18FromZero(h, "NXrsc", 0x200001, 8);
                       readPic18(h, "NXrsc", 0x300001, 256);
                   },
                   {"unasked-ack"}},
        StrictCase{"AckBeforeTheConfigurationBytesOfTheGenericRead",
                   "PIC18F242",
                   [](HostScript& h) {
                       readPic18(h, "NXrsp", 0x200001, 8);
                       readPic18FromZero(h, "Xrsp", 0x300001, 256);
                       readPic18(h, "Xrsp", 0x3FFFFF, 2);
                   },
                   {"unasked-ack"}},
        // A program read or verify ends with the EEPROM ("X r s d"), as the blank check's EEPROM
        // check does: the IDs read after it are the read's, not the blank check's.
        StrictCase{"AckBeforeTheIdsAfterAProgramRead",
                   "PIC18F452",
                   [](HostScript& h) {
                       readPic18(h, "NXrsp", 1, 64);
                       h.command("NXrsd", c24(1) + c24(256));
                       h.collect(257);
                       readPic18FromZero(h, "NXrsc", 0x200001, 8);
                   },
                   {"unasked-ack"}},
        // The modules' blank check letters on a part the generic procedures serve.
        StrictCase{"ModuleBlankCheckOnAGenericPart",
                   "PIC18F242",
                   [](HostScript& h) {
                       h.command("NXbs", c24(1) + c24(8192));
                       h.collect(3);
                       readPic18FromZero(h, "NXrsc", 0x200001, 8);
                       readPic18FromZero(h, "NXrsc", 0x300001, 256);
                   },
                   {"unasked-ack", "unasked-ack", "power-letter-inside-procedure"}},
        // What the host does by design passes.
        // The modules' ID/configuration verify and blank check: each request with its power
        // letter, the blank check's "@" before the first byte included (after its program-memory
        // check, with or without its EEPROM check).
        StrictCase{"ByDesignModuleVerifyAndBlankCheckRestartTheConfigurationRead", "PIC18F452",
                   [](HostScript& h) {
                       readPic18(h, "NXrsc", 0x200001, 8);
                       readPic18(h, "NXrsc", 0x300001, 256);
                       blankCheckProgramAndEeprom(h);
                       readPic18FromZero(h, "NXrsc", 0x200001, 8);
                       readPic18FromZero(h, "NXrsc", 0x300001, 256);
                       h.command("NXbs", c24(1) + c24(16384));
                       h.collect(3);
                       readPic18FromZero(h, "NXrsc", 0x200001, 8);
                       readPic18FromZero(h, "NXrsc", 0x300001, 256);
                   },
                   Strings{}},
        // The generic blank check: "X r s p" with one power letter, "@" before the first byte.
        StrictCase{"ByDesignGenericBlankCheck", "PIC18F242",
                   [](HostScript& h) {
                       h.command("NXbs", c24(1) + c24(8192));
                       h.collect(3);
                       h.command("NXrsd", c24(1) + c24(256));
                       h.collect(257);
                       readPic18FromZero(h, "NXrsp", 0x200001, 8);
                       readPic18FromZero(h, "Xrsp", 0x300001, 256);
                   },
                   Strings{}},
        // The modules' configuration read: one power letter for all three requests.
        StrictCase{"ByDesignModuleConfigurationRead", "PIC18F8720",
                   [](HostScript& h) {
                       readPic18(h, "NXrsc", 0x200001, 8);
                       readPic18(h, "Xrsc", 0x300001, 256);
                       readPic18(h, "Xrsc", 0x3FFFFF, 2);
                   },
                   Strings{}},
        // The larger part's module reads the whole memory in one request, one word past its
        // end: (65536 + 1) x 2 bytes, "@" after each 8-byte packet of the memory.
        StrictCase{"ByDesignWholeMemoryReadAndTheWordPastItsEnd", "PIC18F8720",
                   [](HostScript& h) {
                       h.command("NXrsp", c24(1) + c24((65536 + 1) * 2));
                       EXPECT_EQ(h.collect((65536 + 1) * 2 + 1, 8, 120000).size(),
                                 (65536 + 1) * 2 + 1);
                   },
                   Strings{}},
        StrictCase{"ByDesignConfigurationProcedureAndRepeatedAcks", "PIC18F452",
                   [](HostScript& h) {
                       readPic18(h, "NXrsp", 0x200001, 8);
                       h.send("@@");
                       readPic18(h, "Xrsp", 0x300001, 256);
                       readPic18(h, "Xrsp", 0x3FFFFF, 2);
                   },
                   Strings{}},
        StrictCase{"ByDesignEarlyAckAndLonePowerLetters", "PIC16F877A",
                   [](HostScript& h) {
                       h.command("Nrsc", c16(8));
                       h.send("@"); // the blank check's acknowledgement before any data
                       h.collect(17);
                       h.send("N"); // a step for a type it does not serve
                       h.send("N");
                       h.send("***?");
                       h.collect(18);
                   },
                   Strings{}}),
    [](const auto& info) { return std::string(info.param.name); });

namespace {

std::string exchange(int fd, const QByteArray& out, std::size_t n) {
    if (::write(fd, out.data(), std::size_t(out.size())) != out.size()) return "write failed";
    std::string in;
    for (int waited = 0; in.size() < n && waited < 3000; waited += 10) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 10) > 0) {
            char buf[512];
            const ssize_t r = ::read(fd, buf, sizeof buf);
            if (r > 0) in.append(buf, std::size_t(r));
        }
    }
    return in;
}

// A PIC18 read on the pty: the command, then "@" after every 8 bytes.
std::size_t readPic18Raw(int fd, const QByteArray& command, std::size_t count) {
    std::size_t got = exchange(fd, command, std::min<std::size_t>(8, count + 1)).size();
    while (got < count + 1)
        got += exchange(fd, "@", std::min<std::size_t>(8, count + 1 - got)).size();
    return got;
}

} // namespace

TEST(StrictBoard, CommandLineEmulatorWritesItsViolationsAtExit) {
    EmulatorProcess emu({"--part", "PIC18F452", "--baud", "0"});
    std::string error;
    ASSERT_TRUE(emu.start(&error)) << error;
    emu.expectViolations();
    const int fd = ::open(emu.portPath().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(fd, 0);
    termios tio{};
    ::tcgetattr(fd, &tio);
    ::cfmakeraw(&tio);
    ::tcsetattr(fd, TCSANOW, &tio);
    EXPECT_EQ(exchange(fd, "?", 18).size(), 18u);
    EXPECT_EQ(readPic18Raw(fd, "NXrsp" + c24(0x200001) + c24(8), 8), 9u);
    EXPECT_EQ(readPic18Raw(fd, "NXrsp" + c24(0x300001) + c24(16), 16), 17u);
    EXPECT_EQ(exchange(fd, "NXrsd" + c24(1) + c24(16), 17).size(), 17u);
    exchange(fd, "@", 0);
    ::usleep(50'000);
    ::close(fd);
    EXPECT_EQ(emu.stop(), 0);
    const std::string& found = emu.violations();
    EXPECT_NE(found.find("power-letter-inside-procedure"), std::string::npos) << found;
    EXPECT_NE(found.find("unasked-ack"), std::string::npos) << found;
    EXPECT_EQ(std::count(found.begin(), found.end(), '\n'), 2) << found;
}
