// Renders a tool window offscreen over a part and a HEX file and saves it as a PNG: pictures of
// the tool windows for the documentation.
//   tavrin-tool-screenshot --window memstatus --out FILE.png --device NAME --hex FILE.hex
//   --devices device6.ini
//   tavrin-tool-screenshot --window serial|index --out FILE.png
#include "core/app_paths.h"
#include "core/buffer_fills.h"
#include "core/device_file.h"
#include "core/hex_import.h"
#include "core/operator_ui.h"
#include "core/session.h"
#include "core/settings_store.h"
#include "tools/widgets/frm_index.h"
#include "tools/widgets/frm_mem_status.h"
#include "tools/widgets/frm_serial_pgm_setting.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextStream>

namespace {

bool save(QWidget& window, const QString& path) {
    window.show();
    QCoreApplication::processEvents();
    return window.grab().save(path);
}

// The serial-number window part-way through a run: three chips of ten done.
bool saveSerialSettings(const QString& path) {
    QTemporaryDir work;
    tavrin::QtSettingsStore settings(work.filePath(QStringLiteral("settings.ini")));
    tavrin::frmSerialPgmSetting window(settings, {[] { return true; }, [] {}}, nullptr);
    const auto type = [&window](const char* field, const QString& text) {
        auto* edit = window.findChild<QLineEdit*>(QLatin1String(field));
        edit->setText(text);
        emit edit->textEdited(text);
    };
    type("TxtStartAddress", QStringLiteral("1FF"));
    window.findChild<QComboBox*>(QStringLiteral("TxtWriteByteNumber"))->setCurrentIndex(1);
    type("TxtDataStart", QStringLiteral("1000"));
    type("TxtDataFinsh", QStringLiteral("10"));
    window.findChild<QCheckBox*>(QStringLiteral("ChkSettingEnable"))->click();
    for (int i = 0; i < 3; ++i)
        window.findChild<QPushButton*>(QStringLiteral("Command1"))->click();
    return save(window, path);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QCommandLineParser parser;
    for (auto [name, help] :
         {std::pair{"window", "memstatus"}, std::pair{"out", "PNG to write"},
          std::pair{"device", "part to select"}, std::pair{"hex", "HEX file to load"},
          std::pair{"devices", "device6.ini to read"}})
        parser.addOption(
            {QString::fromLatin1(name), QString::fromLatin1(help), QStringLiteral("value")});
    parser.process(app);
    QTextStream err(stderr);
    const QString kind = parser.value(QStringLiteral("window"));
    const QString out = parser.value(QStringLiteral("out"));
    if ((kind == QLatin1String("serial") || kind == QLatin1String("index")) && !out.isEmpty()) {
        tavrin::frmIndex index(nullptr);
        if (kind == QLatin1String("serial") ? saveSerialSettings(out) : save(index, out)) return 0;
        err << "cannot write " << out << "\n";
        return 1;
    }
    for (const char* required : {"window", "out", "device", "devices"})
        if (!parser.isSet(QLatin1String(required))) {
            err << "--" << required << " is required\n";
            return 2;
        }

    QTemporaryDir work;
    tavrin::AppPaths paths = tavrin::locateAppPaths(
        QCoreApplication::applicationDirPath(), QString(), work.filePath(QStringLiteral("data")));
    paths.deviceFile = QFileInfo(parser.value(QStringLiteral("devices"))).absoluteFilePath();
    tavrin::Session session;
    tavrin::NullOperatorUi ui;
    if (!tavrin::LoadDeviceList(session, ui, paths)) {
        err << "no device list in " << paths.deviceFile << "\n";
        return 1;
    }
    session.device.SelectedDevice = parser.value(QStringLiteral("device"));
    if (!tavrin::LoadDeviceDefinition(session, ui, paths)) {
        err << "no part " << session.device.SelectedDevice << "\n";
        return 1;
    }
    tavrin::FillProgramErased(session);
    if (parser.isSet(QStringLiteral("hex")))
        tavrin::LoadHexFile(session, ui, parser.value(QStringLiteral("hex")));

    if (parser.value(QStringLiteral("window")) != QLatin1String("memstatus")) {
        err << "unknown window\n";
        return 2;
    }
    tavrin::frmMemStatus window(session);
    window.resize(760, 280);
    window.show();
    window.findChild<QPushButton*>(QStringLiteral("CmdDisplay"))->click();
    QCoreApplication::processEvents();
    if (!window.grab().save(parser.value(QStringLiteral("out")))) {
        err << "cannot write " << parser.value(QStringLiteral("out")) << "\n";
        return 1;
    }
    return 0;
}
