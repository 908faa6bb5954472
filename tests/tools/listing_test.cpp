// The disassembly listing: the exact lines and header the search window shows, the decode table
// against gputils' disassembler, and listings that assemble back to the same program words.
#include "core/session.h"
#include "tools/logic/disassembly_listing.h"
#include "tools/logic/memory_usage.h"
#include "tools/logic/rewritable_search.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryDir>

#include <map>
#include <random>

namespace tavrin {
namespace {

using Image = std::vector<std::uint8_t>;

Image erasedImage(int words) {
    Image image(static_cast<std::size_t>(words) * 2);
    for (int k = 0; k < words; ++k) {
        image[2 * k] = 0x3F;
        image[2 * k + 1] = 0xFF;
    }
    return image;
}

void put(Image& image, int k, std::uint16_t w) {
    image[2 * k] = static_cast<std::uint8_t>(w >> 8);
    image[2 * k + 1] = static_cast<std::uint8_t>(w & 0xFF);
}

QStringList listingLines(const Image& image, const QString& device, int words,
                         std::array<QString, 4> codes = {}, const QString& package = {},
                         int* matches = nullptr) {
    ListingInput in;
    in.deviceName = device;
    in.package = package;
    in.image = &image;
    in.wordCount = words;
    in.configWord1 = 0x00F1;
    in.idText = QStringLiteral("1234");
    in.codes = prepareSearchCodes(codes);
    const Listing listing = buildListing(in, {}, {});
    if (matches) *matches = listing.matchCount;
    EXPECT_FALSE(listing.text.contains("\n\n")) << "every line ends in CR LF";
    QStringList lines = QString::fromUtf8(listing.text).split(QStringLiteral("\r\n"));
    lines.removeLast(); // after the last line end
    return lines;
}

// The body: the lines between the header and END.
QStringList bodyOf(const QStringList& lines) {
    const qsizetype end = lines.indexOf(QStringLiteral("                END"));
    return lines.mid(12, end - 12);
}

TEST(DisassemblyListing, HeaderForA16F84A) {
    const QStringList lines = listingLines(erasedImage(1024), QStringLiteral("PIC16F84A"), 1024);
    const QStringList header = lines.mid(0, 12);
    const QString rule =
        QStringLiteral(";               ---------------------------------------------------------");
    EXPECT_EQ(header, (QStringList{
                          QStringLiteral("\t\tLIST\tP=16F84A,ST=OFF"),
                          QString(),
                          QStringLiteral("\t\tINCLUDE\tP16F84A.INC"),
                          QStringLiteral("\t\tERRORLEVEL  -302,-306"),
                          QString(),
                          QStringLiteral("\t\t__CONFIG    H'00F1'"),
                          QStringLiteral("\t\t__IDLOCS    H'1234'"),
                          QString(),
                          rule,
                          QStringLiteral(";               mnemonic operand                  "
                                         "address opcode  comment"),
                          rule,
                          QString(),
                      }));
    EXPECT_EQ(header[9].indexOf(QStringLiteral("address")), 50);
    EXPECT_EQ(header[9].indexOf(QStringLiteral("comment")), 66);
}

TEST(DisassemblyListing, ExactLinesOfSingleWords) {
    struct Case {
        std::uint16_t word;
        int at;
        const char* device;
        int words;
        const char* line;
    };
    const Case cases[] = {
        {0x303F, 0, "PIC16F84A", 1024, "\t\tMOVLW \t H'3F'  \t\t; 000000  (303F)  "},
        {0x2805, 5, "PIC16F84A", 1024, "L_0005\t\tGOTO  \t L_0005  \t\t; 000005  (2805)  "},
        {0x2805, 5, "PIC16F877", 8192, "\t\tGOTO  \t 0x0005  \t\t; 000005  (2805)  "},
        {0x3FFF, 0, "PIC16F84A", 1024, "\t\tDA    \t 0x3FFF  \t\t; 000000  (3FFF)  "},
        {0x0000, 0, "PIC16F84A", 1024, "\t\tNOP    \t   \t\t\t; 000000  (0000)  "},
        {0x0020, 0, "PIC16F84A", 1024, "\t\tDA    \t 0x0020  \t\t; 000000  (0020)  "},
        {0x0101, 0, "PIC16F84A", 1024, "\t\tDA    \t 0x0101  \t\t; 000000  (0101)  "},
        {0x0103, 0, "PIC16F84A", 1024, "\t\tCLRW   \t   \t\t\t; 000000  (0103)  "},
        {0x0066, 0, "PIC16F84A", 1024, "\t\tTRIS  \t 6  \t\t\t; 000000  (0066)  "},
        {0x1985, 0, "PIC16F84A", 1024, "\t\tBTFSC \t PORTA,3\t\t; 000000  (1985)  "},
        {0x1D03, 0, "PIC16F877", 8192, "\t\tBTFSS \t STATUS,Z\t\t; 000000  (1D03)  "},
        {0x1983, 0, "PIC16F877", 8192, "\t\tBTFSC \t STATUS,NOT_PD\t\t; 000000  (1983)  "},
        {0x0888, 0, "PIC16F877", 8192, "\t\tMOVF  \t PORTD,F\t;TRISD \t; 000000  (0888)  "},
        {0x0888, 0, "PIC16F877A", 8192, "\t\tMOVF  \t 0x08,F\t\t\t; 000000  (0888)  "},
        {0x0081, 0, "PIC16F877A", 8192, "\t\tMOVWF \t TMR0  \t\t;OPTION\t; 000000  (0081)  "},
    };
    for (const Case& c : cases) {
        Image image = erasedImage(c.words);
        put(image, c.at, c.word);
        const QStringList body =
            bodyOf(listingLines(image, QString::fromLatin1(c.device), c.words));
        EXPECT_EQ(body.at(c.at), QString::fromLatin1(c.line)) << std::hex << c.word;
    }
}

TEST(DisassemblyListing, ErasedImageHasOneDaLinePerWordAndNoLabels) {
    const QStringList body =
        bodyOf(listingLines(erasedImage(1024), QStringLiteral("PIC16F84A"), 1024));
    ASSERT_EQ(body.size(), 1024);
    for (const QString& line : body) {
        EXPECT_TRUE(line.startsWith(QStringLiteral("\t\tDA    \t 0x3FFF")));
    }
}

TEST(DisassemblyListing, BlockEndsAreFollowedBySeparatorsButCallsAreNot) {
    Image image = erasedImage(1024);
    const std::uint16_t program[] = {0x2001, 0x2802, 0x0008, 0x3400, 0x0009, 0x0000};
    for (int k = 0; k < 6; ++k)
        put(image, k, program[k]);
    const QStringList body = bodyOf(listingLines(image, QStringLiteral("PIC16F84A"), 1024));
    const QString sep = QStringLiteral("\t\t\t\t\t\t;");
    EXPECT_TRUE(body[0].contains(QStringLiteral("CALL")));
    EXPECT_TRUE(body[1].startsWith(QStringLiteral("L_0001\t\tGOTO")));
    EXPECT_EQ(body[2], sep);
    EXPECT_TRUE(body[3].startsWith(QStringLiteral("L_0002\t\tRETURN")));
    EXPECT_EQ(body[4], sep);
    EXPECT_EQ(body[6], sep); // after RETLW
    EXPECT_EQ(body[8], sep); // after RETFIE
    EXPECT_NE(body[1], sep);
}

TEST(DisassemblyListing, BankTrackingNamesTheRegistersOfTheBankInUse) {
    Image image = erasedImage(1024);
    // bsf STATUS,RP0; movwf 0x01; bcf STATUS,RP0; movwf 0x01; goto 5; movwf 0x01 (target)
    const std::uint16_t program[] = {0x1683, 0x0081, 0x1283, 0x0081, 0x2805, 0x0081};
    for (int k = 0; k < 6; ++k)
        put(image, k, program[k]);
    const QStringList body = bodyOf(listingLines(image, QStringLiteral("PIC16F84A"), 1024));
    EXPECT_TRUE(body[0].contains(QStringLiteral("STATUS,RP0")));
    EXPECT_TRUE(body[1].contains(QStringLiteral(" OPTION_REG")));
    EXPECT_TRUE(body[3].contains(QStringLiteral(" TMR0  \t")));
    // body[5] is the separator after the goto; the jump target's bank is unknown.
    EXPECT_TRUE(body[6].startsWith(QStringLiteral("L_0005")));
    EXPECT_TRUE(body[6].contains(QStringLiteral("TMR0  \t\t;OPTION")));
}

TEST(DisassemblyListing, RegisterTableCoversThePartsFileRegisters) {
    Image image = erasedImage(1024);
    put(image, 0, 0x008C); // movwf 0x0C
    for (auto [device, rows] : {std::pair{"PIC16F84A", 80}, std::pair{"PIC16F84", 80},
                                std::pair{"PIC16F83", 128}, std::pair{"PIC16F628A", 128}}) {
        const QStringList lines = listingLines(image, QString::fromLatin1(device), 1024);
        const qsizetype end = lines.indexOf(QStringLiteral("                END"));
        const QStringList table = lines.mid(end + 1);
        ASSERT_EQ(table.size(), 1 + 4 + rows + 1) << device;
        EXPECT_EQ(table[2], QStringLiteral("; 使用レジスタの確認"));
        EXPECT_EQ(table[5 + 0x0C], QStringLiteral(";\t\t0x0C\t\t\t\t;"));
        EXPECT_EQ(table[5 + 0x0D], QStringLiteral(";not used\t0x0D\t\t\t\t;"));
        EXPECT_EQ(table.last(), QString());
    }
}

TEST(DisassemblyListing, RefusesPartsThatAreNot14Bit) {
    DeviceRecord d;
    EXPECT_FALSE(listingRefusal(d).isEmpty());
    d.SelectedDevice = QStringLiteral("PIC18F452");
    d.ProgramType = QStringLiteral("18F_00");
    EXPECT_FALSE(listingRefusal(d).isEmpty());
    d.SelectedDevice = QStringLiteral("PIC12C509A");
    d.ProgramType = QStringLiteral("12C5");
    EXPECT_FALSE(listingRefusal(d).isEmpty());
    d.SelectedDevice = QStringLiteral("PIC16F877A");
    d.ProgramType = QStringLiteral("FLASH8");
    EXPECT_TRUE(listingRefusal(d).isEmpty());
}

TEST(RewritableSearch, CodesMarksAndCount) {
    struct Case {
        std::array<QString, 4> codes;
        std::uint16_t word;
        const char* marks; // the line's end after ")  "
    };
    const Case cases[] = {
        {{}, 0x3FFF, ""},
        {{QStringLiteral("0")}, 0x1234, "changeable 0 "},
        {{QStringLiteral("3FFF")}, 0x3FFF, "changeable 3FFF "},
        {{QStringLiteral("3FFF")}, 0x3FFE, ""},
        {{QStringLiteral("3fff")}, 0x3FFF, "changeable 3FFF "},
        {{QStringLiteral("FFFF")}, 0x3FFF, ""},
        {{QStringLiteral("xyz")}, 0x3FFF, ""},
        {{QStringLiteral("3FFF"), QStringLiteral("12"), QStringLiteral("0000")},
         0x3FFF,
         "changeable 3FFF 12 0000 "},
        {{QStringLiteral("3FFF"), {}, QStringLiteral("0000")}, 0x3FFF, "changeable 3FFF 0000 "},
    };
    for (const Case& c : cases) {
        const WordMarks m = markWord(prepareSearchCodes(c.codes), c.word);
        EXPECT_EQ(m.message + m.matches, QString::fromLatin1(c.marks)) << c.codes[0].toStdString();
    }
    EXPECT_EQ(prepareSearchCodes({QStringLiteral("3fff")}).texts[0], QStringLiteral("3FFF"));

    // A word matching several codes counts once; "0" matches every word.
    Image image = erasedImage(1024);
    put(image, 0, 0x0000);
    int matches = -1;
    listingLines(image, QStringLiteral("PIC16F84A"), 1024,
                 {QStringLiteral("3FFF"), QStringLiteral("3FFF")}, {}, &matches);
    EXPECT_EQ(matches, 1023);
    listingLines(image, QStringLiteral("PIC16F84A"), 1024, {QStringLiteral("0")}, {}, &matches);
    EXPECT_EQ(matches, 1024);
    listingLines(image, QStringLiteral("PIC16F84A"), 1024, {}, {}, &matches);
    EXPECT_EQ(matches, 0);
    EXPECT_EQ(searchResultText(3), QStringLiteral("3個所のコード置き換えが可能です。"));
}

TEST(RewritableSearch, OfferedForThe14BitCoreOnly) {
    // By the part's core, not by its name: a PIC16C558 is a 14-bit part although its name
    // begins like the 12-bit PIC16C55.
    struct Case {
        const char* type;
        bool offered;
    };
    for (const Case& c : {Case{"12C5", false}, Case{"5X28", false}, Case{"EPROM", true},
                          Case{"FLASH8", true}, Case{"12F6", true}, Case{"18F_00", true}}) {
        DeviceRecord d;
        d.ProgramType = QString::fromLatin1(c.type);
        EXPECT_EQ(searchOffered(d), c.offered) << c.type;
    }
}

TEST(MemoryUsage, StripsByWordCountAndImage) {
    struct Case {
        int words;
        int programmed; // words at the start that are not erased
        std::array<double, 4> used;
        std::array<std::size_t, 4> lines;
    };
    const Case cases[] = {
        {256, 0, {0, 0, 0, 0}, {256, 0, 0, 0}},
        {512, 0, {1 / 4.05, 0, 0, 0}, {512, 0, 0, 0}},
        {1024, 0, {1 / 2.05, 0, 0, 0}, {1024, 0, 0, 0}},
        {1024, 100, {1 / 2.05, 0, 0, 0}, {924, 0, 0, 0}},
        {2048, 2048, {1, 0, 0, 0}, {0, 0, 0, 0}},
        {4096, 3000, {1, 1, 0, 0}, {0, 1096, 0, 0}},
        {8192, 8192, {1, 1, 1, 1}, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        Image image = erasedImage(c.words);
        for (int k = 0; k < c.programmed; ++k)
            put(image, k, 0x0000);
        const MemoryPicture p = memoryUsagePicture(image, c.words);
        for (std::size_t i = 0; i < 4; ++i) {
            EXPECT_DOUBLE_EQ(p[i].usedFraction, c.used[i]) << c.words << " page " << i;
            EXPECT_EQ(p[i].erasedOffsets.size(), c.lines[i]) << c.words << " page " << i;
        }
    }
    // Only 0x3FFF is erased: the 12-bit erased word and a PIC18 pair are not.
    Image image = erasedImage(3);
    put(image, 0, 0x0FFF);
    put(image, 1, 0xFFFF);
    const MemoryPicture p = memoryUsagePicture(image, 3);
    EXPECT_EQ(p[0].erasedOffsets, std::vector<int>{2});
    EXPECT_DOUBLE_EQ(erasedLineX(1024, 2048 + 75), 1024);
}

// ---- gputils as the oracle ----

QString tool(const char* name) {
    return QStandardPaths::findExecutable(QString::fromLatin1(name));
}

QString run(const QString& program, const QStringList& args, const QString& dir,
            int* rc = nullptr) {
    QProcess p;
    p.setWorkingDirectory(dir);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    p.waitForFinished(120000);
    if (rc) *rc = p.exitCode();
    return QString::fromLocal8Bit(p.readAll());
}

// Program words of an INHX8M/INHX32 file below the configuration area.
std::map<int, std::uint16_t> hexWords(const QString& path) {
    std::map<int, std::uint16_t> words;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return words;
    std::uint32_t upper = 0;
    for (const QByteArray& raw : f.readAll().split('\n')) {
        const QByteArray line = raw.trimmed();
        if (!line.startsWith(':')) continue;
        const QByteArray b = QByteArray::fromHex(line.mid(1));
        const int n = b[0] & 0xFF;
        const std::uint32_t addr = ((b[1] & 0xFF) << 8) | (b[2] & 0xFF);
        const int type = b[3];
        if (type == 4) upper = (((b[4] & 0xFF) << 8) | (b[5] & 0xFF)) << 16;
        if (type != 0) continue;
        for (int i = 0; i + 1 < n; i += 2) {
            const std::uint32_t byteAddr = upper + addr + i;
            words[static_cast<int>(byteAddr / 2)] =
                static_cast<std::uint16_t>((b[4 + i] & 0xFF) | ((b[5 + i] & 0xFF) << 8));
        }
    }
    return words;
}

struct RoundTripPart {
    const char* device;
    const char* gputilsName;
    const char* package;
    int words;
};

class ListingReassembles : public ::testing::TestWithParam<RoundTripPart> {};

// The listing of a gpasm-built program, and of random 14-bit words, assembles back to the same
// program words.
TEST_P(ListingReassembles, ToTheSameProgramWords) {
    const QString gpasm = tool("gpasm");
    if (gpasm.isEmpty()) GTEST_SKIP() << "gpasm not installed";
    const RoundTripPart part = GetParam();
    const QString name = QString::fromLatin1(part.gputilsName);
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());

    QFile source(QStringLiteral(TAVRIN_TOOLS_TEST_DATA "/listing_program.asm"));
    ASSERT_TRUE(source.open(QIODevice::ReadOnly));
    QByteArray text = source.readAll();
    text.replace("PROCESSOR_NAME", name.toLatin1());
    text.replace("PROCESSOR_INCLUDE", QByteArray("p") + name.toLatin1() + ".inc");
    QFile program(dir.filePath(QStringLiteral("program.asm")));
    ASSERT_TRUE(program.open(QIODevice::WriteOnly));
    program.write(text);
    program.close();
    int rc = 0;
    const QString out = run(gpasm, {QStringLiteral("program.asm")}, dir.path(), &rc);
    ASSERT_EQ(rc, 0) << out.toStdString();

    std::mt19937 random(part.words);
    for (const char* kind : {"program", "random"}) {
        Image image = erasedImage(part.words);
        if (QLatin1String(kind) == QLatin1String("program")) {
            for (auto [k, w] : hexWords(dir.filePath(QStringLiteral("program.hex"))))
                if (k < part.words) put(image, k, w);
        } else {
            for (int k = 0; k < part.words; ++k)
                put(image, k, static_cast<std::uint16_t>(random() & 0x3FFF));
        }
        ListingInput in;
        in.deviceName = QStringLiteral("PIC") + name.toUpper();
        in.package = QString::fromLatin1(part.package);
        in.image = &image;
        in.wordCount = part.words;
        in.configWord1 = 0x3FFF;
        in.idText = QStringLiteral("ABCD");
        const Listing listing = buildListing(in, {}, {});
        QFile asmFile(dir.filePath(QStringLiteral("dis_asm.asm")));
        ASSERT_TRUE(asmFile.open(QIODevice::WriteOnly));
        asmFile.write(listing.text);
        asmFile.close();
        const QString log = run(gpasm, {QStringLiteral("dis_asm.asm")}, dir.path(), &rc);
        ASSERT_EQ(rc, 0) << kind << "\n" << log.toStdString();
        const std::map<int, std::uint16_t> back =
            hexWords(dir.filePath(QStringLiteral("dis_asm.hex")));
        int differences = 0;
        for (int k = 0; k < part.words; ++k) {
            const auto it = back.find(k);
            const std::uint16_t expected =
                static_cast<std::uint16_t>((image[2 * k] << 8) | image[2 * k + 1]);
            if (it == back.end() || it->second != expected) {
                if (++differences <= 5)
                    ADD_FAILURE() << kind << " word " << std::hex << k << ": listed " << expected
                                  << ", assembled " << (it == back.end() ? -1 : it->second);
            }
        }
        EXPECT_EQ(differences, 0) << kind;
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, ListingReassembles,
                         ::testing::Values(RoundTripPart{"PIC16F84A", "16f84a", "18", 1024},
                                           RoundTripPart{"PIC16F628A", "16f628a", "18", 2048},
                                           RoundTripPart{"PIC16F877A", "16f877a", "40", 8192}),
                         [](const auto& info) { return std::string(info.param.gputilsName); });

// The numbers a listed operand stands for, for comparing with gputils' numeric operands.
QList<int> operandNumbers(const QString& operands) {
    static const std::map<QString, int> kNames = {
        {QStringLiteral("INDF"), 0},    {QStringLiteral("TMR0"), 1},
        {QStringLiteral("PCL"), 2},     {QStringLiteral("STATUS"), 3},
        {QStringLiteral("FSR"), 4},     {QStringLiteral("PORTA"), 5},
        {QStringLiteral("PORTB"), 6},   {QStringLiteral("PORTC"), 7},
        {QStringLiteral("PCLATH"), 10}, {QStringLiteral("INTCON"), 11},
        {QStringLiteral("W"), 0},       {QStringLiteral("F"), 1},
        {QStringLiteral("C"), 0},       {QStringLiteral("DC"), 1},
        {QStringLiteral("Z"), 2},       {QStringLiteral("NOT_PD"), 3},
        {QStringLiteral("NOT_TO"), 4},  {QStringLiteral("RP0"), 5},
        {QStringLiteral("RP1"), 6},     {QStringLiteral("IRP"), 7}};
    QList<int> numbers;
    const QString bare = operands.section(QLatin1Char('\t'), 0, 0).trimmed();
    for (QString t : bare.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        t = t.trimmed();
        if (t.startsWith(QLatin1String("H'")))
            numbers << t.mid(2, 2).toInt(nullptr, 16);
        else if (t.startsWith(QLatin1String("0x")) || t.startsWith(QLatin1String("L_")))
            numbers << t.mid(2).toInt(nullptr, 16);
        else if (kNames.count(t))
            numbers << kNames.at(t);
        else
            numbers << t.toInt();
    }
    return numbers;
}

// Where the listing and gputils' disassembler part ways, and why. Every other word must agree.
const char* knownDifference(std::uint16_t w) {
    if (w == 0x0061) return "halt: not in the listing's table, listed as a raw word";
    if (w == 0x0060) return "tris 0: the listing names tris for ports 5-7 only";
    if ((w & 0x3FF8) == 0x0060 && (w & 7) >= 5)
        return "tris: the listing writes the port number (5-7), gputils the whole file address";
    return nullptr;
}

TEST(DisassemblyListing, EveryWordDecodesAsGputilsDisassemblesIt) {
    const QString gpdasm = tool("gpdasm");
    if (gpdasm.isEmpty()) GTEST_SKIP() << "gpdasm not installed";
    QTemporaryDir dir;
    int disagreements = 0;
    for (int half = 0; half < 2; ++half) {
        // 8192 words at a time: the part's program memory.
        QByteArray hex;
        for (int base = 0; base < 8192; base += 8) {
            QByteArray rec;
            rec.append(char(16))
                .append(char(((base * 2) >> 8) & 0xFF))
                .append(char((base * 2) & 0xFF))
                .append(char(0));
            for (int j = 0; j < 8; ++j) {
                const int w = half * 8192 + base + j;
                rec.append(char(w & 0xFF)).append(char(w >> 8));
            }
            int sum = 0;
            for (char c : rec)
                sum += static_cast<unsigned char>(c);
            rec.append(char((-sum) & 0xFF));
            hex += ':' + rec.toHex().toUpper() + "\n";
        }
        hex += ":00000001FF\n";
        const QString path = dir.filePath(QStringLiteral("all.hex"));
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(hex);
        f.close();
        const QString out = run(
            gpdasm, {QStringLiteral("--strict"), QStringLiteral("-p16f877a"), path}, dir.path());
        static const QRegularExpression lineRe(
            QStringLiteral("^([0-9a-f]{4}):\\s+([0-9a-f]{4})\\s+(\\S+)\\s*(.*)$"));
        int seen = 0;
        for (const QString& line : out.split(QLatin1Char('\n'))) {
            const auto m = lineRe.match(line.trimmed());
            if (!m.hasMatch()) continue;
            ++seen;
            const std::uint16_t w = static_cast<std::uint16_t>(m.captured(2).toInt(nullptr, 16));
            QString theirs = m.captured(3);
            if (theirs == QLatin1String("dw")) theirs = QStringLiteral("da");
            QList<int> theirNumbers;
            for (const QString& t : m.captured(4).split(QLatin1Char(','), Qt::SkipEmptyParts))
                theirNumbers << t.trimmed().toInt(nullptr, 16);
            const DecodedWord ours = decodeWord(w, QStringLiteral("16F877A"), 8192);
            const QString mine = ours.mnemonic.trimmed().toLower();
            QList<int> myNumbers = operandNumbers(ours.operands);
            // gputils shows goto and call targets with the page bits the word does not hold.
            const bool same = mine == theirs && myNumbers == theirNumbers;
            const char* why = knownDifference(w);
            if (why) {
                EXPECT_FALSE(same) << std::hex << w << " was expected to differ: " << why;
                ++disagreements;
            } else {
                EXPECT_TRUE(same) << std::hex << w << ": ours " << mine.toStdString() << " "
                                  << ours.operands.toStdString() << ", gputils "
                                  << theirs.toStdString() << " " << m.captured(4).toStdString();
            }
        }
        EXPECT_EQ(seen, 8192);
    }
    EXPECT_EQ(disagreements, 5);
}

} // namespace
} // namespace tavrin
