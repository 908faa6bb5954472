// The search window and the memory picture offscreen, driven as a person would.
#include "core/operation_guard.h"
#include "core/session.h"
#include "core/settings_store.h"
#include "support/device_fixtures.h"
#include "support/recording_ui.h"
#include "tools/widgets/frm_mem_status.h"
#include "tools/widgets/frm_serch.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace tavrin;
using namespace tavrin::test;

class ListingWindowsTest : public QObject {
    Q_OBJECT
  private slots:
    void searchListsMarksCountsAndSaves();
    void twelveBitPartsGetNoSearchAndPic18IsRefused();
    void searchIsRefusedWhileAnOperationRuns();
    void memoryPicturePaintsFromTheImageAtEachPress();
};

namespace {
struct Rig {
    Rig() {
        fillPic16F84A(s.device);
        std::fill(s.buffer.ProgramImage.begin(), s.buffer.ProgramImage.end(), 0);
        for (int k = 0; k < 1024; ++k) {
            s.buffer.ProgramImage[2 * k] = 0x3F;
            s.buffer.ProgramImage[2 * k + 1] = 0xFF;
        }
        // movlw 0x3F; goto 1
        s.buffer.ProgramImage[0] = 0x30;
        s.buffer.ProgramImage[1] = 0x3F;
        s.buffer.ProgramImage[2] = 0x28;
        s.buffer.ProgramImage[3] = 0x01;
        s.buffer.ConfigIdImage[14] = 0x3F;
        s.buffer.ConfigIdImage[15] = 0xF1;
    }
    Session s;
    RecordingUi ui;
    MemorySettingsStore settings;
    QTemporaryDir dir;
};

QPushButton* button(QWidget& w, const char* name) {
    return w.findChild<QPushButton*>(QLatin1String(name));
}
} // namespace

void ListingWindowsTest::searchListsMarksCountsAndSaves() {
    Rig rig;
    frmSerch w(rig.s, rig.ui, rig.settings, rig.dir.path(), [] { return QStringLiteral("0102"); });
    QStringList warnings;
    w.setWarningSink([&](const QString& t) { warnings << t; });
    QVERIFY(button(w, "CmdSerch")->isEnabled());
    QVERIFY(!button(w, "CmdSaveAsm")->isEnabled());

    w.searchCode(0)->setText(QStringLiteral("3fff"));
    w.searchCode(2)->setText(QStringLiteral("0000"));
    QTest::mouseClick(button(w, "CmdSerch"), Qt::LeftButton);
    QCOMPARE(w.searchCode(0)->text(), QStringLiteral("3FFF"));
    auto* count = w.findChild<QLabel*>(QStringLiteral("Lbl_flag_cnt"));
    // Every word matches 0000; the erased ones also 3FFF, still counted once.
    QCOMPARE(count->text(), QStringLiteral("1024個所のコード置き換えが可能です。"));
    QFile work(QDir(rig.dir.path()).filePath(QStringLiteral("dis_asm.asm")));
    QVERIFY(work.open(QIODevice::ReadOnly));
    const QByteArray listing = work.readAll();
    QVERIFY(listing.contains("\t\t__IDLOCS    H'0102'\r\n"));
    QVERIFY(listing.contains("\t\tMOVLW \t H'3F'  \t\t; 000000  (303F)  changeable 0000 \r\n"));
    QVERIFY(
        listing.contains("L_0001\t\tGOTO  \t L_0001  \t\t; 000001  (2801)  changeable 0000 \r\n"));
    QVERIFY(listing.contains("(3FFF)  changeable 3FFF 0000 \r\n"));
    auto* result = w.findChild<QPlainTextEdit*>(QStringLiteral("RichResult"));
    QVERIFY(result->toPlainText().contains(QStringLiteral("                END")));
    QVERIFY(warnings.isEmpty());

    // Save: a new file is written without a question, the folder kept; over an existing file
    // the question comes first and Cancel keeps the file.
    const QString target = QDir(rig.dir.path()).filePath(QStringLiteral("copy.asm"));
    int questions = 0;
    bool answer = false;
    w.setSavePathAnswer([&](const QString&) { return target; });
    w.setQuestionAnswer([&](const QString& title, const QString& text) {
        ++questions;
        (void)title;
        (void)text;
        return answer;
    });
    QTest::mouseClick(button(w, "CmdSaveAsm"), Qt::LeftButton);
    QCOMPARE(questions, 0);
    QFile saved(target);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readAll(), listing);
    saved.close();
    QCOMPARE(rig.settings.value(QStringLiteral("SAVE_DIR_asm"), QString()),
             QDir::toNativeSeparators(rig.dir.path()));

    QVERIFY(saved.open(QIODevice::WriteOnly | QIODevice::Truncate));
    saved.write("mine");
    saved.close();
    QTest::mouseClick(button(w, "CmdSaveAsm"), Qt::LeftButton);
    QCOMPARE(questions, 1);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readAll(), QByteArray("mine"));
    saved.close();

    // A folder that cannot be written is said so; the setting stays.
    rig.settings.setValue(QStringLiteral("SAVE_DIR_asm"), QStringLiteral("kept"));
    w.setSavePathAnswer([&](const QString&) { return rig.dir.path() + "/missing/x.asm"; });
    QTest::mouseClick(button(w, "CmdSaveAsm"), Qt::LeftButton);
    QCOMPARE(warnings.size(), 1);
    QCOMPARE(rig.settings.value(QStringLiteral("SAVE_DIR_asm"), QString()), QStringLiteral("kept"));
}

void ListingWindowsTest::twelveBitPartsGetNoSearchAndPic18IsRefused() {
    Rig rig;
    fillPic12C508A(rig.s.device);
    {
        frmSerch w(rig.s, rig.ui, rig.settings, rig.dir.path(), {});
        QVERIFY(!button(w, "CmdSerch")->isEnabled());
    }
    fillPic18F452(rig.s.device);
    std::fill(rig.s.buffer.ProgramImage.begin(), rig.s.buffer.ProgramImage.end(), 0xFF);
    frmSerch w(rig.s, rig.ui, rig.settings, rig.dir.path(), {});
    QStringList warnings;
    w.setWarningSink([&](const QString& t) { warnings << t; });
    QTest::mouseClick(button(w, "CmdSerch"), Qt::LeftButton);
    QCOMPARE(warnings.size(), 1);
    QVERIFY(warnings[0].contains(QStringLiteral("１４ビットコア")));
    QVERIFY(!QFile::exists(QDir(rig.dir.path()).filePath(QStringLiteral("dis_asm.asm"))));
}

void ListingWindowsTest::searchIsRefusedWhileAnOperationRuns() {
    Rig rig;
    rig.s.run.OperationRunning = true;
    frmSerch w(rig.s, rig.ui, rig.settings, rig.dir.path(), {});
    QTest::mouseClick(button(w, "CmdSerch"), Qt::LeftButton);
    QVERIFY(!QFile::exists(QDir(rig.dir.path()).filePath(QStringLiteral("dis_asm.asm"))));

    // A listing shown before the operation began: its save dialog would wait for the person
    // inside the operation's wait for the board, so it is not opened.
    rig.s.run.OperationRunning = false;
    QTest::mouseClick(button(w, "CmdSerch"), Qt::LeftButton);
    QVERIFY(button(w, "CmdSaveAsm")->isEnabled());
    rig.s.run.OperationRunning = true;
    int asked = 0;
    w.setSavePathAnswer([&](const QString&) {
        ++asked;
        return QDir(rig.dir.path()).filePath(QStringLiteral("copy.asm"));
    });
    QTest::mouseClick(button(w, "CmdSaveAsm"), Qt::LeftButton);
    QCOMPARE(asked, 0);
    QVERIFY(!QFile::exists(QDir(rig.dir.path()).filePath(QStringLiteral("copy.asm"))));
    QVERIFY(rig.ui.statusText.startsWith(kOperationRunningText));
}

void ListingWindowsTest::memoryPicturePaintsFromTheImageAtEachPress() {
    Rig rig;
    frmMemStatus w(rig.s);
    w.resize(700, 260);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    // A program of 100 words at the start.
    std::fill(rig.s.buffer.ProgramImage.begin(), rig.s.buffer.ProgramImage.begin() + 200, 0);
    QTest::mouseClick(button(w, "CmdDisplay"), Qt::LeftButton);
    QImage page0 = w.picture(0)->grab().toImage();
    const int h = page0.height() / 2;
    // The program shows the used colour; the erased rest of the painted half is lined black.
    QCOMPARE(page0.pixelColor(int(erasedLineX(50, page0.width() * 15) / 15), h),
             QColor::fromRgb(kUsedColourRgb));
    const int x = int(erasedLineX(1000, page0.width() * 15) / 15);
    QCOMPARE(page0.pixelColor(x, h), QColor(Qt::black));
    // The other pages keep the face colour.
    const QImage page1 = w.picture(1)->grab().toImage();
    QCOMPARE(page1.pixelColor(page1.width() / 2, h), w.palette().color(QPalette::Button));

    // A fully programmed image shows no line at the next press.
    std::fill(rig.s.buffer.ProgramImage.begin(), rig.s.buffer.ProgramImage.begin() + 2048, 0);
    QTest::mouseClick(button(w, "CmdDisplay"), Qt::LeftButton);
    page0 = w.picture(0)->grab().toImage();
    QCOMPARE(page0.pixelColor(x, h), QColor::fromRgb(kUsedColourRgb));
}

QTEST_MAIN(ListingWindowsTest)
#include "listing_windows_test.moc"
