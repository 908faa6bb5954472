#include "device_file_fixture.h"

#include "core/device_file_text.h"
#include "core/device_list_scan.h"

#include <QStringEncoder>

using namespace tavrin;
using tavrin::test::deviceBlock;

namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

} // namespace

class DeviceListTest : public tavrin::test::DeviceFileFixture {};

TEST_F(DeviceListTest, ListsPicAndQzNamesInFileOrderAndWritesThePartList) {
    writeFile(QStringLiteral("VERSION 0 9 9 9\r\n") + deviceBlock("PIC16F84A", {"PGM 0x3FF"}) +
              deviceBlock("ABC123", {"PGM 0x3FF"}) + deviceBlock("QZ-WRT400", {"PGM 0x1FFF"}) +
              deviceBlock("pic16f628", {}) + QStringLiteral("#BEGIN\r\n\r\n#END\r\n") +
              deviceBlock("PIC12C508A extra words", {"VERSION 1 2 3 4"}) +
              deviceBlock("PIC16F84A", {"PGM 0x1"}) + QStringLiteral("#BEGIN\n"));

    ASSERT_TRUE(LoadDeviceList(*s, ui, paths));
    const QStringList expected = {"PIC16F84A", "QZ-WRT400", "PIC12C508A", "PIC16F84A"};
    EXPECT_EQ(s->device.DeviceNames, expected);
    EXPECT_EQ(ui.deviceList, expected);
    // The last VERSION wins, even one standing inside a block.
    EXPECT_EQ(s->device.DeviceFileVersion, QStringLiteral("1234"));
    EXPECT_EQ(s->device.DeviceFileError, 0);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(readAll(paths.inData(QStringLiteral("Support_PIC_List.txt"))),
              QByteArray("PIC16F84A\r\nQZ-WRT400\r\nPIC12C508A\r\nPIC16F84A\r\n"));
}

TEST_F(DeviceListTest, MissingFileShowsTheCriticalBoxAndKeepsTheList) {
    ui.deviceList = QStringList({"kept"});
    ASSERT_FALSE(LoadDeviceList(*s, ui, paths));
    EXPECT_EQ(s->device.DeviceFileError, 1);
    EXPECT_TRUE(s->device.DeviceNames.isEmpty());
    EXPECT_EQ(ui.deviceList, QStringList({"kept"}));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Critical);
    EXPECT_EQ(ui.messages[0].buttons, MessageButtons::Ok);
    EXPECT_EQ(ui.messages[0].title, QStringLiteral("設定ファイルを開けませんでした"));
    EXPECT_EQ(ui.messages[0].text,
              QStringLiteral("デバイス情報設定ファイル "
                             "'device6.ini'が、以下のフォルダーに有りませんでした。") +
                  QDir::toNativeSeparators(dir.path() + QLatin1Char('/')));

    // No device file found anywhere: the message names the folder a copy may go to.
    paths.deviceFile.clear();
    ASSERT_FALSE(LoadDeviceList(*s, ui, paths));
    EXPECT_TRUE(ui.messages.back().text.endsWith(paths.dataDir + QLatin1Char('/')));

    // Searched for in three places: the message names all three, one a line.
    paths.searchedDirs = {QStringLiteral("/opt/tw/bin"), QStringLiteral("/usr/share/tw"),
                          paths.dataDir};
    ASSERT_FALSE(LoadDeviceList(*s, ui, paths));
    EXPECT_EQ(ui.messages.back().text,
              QStringLiteral("デバイス情報設定ファイル "
                             "'device6.ini'が、以下のフォルダーに有りませんでした。"
                             "\r\n/opt/tw/bin/\r\n/usr/share/tw/\r\n") +
                  paths.dataDir + QLatin1Char('/'));
}

TEST_F(DeviceListTest, LimitsThatWereOnlyArraySizesDoNotStopTheList) {
    // A long prose line outside the blocks and more than 1024 names.
    QString text = QStringLiteral("note:") + QString(QStringLiteral(" word")).repeated(100) +
                   QStringLiteral("\r\n");
    for (int i = 0; i < 1100; ++i)
        text += deviceBlock(QStringLiteral("PIC%1").arg(i), {});
    writeFile(text);
    ASSERT_TRUE(LoadDeviceList(*s, ui, paths));
    ASSERT_EQ(s->device.DeviceNames.size(), 1100);
    EXPECT_EQ(s->device.DeviceNames.last(), QStringLiteral("PIC1099"));
}

TEST_F(DeviceListTest, ReadsCp932AndLfFiles) {
    QStringEncoder sjis("Shift_JIS");
    writeBytes(sjis.encode(QStringLiteral("; デバイス定義\nVERSION 2 . 0 1\n#BEGIN\nPIC16F877A\n"
                                          "COMMENT ４０ピン\nPGM_TYPE FLASH8\nPGM 0x1FFF\n"
                                          "EEPROM 0xFF\nCONFIG1 0x3FFF 0 0 0x3FFF\n#END\n")));
    ASSERT_TRUE(LoadDeviceList(*s, ui, paths));
    EXPECT_EQ(s->device.DeviceNames, QStringList({"PIC16F877A"}));
    EXPECT_EQ(s->device.DeviceFileVersion, QStringLiteral("2.01"));
    ASSERT_TRUE(select(QStringLiteral("PIC16F877A")));
    EXPECT_EQ(s->device.DeviceComment, QStringLiteral(" ４０ピン    "));
}

TEST_F(DeviceListTest, PartListWriteFailureIsOnlyAWarning) {
    writeFile(deviceBlock("PIC16F84A", {}));
    paths.dataDir = dir.filePath(QStringLiteral("no/such/folder"));
    ASSERT_TRUE(LoadDeviceList(*s, ui, paths));
    EXPECT_EQ(ui.deviceList, QStringList({"PIC16F84A"}));
    EXPECT_EQ(ui.statusColor, StatusColor::Red);
    EXPECT_TRUE(ui.statusText.contains(QStringLiteral("Support_PIC_List.txt")));
}

TEST_F(DeviceListTest, EmptyGarbageAndOversizedFilesAreNotCalledMissing) {
    using tavrin::test::RecordingUi;
    const QByteArray oversized(int(tavrin::MaxDeviceFileBytes) + 1, ';');
    const struct {
        QByteArray bytes;
        const char* said;
    } cases[] = {
        {"", "#BEGIN"},
        {"\x01\x02garbage\xff\r\nnot a device file\r\n", "#BEGIN"},
        {oversized, "大きすぎます"},
    };
    for (const auto& c : cases) {
        RecordingUi seen;
        writeBytes(c.bytes);
        EXPECT_FALSE(LoadDeviceList(*s, seen, paths));
        EXPECT_EQ(s->device.DeviceFileError, 1);
        ASSERT_EQ(seen.messages.size(), 1u);
        EXPECT_TRUE(seen.messages[0].text.contains(QString::fromUtf8(c.said)))
            << seen.messages[0].text.toStdString();
        EXPECT_FALSE(seen.messages[0].text.contains(QStringLiteral("有りませんでした")));
    }
}
