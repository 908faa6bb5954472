#include "device_selection.h"

#include "buffer_commands.h"
#include "device_layout.h"
#include "main_context.h"

#include "core/config_grids.h"
#include "core/eeprom_layout.h"
#include "core/operation_controls.h"
#include "core/status.h"
#include "core/utilities.h"

namespace tavrin {

namespace {

void testFirmware(MainContext& ctx) {
    Session& s = ctx.s;
    if (!s.app.DeviceChosenOnce && !s.link.ProgrammerDetected) {
        s.app.DeviceChosenOnce = true;
        return;
    }
    const float version = leadingFirmwareVersion(s.link.FirmwareId);
    if (version >= s.device.RequiredFirmware) {
        ShowStatusMessage(ctx.ui, s.device.DeviceComment, QString());
    } else {
        ShowStatusMessage(ctx.ui,
                          QStringLiteral("red指定したＰＩＣマイコンは、ファームウエアバージョン "
                                         "QZ-WRT400 V") +
                              formatFirmwareVersion(s.device.RequiredFirmware) +
                              QStringLiteral(" 以降でサポートしています。"),
                          QString());
    }
    s.app.DeviceChosenOnce = true;
}

} // namespace

float leadingFirmwareVersion(const QString& firmwareId) {
    const QString field = firmwareId.mid(12, 6);
    qsizetype end = 0;
    bool point = false;
    while (end < field.size()) {
        const QChar c = field[end];
        if (c.isDigit() && c.unicode() < 128) {
            ++end;
        } else if (c == QLatin1Char('.') && !point) {
            point = true;
            ++end;
        } else {
            break;
        }
    }
    bool ok = false;
    const float v = field.left(end).toFloat(&ok);
    return ok ? v : 0.0f;
}

QString formatFirmwareVersion(float version) {
    QString text = QString::number(double(version), 'f', 2);
    if (text.startsWith(QLatin1String("0."))) text.remove(0, 1);
    return text;
}

void SelectDevice(MainContext& ctx, const QString& listText, int listIndex) {
    Session& s = ctx.s;
    OperatorUi& ui = ctx.ui;
    if (s.app.DeviceListBusy || listText.isEmpty()) return;
    if (s.link.ProgrammerDetected) ShowStatusMessage(ui, QString(), QString());
    ctx.view.closeExtendedWindow();
    ui.setControlVisible(Control::CmbInit, false);
    ui.setControlVisible(Control::TxtInit, false);

    if (listText != s.device.SelectedDevice) {
        s.run.PassCount = 0;
        s.run.AttemptCount = 0;
        s.run.FailCount = 0;
    }
    s.device.SelectedDevice = listText;
    ctx.deviceIndex = listIndex;
    ClearDeviceInfoDisplay(ui);
    const bool loaded =
        ctx.services.loadDeviceDefinition && ctx.services.loadDeviceDefinition(s, ui);
    if (!loaded || s.device.SelectedDevice.isEmpty()) {
        // The reader has told the person why; with no part selected every command refuses, and
        // nothing of the part that failed to load is shown.
        s.device.SelectedDevice.clear();
        UpdateProgramButton(s, ui, ctx.toggles.blankSkip);
        ui.setControlEnabled(Control::Command3, false);
        DeviceLayout none = deviceLayoutFor(QString(), {});
        none.idText.reset();
        ctx.view.applyDeviceLayout(none);
        return;
    }
    ctx.view.showBoardWindow(ctx.toggles.boardInformation);
    RefreshConfigGrids(s);
    ui.refreshViews(ViewConfigGrids);
    FillPcBuffer(ctx, BufferFill::Erased);
    testFirmware(ctx);

    ctx.settings.setValue(QStringLiteral("deviceNew"), QString::number(listIndex));
    // The name as well: an edited device file moves the indices, the name stays.
    ctx.settings.setValue(QStringLiteral("deviceNewName"), listText);

    for (int k = 1; k <= limits::ConfigWords; ++k)
        RecomputeConfigFromGrid(s, ui, k);
    ui.setControlText(Control::LblCheckSUM, CalcProgramChecksum(s));
    UpdateProgramButton(s, ui, ctx.toggles.blankSkip);
    ui.setControlEnabled(Control::Command3, hasEditableEeprom(s));

    DeviceLayout layout = deviceLayoutFor(s.device.ProgramType, s.device.ConfigWordDefined);
    const PartSelectionHook module =
        ctx.partSelectionHook ? ctx.partSelectionHook(listText) : PartSelectionHook{};
    if (module.calibrationTabAlone) showCalibrationTabAlone(layout);
    if (layout.idText) s.buffer.IdText = *layout.idText;
    ctx.view.applyDeviceLayout(layout);
    if (module.setUp) module.setUp();
}

} // namespace tavrin
