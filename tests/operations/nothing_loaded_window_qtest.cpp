// Opening a file that holds no HEX data (a source file picked by mistake) while a program is
// loaded: the real main window says nothing was loaded, and the buffer, its views, the ID, the
// configuration display and the title stay as they were.
#include "window_bench.h"

#include <QLineEdit>
#include <QTableWidget>
#include <QtTest>

using namespace tavrin;
using namespace tavrin::test;

namespace {

// Everything the person sees of the buffer, and the buffer itself.
struct Shown {
    QString title, programView, eepromView, id, config1, config2, checksum, grid1Header;
    QString hexFilePath;
    std::vector<std::uint8_t> program, eeprom, configId, id18;
    std::vector<std::int32_t> configValues;

    bool operator==(const Shown&) const = default;
};

Shown shown(const Bench& b) {
    const Session& s = b.session;
    Shown out;
    out.title = b.window->windowTitle();
    out.programView = b.programView();
    out.eepromView = b.find<QPlainTextEdit>("rText_EepromMem")->toPlainText();
    out.id = b.find<QLineEdit>("Text_ID")->text();
    out.config1 = b.find<QLabel>("Text_Config1")->text();
    out.config2 = b.find<QLabel>("Text_Config2")->text();
    out.checksum = b.find<QLabel>("LblCheckSUM")->text();
    out.grid1Header = b.find<QTableWidget>("HFGrid1")->horizontalHeaderItem(1)->text();
    out.hexFilePath = s.app.HexFilePath;
    out.program.assign(s.buffer.ProgramImage.begin(), s.buffer.ProgramImage.end());
    out.eeprom.assign(s.buffer.EepromImage.begin(), s.buffer.EepromImage.end());
    out.configId.assign(s.buffer.ConfigIdImage.begin(), s.buffer.ConfigIdImage.end());
    out.id18.assign(s.buffer.Id18Image.begin(), s.buffer.Id18Image.end());
    out.configValues.assign(s.device.ConfigValue.begin(), s.device.ConfigValue.begin() + 8);
    return out;
}

QString differences(const Shown& a, const Shown& b) {
    QStringList out;
    auto check = [&](const char* what, bool same) {
        if (!same) out << QString::fromLatin1(what);
    };
    check("title", a.title == b.title);
    check("program view", a.programView == b.programView);
    check("EEPROM view", a.eepromView == b.eepromView);
    check("ID", a.id == b.id);
    check("Config1", a.config1 == b.config1);
    check("Config2", a.config2 == b.config2);
    check("checksum", a.checksum == b.checksum);
    check("grid header", a.grid1Header == b.grid1Header);
    check("HexFilePath", a.hexFilePath == b.hexFilePath);
    check("program image", a.program == b.program);
    check("EEPROM image", a.eeprom == b.eeprom);
    check("ID/configuration image", a.configId == b.configId);
    check("PIC18 ID", a.id18 == b.id18);
    check("configuration words", a.configValues == b.configValues);
    return out.join(QStringLiteral(", "));
}

} // namespace

class NothingLoadedWindow : public QObject {
    Q_OBJECT
  private slots:
    void aFileWithoutHexDataChangesNothing_data();
    void aFileWithoutHexDataChangesNothing();
};

void NothingLoadedWindow::aFileWithoutHexDataChangesNothing_data() {
    QTest::addColumn<QString>("part");
    QTest::addColumn<QByteArray>("program");
    QTest::newRow("PIC16F877A") << "PIC16F877A"
                                << QByteArray(":040000008A01052826\r\n:02400E00723F0F\r\n"
                                              ":00000001FF\r\n");
    QTest::newRow("PIC18F452") << "PIC18F452"
                               << QByteArray(":020000040000FA\r\n:0400000004EF00F019\r\n"
                                             ":020000040030CA\r\n:0200000000222C\r\n"
                                             ":020000040020DA\r\n:080000000102030405060708DC\r\n"
                                             ":00000001FF\r\n");
}

void NothingLoadedWindow::aFileWithoutHexDataChangesNothing() {
    QFETCH(QString, part);
    QFETCH(QByteArray, program);
    QTemporaryDir files;
    const QString programFile = files.filePath(QStringLiteral("program.hex"));
    {
        QFile f(programFile);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(program);
    }
    Bench bench({"--part", part.toStdString()}, programFile);
    QVERIFY(bench.started);
    bench.select(part);
    bench.click("Cmd_open");
    QCOMPARE(bench.session.run.HexLoadResult, QStringLiteral("OK"));
    const Shown before = shown(bench);
    QVERIFY(before.title.endsWith(programFile));

    // A source file: not one line of it is a HEX record.
    bench.hex = testDataPath(QStringLiteral("counter84a.asm"));
    bench.click("Cmd_open");
    QVERIFY2(bench.status().contains(
                 QStringLiteral("ロードできるデータがなかったので、何もロードしませんでした。")),
             qPrintable(bench.status()));
    QCOMPARE(differences(shown(bench), before), QString());
    QVERIFY(bench.boxes.empty());
}

QTEST_MAIN(NothingLoadedWindow)
#include "nothing_loaded_window_qtest.moc"
