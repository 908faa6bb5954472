// What the run command gives a person: the program started with no settings at all and the board
// emulator's port named only as the stand-in port (TAVRIN_DEFAULT_PORT). The person picks the
// part, loads a HEX file and presses Program; the emulated chip then holds the file.
#include "hex_oracle.h"

#include "emusupport/emulator_process.h"
#include "support/app_bench.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace tavrin;
using namespace tavrin::test;

class RunCommand : public QObject {
    Q_OBJECT
  private slots:
    void pickLoadAndProgram();
};

void RunCommand::pickLoadAndProgram() {
    const QString hex = QStringLiteral(TAVRIN_SOURCE_DIR "/tests/mainwindow/data/blink877a.hex");
    const std::string dump = EmulatorProcess::uniquePath("tavrin-run-dump") + ".hex";
    // As scripts/run.sh starts it, but unpaced: the pseudo-terminal has no baud rate anyway.
    EmulatorProcess board({"--part", "PIC16F877A", "--baud", "0", "--link",
                           EmulatorProcess::uniquePath("tavrin-board"), "--dump", dump});
    std::string error;
    QVERIFY2(board.start(&error), error.c_str());

    QTemporaryDir dir;
    Application app(appOptionsIn(dir, QString::fromStdString(board.portPath())));
    QStringList boxes;
    recordBoxes(app.window(), boxes, u':');
    app.window().setFileDialogAnswer([&](const FileDialogRequest&, bool) { return hex; });
    QCOMPARE(app.start(), StartupOutcome::Ready);

    frmMain& window = app.window();
    auto* list = window.findChild<QComboBox*>(QStringLiteral("Combo_device"));
    list->setCurrentIndex(list->findText(QStringLiteral("PIC16F877A")));
    window.Combo_device_Click();
    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("Cmd_open")), Qt::LeftButton);
    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("Command_pogram")),
                      Qt::LeftButton);

    const QString status = window.findChild<QLabel*>(QStringLiteral("LabelCmt"))->text();
    QVERIFY2(status.startsWith(QStringLiteral("プログラミング成功。")), qPrintable(status));
    QVERIFY2(boxes.isEmpty(), qPrintable(boxes.join(QLatin1Char('\n'))));
    QFile log(app.paths().inData(QStringLiteral("LOG_NEW0.txt")));
    QVERIFY(log.open(QIODevice::ReadOnly));
    QVERIFY(QString::fromUtf8(log.readAll()).contains(QStringLiteral("  PIC16F877A  ID:")));

    app.shutdown();
    QCOMPARE(board.stop(), 0);
    auto expected = hexWordsBySrecCat(hex, 0, 8192);
    auto chip = hexWordsBySrecCat(QString::fromStdString(dump), 0, 8192);
    QFile::remove(QString::fromStdString(dump));
    QCOMPARE(chip.size(), expected.size());
    for (std::size_t w = 0; w < expected.size(); ++w)
        QCOMPARE(chip[w] & 0x3FFF, expected[w] & 0x3FFF);
}

QTEST_MAIN(RunCommand)
#include "run_command_qtest.moc"
