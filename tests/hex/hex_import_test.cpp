// Where the records of a HEX file land in the images, for each family, and what the status line
// says afterwards.
#include "hex_fixture.h"

#include "core/hex_import.h"
#include "core/hex_scan.h"

#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace tavrin;
using namespace tavrin::test;

namespace {

const QString kLoaded = QStringLiteral("ファイルロード完了 ");

// Shapes no shipped part has, by hand: 12-bit parts with every bit of the word implemented, and a
// 14-bit word with fixed bits (one beyond the word's 16 bits), so that each test shows one rule.
constexpr Part kPic12C508Wide{"PIC12C508", "12C5", 512, 0, 0x0FFF};
constexpr Part kPic12C509{"PIC12C509", "12C5", 1024, 0, 0x0FFF};
constexpr Part kMaskedAndFixed{"PIC16F84A", "FLASH4", 1024, 64, 0x3FF0, 0x0003};
constexpr Part kFixedBeyond16Bits{"PIC16F84A", "FLASH4", 1024, 64, 0x3FFF, 0x10000};

int cii(const Session& s, int i) {
    return s.buffer.ConfigIdImage[std::size_t(i)];
}
int idWord(const Session& s, int k) {
    return cii(s, 2 * k) << 8 | cii(s, 2 * k + 1);
}
int eepromPair(const Session& s, int m) {
    return s.buffer.EepromImage[std::size_t(2 * m)] << 8 |
           s.buffer.EepromImage[std::size_t(2 * m + 1)];
}

struct PlacementCase {
    const char* what;
    const Part& part;
    const char* text;
    std::function<void(const Session&)> check;
    const char* status = "ファイルロード完了 ";
};

} // namespace

TEST(HexImport, RecordsLandAtTheirAddresses) {
    const PlacementCase cases[] = {
        {"a program word is little-endian in the file, high byte first in the image", kPic16F877A,
         ":020000000528D1\n", [](const Session& s) { EXPECT_EQ(programWord(s, 0), 0x2805); }},
        {"an extended linear address of 0 changes nothing", kPic16F877A,
         ":020000040000FA\n:020002000528CF\n:00000001FF\n",
         [](const Session& s) { EXPECT_EQ(programWord(s, 1), 0x2805); }},
        {"lines after the end-of-file record are still read", kPic16F877A,
         ":00000001FF\n:020000000528D1\n",
         [](const Session& s) { EXPECT_EQ(programWord(s, 0), 0x2805); }},
        {"a wrong checksum is accepted", kPic16F877A, ":02000000052800\n",
         [](const Session& s) { EXPECT_EQ(programWord(s, 0), 0x2805); }},
        {"lower-case digits are read", kPic16F877A, ":02000000ab1c37\n",
         [](const Session& s) { EXPECT_EQ(programWord(s, 0), 0x1CAB); }},
        {"an odd byte count places exactly that many bytes", kPic16F877A, ":03000000AABBCCCC\n",
         [](const Session& s) {
             EXPECT_EQ(programWord(s, 0), 0xBBAA);
             EXPECT_EQ(programWord(s, 1), 0x3FCC) << "the high byte keeps its erased value";
         }},
        {"EPROM2 program words get their parity bits", kEprom2,
         ":02000000FF3FC0\n:020002000000FC\n",
         [](const Session& s) {
             EXPECT_EQ(programWord(s, 0), 0x7FFF);
             EXPECT_EQ(programWord(s, 1), 0x8000);
         }},
        {"the configuration word at 0x400E", kPic16F877A, ":02400E00723FFF\n",
         [](const Session& s) {
             EXPECT_EQ(cii(s, 14), 0x3F);
             EXPECT_EQ(cii(s, 15), 0x72);
             EXPECT_EQ(s.device.ConfigValue[1], 0x3F72);
         }},
        {"an EPROM2 configuration word keeps bits 15-14 set", kEprom2, ":02400E00FF3F72\n",
         [](const Session& s) {
             EXPECT_EQ(cii(s, 14), 0xFF);
             EXPECT_EQ(s.device.ConfigValue[1], 0x3FFF);
         }},
        {"the configuration word is masked and fixed bits are set", kMaskedAndFixed,
         ":02400E00F03F89\n", [](const Session& s) { EXPECT_EQ(s.device.ConfigValue[1], 0x3FF3); }},
        {"an ID record of more than four words keeps the configuration word", kPic16F877A,
         ":1040000001000200030004000000000000007A3FED\n",
         [](const Session& s) {
             for (int k = 0; k < 4; ++k)
                 EXPECT_EQ(idWord(s, k), 0x3FF1 + k);
             EXPECT_EQ(s.device.ConfigValue[1], 0x3F7A);
             EXPECT_EQ(s.buffer.IdText, QStringLiteral("1234"));
         }},
        {"EEPROM at 0x4200 and at 0x8000 is one location; the later record wins", kPic16F877A,
         ":024200001200AA\n:0280000034004A\n",
         [](const Session& s) {
             EXPECT_EQ(eepromPair(s, 0), 0x3F34);
             EXPECT_EQ(eepromPair(s, 1), 0x3FFF);
         }},
        {"an extended segment address is honoured", kPic16F877A,
         ":020000020420D8\n:020000001200EC\n",
         [](const Session& s) { EXPECT_EQ(eepromPair(s, 0), 0x3F12); }},
        {"records from 0x8200 on are skipped without a report", kPic16F877A,
         ":020000000528D1\n:0282000011115A\n:02FEFE001111E0\n",
         [](const Session& s) {
             auto expected = erasedSession(kPic16F877A);
             setProgramWord(*expected, 0, 0x2805);
             EXPECT_EQ(imageDifferences(s, *expected), "");
         }},
        {"data above 0xFFFF are reported, never folded onto program memory", kPic16F877A,
         ":020000040001F9\n:020000000528D1\n:020000040000FA\n:020002000528CF\n",
         [](const Session& s) {
             EXPECT_EQ(programWord(s, 0), 0x3FFF);
             EXPECT_EQ(programWord(s, 1), 0x2805);
         },
         "<<注意>>0xFFFFを超えるアドレスのデータ（1行、最初は2行目）を読み飛ばしました。 "},
        {"the fuse record builds the configuration word and the ID digits", kPic16F877A,
         ":10FF000000000000000000000002010000003412A8\n",
         [](const Session& s) {
             EXPECT_EQ(s.device.ConfigValue[1], 0x3FFE);
             for (int k = 0; k < 4; ++k)
                 EXPECT_EQ(idWord(s, k), 0x3FF1 + k);
         }},
        {"the fuse record of a PIC12C5 part", kPic12C508Wide,
         ":10FF000000000000000000000002010000003412A8\n",
         [](const Session& s) {
             EXPECT_EQ(s.device.ConfigValue[1], 0x0FFE);
             for (int k = 0; k < 4; ++k)
                 EXPECT_EQ(idWord(s, k), 0x0071 + k) << "12C5 keeps whole ID words";
         }},
        {"12-bit: the configuration word at 0x1FFE", kPic12C508Wide, ":021FFE00EA0FE8\n",
         [](const Session& s) {
             EXPECT_EQ(s.device.ConfigValue[1], 0x0FEA);
             EXPECT_EQ(programWord(s, 0xFFF), 0x0FEA) << "it is a program record too";
         }},
        {"12C5 with code protection on keeps only the low configuration bits", kPic12C508Wide,
         ":021FFE00E20FF0\n",
         [](const Session& s) {
             EXPECT_EQ(cii(s, 14), 0x00);
             EXPECT_EQ(cii(s, 15), 0x02);
         }},
        {"12-bit: the ID locations after the last program word", kPic12C508Wide,
         ":08040000050A060B070C080DAC\n",
         [](const Session& s) {
             for (int k = 0; k < 4; ++k)
                 EXPECT_EQ(idWord(s, k), 0x0005 + k);
             EXPECT_EQ(s.buffer.IdText, QStringLiteral("5678"));
             EXPECT_EQ(programWord(s, 0x200), 0x0A05) << "and program words";
         }},
        {"12-bit: another part's ID address is only program memory", kPic12C509,
         ":08040000050A060B070C080DAC\n",
         [](const Session& s) {
             EXPECT_EQ(s.buffer.IdText, QStringLiteral("FFFF"));
             EXPECT_EQ(programWord(s, 0x200), 0x0A05);
         }},
        {"5X18: the ID locations by the name's first eight characters", kPic16C54,
         ":08040000050A060B070C080DAC\n",
         [](const Session& s) {
             for (int k = 0; k < 4; ++k)
                 EXPECT_EQ(idWord(s, k), 0x0FF5 + k);
         }},
        {"12C5: an ID record at 0x4000 holds whole words", kPic12C508Wide,
         ":08400000010A020B030C040D80\n",
         [](const Session& s) {
             for (int k = 0; k < 4; ++k)
                 EXPECT_EQ(idWord(s, k), 0x0A01 + 0x101 * k);
             EXPECT_EQ(s.buffer.IdText, QStringLiteral("1234"));
         }},
        {"a record from the last program words on into the ID words is split where they begin",
         kPic16F877A, ":0C3FFC0000000128040003000200010026\n",
         [](const Session& s) {
             EXPECT_EQ(programWord(s, 0x1FFF), 0x2801);
             for (int k = 0; k < 4; ++k)
                 EXPECT_EQ(idWord(s, k), 0x3FF4 - k);
             EXPECT_EQ(s.buffer.IdText, QStringLiteral("4321"));
         }},
        {"ID words given by two records, the second from the third ID word", kPic16F877A,
         ":0440000001000200B7\n:04400400030004009F\n",
         [](const Session& s) {
             for (int k = 0; k < 4; ++k)
                 EXPECT_EQ(idWord(s, k), 0x3FF1 + k);
             EXPECT_EQ(s.buffer.IdText, QStringLiteral("1234"));
         }},
        {"5X18: the reset vector and the ID locations in one record, then the rest", kPic16C54,
         ":0803FC00FF0AFF0A04000500BE\n:0404040006000700E7\n",
         [](const Session& s) {
             EXPECT_EQ(programWord(s, 0x1FF), 0x0AFF);
             for (int k = 0; k < 4; ++k)
                 EXPECT_EQ(idWord(s, k), 0x0FF4 + k);
             EXPECT_EQ(s.buffer.IdText, QStringLiteral("4567"));
         }},
        {"5X18: an ID record at 0x4000 holds four bits a word", kPic16C54,
         ":08400000010A020B030C040D80\n",
         [](const Session& s) {
             for (int k = 0; k < 4; ++k)
                 EXPECT_EQ(idWord(s, k), 0x0FF1 + k);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Loaded loaded = loadText(c.part, c.text);
        EXPECT_EQ(loaded.session->run.HexLoadResult, QStringLiteral("OK"));
        EXPECT_EQ(loaded.ui.statusText, QString::fromUtf8(c.status));
        c.check(*loaded.session);
    }
}

TEST(HexImport, Pic18PagesLandWhereTheyBelong) {
    const PlacementCase cases[] = {
        {"page 0", kPic18F452, ":020010001122BB\n",
         [](const Session& s) { EXPECT_EQ(programWord(s, 8), 0x2211); }},
        {"page 1", kPic18F452, ":020000040001F9\n:020010001122BB\n",
         [](const Session& s) {
             EXPECT_EQ(programWord(s, 0x8008), 0x2211);
             EXPECT_EQ(programWord(s, 8), 0xFFFF);
         }},
        {"page 2 does not fold onto page 0", kPic18F452, ":020000040002F8\n:020010001122BB\n",
         [](const Session& s) {
             EXPECT_EQ(programWord(s, 0x10008), 0x2211);
             EXPECT_EQ(programWord(s, 8), 0xFFFF);
         }},
        {"pages without memory are skipped and reported", kPic18F452,
         ":020010001122BB\n:020000040021D9\n:020000001122CB\n:0200000400EFEB\n"
         ":020000003344 87\n:020000001122CB\n",
         [](const Session& s) {
             auto expected = erasedSession(kPic18F452);
             setProgramWord(*expected, 8, 0x2211);
             EXPECT_EQ(imageDifferences(s, *expected), "");
         },
         "<<注意>>ＰＩＣ１８のメモリにないアドレスのデータ（2行、最初は3行目）を読み飛ばしました。 "
         "5行目はＨＥＸデータでないので読み飛ばしました。"},
        {"the ID locations in address order", kPic18F452,
         ":020000040020DA\n:080000000102030405060708D4\n",
         [](const Session& s) {
             for (int i = 0; i < 8; ++i)
                 EXPECT_EQ(s.buffer.Id18Image[std::size_t(i)], i + 1);
         }},
        {"the configuration bytes, low byte of each word first", kPic18AllBits,
         ":020000040030CA\n:0400000012345678E8\n",
         [](const Session& s) {
             EXPECT_EQ(s.device.ConfigValue[1], 0x3412);
             EXPECT_EQ(s.device.ConfigValue[2], 0x7856);
             EXPECT_EQ(s.device.ConfigValue[3], 0xFFFF)
                 << "bytes the file does not name are erased";
         }},
        {"the data EEPROM one byte a location", kPic18F452, ":0200000400F00A\n:020010001122BB\n",
         [](const Session& s) {
             EXPECT_EQ(s.buffer.EepromImage[0x10], 0x11);
             EXPECT_EQ(s.buffer.EepromImage[0x11], 0x22);
         }},
        {"lower-case and odd counts as in the 14-bit loader", kPic18F452, ":03000000aabbcccc\n",
         [](const Session& s) {
             EXPECT_EQ(programWord(s, 0), 0xBBAA);
             EXPECT_EQ(programWord(s, 1), 0xFFCC);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Loaded loaded = loadText(c.part, c.text);
        EXPECT_EQ(loaded.session->run.HexLoadResult, QStringLiteral("OK"));
        EXPECT_EQ(loaded.ui.statusText, QString::fromUtf8(c.status));
        c.check(*loaded.session);
    }
}

TEST(HexImport, Pic18FileWithoutConfigurationDoesNotKeepThePreviousOne) {
    Loaded loaded = loadText(kPic18AllBits, ":020000001122CB\n", [](Session& s) {
        s.buffer.Config18Bytes.fill(0x00); // as a previous file or chip read left them
        s.device.ConfigFixed[2] = 0x0100;
    });
    EXPECT_EQ(loaded.session->device.ConfigValue[1], 0xFFFF);
    EXPECT_EQ(loaded.session->device.ConfigValue[2], 0xFFFF);
    EXPECT_EQ(loaded.session->buffer.Config18Bytes[0], 0xFF);
}

// What a load passed over, counted with its first line numbers, for the main window to tell and
// to ask about before a save over the file.
TEST(HexImport, WhatALoadPassedOverIsCounted) {
    QByteArray many = ":020000000528D1\n";
    for (int i = 0; i < 12; ++i)
        many += "020000000528D1\n";
    Loaded badLines = loadText(kPic16F877A, many);
    EXPECT_EQ(badLines.session->run.HexLoadSkipped,
              QStringLiteral("ＨＥＸデータでない12行（2、3、4、5、6、7、8、9、10、11行目ほか）"));
    // Comment lines hold no data: they are named in the status line but not counted here.
    Loaded both = loadText(kPic18F452, ":020010001122BB\n:020000040021D9\n:020000001122CB\nx\n"
                                       ";PIC18F452\n  ;CRC=1A2B\n");
    EXPECT_EQ(both.session->run.HexLoadSkipped,
              QStringLiteral("ＨＥＸデータでない1行（4行目）\r\n"
                             "ＰＩＣ１８のメモリにないアドレスのデータ1行（最初は3行目）"));
    EXPECT_TRUE(both.ui.statusText.contains(QStringLiteral("4、5、6行目はＨＥＸデータでない")));
    // A load that reads every line leaves nothing of an earlier one.
    Loaded clean = loadText(kPic16F877A, ":020000000528D1\n",
                            [](Session& s) { s.run.HexLoadSkipped = QStringLiteral("earlier"); });
    EXPECT_EQ(clean.session->run.HexLoadSkipped, QString());
}

TEST(HexImport, BadLinesAreListedAndSkipped) {
    struct Case {
        const char* what;
        const char* line;
    };
    const Case cases[] = {
        {"no colon", "020000000528D1"},
        {"a blank before the colon", " :020000000528D1"},
        {"shorter than a record", ":0200000"},
        {"shorter than its byte count", ":0400000001020304"},
        {"a letter that is not a digit", ":0200000G0528D1"},
        {"a blank inside", ":02000000 0528D1"},
        {"a comment after the checksum", ":020000000528D1 ; start"},
        {"a checksum that is not hexadecimal", ":020000000528ZZ"},
        {"an address record with a bad page", ":0200000400G1F9"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const QByteArray text = QByteArray(":020002000628CE\n") + c.line + "\n:020004000728CB\n";
        for (const Part* part : {&kPic16F877A, &kPic18F452}) {
            Loaded loaded = loadText(*part, text);
            EXPECT_EQ(loaded.ui.statusText,
                      QStringLiteral("2行目はＨＥＸデータでないので読み飛ばしました。 "));
            EXPECT_EQ(loaded.session->run.HexLoadResult, QStringLiteral("OK"));
            EXPECT_EQ(programWord(*loaded.session, 1) & 0x3FFF, 0x2806) << "the line before";
            EXPECT_EQ(programWord(*loaded.session, 2) & 0x3FFF, 0x2807) << "the line after";
            EXPECT_EQ(programWord(*loaded.session, 0), part == &kPic18F452 ? 0xFFFF : 0x3FFF);
        }
    }
    // Blank lines are neither read nor reported, but they count in the line numbers.
    Loaded several = loadText(kPic16F877A, "x\n:020000000528D1\n\n \t\n:00000001FF\nend\n\n");
    EXPECT_EQ(several.ui.statusText,
              QStringLiteral("1、6行目はＨＥＸデータでないので読み飛ばしました。 "));
    for (const Part* part : {&kPic16F877A, &kPic18F452}) {
        Loaded blankLines = loadText(*part, "\n:020000000528D1\r\n\r\n:00000001FF\r\n\r\n");
        EXPECT_EQ(blankLines.ui.statusText, kLoaded);
        EXPECT_EQ(programWord(*blankLines.session, 0) & 0x3FFF, 0x2805);
    }
    EXPECT_EQ(several.ui.statusHistory.first(), QStringLiteral("ファイルロード中.......... "));
    Loaded trailingBlanks = loadText(kPic16F877A, ":020000000528D1 \t\n");
    EXPECT_EQ(trailingBlanks.ui.statusText, kLoaded);
}

TEST(HexImport, ManyBadLinesAreNamedFirstAndCountedThen) {
    struct Case {
        int badLines;
        const char* status;
    };
    const Case cases[] = {
        {10, "2、3、4、5、6、7、8、9、10、11行目はＨＥＸデータでないので読み飛ばしました。 "},
        {11,
         "2、3、4、5、6、7、8、9、10、11行目ほか1行はＨＥＸデータでないので読み飛ばしました。 "},
        {1000000, "2、3、4、5、6、7、8、9、10、11行目ほか999990行はＨＥＸデータでないので読み飛ばし"
                  "ました。 "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.badLines);
        QByteArray text = ":020000000528D1\r\n" +
                          QByteArray("not a record\r\n").repeated(c.badLines) +
                          ":020002000628CE\r\n";
        for (const Part* part : {&kPic16F877A, &kPic18F452}) {
            Loaded loaded = loadText(*part, text);
            EXPECT_EQ(loaded.session->run.HexLoadResult, QStringLiteral("OK"));
            EXPECT_EQ(loaded.ui.statusText, QString::fromUtf8(c.status));
            EXPECT_EQ(programWord(*loaded.session, 1) & 0x3FFF, 0x2806) << "the line after";
        }
    }
}

// A file of many megabytes moves the progress bar and lets the window's events run while it is
// read and scanned; an ordinary HEX file loads in one go, with neither.
TEST(HexImport, OnlyALargeFileShowsProgressAndLetsEventsRun) {
    QTemporaryDir dir;
    const QByteArray record = ":020000000528D1\r\n";
    const QByteArray large = record + QByteArray("; a comment line\r\n").repeated(1 << 20);
    for (const QByteArray& text : {record, large}) {
        const bool isLarge = text.size() > hex::kProgressStep;
        const QString path = writeFile(dir, QStringLiteral("f.hex"), text);
        for (const Part* part : {&kPic16F877A, &kPic18F452}) {
            SCOPED_TRACE(text.size());
            auto s = erasedSession(*part);
            RecordingUi ui;
            if (part == &kPic18F452)
                LoadHexFile18(*s, ui, path);
            else
                LoadHexFile(*s, ui, path);
            EXPECT_EQ(s->run.HexLoadResult, QStringLiteral("OK"));
            EXPECT_EQ(ui.pumpCount > 0, isLarge);
            EXPECT_EQ(ui.progressUpdates > 0, isLarge);
            EXPECT_FALSE(ui.progressVisible) << "the bar is hidden at the end";
            if (isLarge) {
                // Read, then scanned: a step every 4 MiB of each.
                EXPECT_GE(ui.pumpCount, int(text.size() / hex::kProgressStep));
                EXPECT_LE(ui.progressValue, 100);
            }
        }
    }
}

// A file that places nothing must not read as a program loaded: an empty buffer would be
// programmed, or a reload reported done.
TEST(HexImport, AFileWithNothingToLoadSaysSo) {
    const QString nothing =
        QStringLiteral("<<注意>>ロードできるデータがなかったので、何もロードしませんでした。 ");
    struct Case {
        const char* what;
        const Part& part;
        QByteArray text;
        const char* detail;
    };
    const Case cases[] = {
        {"an empty file", kPic16F877A, "", ""},
        {"an empty file", kPic18F452, "", ""},
        {"blank lines and an end record", kPic16F877A, "\r\n\r\n:00000001FF\r\n", ""},
        {"address records alone", kPic18F452, ":020000040030CA\n:00000001FF\n", ""},
        {"bad lines alone", kPic16F877A, "text\r\nmore\r\n",
         "1、2行目はＨＥＸデータでないので読み飛ばしました。"},
        {"a million bad lines", kPic18F452, QByteArray("x\n").repeated(1000000),
         "1、2、3、4、5、6、7、8、9、10行目ほか999990行はＨＥＸデータでないので読み飛ばしました。"},
        {"14-bit: data above 0xFFFF alone", kPic16F877A, ":020000040001F9\n:020000000528D1\nbad\n",
         "0xFFFFを超えるアドレスのデータ（1行、最初は2行目）を読み飛ばしました。 "
         "3行目はＨＥＸデータでないので読み飛ばしました。"},
        {"PIC18: data in pages without memory alone", kPic18F452,
         ":020000040040BA\n:020000001122CB\n",
         "ＰＩＣ１８のメモリにないアドレスのデータ（1行、最初は2行目）を読み飛ばしました。"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Loaded loaded = loadText(c.part, c.text, [](Session& s) { s.run.PassCount = 3; });
        EXPECT_EQ(loaded.session->run.HexLoadResult, QStringLiteral("NG"));
        EXPECT_EQ(loaded.ui.statusText, nothing + QString::fromUtf8(c.detail));
        EXPECT_EQ(loaded.ui.statusColor, StatusColor::Red);
        EXPECT_EQ(differences(snapshot(*loaded.session), snapshot(*erasedSession(c.part))), "");
        EXPECT_EQ(loaded.ui.refreshedViews, 0u);
        EXPECT_EQ(loaded.session->run.PassCount, 0) << "a load was begun";
    }
}

// Nothing close to this size is the HEX file of a part; reading it whole would only take the
// memory and the time.
TEST(HexImport, AFileLargerThanAnyHexFileIsRefusedUnread) {
    QTemporaryDir dir;
    const QByteArray record = ":020000000528D1\n";
    for (const Part* part : {&kPic16F877A, &kPic18F452}) {
        for (const qint64 size : {hex::kMaxFileBytes, hex::kMaxFileBytes + 1}) {
            SCOPED_TRACE(size);
            // A record, then zero bytes up to the size (sparse: nothing is written for them).
            const QString path = writeFile(dir, QStringLiteral("big.hex"), record);
            QFile grown(path);
            ASSERT_TRUE(grown.resize(size));
            auto s = erasedSession(*part);
            const auto before = snapshot(*s);
            RecordingUi ui;
            if (part == &kPic18F452)
                LoadHexFile18(*s, ui, path);
            else
                LoadHexFile(*s, ui, path);
            if (size > hex::kMaxFileBytes) {
                EXPECT_EQ(s->run.HexLoadResult, QStringLiteral("NG"));
                EXPECT_EQ(ui.statusText,
                          QStringLiteral("ファイルをロードできませんでした。 "
                                         "ＨＥＸファイルとしては大きすぎます（64MBまで）。"));
                EXPECT_EQ(differences(snapshot(*s), before), "");
            } else {
                EXPECT_EQ(s->run.HexLoadResult, QStringLiteral("OK")) << "the limit itself loads";
                EXPECT_EQ(ui.statusText,
                          QStringLiteral("2行目はＨＥＸデータでないので読み飛ばしました。 "));
                EXPECT_EQ(programWord(*s, 0) & 0x3FFF, 0x2805);
            }
        }
    }
}

// A device that reports no size and never ends is read no further than the limit.
TEST(HexImport, AnEndlessDeviceIsRefusedAtTheLimit) {
    const QString zeros = QStringLiteral("/dev/zero");
    if (!QFileInfo(zeros).exists()) GTEST_SKIP() << "no endless device here";
    auto s = erasedSession(kPic16F877A);
    RecordingUi ui;
    LoadHexFile(*s, ui, zeros);
    EXPECT_EQ(s->run.HexLoadResult, QStringLiteral("NG"));
    EXPECT_EQ(ui.statusText, QStringLiteral("ファイルをロードできませんでした。 "
                                            "ＨＥＸファイルとしては大きすぎます（64MBまで）。"));
}

TEST(HexImport, FailedLoadLeavesTheBufferAsItWas) {
    struct Case {
        const char* what;
        const Part& part;
        const char* text;
    };
    const Case cases[] = {
        {"14-bit: a record between 0x4400 and 0x7FFF", kPic16F877A,
         ":020000000528D1\n:02440000FF3F7C\n"},
        {"14-bit: the configuration area from 0x4100 on", kPic16F877A,
         ":020000000528D1\n:02410000FF3F7F\n"},
        {"14-bit: a configuration word beyond 16 bits", kFixedBeyond16Bits, ":020000000528D1\n"},
        {"PIC18: more than nine ID bytes", kPic18F452,
         ":020000001122CB\n:020000040020DA\n:0A0000000102030405060708090ABF\n"},
        {"PIC18: a configuration byte past 255", kPic18F452,
         ":020000001122CB\n:020000040030CA\n:0200FF000102FC\n"},
        {"PIC18: an EEPROM byte past 2047", kPic18F452,
         ":020000001122CB\n:0200000400F00A\n:0207FF000102F5\n"},
        {"PIC18: program data past the 2 MiB image", kPic18F452,
         ":020000001122CB\n:02000004001FDB\n:02FFFF000102FD\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const bool pic18 = &c.part == &kPic18F452;
        Loaded loaded = loadText(c.part, c.text, [](Session& s) {
            s.run.PassCount = 3;
            s.run.AttemptCount = 5;
            s.buffer.IdText = QStringLiteral("1234");
        });
        const auto before = snapshot(*erasedSession(c.part));
        EXPECT_EQ(differences(snapshot(*loaded.session), before), "");
        EXPECT_EQ(loaded.session->run.HexLoadResult, QStringLiteral("NG"));
        EXPECT_EQ(loaded.ui.statusText,
                  QStringLiteral("ファイルをロードできませんでした。 ") +
                      (pic18
                           ? QStringLiteral("ＰＩＣ１６ＸＸＸとＰＩＣ１８ＸＸＸではファイルの互換性"
                                            "がありませんので注意してください。")
                           : QStringLiteral("ＰＩＣ１８用のファイルをロードしようとした可能性があり"
                                            "ます。")));
        EXPECT_EQ(loaded.ui.refreshedViews, 0u) << "views still show the buffer as it is";
        EXPECT_EQ(loaded.session->run.PassCount, 0);
        EXPECT_EQ(loaded.session->run.AttemptCount, 0);
        EXPECT_EQ(loaded.session->buffer.IdText, QStringLiteral("FFFF"));
    }
}

TEST(HexImport, AMissingFileFailsTheLoad) {
    QTemporaryDir dir;
    for (const Part* part : {&kPic16F877A, &kPic18F452}) {
        auto s = erasedSession(*part);
        RecordingUi ui;
        const QString path = dir.filePath(QStringLiteral("missing.hex"));
        if (part == &kPic18F452)
            LoadHexFile18(*s, ui, path);
        else
            LoadHexFile(*s, ui, path);
        EXPECT_EQ(s->run.HexLoadResult, QStringLiteral("NG"));
        EXPECT_TRUE(ui.statusText.startsWith(QStringLiteral("ファイルをロードできませんでした。")));
    }
}

TEST(HexImport, LineEndsOfEveryKindReadAlike) {
    const QByteArray lines[] = {":020000000528D1", "bad", ":024200001200AA", ":00000001FF"};
    QTemporaryDir dir;
    std::vector<ImageSnapshot> results;
    for (const char* end : {"\r\n", "\n", "\r"}) {
        QByteArray text;
        for (const auto& line : lines)
            text += line + end;
        auto s = erasedSession(kPic16F877A);
        RecordingUi ui;
        LoadHexFile(*s, ui, writeFile(dir, QStringLiteral("f.hex"), text));
        EXPECT_EQ(ui.statusText, QStringLiteral("2行目はＨＥＸデータでないので読み飛ばしました。 "))
            << end;
        results.push_back(snapshot(*s));
    }
    EXPECT_EQ(differences(results[0], results[1]), "");
    EXPECT_EQ(differences(results[0], results[2]), "");
    EXPECT_EQ(results[0].program[0], 0x28);
    EXPECT_EQ(results[0].eeprom[1], 0x12);
}

TEST(HexImport, FilesOfMoreThan32767LinesLoad) {
    QByteArray text;
    for (int i = 0; i < 40000; ++i)
        text += ":020000000528D1\n";
    text += ":020002000628CE\n";
    Loaded loaded = loadText(kPic16F877A, text);
    EXPECT_EQ(loaded.session->run.HexLoadResult, QStringLiteral("OK"));
    EXPECT_EQ(programWord(*loaded.session, 1), 0x2806);
}
