// The board's answers to the generic blank checks and reads, per programming type, on fresh
// chips: exact reply bytes, end codes and acknowledgement rhythm.
#include "host_script.h"
#include "protocol_bytes.h"

#include <gtest/gtest.h>

using namespace tavrin::test;

namespace {

struct ReplyCase {
    const char* type;
    const char* part;
    const char* letters; // power letter included
    QByteArray arguments;
    QByteArray reply;
    int ackEvery = 0;
};

void expectReplies(const std::vector<ReplyCase>& cases) {
    for (const auto& c : cases) {
        EmulatedBoard bench(c.part);
        HostScript host(bench);
        host.command(c.letters, c.arguments);
        EXPECT_EQ(host.collect(int(c.reply.size()), c.ackEvery).toHex().toStdString(),
                  c.reply.toHex().toStdString())
            << c.type << " " << c.part << " " << c.letters;
        EXPECT_TRUE(host.idle(50).isEmpty()) << c.type << ": nothing after the end code";
    }
}

QByteArray repeat(const char* hexBytes, int times) {
    return hex(hexBytes).repeated(times);
}

} // namespace

TEST(GenericBlankCheck, ProgramSummaryOfFreshChipsPerType) {
    expectReplies({
        // 16C5x: configuration low, high, then the AND of the words after it.
        {"5X18", "PIC16C54", "Nbps", c16(512 + 5), hex("ff0f0fff40")},
        {"5X28", "PIC16C57", "Nbpl", c16(2048 + 5), hex("ff0f0fff40")},
        // 12C5: the three requests of the blank check; the factory MOVLW counts from W+1 on.
        {"12C5", "PIC12C508A", "Nbs", c16(512), hex("0fff40")},
        {"12C5", "PIC12C508A", "Nbs", c16(513), hex("0c5a40")},
        {"12C5", "PIC12C509A", "Nbs", c16(1024 + 5), hex("0c5a40")},
        // 12C6/12F6: the host leaves the RETLW calibration word out of the scan.
        {"12C6", "PIC12C672", "Nbs", c16(2047), hex("3fff40")},
        {"12C6", "PIC12C672", "Nbs", c16(2048), hex("348040")},
        {"12F6", "PIC12F675", "Nbs", c16(1023), hex("3fff40")},
        {"EPROM", "PIC16C622A", "Nbs", c16(2048), hex("3fff40")},
        {"EPROM2", "PIC16C715", "NbS", c16(2048), hex("ffff40")},
        {"FLASH0", "PIC16F84A", "Nbs", c16(1024), hex("3fff40")},
        {"FLASH1", "PIC16F628A", "Nbs", c16(2048), hex("3fff40")},
        {"FLASH2", "PIC16F74", "Nbs", c16(4096), hex("3fff40")},
        {"FLASH4", "PIC16F819", "nbs", c16(2048), hex("3fff40")},
        {"FLASH4.9", "PIC16F88", "nbs", c16(4096), hex("3fff40")},
        {"FLASH8", "PIC16F877A", "Nbs", c16(8192), hex("3fff40")},
        {"WRT400", "QZ-WRT400", "Nb8", c16(8192), hex("3fff40")},
        {"18F_00", "PIC18F452", "NXbs", c24(1) + c24(16384), hex("ffff40")},
    });
}

TEST(GenericBlankCheck, ConfigurationWordsPerType) {
    const auto erasedIds = repeat("3fff", 4) + repeat("3fff", 2);
    expectReplies({
        {"5X18", "PIC16C54", "Nrps", c16(1), hex("0fff40")},
        {"5X28", "PIC16C55", "Nrpl", c16(1), hex("0fff40")},
        {"12C5", "PIC12C509", "Nrsc", c16(1), hex("0fff40")},
        // 0x2000-0x2007: IDs, two reserved words, device ID (kind << 5 | revision 3), config.
        {"12C6", "PIC12C672", "Nrsc", c16(8), erasedIds + hex("0523") + hex("3fff40"), 16},
        // Band-gap bits 13:12 hold the factory value 2; unimplemented bits 11:9 read 0.
        {"12F6", "PIC12F675", "Nrsc", c16(8), erasedIds + hex("0fc3") + hex("21ff40"), 16},
        {"EPROM", "PIC16C622A", "Nrsc", c16(8), erasedIds + hex("04e3") + hex("3fff40"), 16},
        {"EPROM2", "PIC16C715", "NrSc", c16(8), repeat("ffff", 8) + hex("40"), 16},
        {"FLASH0", "PIC16F84A", "Nrsc", c16(8), erasedIds + hex("0563") + hex("3fff40"), 16},
        {"FLASH0", "PIC16F84", "Nrsc", c16(8), erasedIds + hex("3fff") + hex("3fff40"), 16},
        {"FLASH1", "PIC16F628A", "Nrsc", c16(8), erasedIds + hex("1063") + hex("3fff40"), 16},
        {"FLASH2", "PIC16F74", "Nrsc", c16(8), erasedIds + hex("0623") + hex("3fff40"), 16},
        {"FLASH4", "PIC16F819", "Nrsc", c16(8), erasedIds + hex("04e3") + hex("3fff40"), 16},
        {"FLASH4.9", "PIC16F88", "Nrsc", c16(16),
         erasedIds + hex("0763") + hex("3fff3fff") + repeat("3fff", 7) + hex("40"), 16},
        {"FLASH8", "PIC16F877A", "Nrsc", c16(8), erasedIds + hex("0e23") + hex("3fff40"), 16},
        {"WRT400", "QZ-WRT400", "Nr8c", c16(8), erasedIds + hex("09a3") + hex("3fff40"), 16},
    });
}

TEST(GenericBlankCheck, FourteenBitConfigurationCheckMayAcknowledgeBeforeTheData) {
    EmulatedBoard bench("PIC16F877A");
    HostScript host(bench);
    host.command("Nrsc", c16(8));
    host.send("@"); // the blank check's early acknowledgement, 1 ms after the count
    const auto reply = host.collect(17);
    ASSERT_EQ(reply.size(), 17);
    EXPECT_EQ(reply.back(), '@');
}

TEST(GenericBlankCheck, Pic18IdAndConfigurationAndDeviceId) {
    const QByteArray config452 = hex("00270f0f00018500") + hex("0fc00fe00f40") + QByteArray(242, 0);
    expectReplies({
        {"18F_00 ID", "PIC18F452", "NXrsp", c24(0x200001) + c24(8), repeat("ff", 8) + hex("40"), 8},
        {"18F_00 config", "PIC18F452", "NXrsp", c24(0x300001) + c24(256), config452 + hex("40"), 8},
        {"18F_00 device ID", "PIC18F452", "NXrsp", c24(0x3FFFFF) + c24(2), hex("230440")},
        {"module letters", "PIC18F252", "NXrsc", c24(0x3FFFFF) + c24(2), hex("030440")},
        {"18F_01", "PIC18F8720", "NXrsc", c24(0x3FFFFF) + c24(2), hex("030640")},
    });
}

TEST(GenericRead, EepromPerType) {
    expectReplies({
        {"12F6", "PIC12F629", "Nrsd", c16(128), repeat("3fff", 128) + hex("40"), 16},
        {"FLASH0", "PIC16F84A", "Nrsd", c16(64), repeat("3fff", 64) + hex("40"), 16},
        {"WRT400", "QZ-WRT400", "Nr8d", c16(256), repeat("3fff", 256) + hex("40"), 16},
        // PIC18: one byte per location and no acknowledgements at all.
        {"18F_00", "PIC18F452", "NXrsd", c24(1) + c24(256), repeat("ff", 256) + hex("40"), 0},
    });
}

TEST(GenericRead, TwelveBitProgramStreamStartsWithTheConfigurationWord) {
    EmulatedBoard bench("PIC12C508A");
    auto& chip = bench.board.chip();
    chip.program[0] = 0x0A05;
    chip.ids = {0x0001, 0x0002, 0x0003, 0x0004};
    chip.config[0] = 0x0FEA;
    HostScript host(bench);
    host.command("Nrsp", c16(517)); // count bytes 0x02, 0x05
    const auto reply = host.collect(1035, 16);
    ASSERT_EQ(reply.size(), 1035);
    EXPECT_EQ(wordAt(reply, 0), 0x0FEA);    // configuration word
    EXPECT_EQ(wordAt(reply, 2), 0x0A05);    // program word 0
    EXPECT_EQ(wordAt(reply, 1024), 0x0C5A); // program word 511: the calibration MOVLW
    EXPECT_EQ(reply.mid(1026, 8).toHex().toStdString(), "0001000200030004"); // ID words
    EXPECT_EQ(reply[1034], '@');
    EXPECT_EQ(host.acks, 1034 / 16);
}

TEST(GenericRead, FourteenBitProgramWithCalibrationInTheLastWord) {
    EmulatedBoard bench("PIC12F675");
    HostScript host(bench);
    host.command("Nrsp", c16(1024));
    const auto reply = host.collect(2049, 16);
    ASSERT_EQ(reply.size(), 2049);
    EXPECT_EQ(wordAt(reply, 0), 0x3FFF);
    EXPECT_EQ(wordAt(reply, 2046), 0x3480);
    EXPECT_EQ(reply[2048], '@');
}
