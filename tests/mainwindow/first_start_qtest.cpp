// The main window at a first start, nothing saved, on a screen with room beside it: the board
// picture opens beside the main window, clear of its menus and buttons, and a long status text
// does not widen the main window.
#include "core/device_file.h"
#include "core/settings_store.h"
#include "mainwindow/logic/real_core_services.h"
#include "mainwindow/widgets/frm_board.h"
#include "mainwindow/widgets/frm_main.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace tavrin;

namespace {

struct Window {
    Session session;
    std::unique_ptr<QtSettingsStore> settings;
    std::unique_ptr<frmMain> w;

    explicit Window(const QTemporaryDir& dir) {
        settings = std::make_unique<QtSettingsStore>(dir.filePath(QStringLiteral("settings.ini")));
        const AppPaths paths{
            QStringLiteral(TAVRIN_SOURCE_DIR "/tests/mainwindow/data/small_parts.ini"), dir.path()};
        w = std::make_unique<frmMain>(session, *settings, realCoreServices(paths));
        w->setAppPaths(paths);
        w->move(0, 0);
        w->show();
        QVERIFY(LoadDeviceList(session, *w, paths));
    }
    void select(const QString& device) {
        w->selectDeviceByIndex(int(session.device.DeviceNames.indexOf(device)));
        QCoreApplication::processEvents();
    }
};

} // namespace

class FirstStart : public QObject {
    Q_OBJECT
  private slots:
    void boardWindowOpensBesideTheMainWindow() {
        QTemporaryDir dir;
        QPoint left;
        {
            Window t(dir);
            t.select(QStringLiteral("PIC16F84A"));
            frmBoard* board = t.w->boardWindow();
            QVERIFY(board->isVisible());
            const QRect main = t.w->frameGeometry();
            QVERIFY(!board->frameGeometry().intersects(main));
            QVERIFY(board->frameGeometry().left() > main.right());
            QCOMPARE(board->frameGeometry().top(), main.top());
            // Moved by the person: the next start puts it there.
            board->move(board->pos() + QPoint(5, 7));
            left = board->pos();
            t.w->close(); // which hides the board window and keeps its place
        }
        Window again(dir);
        again.select(QStringLiteral("PIC16F84A"));
        QCOMPARE(again.w->boardWindow()->pos(), left);
    }

    void longStatusTextsDoNotWidenTheWindow() {
        QTemporaryDir dir;
        Window t(dir);
        QCoreApplication::processEvents();
        const int width = t.w->width();
        const int minimum = t.w->minimumSizeHint().width();
        for (int length : {40, 200, 800}) {
            t.w->showStatusLine(QStringLiteral("長い状態表示").repeated(length / 6),
                                StatusColor::Black);
            QCoreApplication::processEvents();
            QCOMPARE(t.w->width(), width);
            QCOMPARE(t.w->minimumSizeHint().width(), minimum);
        }
    }
};

// A screen wider than the main window, so that there is room beside it.
int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            "offscreen:configfile=" TAVRIN_SOURCE_DIR "/tests/mainwindow/data/wide_screen.json");
    QApplication app(argc, argv);
    FirstStart test;
    return QTest::qExec(&test, argc, argv);
}

#include "first_start_qtest.moc"
