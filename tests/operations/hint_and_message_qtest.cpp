// frmHint and frmMsg on their own: the answers the overwrite question leaves, where it opens, and
// the message window's text and button.
#include "devices/common/overwrite_question.h"
#include "mainwindow/widgets/frm_hint.h"
#include "mainwindow/widgets/frm_msg.h"

#include <QLabel>
#include <QMainWindow>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using namespace tavrin;

class HintAndMessage : public QObject {
    Q_OBJECT
  private slots:
    void answersByButton_data();
    void answersByButton();
    void opensOverTheLowerHalfOfTheMainWindow();
    void messageWindowShowsItsTextAndCloses();
};

void HintAndMessage::answersByButton_data() {
    QTest::addColumn<QStringList>("pressed");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("overwrites");
    QTest::addColumn<int>("documents");
    QTest::newRow("はい") << QStringList{"CmdOk"} << 1 << true << 0;
    QTest::newRow("キャンセル") << QStringList{"CmdCancel"} << 2 << false << 0;
    QTest::newRow("closed") << QStringList{"close"} << 2 << false << 0;
    QTest::newRow("hint, はい") << QStringList{"CmdHint", "CmdOk"} << 1 << true << 1;
    QTest::newRow("hint, キャンセル") << QStringList{"CmdHint", "CmdCancel"} << 2 << false << 1;
    QTest::newRow("hint, closed") << QStringList{"CmdHint", "close"} << 3 << false << 1;
}

void HintAndMessage::answersByButton() {
    QFETCH(QStringList, pressed);
    QFETCH(int, answer);
    QFETCH(bool, overwrites);
    QFETCH(int, documents);
    QMainWindow main;
    main.show();
    QStringList opened;
    frmHint hint(&main, QStringLiteral("Tavrin Writer v4"), QStringLiteral("/doc/製作確認資料.pdf"),
                 [&](const QString& path) {
                     opened << path;
                     return true;
                 });
    hint.setLines(kWrittenProtectedLine, kOverwriteLine);
    QTimer::singleShot(0, [&] {
        QVERIFY(hint.isVisible());
        QCOMPARE(hint.findChild<QLabel*>(QStringLiteral("Label1_0"))->text(),
                 kWrittenProtectedLine);
        for (const QString& name : pressed) {
            if (name == QLatin1String("close"))
                hint.close();
            else
                QTest::mouseClick(hint.findChild<QPushButton*>(name), Qt::LeftButton);
        }
        // The document button leaves the question open.
        if (hint.isVisible()) hint.close();
    });
    const std::int16_t got = hint.ask();
    QCOMPARE(int(got), answer);
    QCOMPARE(consentsToOverwrite(got), overwrites);
    QCOMPARE(opened.size(), documents);
    QCOMPARE(hint.windowTitle(), QStringLiteral("Tavrin Writer v4"));
}

void HintAndMessage::opensOverTheLowerHalfOfTheMainWindow() {
    QMainWindow main;
    main.setGeometry(100, 80, 800, 600);
    main.show();
    frmHint hint(&main, QStringLiteral("Tavrin Writer v4"), QString());
    QRect at;
    QTimer::singleShot(0, [&] {
        at = hint.frameGeometry();
        hint.close();
    });
    hint.ask();
    const QRect m = main.frameGeometry();
    QCOMPARE(at.top(), m.top() + m.height() / 2);
    QVERIFY(qAbs(at.center().x() - m.center().x()) <= 1);

    // Asked while a tool window of the main window is in front (its button started the
    // operation): owned by that window so that it cannot open behind it, still placed over the
    // main window.
    QWidget tool(&main, Qt::Tool);
    tool.setGeometry(150, 120, 300, 200);
    tool.show();
    QWidget* owner = nullptr;
    QRect placed;
    QTimer::singleShot(0, [&] {
        auto* shown = qobject_cast<frmHint*>(QApplication::activeModalWidget());
        if (!shown) return;
        owner = shown->parentWidget();
        placed = shown->frameGeometry();
        shown->close();
    });
    askOverwriteWithHint(&main, QString(), kWrittenLine, kOverwriteLine, {}, &tool);
    QCOMPARE(owner, &tool);
    QCOMPARE(placed.top(), at.top());
}

void HintAndMessage::messageWindowShowsItsTextAndCloses() {
    QMainWindow main;
    main.show();
    QPointer<frmMsg> window = showMessageWindow(&main, QStringLiteral("gpasm -p16f84a a.asm"));
    QVERIFY(window->isVisible());
    QVERIFY(!window->isModal());
    QCOMPARE(window->windowTitle(), QStringLiteral("TAVRIN メッセージ"));
    QCOMPARE(window->message(), QStringLiteral("gpasm -p16f84a a.asm"));
    QCOMPARE(window->parent(), &main);
    QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("CancelButton")),
                      Qt::LeftButton);
    QTRY_VERIFY(window.isNull());
}

QTEST_MAIN(HintAndMessage)
#include "hint_and_message_qtest.moc"
