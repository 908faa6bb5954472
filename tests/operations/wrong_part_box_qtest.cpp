// The wrong-part question of the socket check as the real window shows it: Enter must not carry
// on with a chip the person did not choose, so Cancel is the box's default button.
#include "core/app_paths.h"
#include "core/device_file.h"
#include "core/session.h"
#include "core/settings_store.h"
#include "emusupport/emulated_board.h"
#include "link/board_link.h"
#include "mainwindow/logic/real_core_services.h"
#include "mainwindow/widgets/frm_main.h"
#include "steps/socket_check.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <memory>

using namespace tavrin;
using namespace tavrin::test;

class WrongPartBox : public QObject {
    Q_OBJECT
  private slots:
    void enterCancels();
};

void WrongPartBox::enterCancels() {
    QTemporaryDir dir;
    QtSettingsStore settings(dir.filePath(QStringLiteral("settings.ini")));
    const AppPaths paths{QStringLiteral(TAVRIN_SOURCE_DIR "/data/device6.ini"), dir.path()};
    Session session;
    frmMain window(session, settings, realCoreServices(paths));
    window.setAppPaths(paths);
    window.show();
    QVERIFY(LoadDeviceList(session, window, paths));
    window.selectDeviceByIndex(
        int(session.device.DeviceNames.indexOf(QStringLiteral("PIC16F84A"))));
    QCOMPARE(session.device.SelectedDevice, QStringLiteral("PIC16F84A"));

    EmulatedBoard emu("PIC16F628A");
    session.link.ComPortName = QStringLiteral("emulated");
    BoardLink link(session, window, emu.port, emu.clock);
    QString result;
    link.CheckProgrammer(result);
    QCOMPARE(result, result::OK);

    QString title;
    QString defaultText;
    QTimer poll;
    poll.setInterval(10);
    connect(&poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        poll.stop();
        title = box->windowTitle();
        if (box->defaultButton()) defaultText = box->defaultButton()->text();
        QTest::keyClick(box, Qt::Key_Return);
    });
    poll.start();
    CheckDeviceId(link.channel(), result);

    QCOMPARE(title, QStringLiteral("書込みマイコンの種類の確認"));
    QCOMPARE(result, result::NG);
    QCOMPARE(defaultText, QMessageBox(QMessageBox::NoIcon, {}, {}, QMessageBox::Cancel)
                              .button(QMessageBox::Cancel)
                              ->text());
}

QTEST_MAIN(WrongPartBox)
#include "wrong_part_box_qtest.moc"
