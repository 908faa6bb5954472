// What the writers put in a file beyond the two example files: record order per family, page
// records, partial record groups, round trips through the loaders, and failed saves.
#include "hex_fixture.h"

#include "core/hex_export.h"
#include "core/hex_import.h"
#include "core/hex_record.h"
#include "core/utilities.h"
#include "support/full_disk.h"

#include <QDir>
#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/resource.h>

using namespace tavrin;
using namespace tavrin::test;

namespace {

QList<QByteArray> linesOf(const QByteArray& text) {
    EXPECT_TRUE(text.endsWith("\r\n"));
    QList<QByteArray> lines = text.split('\n');
    lines.removeLast();
    for (auto& line : lines) {
        EXPECT_TRUE(line.endsWith('\r')) << line.toStdString();
        line.chop(1);
    }
    return lines;
}

QByteArray textFor(Session& s) {
    return s.device.ProgramType.startsWith(QLatin1String("18F")) ? hexFileText18(s)
                                                                 : hexFileText(s);
}

void load(Session& s, const QByteArray& text) {
    RecordingUi ui;
    if (s.device.ProgramType.startsWith(QLatin1String("18F")))
        LoadHexText18(s, ui, text);
    else
        LoadHexText(s, ui, text);
    ASSERT_EQ(s.run.HexLoadResult, QStringLiteral("OK")) << ui.statusText.toStdString();
}

} // namespace

TEST(HexExport, ChecksumMakesTheRecordSumToZero) {
    QByteArray line(":0300300002337A");
    hex::AppendHexChecksum(line);
    EXPECT_EQ(line, QByteArray(":0300300002337A1E"));
    QByteArray odd(":02000000zz00");
    hex::AppendHexChecksum(odd);
    EXPECT_EQ(odd, QByteArray(":02000000zz00FE")) << "a character that is not a digit counts 0";
}

TEST(HexExport, TwelveBitPartsWriteTheirConfigurationWordAt0x1FFE) {
    auto s = erasedSession(kPic12C508);
    s->buffer.ConfigIdImage[14] = 0x0F;
    s->buffer.ConfigIdImage[15] = 0xEA;
    const auto lines = linesOf(hexFileText(*s));
    ASSERT_EQ(lines.size(), 512 / 8 + 3);
    EXPECT_EQ(lines[64], QByteArray(":08400000FF0FFF0FFF0FFF0F80"));
    EXPECT_EQ(lines[65], QByteArray(":021FFE00EA0FE8"));
    EXPECT_EQ(lines[66], QByteArray(":00000001FF"));
}

TEST(HexExport, PartsWithoutEepromGetNoEepromRecords) {
    auto s14 = erasedSession(kPic16C74);
    const auto lines = linesOf(hexFileText(*s14));
    EXPECT_EQ(lines.size(), 4096 / 8 + 4);
    EXPECT_TRUE(lines[512].startsWith(":08400000"));

    // Sizes by hand, where no shipped part has them: a PIC18 part without EEPROM.
    const Part noEeprom18{"PIC18F8720", "18F_00", 8, 0, 0xFFFF};
    auto s18 = erasedSession(noEeprom18);
    EXPECT_FALSE(hexFileText18(*s18).contains(":0200000400F00A"));
}

TEST(HexExport, Pic18PageRecordsFollowTheLastRecordOfEachPage) {
    // Sizes by hand: the page records show at 64K-byte boundaries, with and without EEPROM.
    const Part part64K{"PIC18F8720", "18F_00", 65536, 1024, 0xFFFF};
    auto s = erasedSession(part64K);
    const auto lines = linesOf(hexFileText18(*s));
    EXPECT_EQ(lines[0], QByteArray(":020000040000FA"));
    EXPECT_TRUE(lines[4096].startsWith(":10FFF000"));
    EXPECT_EQ(lines[4097], QByteArray(":020000040001F9"));
    EXPECT_TRUE(lines[8193].startsWith(":10FFF000"));
    EXPECT_EQ(lines[8194], QByteArray(":020000040002F8")) << "even though no data follow";
    EXPECT_EQ(lines[8195], QByteArray(":0200000400F00A"));

    const Part part32K{"PIC18F452", "18F_00", 32768, 0, 0xFFFF};
    auto half = erasedSession(part32K);
    const auto halfLines = linesOf(hexFileText18(*half));
    EXPECT_EQ(halfLines[4097], QByteArray(":020000040001F9"));
    EXPECT_EQ(halfLines[4098], QByteArray(":020000040030CA"));
}

TEST(HexExport, AFinalPartialRecordIsWritten) {
    // Sizes by hand that end in the middle of a record, as no shipped part does.
    const Part odd14{"PIC16F84A", "FLASH4", 13, 5, 0x3FFF};
    auto s = erasedSession(odd14);
    setProgramWord(*s, 12, 0x2805);
    s->buffer.EepromImage[9] = 0x42;
    const auto lines = linesOf(hexFileText(*s));
    EXPECT_EQ(lines[1], QByteArray(":0A001000FF3FFF3FFF3FFF3F0528C1"));
    EXPECT_EQ(lines[2], QByteArray(":0A420000FF00FF00FF00FF00420076"));
    EXPECT_EQ(lines[3], QByteArray(":0A800000FF00FF00FF00FF00420038"));

    const Part odd18{"PIC18F452", "18F_00", 9, 20, 0xFFFF};
    auto s18 = erasedSession(odd18);
    setProgramWord(*s18, 8, 0xEF04);
    s18->buffer.EepromImage[19] = 0x55;
    const auto lines18 = linesOf(hexFileText18(*s18));
    EXPECT_EQ(lines18[2], QByteArray(":0200100004EFFB"));
    EXPECT_EQ(lines18[5], QByteArray(":04001000FFFFFF559A"));

    for (Session* source : {s.get(), s18.get()}) {
        auto back = erasedSession(source == s.get() ? odd14 : odd18);
        load(*back, textFor(*source));
        EXPECT_EQ(imageDifferences(*back, *source), "");
    }
}

TEST(HexExport, OnlyTheSixteenBitsOfAConfigurationValueAreWritten) {
    // Every bit in the mask by hand, so that only the save's own cut to 16 bits shows.
    const Part part{"PIC18F452", "18F_00", 8, 0, 0xFFFF};
    auto s = erasedSession(part);
    s->device.ConfigValue[1] = 0x127FF;
    EXPECT_TRUE(hexFileText18(*s).contains(":0E000000FF27"));
}

// Random images of every family saved and loaded back give the same images; a second save of
// the loaded images gives the same file.
TEST(HexExport, SaveThenLoadGivesTheSameImages) {
    QRandomGenerator random(20240611);
    for (const Part* part : {&kPic16F877A, &kEprom2, &kPic12C508, &kPic16C54, &kPic18F452}) {
        SCOPED_TRACE(part->name);
        auto source = erasedSession(*part);
        const int words = source->device.ProgramWordCount;
        const int eepromLocations = source->device.EepromByteCount;
        auto& image = source->buffer.ProgramImage;
        for (int i = 0; i < 2 * words; ++i)
            image[std::size_t(i)] = std::uint8_t(random.bounded(256));
        for (auto& b : source->buffer.EepromImage)
            b = std::uint8_t(random.bounded(256));
        for (std::size_t i = 16; i < 32; ++i)
            source->buffer.ConfigIdImage[i] = std::uint8_t(random.bounded(256));
        for (auto& b : source->buffer.Id18Image)
            b = std::uint8_t(random.bounded(256));
        // A configuration word holds only the part's implemented and fixed bits: those go round.
        for (std::size_t k = 1; k <= 7; ++k)
            source->device.ConfigValue[k] =
                (std::int32_t(random.bounded(0x10000)) & source->device.ConfigMask[k]) |
                source->device.ConfigFixed[k];

        const QByteArray first = textFor(*source);
        auto loaded = erasedSession(*part);
        load(*loaded, first);
        const int n = 2 * words;
        if (part == &kEprom2) {
            for (int k = 0; k < words; ++k)
                EXPECT_EQ(programWord(*loaded, k) & 0x3FFF, programWord(*source, k) & 0x3FFF);
        } else {
            EXPECT_TRUE(
                std::equal(image.begin(), image.begin() + n, loaded->buffer.ProgramImage.begin()));
        }
        const int eepromBytes = part == &kPic18F452 ? eepromLocations : 2 * eepromLocations;
        for (int i = 0; i < eepromBytes; ++i) {
            const bool dataByte = part == &kPic18F452 || i % 2 == 1;
            EXPECT_EQ(loaded->buffer.EepromImage[std::size_t(i)],
                      dataByte ? source->buffer.EepromImage[std::size_t(i)] : 0x3F);
        }
        if (part == &kPic18F452) {
            EXPECT_TRUE(std::equal(source->buffer.Id18Image.begin(),
                                   source->buffer.Id18Image.begin() + 8,
                                   loaded->buffer.Id18Image.begin()));
            for (int k = 1; k <= 7; ++k)
                EXPECT_EQ(loaded->device.ConfigValue[std::size_t(k)],
                          source->device.ConfigValue[std::size_t(k)]);
        } else if (part == &kPic16F877A) {
            EXPECT_TRUE(std::equal(source->buffer.ConfigIdImage.begin() + 16,
                                   source->buffer.ConfigIdImage.begin() + 32,
                                   loaded->buffer.ConfigIdImage.begin() + 16));
        }

        const QByteArray second = textFor(*loaded);
        EXPECT_EQ(second, textFor(*loaded)) << "saving twice writes the same file";
        auto again = erasedSession(*part);
        load(*again, second);
        // Beyond the part's words the image keeps what a 12-bit configuration record left there.
        ImageSnapshot a = snapshot(*again), b = snapshot(*loaded);
        a.program.resize(std::size_t(n));
        b.program.resize(std::size_t(n));
        EXPECT_EQ(differences(a, b), "");
        EXPECT_EQ(textFor(*again), second);
    }
}

TEST(HexExport, AFailedSaveReportsItAndKeepsTheOldFile) {
    QTemporaryDir dir;
    auto s = erasedSession(kPic16F877A);

    RecordingUi ui;
    const QString nowhere = dir.filePath(QStringLiteral("missing/out.hex"));
    EXPECT_FALSE(SaveHexFile(*s, ui, nowhere));
    EXPECT_EQ(ui.statusText, QStringLiteral("ファイルを保存できませんでした。 ") + nowhere);
    EXPECT_EQ(ui.statusColor, StatusColor::Red);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Critical);
    EXPECT_TRUE(ui.messages[0].text.contains(nowhere));

    // A write that fails part-way (here: the file size limit) must not cut the old file short.
    const QString path = writeFile(dir, QStringLiteral("old.hex"), ":00000001FF\r\n");
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    RecordingUi failing;
    const bool written = SaveHexFile(*s, failing, path);
    setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_FALSE(written);
    EXPECT_EQ(readFile(path), QByteArray(":00000001FF\r\n"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("old.hex")})
        << "no temporary file is left behind";
    ASSERT_EQ(failing.messages.size(), 1u);
    EXPECT_TRUE(failing.messages[0].text.endsWith(QString::fromLocal8Bit(std::strerror(EFBIG))))
        << failing.messages[0].text.toStdString();
    for (const auto& text : failing.statusHistory)
        EXPECT_FALSE(text.startsWith(QStringLiteral("ファイル保存完了")));

    auto pic18 = erasedSession(kPic18F452);
    RecordingUi ui18;
    EXPECT_FALSE(SaveHexFile18(*pic18, ui18, nowhere));
    EXPECT_FALSE(ui18.busy) << "the busy pointer is restored after a failure too";
}

TEST(HexExport, SavingAHexFileKeepsTheOldOneAndReportsIt) {
    const QByteArray old = ":00000001FF\r\n";
    const FullDiskRun run = runOnFullDisk(
        [&](const QString& dir) {
            QFile file(QDir(dir).filePath("old.hex"));
            if (file.open(QIODevice::WriteOnly)) file.write(old);
        },
        [&](const QString& dir) -> std::string {
            auto s = erasedSession(kPic12C508);
            RecordingUi ui;
            if (SaveHexFile(*s, ui, QDir(dir).filePath("old.hex"))) return "the save succeeded";
            for (const QString& text : ui.statusHistory)
                if (text.startsWith(QStringLiteral("ファイル保存完了"))) return "completion shown";
            if (ui.messages.size() != 1) return "no message box";
            if (readFile(QDir(dir).filePath("old.hex")) != old) return "the old file was cut";
            return QDir(dir).entryList(QDir::Files).size() == 2 ? "" : "a temporary file is left";
        });
    if (!run.available) GTEST_SKIP() << "no private mount of a small file system here";
    EXPECT_EQ(run.failure, "");
}

// The disk full before the save, and filling up part way through it: the box gives the system's
// reason either way.
TEST(HexExport, ASaveOnAFullDiskSaysWhy) {
    const QString noSpace = QString::fromLocal8Bit(std::strerror(ENOSPC));
    for (const qsizetype room : {qsizetype(0), qsizetype(8192)}) {
        SCOPED_TRACE(room);
        const FullDiskRun run = runOnFullDisk(
            [&](const QString& dir) {
                QFile spare(QDir(dir).filePath("spare"));
                if (room > 0 && spare.open(QIODevice::WriteOnly))
                    spare.write(QByteArray(room, 'x'));
            },
            [&](const QString& dir) -> std::string {
                QFile::remove(QDir(dir).filePath("spare"));
                auto s = erasedSession(kPic16F877A); // far more than the room left
                RecordingUi ui;
                if (SaveHexFile(*s, ui, QDir(dir).filePath("new.hex"))) return "the save succeeded";
                if (ui.messages.size() != 1) return "no message box";
                if (!ui.messages[0].text.endsWith(QLatin1Char('\n') + noSpace))
                    return "reason given: " + ui.messages[0].text.toStdString();
                return QFile::exists(QDir(dir).filePath("new.hex")) ? "a short file was kept" : "";
            });
        if (!run.available) GTEST_SKIP() << "no private mount of a small file system here";
        EXPECT_EQ(run.failure, "");
    }
}

TEST(HexExport, ASaveReplacesTheOldFile) {
    QTemporaryDir dir;
    const QString path = writeFile(dir, QStringLiteral("old.hex"), "old");
    auto s = erasedSession(kPic16F877A);
    RecordingUi ui;
    EXPECT_TRUE(SaveHexFile(*s, ui, path));
    EXPECT_EQ(readFile(path), hexFileText(*s));
    EXPECT_TRUE(ui.messages.empty());
}
