// The real main window driving the board emulator on a pseudo-terminal through QSerialPort, for
// each of the four names of the PIC16F877 family: Program, Verify, Read and Blank pressed as a
// person presses them, and the chip the emulator dumps compared with the HEX by srec_cat. Then
// the chip of another kind, and the module of the other kind.
#include "operations/window_bench.h"

#include <QtTest>

using namespace tavrin;
using namespace tavrin::test;

namespace {

QString dataPath(const QString& name) {
    return QStringLiteral(TAVRIN_SOURCE_DIR "/tests/devices/pic16f87x/data/") + name;
}

// The emulator with the part in its socket, the window on it and the HEX file to open.
class FamilyBench : public Bench {
  public:
    FamilyBench(const QString& part, const QString& hexFile)
        : Bench({"--part", part.toStdString()}, dataPath(hexFile)) {}
    // The status line without the blank that separates it from an empty detail.
    QString statusLine() const {
        const QString text = status();
        return text.endsWith(QLatin1Char(' ')) ? text.chopped(1) : text;
    }
    // The HEX file's words [first, first + count), with the 14 bits a word holds.
    std::vector<std::uint16_t> hexWords(std::uint32_t first, std::uint32_t count) const {
        auto words = hexWordsBySrecCat(hex, first, count);
        for (auto& w : words)
            w &= 0x3FFF;
        return words;
    }
};

} // namespace

class FamilyWindow : public QObject {
    Q_OBJECT
  private slots:
    void everyNameEndToEnd_data();
    void everyNameEndToEnd();
    void anotherKindAsksBeforeGoingOn();
    void anotherModuleStops();
};

void FamilyWindow::everyNameEndToEnd_data() {
    QTest::addColumn<QString>("device");
    QTest::addColumn<QString>("hex");
    QTest::newRow("PIC16F877") << "PIC16F877"
                               << "blink16f877.hex";
    QTest::newRow("PIC16F877A") << "PIC16F877A"
                                << "blink16f877a.hex";
    QTest::newRow("QZ-WRT400") << "QZ-WRT400"
                               << "blink16f877.hex";
    QTest::newRow("QZ-WRT400A") << "QZ-WRT400A"
                                << "blink16f877a.hex";
}

void FamilyWindow::everyNameEndToEnd() {
    QFETCH(QString, device);
    QFETCH(QString, hex);
    FamilyBench bench(device, hex);
    QVERIFY(bench.started);
    bench.select(device);
    QCOMPARE(bench.session.device.SelectedDevice, device);
    bench.click("Cmd_open");

    bench.click("Command_pogram");
    QVERIFY2(bench.statusLine().startsWith(QStringLiteral("プログラミング成功。")),
             qPrintable(bench.statusLine()));
    QVERIFY2(bench.statusLine().endsWith(QStringLiteral("Pass = 1    Fail = 0")),
             qPrintable(bench.statusLine()));
    QVERIFY(bench.boxes.empty());
    QVERIFY(bench.log().startsWith(bench.session.run.LastResultText + QStringLiteral("  ") +
                                   device + QStringLiteral("  ID:")));
    QVERIFY(bench.controlsBack());

    bench.click("Command_Vrify");
    QCOMPARE(bench.statusLine(), QStringLiteral("ベリファイは正常終了しました。"));
    bench.click("Command_read");
    QCOMPARE(bench.statusLine(), QStringLiteral("読み出し完了。"));
    QVERIFY(bench.log().contains(QStringLiteral("\tリード 操作終了\t")));
    bench.click("Command_blank");
    QVERIFY(bench.statusLine().startsWith(QStringLiteral("デバイスは消去されてません。。")));
    QCOMPARE(bench.boxes.size(), size_t(1));
    QCOMPARE(bench.boxes[0].title, QStringLiteral("ブランクチェック"));
    QVERIFY(bench.controlsBack());

    QCOMPARE(bench.chipWords(0, 8192), bench.hexWords(0, 8192));
    // The ID field keeps the low four bits of each ID word (the rest read as erased).
    auto ids = bench.hexWords(0x2000, 4);
    for (auto& w : ids)
        w = std::uint16_t(0x3FF0 | (w & 0x0F));
    QCOMPARE(bench.chipWords(0x2000, 4), ids);
    QCOMPARE(bench.chipWords(0x2007, 1), bench.hexWords(0x2007, 1));
    // EEPROM: one data byte per location.
    auto eeprom = bench.hexWords(0x2100, 256), chipEeprom = bench.chipWords(0x2100, 256);
    for (auto* words : {&eeprom, &chipEeprom})
        for (auto& w : *words)
            w &= 0xFF;
    QCOMPARE(chipEeprom, eeprom);
}

void FamilyWindow::anotherKindAsksBeforeGoingOn() {
    FamilyBench bench(QStringLiteral("PIC16F877A"), QStringLiteral("blink16f877.hex"));
    QVERIFY(bench.started);
    bench.select(QStringLiteral("PIC16F877"));
    bench.click("Cmd_open");
    bench.answers = {MessageAnswer::Cancel};
    bench.click("Command_pogram");
    QCOMPARE(bench.boxes.size(), size_t(1));
    QCOMPARE(bench.boxes[0].title, QStringLiteral("書込みマイコンの種類の確認"));
    QCOMPARE(bench.session.run.AttemptCount, 0);
    QVERIFY(bench.controlsBack());

    bench.click("Command_read"); // OK: read the chip that is there
    QCOMPARE(bench.boxes.size(), size_t(2));
    QCOMPARE(bench.statusLine(), QStringLiteral("読み出し完了。　デバイスは消去されています。"));
}

void FamilyWindow::anotherModuleStops() {
    FamilyBench bench(QStringLiteral("QZ-WRT400"), QStringLiteral("blink16f877a.hex"));
    QVERIFY(bench.started);
    bench.select(QStringLiteral("QZ-WRT400A"));
    bench.click("Cmd_open");
    bench.click("Command_pogram");
    QCOMPARE(bench.statusLine(), QStringLiteral("モジュールが違います。"));
    QCOMPARE(bench.boxes.size(), size_t(1));
    QCOMPARE(bench.boxes[0].title, QStringLiteral("モジュールチェック"));
    QVERIFY(bench.boxes[0].text.startsWith(QStringLiteral("『ＱＺ－ＷＲＴ４００』モジュール")));
    QCOMPARE(bench.session.run.AttemptCount, 0);
    QVERIFY(bench.controlsBack());
}

QTEST_MAIN(FamilyWindow)
#include "family_window_qtest.moc"
