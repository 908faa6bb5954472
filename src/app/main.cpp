// Start of the program: the settings, the device file and the main window with the device list.
#include "core/app_paths.h"
#include "core/device_file.h"
#include "core/session.h"
#include "core/settings_store.h"
#include "mainwindow/logic/real_core_services.h"
#include "mainwindow/widgets/frm_main.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(tavrin::kSettingsApplication));
    QApplication::setOrganizationName(QString::fromLatin1(tavrin::kSettingsApplication));

    tavrin::Session session;
    session.app.MainTitle = QStringLiteral("Tavrin Writer v4 - ");
    tavrin::QtSettingsStore settings;
    const tavrin::AppPaths paths = tavrin::locateAppPaths(QCoreApplication::applicationDirPath());

    tavrin::frmMain window(session, settings, tavrin::realCoreServices(paths));
    window.setAppPaths(paths);
    window.setWindowTitle(QStringLiteral("Tavrin Writer v4"));
    window.show();
    // Without a device file there is nothing to choose: the window stays, disabled.
    if (!tavrin::LoadDeviceList(session, window, paths)) window.setEnabled(false);
    window.setControlText(tavrin::Control::Label_Ver,
                          QStringLiteral("device6.ini : Ver ") + session.device.DeviceFileVersion);
    return QApplication::exec();
}
