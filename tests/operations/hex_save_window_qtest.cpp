// Saving the buffer from the real main window, with the chip read from the emulated board first as
// at the bench: a file whose load passed over lines is said to be loaded in part, and a save over
// it asks first, naming what would be lost, with "no" under Enter; a save that fails leaves the
// title, the current file and the save folder as they were.
#include "window_bench.h"

#include <QMessageBox>
#include <QtTest>

using namespace tavrin;
using namespace tavrin::test;

namespace {

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The counter program with twelve program lines damaged (their ":" gone), lines 3 to 14.
QByteArray damagedHex() {
    QByteArray text = ":020000040000FA\r\n:020000000528D1\r\n";
    for (int i = 0; i < 12; ++i)
        text += QByteArray("10") + QByteArray::number(0x10 + 16 * i, 16).rightJustified(4, '0') +
                "0086018601860AFF308D008D0B0C28092812\r\n";
    text += ":08000800090083168601831232\r\n:084000000100020003000400AE\r\n:00000001FF\r\n";
    return text;
}

// The message box the window shows next, as the person sees it, answered with Enter.
struct EnterInBox {
    QString text;
    bool enterSaysNo = false;
    void arm() {
        QTimer::singleShot(10, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return arm();
            text = box->text();
            enterSaysNo = box->defaultButton() &&
                          box->standardButton(box->defaultButton()) == QMessageBox::No;
            QTest::keyClick(box, Qt::Key_Return);
        });
    }
};

// Boxes answered and recorded as the bench does (after a test let one through to the person).
void recordBoxesAgain(Bench& bench) {
    bench.window->setMessageBoxAnswer(
        [&bench](MessageIcon, MessageButtons, const QString& title, const QString& text) {
            bench.boxes.push_back({title, text});
            return bench.answers.isEmpty() ? bench.boxAnswer : bench.answers.takeFirst();
        });
}

} // namespace

class HexSaveWindow : public QObject {
    Q_OBJECT
  private slots:
    void aPartlyLoadedFileIsToldAndKeptUnlessThePersonSaysSo();
    void aFailedSaveLeavesTitleFileAndFolder();
};

void HexSaveWindow::aPartlyLoadedFileIsToldAndKeptUnlessThePersonSaysSo() {
    QTemporaryDir files;
    const QString path = files.filePath(QStringLiteral("counter.hex"));
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(damagedHex());
    }
    const QByteArray original = fileBytes(path);
    Bench bench({"--part", "PIC16F84A"}, path);
    QVERIFY(bench.started);
    bench.select(QStringLiteral("PIC16F84A"));
    bench.click("Command_read");
    bench.boxes.clear();

    bench.click("Cmd_open");
    const QString skipped =
        QStringLiteral("ＨＥＸデータでない12行（3、4、5、6、7、8、9、10、11、12行目ほか）");
    QCOMPARE(bench.boxes.size(), std::size_t(1));
    QCOMPARE(bench.boxes[0].title, QStringLiteral("ファイルロード"));
    QVERIFY2(bench.boxes[0].text.contains(skipped), qPrintable(bench.boxes[0].text));
    QCOMPARE(bench.window->windowTitle(), QStringLiteral("TW - ") + path);
    QCOMPARE(bench.session.buffer.ProgramImage[0] * 256 + bench.session.buffer.ProgramImage[1],
             0x2805);

    // Saved over by the File menu's proposal: the question names the loss, and Enter keeps the
    // file.
    bench.saveAs = path;
    bench.window->setMessageBoxAnswer({});
    EnterInBox question;
    question.arm();
    bench.click("Cmd_save");
    QVERIFY2(question.text.contains(skipped) &&
                 question.text.contains(QStringLiteral("失われます")),
             qPrintable(question.text));
    QVERIFY(question.enterSaysNo);
    QCOMPARE(bench.status(), QStringLiteral("ファイル保存をキャンセルしました。  "));
    QCOMPARE(fileBytes(path), original);

    // Told "yes", the save replaces the file, which then holds the whole buffer: the next save
    // over it asks the usual question.
    recordBoxesAgain(bench);
    bench.boxes.clear();
    bench.answers = {MessageAnswer::Yes, MessageAnswer::Cancel};
    bench.click("Cmd_save");
    QVERIFY2(bench.status().startsWith(QStringLiteral("ファイル保存完了。")),
             qPrintable(bench.status()));
    QVERIFY(fileBytes(path) != original);
    bench.click("Cmd_save");
    QCOMPARE(bench.boxes.size(), std::size_t(2));
    QCOMPARE(bench.boxes[1].text, QStringLiteral("ファイルが存在します。上書きしますか？"));
}

void HexSaveWindow::aFailedSaveLeavesTitleFileAndFolder() {
    Bench bench({"--part", "PIC16F84A"});
    QVERIFY(bench.started);
    bench.select(QStringLiteral("PIC16F84A"));
    bench.click("Cmd_open");
    QTemporaryDir out;
    const QString kept = out.filePath(QStringLiteral("kept.hex"));
    bench.saveAs = kept;
    bench.click("Cmd_save");
    QVERIFY2(bench.status().startsWith(QStringLiteral("ファイル保存完了。")),
             qPrintable(bench.status()));
    const QString title = bench.window->windowTitle();
    QCOMPARE(title, QStringLiteral("TW - ") + kept);

    const QString lost = out.filePath(QStringLiteral("no such folder/lost.hex"));
    bench.saveAs = lost;
    bench.boxes.clear();
    bench.click("Cmd_save");
    QCOMPARE(bench.boxes.size(), std::size_t(1));
    QVERIFY2(bench.boxes[0].text.startsWith(QStringLiteral("ファイルを保存できませんでした。")),
             qPrintable(bench.boxes[0].text));
    QVERIFY(!QFile::exists(lost));
    QCOMPARE(bench.window->windowTitle(), title);
    QCOMPARE(bench.session.app.HexFilePath, kept);
    QCOMPARE(bench.settings->value(QStringLiteral("SAVE_DIR"), QString()), out.path());
}

QTEST_MAIN(HexSaveWindow)
#include "hex_save_window_qtest.moc"
