// A main-window context over fixture parts and recording seams, with HEX loaders and savers that
// record their calls.
#pragma once

#include "fake_main_window_view.h"
#include "support/device_fixtures.h"
#include "support/recording_ui.h"

#include "core/settings_store.h"
#include "mainwindow/logic/main_context.h"

#include <QStringList>

namespace tavrin::test {

struct LogicFixture {
    Session s;
    RecordingUi ui;
    FakeMainWindowView view;
    MemorySettingsStore settings;
    QStringList loaded; // "14:path" / "18:path"
    QStringList saved;
    bool saveSucceeds = true;
    QString loadSkips;         // what the loads pass over (HexLoadSkipped)
    float loadedRequired = -1; // RequiredFirmware given to the loaded part when not negative
    MainContext ctx{s, ui, view, settings, services(), {}, {}, -1, {}};

    LogicFixture() { s.device.DeviceNames = fixtureDeviceNames(); }

    CoreServices services() {
        CoreServices c;
        c.loadDeviceDefinition = [this](Session& s, OperatorUi&) {
            if (fillFixtureDevice(s.device, s.device.SelectedDevice)) {
                if (loadedRequired >= 0) s.device.RequiredFirmware = loadedRequired;
                return true;
            }
            s.device.SelectedDevice.clear();
            return false;
        };
        c.loadHexFile = [this](Session& s, OperatorUi&, const QString& p,
                               const std::function<void()>& beforeLoading) {
            beforeLoading();
            loaded << QStringLiteral("14:") + p;
            s.run.HexLoadSkipped = loadSkips;
            s.run.HexLoadResult = QStringLiteral("OK");
        };
        c.loadHexFile18 = [this](Session& s, OperatorUi&, const QString& p,
                                 const std::function<void()>& beforeLoading) {
            beforeLoading();
            loaded << QStringLiteral("18:") + p;
            for (int k = 0; k < 8; ++k)
                s.buffer.Id18Image[k] = std::uint8_t(k + 1);
            s.run.HexLoadSkipped = loadSkips;
            s.run.HexLoadResult = QStringLiteral("OK");
        };
        c.saveHexFile = [this](Session&, OperatorUi&, const QString& p) {
            saved << QStringLiteral("14:") + p;
            return saveSucceeds;
        };
        c.saveHexFile18 = [this](Session&, OperatorUi&, const QString& p) {
            saved << QStringLiteral("18:") + p;
            return saveSucceeds;
        };
        return c;
    }

    int indexOf(const QString& name) const { return int(s.device.DeviceNames.indexOf(name)); }
};

} // namespace tavrin::test
