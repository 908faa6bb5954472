// HEX files as other tools write them, opened through File > Open of the real window, programmed
// and verified on the emulated chip, and the chip compared with the file by srec_cmp. Each file
// is assembled by gpasm and then rewritten as other tools and editors leave such files: srecord's
// record lengths (which merge the last program words with the ID words and start records at odd
// addresses), lower-case digits, CR LF line ends, no end-of-file record, a start address record,
// records out of order, and the comment lines some compilers append.
#include "window_bench.h"

#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

using namespace tavrin;
using namespace tavrin::test;

namespace {

// Words the whole file is written with, so that a record that is misplaced shows.
constexpr const char* kPic16F877A = R"(
        list p=16f877a
        #include <p16f877a.inc>
        __CONFIG _CP_OFF & _WDT_OFF & _BODEN_ON & _PWRTE_ON & _HS_OSC & _LVP_OFF & _DEBUG_OFF
        __IDLOCS 0x4321
        org 0
        goto start
        org 0x10
        fill 0x3A5C, 0x150
start   movlw 0x12
        goto start
        org 0x1FFE
        nop
        goto start
        org 0x2100
        de 0x01, 0x02, "AB"
        end
)";

// The reset vector is the last program word, right before the ID locations.
constexpr const char* kPic16C54 = R"(
        list p=16c54
        #include <p16c5x.inc>
        __CONFIG _CP_OFF & _WDT_OFF & _XT_OSC
        __IDLOCS 0x4567
        org 0
start   fill 0x0A5C, 0x90
        goto start
        org 0x1FF
        goto start
        end
)";

// Two configuration words.
constexpr const char* kPic16F88 = R"(
        list p=16f88
        #include <p16f88.inc>
        __CONFIG _CONFIG1, _CP_OFF & _WDT_OFF & _PWRTE_ON & _INTRC_IO & _MCLR_OFF & _LVP_OFF & _BODEN_OFF
        __CONFIG _CONFIG2, _IESO_OFF & _FCMEN_OFF
        __IDLOCS 0xBEEF
        org 0
        goto start
        org 0x10
        fill 0x3A5C, 0x150
start   goto start
        org 0xFFE
        goto start
        org 0x2100
        de 9, 8, 7
        end
)";

constexpr const char* kPic18F452 = R"(
        list p=18f452
        #include <p18f452.inc>
        CONFIG OSC=HS, PWRT=ON, BOR=OFF, WDT=OFF, LVP=OFF, CP0=OFF, DEBUG=OFF
        __IDLOCS _IDLOC0, 1
        __IDLOCS _IDLOC1, 2
        __IDLOCS _IDLOC7, 8
        org 0
        goto start
        org 0x100
        fill 0x0E5C, 0x150
start   movlw 0x55
        bra start
        org 0x7FFA
        nop
        goto start
        org 0xF00000
        de "Hi", 0x11, 0x22
        end
)";

// How a file is rewritten after the assembler.
enum Rewrite : unsigned {
    None = 0,
    LowerCase = 1,
    CrLf = 2,
    NoEndRecord = 4,
    Reversed = 8, // data records in reverse order, each after its address record
    Comments = 16,
};

struct FileCase {
    const char* name;
    const char* part;
    const char* source;
    const char* format;       // gpasm's -a
    QStringList srecCat = {}; // srec_cat's output options, when it rewrites the file
    unsigned rewrite = None;
    // The ID words as the file gives them, the bits that are ID data and where they are.
    std::uint32_t idAddress = 0x4000;
    QString idText = {};
};

QByteArray rewritten(const QByteArray& text, unsigned how) {
    QList<QByteArray> lines = text.split('\n');
    QList<QByteArray> out;
    QByteArray page;
    QList<QByteArray> data;
    for (QByteArray line : lines) {
        line = line.trimmed();
        if (line.isEmpty()) continue;
        if ((how & NoEndRecord) && line.mid(7, 2) == "01") continue;
        if (how & Reversed) {
            if (line.mid(7, 2) == "04") {
                page = line;
                continue;
            }
            if (line.mid(7, 2) == "00") {
                data.prepend(page.isEmpty() ? line : page + '\n' + line);
                continue;
            }
        }
        out << line;
    }
    if (how & Reversed) {
        const QByteArray end = out.isEmpty() ? QByteArray() : out.takeLast();
        out = data + out;
        if (!end.isEmpty()) out << end;
    }
    if (how & Comments)
        out << ";PIC"
            << ";CRC=1A2B  CREATED=\"11-Dec-26 06:00\"";
    QByteArray joined = out.join('\n') + '\n';
    if (how & LowerCase) joined = joined.toLower();
    if (how & CrLf) joined.replace('\n', "\r\n");
    return joined;
}

bool run(const QString& tool, const QStringList& args, const QString& dir, QString* said) {
    QProcess p;
    p.setWorkingDirectory(dir);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(tool, args);
    const bool done = p.waitForFinished(30000);
    *said = QString::fromLocal8Bit(p.readAll());
    return done && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

} // namespace

Q_DECLARE_METATYPE(FileCase)

class ThirdPartyFiles : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();
    void programmedChipHoldsTheFile_data();
    void programmedChipHoldsTheFile();
};

void ThirdPartyFiles::initTestCase() {
    for (const char* tool : {"gpasm", "srec_cat", "srec_cmp"})
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            QSKIP("gputils or srecord is not installed");
}

void ThirdPartyFiles::programmedChipHoldsTheFile_data() {
    QTest::addColumn<FileCase>("c");
    const QStringList longest{QStringLiteral("-obs=255")};
    const FileCase cases[] = {
        {"14-bit, the last program words and the IDs in one record", "PIC16F877A", kPic16F877A,
         "inhx32", longest, None, 0x4000, QStringLiteral("4321")},
        {"12-bit, the reset vector and the IDs in one record",
         "PIC16C54",
         kPic16C54,
         "inhx8m",
         {QStringLiteral("-obs=8")},
         CrLf,
         0x400,
         QStringLiteral("4567")},
        {"two configuration words, edited by hand", "PIC16F88", kPic16F88, "inhx8m", longest,
         LowerCase | CrLf | NoEndRecord | Comments, 0x4000, QStringLiteral("BEEF")},
        {"PIC18, reordered, with a start address and comments",
         "PIC18F452",
         kPic18F452,
         "inhx32",
         {QStringLiteral("-execution-start-address"), QStringLiteral("0")},
         Reversed | Comments},
    };
    for (const FileCase& c : cases)
        QTest::newRow(c.name) << c;
}

void ThirdPartyFiles::programmedChipHoldsTheFile() {
    QFETCH(FileCase, c);
    QTemporaryDir files;
    const QString dir = files.path();
    QFile asmFile(files.filePath(QStringLiteral("prog.asm")));
    QVERIFY(asmFile.open(QIODevice::WriteOnly));
    asmFile.write(c.source);
    asmFile.close();
    QString said;
    QVERIFY2(run(QStringLiteral("gpasm"),
                 {QStringLiteral("-q"), QStringLiteral("-a"), QString::fromLatin1(c.format),
                  QStringLiteral("-o"), QStringLiteral("asm.hex"), QStringLiteral("prog.asm")},
                 dir, &said),
             qPrintable(said));
    // What the chip must hold: the assembler's file, read by srecord.
    const QString expected = files.filePath(QStringLiteral("asm.hex"));
    QString tool = expected;
    if (!c.srecCat.isEmpty()) {
        tool = files.filePath(QStringLiteral("tool.hex"));
        QVERIFY2(run(QStringLiteral("srec_cat"),
                     QStringList{expected, QStringLiteral("-intel"), QStringLiteral("-o"), tool,
                                 QStringLiteral("-intel")} +
                         c.srecCat,
                     dir, &said),
                 qPrintable(said));
    }
    QFile in(tool);
    QVERIFY(in.open(QIODevice::ReadOnly));
    const QByteArray text = rewritten(in.readAll(), c.rewrite);
    in.close();
    const QString opened = files.filePath(QStringLiteral("opened.hex"));
    QFile out(opened);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write(text);
    out.close();

    const QString part = QString::fromLatin1(c.part);
    Bench bench({"--part", c.part}, opened);
    QVERIFY(bench.started);
    bench.select(part);
    bench.click("Cmd_open");
    QCOMPARE(bench.session.run.HexLoadResult, QStringLiteral("OK"));
    if (!c.idText.isEmpty()) QCOMPARE(bench.session.buffer.IdText, c.idText);
    bench.click("Command_pogram");
    QVERIFY2(bench.status().startsWith(QStringLiteral("プログラミング成功。")) &&
                 bench.status().endsWith(QStringLiteral("Pass = 1    Fail = 0 ")),
             qPrintable(bench.status()));
    bench.click("Command_Vrify");
    QCOMPARE(bench.status(), QStringLiteral("ベリファイは正常終了しました。 "));
    QVERIFY(bench.boxes.empty());

    // 12- and 14-bit ID words keep only their low four bits from the file; the rest of the
    // chip holds the file byte for byte.
    const QString dump = QString::fromStdString(bench.dumpPath());
    if (c.idText.isEmpty()) {
        bench.emu->stop();
        const QString differences = srecCompareWithin(expected, dump);
        QVERIFY2(differences.isEmpty(), qPrintable(differences));
        return;
    }
    const auto ids = bench.chipWords(c.idAddress / 2, 4);
    const auto fileIds = hexWordsBySrecCat(expected, c.idAddress / 2, 4);
    QCOMPARE(ids.size(), std::size_t(4));
    for (int k = 0; k < 4; ++k)
        QCOMPARE(ids[k] & 0xF, fileIds[k] & 0xF);
    const QString differences = srecCompareWithin(expected, dump, {{c.idAddress, c.idAddress + 8}});
    QVERIFY2(differences.isEmpty(), qPrintable(differences));
}

QTEST_MAIN(ThirdPartyFiles)
#include "third_party_files_qtest.moc"
