// HEX files whose paths hold what a person's folders hold (Japanese names, blanks, quotes, a
// hash): opened from the File menu, programmed into the emulated chip, named in the log and the
// title, and saved under such a name, through the real window.
#include "window_bench.h"

#include <QtTest>

using namespace tavrin;
using namespace tavrin::test;

class HexPathWindow : public QObject {
    Q_OBJECT
  private slots:
    void anyPathIsOpenedProgrammedLoggedAndSaved_data();
    void anyPathIsOpenedProgrammedLoggedAndSaved();
};

void HexPathWindow::anyPathIsOpenedProgrammedLoggedAndSaved_data() {
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("name");
    QTest::newRow("Japanese with blanks") << "書き込み データ"
                                          << "カウンタ 84A.hex";
    QTest::newRow("quotes and hash") << "it's \"mine\""
                                     << "#1 a'b\".HEX";
    QTest::newRow("accents") << "Projets été"
                             << "compteur-ü.hex";
}

void HexPathWindow::anyPathIsOpenedProgrammedLoggedAndSaved() {
    QFETCH(QString, folder);
    QFETCH(QString, name);
    QTemporaryDir root;
    QVERIFY(QDir(root.path()).mkpath(folder));
    const QString dir = QDir(root.path()).filePath(folder);
    const QString source = testDataPath(QStringLiteral("counter84a.hex"));
    const QString path = QDir(dir).filePath(name);
    QVERIFY(QFile::copy(source, path));

    Bench bench({"--part", "PIC16F84A"}, path);
    QVERIFY(bench.started);
    bench.select(QStringLiteral("PIC16F84A"));
    bench.click("Cmd_open");
    QCOMPARE(bench.window->windowTitle(), QStringLiteral("TW - ") + path);
    QCOMPARE(bench.session.buffer.ProgramImage[0] * 256 + bench.session.buffer.ProgramImage[1],
             0x2805);

    bench.click("Command_pogram");
    QVERIFY2(bench.status().startsWith(QStringLiteral("プログラミング成功。")),
             qPrintable(bench.status()));
    QVERIFY2(bench.log().contains(QStringLiteral("  ") + path + QLatin1Char('\t')),
             qPrintable(bench.log()));

    bench.saveAs = QDir(dir).filePath(QStringLiteral("保存 ") + name);
    bench.click("Cmd_save");
    QCOMPARE(bench.status(),
             QStringLiteral("ファイル保存完了。 ") + bench.saveAs + QLatin1Char(' '));
    // The ID words are kept as their low digits and saved with the unused bits set.
    QCOMPARE(srecCompareWithin(source, bench.saveAs, {{0x4000, 0x4008}}), QString());
    const auto expected = hexWordsBySrecCat(source, 0, 1024);
    const auto chip = bench.chipProgram(1024);
    for (int w = 0; w < 1024; ++w)
        QCOMPARE(int(chip[w]), int(expected[w] & 0x3FFF));
}

QTEST_MAIN(HexPathWindow)
#include "hex_path_window_qtest.moc"
