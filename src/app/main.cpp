// Start of the program: the settings, the device file, the board link and the main window with
// the device list and its operations.
#include "core/app_paths.h"
#include "core/clock.h"
#include "core/device_file.h"
#include "core/session.h"
#include "core/settings_store.h"
#include "link/board_link.h"
#include "link/qt_serial_port.h"
#include "mainwindow/logic/real_core_services.h"
#include "mainwindow/widgets/frm_main.h"

#include <QApplication>
#include <QDesktopServices>
#include <QUrl>

namespace {

// The saved port; while none is saved, the run command's emulated board stands in.
QString boardPort(const tavrin::SettingsStore& settings) {
    const QString saved = settings.value(QStringLiteral("ComNo")).trimmed();
    if (!saved.isEmpty() && saved != QLatin1String("0")) return saved;
    return qEnvironmentVariable("TAVRIN_DEFAULT_PORT");
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(tavrin::kSettingsApplication));
    QApplication::setOrganizationName(QString::fromLatin1(tavrin::kSettingsApplication));

    tavrin::Session session;
    session.app.MainTitle = QStringLiteral("Tavrin Writer v4 - ");
    tavrin::QtSettingsStore settings;
    const tavrin::AppPaths paths = tavrin::locateAppPaths(QCoreApplication::applicationDirPath());
    tavrin::QtSerialPort port;
    tavrin::SteadyClock clock;
    session.link.ComPortName = boardPort(settings);

    tavrin::frmMain window(session, settings, tavrin::realCoreServices(paths));
    tavrin::BoardLink link(session, window, port, clock,
                           [](const QString& url) { return QDesktopServices::openUrl(QUrl(url)); });
    window.attachOperations(link, clock, paths.dataDir);
    window.setAppPaths(paths);
    window.setWindowTitle(QStringLiteral("Tavrin Writer v4"));
    window.show();
    // Without a device file there is nothing to choose: the window stays, disabled.
    if (!tavrin::LoadDeviceList(session, window, paths)) window.setEnabled(false);
    window.setControlText(tavrin::Control::Label_Ver,
                          QStringLiteral("device6.ini : Ver ") + session.device.DeviceFileVersion);
    const int code = QApplication::exec();
    if (port.isOpen()) link.ClosePort();
    return code;
}
