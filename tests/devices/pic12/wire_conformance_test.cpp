// What each operation of the two modules sends to the board, byte for byte where the reply
// leaves nothing open (blank check, read, device check, erase) and command by command where a
// board-paced transfer is in between: operations x parts x power mode.
#include "pic12_bench.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

using namespace tavrin;
using namespace tavrin::test;

namespace {

// Host bytes, built the way the Parts describe them.
struct Wire {
    QByteArray bytes;
    Wire& raw(const char* text) {
        bytes += QByteArray(text);
        return *this;
    }
    Wire& command(char power, const char* letters, std::initializer_list<int> args) {
        bytes += power;
        bytes += letters;
        for (int a : args)
            bytes += char(a);
        return *this;
    }
    Wire& acks(int n) {
        bytes += QByteArray(n, '@');
        return *this;
    }
};

constexpr const char* kIdentify = "***?";

enum class Op { Blank, Read, Verify, Program };

void run(Pic12Bench& bench, Op op) {
    switch (op) {
    case Op::Blank:
        return bench.ops.Command_blank_Click();
    case Op::Read:
        return bench.ops.Command_read_Click();
    case Op::Verify:
        return bench.ops.Command_Vrify_Click();
    case Op::Program:
        return bench.ops.Command_pogram_Click();
    }
}

struct Row {
    const char* device;
    const char* socket;
    const char* powerMode;
    Op op;
};

std::string name(const Row& r) {
    static const char* ops[] = {"Blank", "Read", "Verify", "Program"};
    return std::string(r.device) + " " + r.powerMode + " " + ops[int(r.op)];
}

class Bench {
  public:
    explicit Bench(const Row& r) : bench(QString::fromLatin1(r.device), r.socket) {
        bench.s.device.PowerMode = QString::fromLatin1(r.powerMode);
        bench.openHex(pic12DataPath(QString::fromLatin1(
            QByteArray(r.device).startsWith("PIC12F") ? "blink683.hex" : "blink508a.hex")));
        bench.recordFromHere();
        run(bench, r.op);
    }
    Pic12Bench bench;
};

// --- the 12-bit parts: always "N" -----------------------------------------------------------

Wire twelveBitBlank(int words) {
    Wire w;
    w.raw(kIdentify);
    for (int extra : {0, 1, 5})
        w.command('N', "bs", {(words + extra) >> 8, (words + extra) & 0xFF});
    return w.command('N', "rsc", {0, 1});
}

Wire twelveBitRead(int words) {
    const int stream = words + 5;
    return Wire()
        .raw(kIdentify)
        .command('N', "rsp", {stream >> 8, stream & 0xFF})
        .acks(2 * stream / 16)
        .command('N', "rsp", {0, 1});
}

TEST(TwelveBitWire, BlankAndReadSendExactlyTheirCommands) {
    for (const char* power : {"VDD", "VPP"}) {
        for (const auto& [device, socket, words] : {std::tuple{"PIC12C508A", "PIC12C508A", 512},
                                                    std::tuple{"PIC12C509", "PIC12C509", 1024},
                                                    std::tuple{"PIC12C519", "PIC12CE519", 1024}}) {
            const Row blank{device, socket, power, Op::Blank};
            EXPECT_EQ(Bench(blank).bench.sentSinceRecord(), twelveBitBlank(words).bytes)
                << name(blank);
            const Row read{device, socket, power, Op::Read};
            EXPECT_EQ(Bench(read).bench.sentSinceRecord(), twelveBitRead(words).bytes)
                << name(read);
        }
    }
}

TEST(TwelveBitWire, ProgramAndVerifyRunTheTwelveBitStream) {
    for (const char* power : {"VDD", "VPP"}) {
        Bench program(Row{"PIC12C508A", "PIC12C508A", power, Op::Program});
        EXPECT_EQ(program.bench.commands(),
                  (std::vector<std::string>{"command N bs", "command N bs", "command N bs",
                                            "command N rsc", "command N wsp", "command N rsp",
                                            "command N wsc", "command N rsc"}))
            << power;
        EXPECT_EQ(program.bench.s.run.PassCount, 1) << power;
        // The stream goes out as 517 words, after the count.
        EXPECT_TRUE(program.bench.sentSinceRecord().contains(QByteArray("Nwsp\x02\x05", 6)));

        Bench verify(Row{"PIC12C508A", "PIC12C508A", power, Op::Verify});
        EXPECT_EQ(verify.bench.commands(),
                  (std::vector<std::string>{"command N rsc", "command N rsp"}))
            << power;
    }
}

// --- PIC12F683: the power letter follows the device file ---------------------------------------

char entry(const char* powerMode) {
    return QByteArray(powerMode) == "VPP" ? 'n' : 'N';
}

Wire deviceCheck(char e) {
    return Wire().command(e, "rsc", {0, 8}).acks(1);
}

TEST(Pic12F683Wire, BlankAndReadSendExactlyTheirCommands) {
    for (const char* power : {"VPP", "VDD"}) {
        const char e = entry(power);
        const Row blank{"PIC12F683", "PIC12F683", power, Op::Blank};
        EXPECT_EQ(Bench(blank).bench.sentSinceRecord(), Wire()
                                                            .raw(kIdentify)
                                                            .command(e, "bs", {0x08, 0x00})
                                                            .command(e, "rsd", {0x01, 0x00})
                                                            .acks(512 / 16)
                                                            .command(e, "rsc", {0x00, 0x10})
                                                            .acks(2)
                                                            .bytes)
            << name(blank);

        const Row read{"PIC12F683", "PIC12F683", power, Op::Read};
        Wire expected;
        expected.raw(kIdentify);
        expected.bytes += deviceCheck(e).bytes;
        expected.command(e, "rsp", {0x08, 0x00})
            .acks(4096 / 16)
            .command(e, "rsd", {0x01, 0x00})
            .acks(512 / 16)
            .command(e, "rsc", {0x00, 0x10})
            .acks(2);
        EXPECT_EQ(Bench(read).bench.sentSinceRecord(), expected.bytes) << name(read);
    }
}

TEST(Pic12F683Wire, ProgramChecksErasesWritesAndVerifiesInOrder) {
    for (const char* power : {"VPP", "VDD"}) {
        const std::string e(1, entry(power));
        Bench program(Row{"PIC12F683", "PIC12F683", power, Op::Program});
        std::vector<std::string> expected;
        for (const char* letters : {"rsc", "bs", "rsd", "rsc", "bd", "bd", "we8", "wed", "rsp",
                                    "rsd", "rsc", "wec", "rsc"})
            expected.push_back("command " + e + " " + letters);
        EXPECT_EQ(program.bench.commands(), expected) << power;
        EXPECT_EQ(program.bench.s.run.PassCount, 1) << power;
        const QByteArray sent = program.bench.sentSinceRecord();
        const QByteArray eraseProgram = QByteArray::fromStdString(e + "bd\x0E");
        const QByteArray eraseEeprom = QByteArray::fromStdString(e + "bd\x0F");
        EXPECT_TRUE(sent.contains(eraseProgram)) << power;
        EXPECT_TRUE(sent.indexOf(eraseEeprom) > sent.indexOf(eraseProgram)) << power;
        // Words 0x2000-0x2007: the calibration word at 0x2008 is never written.
        EXPECT_TRUE(sent.contains(QByteArray::fromStdString(e + "wec") + QByteArray("\x00\x08", 2)))
            << power;

        Bench verify(Row{"PIC12F683", "PIC12F683", power, Op::Verify});
        expected.clear();
        for (const char* letters : {"rsc", "rsc", "rsp", "rsd"})
            expected.push_back("command " + e + " " + letters);
        EXPECT_EQ(verify.bench.commands(), expected) << power;
    }
}

} // namespace
