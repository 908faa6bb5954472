// The exact bytes the modules send, checked against the requests each operation is made of:
// the power letter, "X" continuations, 24-bit START and COUNT, payloads in board order and the
// "@" acknowledgements between them (their number per reply within bounds).
#include "pic18_bench.h"

#include "core/session.h"
#include "devices/pic18/pic18_module.h"
#include "link/board_channel.h"
#include "link/board_link.h"

#include <gtest/gtest.h>

#include <optional>

using namespace tavrin;
using namespace tavrin::test;

namespace {

QByteArray c24(std::uint32_t v) {
    QByteArray b(3, '\0');
    b[0] = char(v >> 16);
    b[1] = char(v >> 8);
    b[2] = char(v);
    return b;
}

// One request as the host sends it, followed by acknowledgements in [minAcks, maxAcks].
struct Step {
    QByteArray bytes;
    int minAcks = 0;
    int maxAcks = 0;
};

Step req(const char* power, const char* letters, std::uint32_t start, std::uint32_t count,
         int acks = 0, int extraAcks = 0) {
    return {QByteArray(power) + letters + c24(start) + c24(count), acks, acks + extraAcks};
}

// Walks the stream: every step's bytes exactly, and only "@" between them. Returns a
// description of the first difference.
std::string matchSteps(const QByteArray& stream, const std::vector<Step>& steps) {
    qsizetype pos = 0;
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const Step& st = steps[i];
        if (stream.mid(pos, st.bytes.size()) != st.bytes)
            return "step " + std::to_string(i) + " at byte " + std::to_string(pos) + ": expected " +
                   st.bytes.left(16).toHex(' ').toStdString() + ", sent " +
                   stream.mid(pos, 16).toHex(' ').toStdString();
        pos += st.bytes.size();
        int acks = 0;
        while (pos < stream.size() && stream[pos] == '@' &&
               (i + 1 == steps.size() || !steps[i + 1].bytes.startsWith('@'))) {
            ++acks;
            ++pos;
        }
        if (acks < st.minAcks || acks > st.maxAcks)
            return "step " + std::to_string(i) + ": " + std::to_string(acks) + " acknowledgements";
    }
    if (pos != stream.size()) return "extra bytes: " + stream.mid(pos, 16).toHex(' ').toStdString();
    return "";
}

struct PartWire {
    const char* device;
    std::uint32_t words;
    std::uint32_t eeprom;
    bool wholeMemory;
    int blocks;
};

const PartWire kParts[] = {
    {"PIC18F452", 16384, 256, false, 4},
    {"PIC18F252", 16384, 256, false, 4},
    {"PIC18F8720", 65536, 1024, true, 8},
};

const char* P = "N"; // the three parts' device records give VDD

Step deviceId() {
    return req(P, "Xrsc", 0x3FFFFF, 2);
}

std::vector<Step> programRead(const PartWire& p) {
    // The whole-memory read asks for one word past the end; only the packets are acknowledged.
    if (p.wholeMemory) return {req(P, "Xrsp", 1, (p.words + 1) * 2, int(p.words / 4))};
    std::vector<Step> steps;
    for (std::uint32_t m = 0; m < p.words / 4096; ++m)
        steps.push_back(req(m == 0 ? P : "", "Xrsp", 1 + 0x2000 * m, 0x2000, 1024));
    return steps;
}

std::vector<Step> configRead() {
    return {req(P, "Xrsc", 0x200001, 8, 1), req("", "Xrsc", 0x300001, 256, 32),
            req("", "Xrsc", 0x3FFFFF, 2)};
}

std::vector<Step> blankChecks(const PartWire& p, bool eeprom = true) {
    std::vector<Step> steps{req(P, "Xbs", 1, p.words)};
    if (eeprom) steps.push_back(req(P, "Xrsd", 1, p.eeprom));
    // The blank check acknowledges once before any byte has come, too, and reads the
    // configuration bytes by the same sequence as the IDs, power letter first.
    steps.push_back(req(P, "Xrsc", 0x200001, 8, 1, 1));
    steps.push_back(req(P, "Xrsc", 0x300001, 256, 32, 1));
    return steps;
}

// The ID/configuration verify begins each of its two requests with the power letter.
std::vector<Step> configVerify() {
    return {req(P, "Xrsc", 0x200001, 8, 1), req(P, "Xrsc", 0x300001, 256, 32)};
}

void append(std::vector<Step>& to, const std::vector<Step>& more) {
    to.insert(to.end(), more.begin(), more.end());
}

QByteArray recorded(Pic18Bench& bench) {
    QByteArray sent = bench.sentSinceRecord();
    EXPECT_TRUE(sent.startsWith("***?")) << sent.left(8).toHex(' ').toStdString();
    return sent.mid(4);
}

TEST(Wire, ReadBlankAndVerifyOfEachPart) {
    for (const PartWire& p : kParts) {
        SCOPED_TRACE(p.device);
        Pic18Bench bench(QString::fromLatin1(p.device));
        bench.loadChip(randomPic18Image(p.device, 7));

        bench.recordFromHere();
        bench.ops.Command_read_Click();
        std::vector<Step> read{deviceId()};
        append(read, programRead(p));
        read.push_back(req(P, "Xrsd", 1, p.eeprom));
        append(read, configRead());
        EXPECT_EQ(matchSteps(recorded(bench), read), "");

        bench.recordFromHere();
        bench.ops.Command_blank_Click();
        EXPECT_EQ(matchSteps(recorded(bench), blankChecks(p)), "");

        bench.recordFromHere();
        bench.ops.Command_Vrify_Click();
        std::vector<Step> verify{deviceId()};
        append(verify, configVerify());
        append(verify, programRead(p));
        verify.push_back(req(P, "Xrsd", 1, p.eeprom));
        EXPECT_EQ(matchSteps(recorded(bench), verify), "");
        EXPECT_EQ(bench.s.run.VerifySummary, QStringLiteral("OKOKOK"));
    }
}

TEST(Wire, ProgramOfEachPart) {
    for (const PartWire& p : kParts) {
        SCOPED_TRACE(p.device);
        Pic18Bench bench(QString::fromLatin1(p.device));
        const Pic18Image image = randomPic18Image(p.device, 9);
        bench.openImage(image);

        bench.recordFromHere();
        bench.ops.Command_pogram_Click();
        ASSERT_EQ(bench.s.run.PassCount, 1) << bench.ui.statusText.toStdString();

        std::vector<Step> program{deviceId()};
        append(program, blankChecks(p));
        program.push_back({QByteArray(P) + "Xbd" + char(0x80)});
        // Packets round-robin over the panels, each word's low byte first.
        const std::uint32_t panels = p.words / 4096;
        QByteArray write = QByteArray(P) + "Xwep" + c24(0) + c24(panels + 1);
        for (std::uint32_t o = 0; o < 8192; o += 8)
            for (std::uint32_t m = 0; m < panels; ++m)
                write += QByteArray(reinterpret_cast<const char*>(&image.program[m * 8192 + o]), 8);
        program.push_back({write});
        QByteArray eeprom = QByteArray(P) + "Xwed" + c24(1) + c24(p.eeprom);
        eeprom +=
            QByteArray(reinterpret_cast<const char*>(image.eeprom.data()), qsizetype(p.eeprom));
        program.push_back({eeprom});
        append(program, programRead(p));
        program.push_back(req(P, "Xrsd", 1, p.eeprom));
        QByteArray config = QByteArray(P) + "Xwec" + c24(11) + c24(11);
        config += QByteArray(reinterpret_cast<const char*>(image.id.data()), 8);
        config += QByteArray(reinterpret_cast<const char*>(image.config.data()), 14);
        program.push_back({config});
        append(program, configVerify());
        EXPECT_EQ(matchSteps(recorded(bench), program), "");
    }
}

// One step of a module on its own, its requests byte for byte (hex) with the acknowledgements
// that follow each. The part's PowerMode is VDD: power letter "N" (0x4E), then "X" (0x58), the
// letters, START and COUNT as three bytes each, most significant first.
enum class StepKind { ReadProgram, VerifyProgram, ReadConfig, VerifyConfig, BlankConfig };

struct StepWire {
    const char* device;
    StepKind step;
    std::vector<Step> requests;
};

Step hexReq(const char* hex, int acks = 0, int extraAcks = 0) {
    return {QByteArray::fromHex(hex), acks, acks + extraAcks};
}

const StepWire kStepWires[] = {
    // The whole-memory read of 65536 words asks for (W + 1) x 2 = 0x020002 bytes: N X r s p,
    // START 000001, COUNT 020002; one "@" per 8-byte packet of the memory, none for the word
    // past its end, which comes with the end code.
    {"PIC18F8720", StepKind::ReadProgram, {hexReq("4E 58 72 73 70 000001 020002", 16384)}},
    {"PIC18F8720", StepKind::VerifyProgram, {hexReq("4E 58 72 73 70 000001 020002", 16384)}},
    // The panel reads send the power letter once, then each 8 KiB panel with "X" alone.
    {"PIC18F452",
     StepKind::ReadProgram,
     {hexReq("4E 58 72 73 70 000001 002000", 1024), hexReq("58 72 73 70 002001 002000", 1024),
      hexReq("58 72 73 70 004001 002000", 1024), hexReq("58 72 73 70 006001 002000", 1024)}},
    // The configuration read sends its power letter once: IDs (START 200001, COUNT 8), then
    // the configuration bytes (START 300001, COUNT 256) and the device ID (START 3FFFFF,
    // COUNT 2) with "X" alone.
    {"PIC18F452",
     StepKind::ReadConfig,
     {hexReq("4E 58 72 73 63 200001 000008", 1), hexReq("58 72 73 63 300001 000100", 32),
      hexReq("58 72 73 63 3FFFFF 000002")}},
    // The ID/configuration verify and the blank check begin the configuration bytes again with
    // the power letter. The blank check also acknowledges before the first byte has come.
    {"PIC18F452",
     StepKind::VerifyConfig,
     {hexReq("4E 58 72 73 63 200001 000008", 1), hexReq("4E 58 72 73 63 300001 000100", 32)}},
    {"PIC18F8720",
     StepKind::VerifyConfig,
     {hexReq("4E 58 72 73 63 200001 000008", 1), hexReq("4E 58 72 73 63 300001 000100", 32)}},
    {"PIC18F452",
     StepKind::BlankConfig,
     {hexReq("4E 58 72 73 63 200001 000008", 1, 1), hexReq("4E 58 72 73 63 300001 000100", 32, 1)}},
    {"PIC18F8720",
     StepKind::BlankConfig,
     {hexReq("4E 58 72 73 63 200001 000008", 1, 1), hexReq("4E 58 72 73 63 300001 000100", 32, 1)}},
};

TEST(Wire, EachReadStepByteForByte) {
    for (const StepWire& c : kStepWires) {
        SCOPED_TRACE(std::string(c.device) + " step " + std::to_string(int(c.step)));
        Pic18Bench bench(QString::fromLatin1(c.device));
        QString result;
        bench.link.CheckProgrammer(result);
        bench.recordFromHere();
        Pic18Module module(*pic18VariantFor(QString::fromLatin1(c.device)),
                           bench.ops.environment());
        QString flags;
        switch (c.step) {
        case StepKind::ReadProgram:
            module.ReadProgramMemory(result);
            break;
        case StepKind::VerifyProgram:
            module.VerifyProgramMemory(result);
            break;
        case StepKind::ReadConfig:
            module.ReadConfigWords(result, flags);
            break;
        case StepKind::VerifyConfig:
            module.VerifyConfigWords(result, flags);
            break;
        case StepKind::BlankConfig:
            module.BlankCheckConfigWords(result, flags);
            break;
        }
        // The exchange completed: a reply the step refused would end in "ER" or a failure text.
        EXPECT_NE(result, result::ER) << bench.ui.statusText.toStdString();
        EXPECT_FALSE(result.isEmpty());
        EXPECT_EQ(matchSteps(bench.sentSinceRecord(), c.requests), "");
    }
}

TEST(Wire, EraseCodesAndPowerLetter) {
    for (const PartWire& p : kParts) {
        SCOPED_TRACE(p.device);
        for (const char* mode : {"VPP", "vpp", ""}) {
            Pic18Bench bench(QString::fromLatin1(p.device));
            bench.s.device.PowerMode = QString::fromLatin1(mode);
            const char* letter = QByteArray(mode) == "VPP" ? "n" : "N";
            QString result;
            bench.link.CheckProgrammer(result);
            bench.recordFromHere();
            Pic18Module module(*pic18VariantFor(QString::fromLatin1(p.device)),
                               bench.ops.environment());
            module.EraseProgramMemory(result);
            EXPECT_EQ(result, result::OK);
            module.EraseEepromMemory(result);
            EXPECT_EQ(result, result::OK);
            module.EraseChip(result);
            EXPECT_EQ(result, result::OK);
            QByteArray expected;
            expected += QByteArray(letter) + "Xbd" + char(0x83);
            for (int n = 1; n <= p.blocks; ++n)
                expected += QByteArray(letter) + "Xbd" + char(0x87 + n);
            expected += QByteArray(letter) + "Xbd" + char(0x81);
            expected += QByteArray(letter) + "Xbd" + char(0x80);
            EXPECT_EQ(bench.sentSinceRecord().toHex(' ').toStdString(),
                      expected.toHex(' ').toStdString());
        }
    }
}

} // namespace
