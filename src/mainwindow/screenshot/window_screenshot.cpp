// Renders the main window offscreen with a part selected and a HEX file loaded, and saves it as
// a PNG: a picture of the program for the documentation. (The picture of a first start is the
// program's own start-up: tavrin-first-start-screenshot.)
//   tavrin-window-screenshot --out FILE.png [--device NAME] [--hex FILE.hex] [--devices
//   device6.ini]
#include "core/app_paths.h"
#include "core/device_file.h"
#include "core/session.h"
#include "core/settings_store.h"
#include "mainwindow/logic/hex_file_commands.h"
#include "mainwindow/logic/real_core_services.h"
#include "mainwindow/widgets/frm_main.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addOption(
        {QStringLiteral("out"), QStringLiteral("PNG to write"), QStringLiteral("file")});
    parser.addOption({QStringLiteral("device"), QStringLiteral("part to select"),
                      QStringLiteral("name"), QStringLiteral("PIC16F877A")});
    parser.addOption(
        {QStringLiteral("hex"), QStringLiteral("HEX file to load"), QStringLiteral("file")});
    parser.addOption(
        {QStringLiteral("devices"), QStringLiteral("device6.ini to read"), QStringLiteral("file")});
    parser.process(app);
    QTextStream err(stderr);
    if (!parser.isSet(QStringLiteral("out"))) {
        err << "--out FILE.png is required\n";
        return 2;
    }

    QTemporaryDir work;
    tavrin::AppPaths paths = tavrin::locateAppPaths(
        QCoreApplication::applicationDirPath(), QString(), work.filePath(QStringLiteral("data")));
    if (parser.isSet(QStringLiteral("devices")))
        paths.deviceFile = QFileInfo(parser.value(QStringLiteral("devices"))).absoluteFilePath();

    tavrin::Session session;
    session.app.MainTitle = QStringLiteral("Tavrin Writer v4 - ");
    tavrin::QtSettingsStore settings(work.filePath(QStringLiteral("settings.ini")));
    settings.setValue(QStringLiteral("mnuBoardInfomation"), QStringLiteral("False"));
    tavrin::frmMain window(session, settings, tavrin::realCoreServices(paths));
    window.setAppPaths(paths);
    window.setWindowTitle(QStringLiteral("Tavrin Writer v4"));
    window.resize(1000, 640);
    window.show();
    if (!tavrin::LoadDeviceList(session, window, paths)) {
        err << "no device list in " << paths.deviceFile << "\n";
        return 1;
    }
    window.setControlText(tavrin::Control::Label_Ver,
                          QStringLiteral("device6.ini : Ver ") + session.device.DeviceFileVersion);
    const int index =
        int(session.device.DeviceNames.indexOf(parser.value(QStringLiteral("device"))));
    if (index < 0) {
        err << "no part " << parser.value(QStringLiteral("device")) << "\n";
        return 1;
    }
    window.selectDeviceByIndex(index);
    if (parser.isSet(QStringLiteral("hex"))) {
        session.app.CommandLine = QFileInfo(parser.value(QStringLiteral("hex"))).absoluteFilePath();
        tavrin::DirectOpenHexFile(window.context(), QString());
        if (session.run.HexLoadResult != QLatin1String("OK")) {
            err << "the HEX file did not load\n";
            return 1;
        }
    }
    QCoreApplication::processEvents();
    const QPixmap picture = window.grab();
    if (!picture.save(parser.value(QStringLiteral("out")))) {
        err << "cannot write " << parser.value(QStringLiteral("out")) << "\n";
        return 1;
    }
    return 0;
}
